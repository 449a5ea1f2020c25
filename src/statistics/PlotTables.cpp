#include "statistics/PlotTables.h"

#include "model/InterfaceText.h"
#include "statistics/DayLabels.h"

namespace {

std::wstring number(std::uint64_t value) { return std::to_wstring(value); }
std::wstring text2(framew_strings2 which) { return interfaceText2(which); }
std::wstring text(framew_strings which) { return interfaceText(which); }

void addRow(TableData& table, std::vector<std::wstring> cells, std::uint32_t card = 0) {
    table.rows.push_back(std::move(cells));
    table.rowCards.push_back(card);
}

std::wstring grammarName(const GrammarRow& row) {
    return row.id == 0 && row.name.empty() ? text2(String2_DELETED) : row.name;
}

void addShareRows(TableData& table, const std::vector<GrammarRow>& rows, const std::wstring& kind) {
    for (const GrammarRow& row : rows) {
        std::vector<std::wstring> cells{grammarName(row), number(row.count.asked), number(row.count.right),
                                        percentText(row.count.percent())};
        if (!kind.empty()) {
            cells.insert(cells.begin(), kind);
        }
        addRow(table, std::move(cells));
    }
}

TableData forecastTable(const Statistics& statistics) {
    TableData table{{text2(String2_DATE), text2(String2_DUE)}, {}, {}};
    for (int i = 0; i < Statistics::FORECAST_DAYS; ++i) {
        addRow(table, {isoDate(statistics.today + i), number(statistics.forecast[static_cast<std::size_t>(i)])});
    }
    return table;
}

TableData levelTable(const Statistics& statistics) {
    TableData table{{text(String_LEVEL), text(String_BREAK_DAYS), text2(String2_DIRECTIONS)}, {}, {}};
    for (const LevelBar& level : statistics.levels) {
        addRow(table, {number(level.level), level.breakDays ? number(*level.breakDays) : L"\u2013", number(level.directions)});
    }
    return table;
}

TableData answerTable(const Statistics& statistics) {
    TableData table{{text2(String2_DATE), text(String_CORRECT), text(String_MINOR), text(String_WRONG), text2(String2_TOTAL)},
                    {},
                    {}};
    for (int i = 0; i < Statistics::ANSWER_DAYS; ++i) {
        const VerdictCounts& day = statistics.answersPerDay[static_cast<std::size_t>(i)];
        addRow(table, {isoDate(statistics.answerDay(i)), number(day.correct), number(day.minor), number(day.wrong),
                       number(day.total())});
    }
    return table;
}

TableData firstTryTable(const Statistics& statistics) {
    TableData table{{text2(String2_WEEK_OF), text2(String2_FIRST_TRIES), text2(String2_RIGHT), text2(String2_SHARE)}, {}, {}};
    for (int i = 0; i < Statistics::WEEKS; ++i) {
        const ShareCount& week = statistics.firstTryWeeks[static_cast<std::size_t>(i)];
        addRow(table, {isoDate(statistics.weekStart(i)), number(week.asked), number(week.right), percentText(week.percent())});
    }
    return table;
}

TableData articleTable(const Statistics& statistics) {
    TableData table{{text(String_ARTICLE), text2(String2_ASKED_HEADER), text2(String2_RIGHT), text2(String2_SHARE)}, {}, {}};
    addShareRows(table, statistics.articles, L"");
    return table;
}

TableData verbTable(const Statistics& statistics) {
    TableData table{{text2(String2_KIND), L"", text2(String2_CELLS), text2(String2_RIGHT), text2(String2_SHARE)}, {}, {}};
    addShareRows(table, statistics.tenses, text(String_TENSES));
    addShareRows(table, statistics.persons, text(String_PERSONS));
    return table;
}

TableData hardestTable(const Statistics& statistics) {
    TableData table{{text(String_FOREIGN), text(String_KNOWN), text2(String2_WRONG_ANSWERS)}, {}, {}};
    for (const HardCard& card : statistics.hardest) {
        addRow(table, {card.foreignWord, card.knownWords, number(card.wrong)}, card.card);
    }
    if (statistics.deletedCardAnswers > 0) {
        addRow(table, {text2(String2_DELETED), L"", number(statistics.deletedCardsWrong)});
    }
    return table;
}

TableData calendarTable(const Statistics& statistics) {
    TableData table{{text2(String2_DATE), text2(String2_ANSWERS_HEADER)}, {}, {}};
    for (std::size_t i = 0; i < statistics.calendar.size(); ++i) {
        if (statistics.calendar[i] > 0) {
            addRow(table, {isoDate(statistics.calendarStart + static_cast<std::int32_t>(i)), number(statistics.calendar[i])});
        }
    }
    addRow(table, {fillIn(interfaceText2(String2_STREAK), statistics.streak), L""});
    return table;
}

// The message a plot shows when it has nothing to show, or empty when it has something.
std::wstring emptyMessage(PlotKind kind, const Statistics& statistics) {
    const bool noAnswers = statistics.answers == 0;
    switch (kind) {
    case PlotKind::Forecast:
    case PlotKind::Levels:
        return statistics.directions == 0 ? text2(String2_NO_CARDS) : L"";
    case PlotKind::Hardest:
        return statistics.hardest.empty() && statistics.deletedCardAnswers == 0
                   ? text2(noAnswers ? String2_NO_ANSWERS : String2_NO_WRONG_ANSWERS)
                   : L"";
    default:
        return noAnswers ? text2(String2_NO_ANSWERS) : L"";
    }
}

}  // namespace

TableData tableOf(PlotKind kind, const Statistics& statistics) {
    const std::wstring message = emptyMessage(kind, statistics);
    if (!message.empty()) {
        TableData table{{L""}, {}, {}};
        addRow(table, {message});
        return table;
    }
    switch (kind) {
    case PlotKind::Forecast:
        return forecastTable(statistics);
    case PlotKind::Levels:
        return levelTable(statistics);
    case PlotKind::Answers:
        return answerTable(statistics);
    case PlotKind::FirstTry:
        return firstTryTable(statistics);
    case PlotKind::Articles:
        return articleTable(statistics);
    case PlotKind::Verbs:
        return verbTable(statistics);
    case PlotKind::Hardest:
        return hardestTable(statistics);
    case PlotKind::Calendar:
        return calendarTable(statistics);
    }
    return {};
}
