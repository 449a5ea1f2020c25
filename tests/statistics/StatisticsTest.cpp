// The figures of the statistics screen against numbers each test works out on its own: due days
// across the year end and a leap day, UTC day boundaries, weeks across the year end, the streak,
// articles and verb cells judged one by one, the hardest cards, the filters, the text tables, and
// a history of a million answers.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "model/AnswerBlock.h"
#include "model/DatabaseTestSupport.h"
#include "screens/DueDate.h"
#include "statistics/DayLabels.h"
#include "statistics/PlotTables.h"
#include "statistics/Statistics.h"

namespace {

using namespace modeltest;

std::int32_t dayOf(unsigned year, unsigned month, unsigned day) { return dayNumberOf(CalendarDate{year, month, day}); }

class StatisticsTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);  // a first start: the default ladder
        french = addLanguage(L"French");
        german = addLanguage(L"German");
    }

    // A card of the language with one known word (a card without known words goes with the next
    // link cascade); its primary direction due in `due` days, the inverted one (when given) in
    // `inverted` days.
    unsigned card(unsigned language, std::int32_t due, std::optional<std::int32_t> inverted = std::nullopt,
                  unsigned level = 0, unsigned lesson = 0) {
        const unsigned word = addWord(language, (L"w" + std::to_wstring(++words)).c_str());
        auto* flashcard = new Flashcard(inverted.has_value(), due);
        flashcard->setDependency(D_WORD, word);
        flashcard->setDependency(D_LESSON, lesson);
        flashcard->set_primaryLevel(level, false);
        if (inverted) {
            flashcard->set_invertedNextDue(*inverted, false);
            flashcard->set_invertedLevel(level, false);
        }
        const unsigned id = Flashcard::add(flashcard);
        F_W::add(new F_W(id, addWord(german, (L"k" + std::to_wstring(words)).c_str())));
        return id;
    }

    static Answer answer(std::int32_t day, std::uint32_t second, Verdict verdict, std::uint32_t cardId = 1,
                         std::uint32_t language = 1) {
        Answer a;
        a.card = cardId;
        a.language = language;
        a.time = static_cast<std::int64_t>(day) * 86400 + second;
        a.verdict = verdict;
        a.firstTry = true;
        return a;
    }

    static std::vector<std::wstring> column(const TableData& table, std::size_t index) {
        std::vector<std::wstring> cells;
        for (const auto& row : table.rows) {
            cells.push_back(index < row.size() ? row[index] : L"");
        }
        return cells;
    }

    unsigned french = 0;
    unsigned german = 0;
    unsigned words = 0;
};

TEST_F(StatisticsTest, TheForecastCountsDirectionsByDueDayAcrossTheYearEndAndALeapDay) {
    card(french, -3);            // overdue: today
    card(french, 0, 0);          // both directions today
    card(french, 11, 12);        // 31 December and 1 January
    card(german, 29);            // the last day shown
    card(german, 30);            // beyond the forecast, still a direction
    card(french, 5, std::nullopt, 6);

    const std::int32_t today = dayOf(2027, 12, 20);
    const Statistics all = computeStatistics({}, today);
    EXPECT_EQ(all.cards, 6u);
    EXPECT_EQ(all.directions, 8u);
    EXPECT_EQ(all.forecast[0], 3u);
    EXPECT_EQ(all.forecast[11], 1u);
    EXPECT_EQ(all.forecast[12], 1u);
    EXPECT_EQ(all.forecast[29], 1u);
    EXPECT_EQ(all.forecast[5], 1u);
    const TableData table = tableOf(PlotKind::Forecast, all);
    ASSERT_EQ(table.rows.size(), 30u);
    EXPECT_EQ(table.rows[11], (std::vector<std::wstring>{L"2027-12-31", L"1"}));
    EXPECT_EQ(table.rows[12], (std::vector<std::wstring>{L"2028-01-01", L"1"}));

    // In a leap year the day after 28 February is the 29th.
    const TableData leap = tableOf(PlotKind::Forecast, computeStatistics({}, dayOf(2028, 2, 20)));
    EXPECT_EQ(leap.rows[9][0], L"2028-02-29");
    EXPECT_EQ(leap.rows[10][0], L"2028-03-01");

    // Levels: every rung of the default ladder with its break days.
    ASSERT_EQ(all.levels.size(), 7u);
    EXPECT_EQ(all.levels[0].directions, 7u);
    EXPECT_EQ(all.levels[6].directions, 1u);
    EXPECT_EQ(all.levels[4].breakDays, 12u);
    EXPECT_EQ(tableOf(PlotKind::Levels, all).rows[6], (std::vector<std::wstring>{L"6", L"90", L"1"}));

    const Statistics german_only = computeStatistics({german, std::nullopt}, today);
    EXPECT_EQ(german_only.directions, 2u);
    EXPECT_EQ(german_only.forecast[29], 1u);
    EXPECT_EQ(german_only.forecast[0], 0u);
}

