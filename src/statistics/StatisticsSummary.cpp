#include <algorithm>
#include <bit>

#include "model/AnswerBlock.h"
#include "model/Flashcard.h"
#include "model/Level.h"
#include "statistics/RowNames.h"
#include "statistics/IdCounts.h"
#include "statistics/Statistics.h"

namespace {

// The streak is looked for this far back; a longer one shows as this many days.
constexpr std::int32_t STREAK_WINDOW = 3660;

bool cardPasses(const Flashcard& card, const StatisticsFilter& filter) {
    return (filter.language == StatisticsFilter::ALL_LANGUAGES || card.getDependency(D_LANGUAGE) == filter.language) &&
           (!filter.lesson || card.getDependency(D_LESSON) == *filter.lesson);
}

void countDirection(Statistics& statistics, std::vector<std::uint32_t>& perLevel, unsigned level, std::int32_t due) {
    ++statistics.directions;
    const std::int32_t day = std::max(due, 0);
    if (day < Statistics::FORECAST_DAYS) {
        ++statistics.forecast[static_cast<std::size_t>(day)];
    }
    if (level >= perLevel.size()) {
        perLevel.resize(level + 1, 0);
    }
    ++perLevel[level];
}

// The forecast and the levels, from the cards as they are now.
void countCards(const StatisticsFilter& filter, Statistics& statistics) {
    std::vector<std::uint32_t> perLevel(Level::getNextAvailableLevel(), 0);
    for (auto it = Flashcard::begin(); it != Flashcard::end(); ++it) {
        const Flashcard& card = **it;
        if (!cardPasses(card, filter)) {
            continue;
        }
        ++statistics.cards;
        countDirection(statistics, perLevel, card.get_primaryLevel(), card.get_primaryNextDue());
        if (card.get_useInverted()) {
            countDirection(statistics, perLevel, card.get_invertedLevel(), card.get_invertedNextDue());
        }
    }
    for (unsigned level = 0; level < perLevel.size(); ++level) {
        LevelBar bar{level, std::nullopt, perLevel[level]};
        if (const Level* record = Level::getByLevel(level)) {
            bar.breakDays = record->get_breakDays();
        }
        statistics.levels.push_back(bar);
    }
}

// The ids of the cards that exist, as a bitmap: one look per answer instead of a tree search.
std::vector<bool> existingCards() {
    std::vector<bool> exists;
    for (auto it = Flashcard::begin(); it != Flashcard::end(); ++it) {
        const std::uint32_t id = it->getId();
        if (id >= exists.size()) {
            exists.resize(std::max<std::size_t>(id + 1, exists.size() * 2), false);
        }
        exists[id] = true;
    }
    return exists;
}

// One pass over the history.
class HistoryPass {
public:
    HistoryPass(const StatisticsFilter& filter, Statistics& statistics)
        : filter(filter), out(statistics), cards(existingCards()),
          practised(static_cast<std::size_t>(STREAK_WINDOW), false) {
        const std::int32_t monday = mondayOf(out.today);
        out.firstWeek = monday - 7 * (Statistics::WEEKS - 1);
        out.calendarStart = monday - 7 * (Statistics::CALENDAR_WEEKS - 1);
        out.calendar.assign(static_cast<std::size_t>(out.today - out.calendarStart + 1), 0);
    }

    void add(const AnswerBlock::View& answer) {
        if ((filter.language != StatisticsFilter::ALL_LANGUAGES && answer.language() != filter.language) ||
            (filter.lesson && answer.lesson() != *filter.lesson)) {
            return;
        }
        ++out.answers;
        const bool deleted = answer.cardDeleted() || answer.card() >= cards.size() || !cards[answer.card()];
        if (deleted) {
            ++out.deletedCardAnswers;
        }
        countDay(answer, deleted);
        if (answer.article() != ArticleJudgement::NotAsked) {
            ShareCount& count = articleCounts[answer.articleId()];
            ++count.asked;
            count.right += answer.article() == ArticleJudgement::Right ? 1 : 0;
        }
        if (const VerbLayout* layout = answer.verbLayout()) {
            countCells(*layout, answer.cellBits());
        }
    }

