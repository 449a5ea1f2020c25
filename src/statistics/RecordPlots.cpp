// The plots over records: the levels, the articles, the tenses and persons, the hardest cards.

#include <algorithm>

#include "model/InterfaceText.h"
#include "shell/frameworkPainter.h"
#include "statistics/DayLabels.h"
#include "statistics/Plots.h"

namespace {

constexpr int HARD_ROW_MAX_HEIGHT = 30;
constexpr int HARD_FOOTER_HEIGHT = 24;

std::wstring rowName(const GrammarRow& row) {
    return row.id == 0 && row.name.empty() ? std::wstring(interfaceText2(String2_DELETED)) : row.name;
}

// Bars of the share right, with the name and how often it was asked under each.
std::vector<Bar> shareBars(const std::vector<GrammarRow>& rows) {
    std::vector<Bar> bars;
    for (const GrammarRow& row : rows) {
        const std::optional<unsigned> percent = row.count.percent();
        bars.push_back(Bar{static_cast<double>(percent.value_or(0)), plotcolour::correct(), percentText(percent),
                           rowName(row), fillIn(interfaceText2(String2_ASKED), row.count.asked)});
    }
    return bars;
}

bool anyAsked(const std::vector<GrammarRow>& rows) {
    return std::any_of(rows.begin(), rows.end(), [](const GrammarRow& row) { return row.count.asked > 0; });
}

void paintShareChart(const PlotFrame& area, const std::vector<GrammarRow>& rows) {
    const PlotFrame chart = chartArea(area);
    paintGrid(chart, percentAxis(), true);
    paintBars(chart, percentAxis(), shareBars(rows));
}

}  // namespace

void paintLevels(const Statistics& statistics, const PlotFrame& area) {
    if (statistics.directions == 0) {
        paintMessage(area, interfaceText2(String2_NO_CARDS));
        return;
    }
    std::uint32_t largest = 0;
    std::vector<Bar> bars;
    for (const LevelBar& level : statistics.levels) {
        largest = std::max(largest, level.directions);
        bars.push_back(Bar{static_cast<double>(level.directions), plotcolour::bar(), std::to_wstring(level.directions),
                           std::wstring(interfaceText(String_LEVEL)) + L" " + std::to_wstring(level.level),
                           level.breakDays ? fillIn(interfaceText2(String2_DAYS), *level.breakDays) : L""});
    }
    const PlotFrame chart = chartArea(area);
    const ValueAxis axis = roundAxis(largest);
    paintGrid(chart, axis, false);
    paintBars(chart, axis, bars);
}

void paintArticles(const Statistics& statistics, const PlotFrame& area) {
    if (!anyAsked(statistics.articles)) {
        paintMessage(area, interfaceText2(statistics.answers == 0 ? String2_NO_ANSWERS : String2_NO_ARTICLES_ASKED));
        return;
    }
    paintShareChart(area, statistics.articles);
}

void paintVerbs(const Statistics& statistics, const PlotFrame& area) {
    if (!anyAsked(statistics.tenses)) {
        paintMessage(area, interfaceText2(statistics.answers == 0 ? String2_NO_ANSWERS : String2_NO_VERBS_ASKED));
        return;
    }
    const int half = area.width / 2;
    const PlotFrame left{area.x, area.y, half - 10, area.height};
    const PlotFrame right{area.x + half + 10, area.y, area.width - half - 10, area.height};
    paintLabel(left.x, left.y, left.width, LABEL_HEIGHT + 2, interfaceText(String_TENSES), TEXT_CENTRE);
    paintLabel(right.x, right.y, right.width, LABEL_HEIGHT + 2, interfaceText(String_PERSONS), TEXT_CENTRE);
    paintShareChart(left, statistics.tenses);
    paintShareChart(right, statistics.persons);
}

PlotFrame hardestRow(const PlotFrame& area, std::size_t index) {
    const int height = std::min(HARD_ROW_MAX_HEIGHT, (area.height - HARD_FOOTER_HEIGHT) / Statistics::HARD_CARDS);
    return {area.x, area.y + static_cast<int>(index) * height, area.width, height};
}

void paintHardest(const Statistics& statistics, const PlotFrame& area) {
    const std::wstring deleted =
        statistics.deletedCardAnswers > 0
            ? fillIn(interfaceText2(String2_DELETED_CARDS), static_cast<unsigned>(statistics.deletedCardAnswers),
                     statistics.deletedCardsWrong)
            : L"";
    paintLabel(area.x, area.y + area.height - HARD_FOOTER_HEIGHT + 4, area.width, LABEL_HEIGHT, deleted, TEXT_LEFT,
               plotcolour::muted());
    if (statistics.hardest.empty()) {
        paintMessage(area, interfaceText2(statistics.answers == 0 ? String2_NO_ANSWERS : String2_NO_WRONG_ANSWERS));
        return;
    }
    const std::uint32_t most = statistics.hardest.front().wrong;
    for (std::size_t i = 0; i < statistics.hardest.size(); ++i) {
        const HardCard& card = statistics.hardest[i];
        const PlotFrame row = hardestRow(area, i);
        const int textWidth = row.width * 45 / 100;
        const int barSpace = row.width - textWidth - 60;
        const int length = most == 0 ? 0 : std::max(2, static_cast<int>(static_cast<double>(barSpace) * card.wrong / most));
        if (i % 2 == 1) {
            paintBox(row.x, row.y, row.width, row.height, plotcolour::calendarShade(0, 0));
        }
        paintLabel(row.x + 4, row.y + 2, textWidth - 8, row.height - 4, card.foreignWord + L" \u2013 " + card.knownWords,
                   TEXT_LEFT);
        paintBox(row.x + textWidth, row.y + 5, length, row.height - 10, plotcolour::wrong());
        paintLabel(row.x + textWidth + length + 6, row.y + 2, 54, row.height - 4, std::to_wstring(card.wrong), TEXT_LEFT);
    }
}