TEST_F(StatisticsTest, DaysBeginAtMidnightUtcWeeksOnMondayAcrossTheYearEndAndTheStreakStopsAtAMissedDay) {
    const std::int32_t today = dayOf(2027, 1, 6);  // a Wednesday
    AnswerBlock::record(answer(today - 1, 86399, Verdict::Correct));  // yesterday's last second
    AnswerBlock::record(answer(today, 0, Verdict::Wrong));            // today's first
    AnswerBlock::record(answer(today, 43200, Verdict::Minor));
    AnswerBlock::record(answer(today - 2, 10, Verdict::Correct));
    AnswerBlock::record(answer(today - 4, 10, Verdict::Correct));     // after a missed day
    AnswerBlock::record(answer(dayOf(2026, 12, 31), 50, Verdict::Wrong));
    AnswerBlock::record(answer(dayOf(2027, 1, 1), 50, Verdict::Correct));
    Answer again = answer(dayOf(2027, 1, 1), 60, Verdict::Correct);
    again.firstTry = false;  // a second answer in its run: no first try
    AnswerBlock::record(again);

    Statistics s = computeStatistics({}, today);
    const VerdictCounts& todays = s.answersPerDay[Statistics::ANSWER_DAYS - 1];
    EXPECT_EQ(todays.wrong, 1u);
    EXPECT_EQ(todays.minor, 1u);
    EXPECT_EQ(todays.correct, 0u);
    EXPECT_EQ(s.answersPerDay[Statistics::ANSWER_DAYS - 2].total(), 1u);
    EXPECT_EQ(s.streak, 3u);

    // This week starts on Monday 4 January; the week before holds 31 December and 1 January.
    EXPECT_EQ(s.weekStart(Statistics::WEEKS - 1), dayOf(2027, 1, 4));
    const ShareCount& yearEnd = s.firstTryWeeks[Statistics::WEEKS - 2];
    EXPECT_EQ(s.weekStart(Statistics::WEEKS - 2), dayOf(2026, 12, 28));
    EXPECT_EQ(yearEnd.asked, 3u);  // 31 December (wrong), 1 and 2 January
    EXPECT_EQ(yearEnd.right, 2u);
    EXPECT_EQ(s.firstTryWeeks[Statistics::WEEKS - 1].asked, 4u);
    const TableData weeks = tableOf(PlotKind::FirstTry, s);
    EXPECT_EQ(weeks.rows[Statistics::WEEKS - 2], (std::vector<std::wstring>{L"2026-12-28", L"3", L"2", L"67 %"}));
    EXPECT_EQ(weeks.rows[0][3], L"\u2013");  // nothing asked: no share

    // The calendar starts on a Monday 52 weeks back and ends today.
    EXPECT_EQ(mondayOf(s.calendarStart), s.calendarStart);
    EXPECT_EQ(s.calendar.size(), static_cast<std::size_t>(today - s.calendarStart + 1));
    EXPECT_EQ(s.calendar.back(), 2u);

    // Before today's first answer, yesterday's streak still stands.
    s = computeStatistics({}, today + 1);
    EXPECT_EQ(s.streak, 3u);
    s = computeStatistics({}, today + 2);
    EXPECT_EQ(s.streak, 0u);
}