    void finish() {
        out.articles = articleRows(filter.language, articleCounts);
        out.tenses = tenseRows(filter.language, tenseCounts);
        out.persons = personRows(filter.language, personCounts);
        findHardest();
        findStreak();
    }

private:
    void countDay(const AnswerBlock::View& answer, bool deleted) {
        const std::int32_t day = answer.day();
        if (day > out.today) {
            return;  // a clock set back: no window holds the future
        }
        const std::int32_t back = out.today - day;
        if (back < STREAK_WINDOW) {
            practised[static_cast<std::size_t>(back)] = true;
        }
        if (day >= out.calendarStart) {
            ++out.calendar[static_cast<std::size_t>(day - out.calendarStart)];
        }
        if (back < Statistics::ANSWER_DAYS) {
            VerdictCounts& counts = out.answersPerDay[static_cast<std::size_t>(Statistics::ANSWER_DAYS - 1 - back)];
            const Verdict verdict = answer.verdict();
            (verdict == Verdict::Correct ? counts.correct : verdict == Verdict::Minor ? counts.minor : counts.wrong) += 1;
        }
        if (answer.firstTry() && day >= out.firstWeek) {
            ShareCount& week = out.firstTryWeeks[static_cast<std::size_t>((day - out.firstWeek) / 7)];
            ++week.asked;
            week.right += answer.verdict() == Verdict::Correct ? 1 : 0;
        }
        if (back < Statistics::HARD_DAYS && answer.verdict() == Verdict::Wrong) {
            if (deleted) {
                ++out.deletedCardsWrong;
            } else {
                ++wrongPerCard[answer.card()];
            }
        }
    }

    void countCells(const VerbLayout& layout, const std::uint8_t* bits) {
        const std::size_t persons = layout.persons.size();
        std::vector<std::uint32_t>& rightPerPerson = scratch;
        rightPerPerson.assign(persons, 0);
        std::size_t cell = 0;
        for (std::uint32_t tense : layout.tenses) {
            std::uint32_t right = 0;
            for (std::size_t p = 0; p < persons; ++p, ++cell) {
                if ((bits[cell / 8] >> (cell % 8)) & 1u) {
                    ++right;
                    ++rightPerPerson[p];
                }
            }
            ShareCount& count = tenseCounts[tense];
            count.asked += static_cast<std::uint32_t>(persons);
            count.right += right;
        }
        for (std::size_t p = 0; p < persons; ++p) {
            ShareCount& count = personCounts[layout.persons[p]];
            count.asked += static_cast<std::uint32_t>(layout.tenses.size());
            count.right += rightPerPerson[p];
        }
    }

    void findHardest() {
        std::vector<std::pair<std::uint32_t, std::uint32_t>> wrong;  // (card, count)
        wrongPerCard.forEach([&](std::uint32_t card, std::uint32_t count) {
            if (count > 0) {
                wrong.emplace_back(card, count);
            }
        });
        const std::size_t kept = std::min<std::size_t>(wrong.size(), Statistics::HARD_CARDS);
        std::partial_sort(wrong.begin(), wrong.begin() + static_cast<std::ptrdiff_t>(kept), wrong.end(),
                          [](const auto& a, const auto& b) { return a.second != b.second ? a.second > b.second : a.first < b.first; });
        for (std::size_t i = 0; i < kept; ++i) {
            out.hardest.push_back(describeCard(wrong[i].first, wrong[i].second));
        }
    }

    void findStreak() {
        std::size_t back = practised[0] ? 0 : 1;
        while (back < practised.size() && practised[back]) {
            ++out.streak;
            ++back;
        }
    }

    const StatisticsFilter& filter;
    Statistics& out;
    std::vector<bool> cards;
    std::vector<bool> practised;  // [i]: answers on day today - i
    IdCounts<ShareCount> articleCounts;
    IdCounts<ShareCount> tenseCounts;
    IdCounts<ShareCount> personCounts;
    IdCounts<std::uint32_t> wrongPerCard;
    std::vector<std::uint32_t> scratch;
};

}  // namespace

std::int32_t mondayOf(std::int32_t day) {
    // Day 0, 1 January 1970, was a Thursday: three days after a Monday.
    const std::int32_t sinceMonday = ((day + 3) % 7 + 7) % 7;
    return day - sinceMonday;
}

Statistics computeStatistics(const StatisticsFilter& filter, std::int32_t today) {
    Statistics statistics;
    statistics.today = today;
    countCards(filter, statistics);
    HistoryPass pass(filter, statistics);
    AnswerBlock::forEveryAnswer([&pass](const AnswerBlock::View& answer) { pass.add(answer); });
    pass.finish();
    return statistics;
}