TEST_F(StatisticsTest, ArticlesAndVerbCellsAreCountedOneByOne) {
    const unsigned le = Article::add(new Article(L"le", french));
    const unsigned la = Article::add(new Article(L"la", french));
    const unsigned present = Tense::add(new Tense(L"présent", french));
    const unsigned future = Tense::add(new Tense(L"futur", french));
    const unsigned je = Person::add(new Person(L"je", french));
    const unsigned tu = Person::add(new Person(L"tu", french));
    const std::int32_t today = 20000;
    const VerbLayout grid{{present, future}, {je, tu}};

    Answer first = answer(today, 1, Verdict::Wrong, 1, french);
    first.article = ArticleJudgement::Wrong;
    first.articleId = le;
    first.verbLayout = grid;
    first.cellsRight = {true, false, false, true};  // présent/tu and futur/je wrong: two cells
    AnswerBlock::record(first);
    Answer second = answer(today, 2, Verdict::Correct, 2, french);
    second.article = ArticleJudgement::Right;
    second.articleId = le;
    second.verbLayout = grid;
    second.cellsRight = {true, true, true, true};
    AnswerBlock::record(second);
    Answer gone = answer(today, 3, Verdict::Correct, 3, french);
    gone.article = ArticleJudgement::Right;
    gone.articleId = 99;  // an article deleted since
    AnswerBlock::record(gone);

    const Statistics s = computeStatistics({french, std::nullopt}, today);
    ASSERT_EQ(s.articles.size(), 3u);  // le, la (never asked), the deleted one
    EXPECT_EQ(s.articles[0].id, le);
    EXPECT_EQ(s.articles[0].count.asked, 2u);
    EXPECT_EQ(s.articles[0].count.right, 1u);
    EXPECT_EQ(s.articles[1].id, la);
    EXPECT_EQ(s.articles[1].count.asked, 0u);
    EXPECT_EQ(s.articles[2].id, 0u);
    EXPECT_EQ(s.articles[2].count.right, 1u);

    ASSERT_EQ(s.tenses.size(), 2u);
    EXPECT_EQ(s.tenses[0].count.asked, 4u);  // two persons in each of two tables
    EXPECT_EQ(s.tenses[0].count.right, 3u);
    EXPECT_EQ(s.tenses[1].count.right, 3u);
    EXPECT_EQ(s.persons[0].count.right, 3u);  // je: futur wrong once
    EXPECT_EQ(s.persons[1].count.right, 3u);  // tu: présent wrong once
    EXPECT_EQ(s.persons[1].count.percent(), 75u);
    const TableData verbs = tableOf(PlotKind::Verbs, s);
    ASSERT_EQ(verbs.rows.size(), 4u);
    EXPECT_EQ(verbs.rows[3], (std::vector<std::wstring>{curStrings[String_PERSONS], L"tu", L"4", L"3", L"75 %"}));

    // All languages: only what was asked, named with its language.
    const Statistics all = computeStatistics({}, today);
    ASSERT_EQ(all.articles.size(), 2u);
    EXPECT_EQ(all.articles[0].name, L"le (French)");
}

TEST_F(StatisticsTest, TheHardestCardsAreTheTenWrongMostOftenInThirtyDaysDeletedOnesApart) {
    const std::int32_t today = 21000;
    std::vector<unsigned> cards;
    for (int i = 0; i < 13; ++i) {
        cards.push_back(card(french, 0));
    }
    // Card i answered wrong i + 1 times within the 30 days; the oldest of them 29 days back.
    for (std::size_t i = 0; i < cards.size(); ++i) {
        for (std::size_t k = 0; k <= i; ++k) {
            AnswerBlock::record(answer(today - static_cast<std::int32_t>(k % 30), 5, Verdict::Wrong, cards[i], french));
        }
    }
    // Older than 30 days, or right: not counted.
    for (int k = 0; k < 50; ++k) {
        AnswerBlock::record(answer(today - 30, 5, Verdict::Wrong, cards[0], french));
        AnswerBlock::record(answer(today, 5, Verdict::Correct, cards[1], french));
    }
    // The card with the most wrong answers is deleted: its answers are kept, under deleted cards.
    Flashcard::deleteEntry(cards[12]);

    const Statistics s = computeStatistics({}, today);
    ASSERT_EQ(s.hardest.size(), 10u);
    EXPECT_EQ(s.hardest[0].card, cards[11]);
    EXPECT_EQ(s.hardest[0].wrong, 12u);
    EXPECT_EQ(s.hardest[9].card, cards[2]);
    EXPECT_EQ(s.hardest[9].wrong, 3u);
    EXPECT_EQ(s.hardest[0].foreignWord, L"w12");
    EXPECT_EQ(s.deletedCardsWrong, 13u);
    EXPECT_EQ(s.deletedCardAnswers, 13u);
    const TableData table = tableOf(PlotKind::Hardest, s);
    EXPECT_EQ(table.rowCards.front(), cards[11]);
    EXPECT_EQ(table.rows.back()[2], L"13");  // the deleted cards' row
    EXPECT_EQ(table.rowCards.back(), 0u);
}

// Random answers over four months, counted here per day, verdict, language and lesson.
TEST_F(StatisticsTest, TheTableOfAnswersPerDayHoldsTheNumbersCountedIndependently) {
    const std::int32_t today = 20500;
    std::mt19937 random(7);
    std::map<std::pair<unsigned, std::int32_t>, std::array<unsigned, 3>> expected;  // (language, day)
    std::map<unsigned, std::uint64_t> lessonTotals;
    for (int i = 0; i < 5000; ++i) {
        const std::int32_t day = today - static_cast<std::int32_t>(random() % 120);
        const unsigned verdict = random() % 3;
        const unsigned language = 1 + random() % 2;
        Answer a = answer(day, random() % 86400, static_cast<Verdict>(verdict), 1 + random() % 50, language);
        a.lesson = random() % 3;
        AnswerBlock::record(a);
        ++expected[{language, day}][verdict];
        ++expected[{0, day}][verdict];
        ++lessonTotals[a.lesson];
    }
    for (unsigned language : {0u, 1u}) {
        const Statistics s = computeStatistics({language, std::nullopt}, today);
        const TableData table = tableOf(PlotKind::Answers, s);
        ASSERT_EQ(table.rows.size(), 90u);
        for (int i = 0; i < 90; ++i) {
            const std::int32_t day = today - 89 + i;
            const auto& counts = expected[{language, day}];
            EXPECT_EQ(table.rows[static_cast<std::size_t>(i)],
                      (std::vector<std::wstring>{isoDate(day), std::to_wstring(counts[0]), std::to_wstring(counts[1]),
                                                 std::to_wstring(counts[2]),
                                                 std::to_wstring(counts[0] + counts[1] + counts[2])}))
                << "language " << language << " day " << i;
        }
    }
    EXPECT_EQ(computeStatistics({0, 2u}, today).answers, lessonTotals[2]);
    EXPECT_EQ(computeStatistics({}, today).answers, 5000u);
}

TEST_F(StatisticsTest, AMillionAnswersAreSavedLoadedAndCounted) {
    const std::int32_t today = 20000;
    constexpr unsigned ANSWERS = 1000000;
    std::uint64_t lastYear = 0;
    std::uint32_t wrongToday = 0;
    for (unsigned i = 0; i < ANSWERS; ++i) {
        const std::int32_t day = today - static_cast<std::int32_t>(i % 1000);
        const Verdict verdict = static_cast<Verdict>(i % 3);
        Answer a = answer(day, i % 86400, verdict, 1 + i % 5000, 1 + i % 2);
        if (i % 10 == 0) {
            a.article = ArticleJudgement::Right;
            a.articleId = 1;
        }
        AnswerBlock::record(a);
        lastYear += day >= today - 371 ? 1 : 0;
        wrongToday += day == today && verdict == Verdict::Wrong ? 1 : 0;
    }
    ASSERT_EQ(saveDatabaseExternal(1, D_ANSWER), 0);
    ASSERT_TRUE(checkpointDatabase());
    ASSERT_EQ(restart(), LOAD_DONE);
    ASSERT_EQ(AnswerBlock::totalAnswers(), ANSWERS);
    EXPECT_LT(AnswerBlock::elementTree().size(), ANSWERS / 100);

    const Statistics s = computeStatistics({}, today);
    EXPECT_EQ(s.answers, ANSWERS);
    std::uint64_t calendar = 0;
    for (std::uint32_t count : s.calendar) {
        calendar += count;
    }
    const std::int32_t calendarDays = today - s.calendarStart + 1;
    std::uint64_t expectedCalendar = 0;
    for (unsigned i = 0; i < ANSWERS; ++i) {
        expectedCalendar += static_cast<std::int32_t>(i % 1000) < calendarDays ? 1 : 0;
    }
    EXPECT_EQ(calendar, expectedCalendar);
    EXPECT_GT(lastYear, 0u);
    EXPECT_EQ(s.answersPerDay.back().wrong, wrongToday);
    EXPECT_EQ(s.streak, 1000u);
}

}  // namespace
