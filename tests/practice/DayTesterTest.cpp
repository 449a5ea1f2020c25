#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/AtomicFile.h"
#include "model/Database.h"
#include "model/Flashcard.h"
#include "model/Language.h"
#include "model/Word.h"
#include "practice/dayTester.h"
#include "support/FileFaults.h"
#include "support/TempDirTest.h"

namespace {

// 2024-03-10 00:01 UTC and moments around it.
constexpr std::int64_t TODAY_0001 = 1710028860;
constexpr std::int64_t YESTERDAY_2359 = TODAY_0001 - 120;
constexpr std::int64_t TODAY_2359 = TODAY_0001 + SECONDS_PER_DAY - 120;

class DayTesterTest : public mernolex::test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
        auto* language = new Language();
        language->set_name(L"French", true);
        auto* word = new Word(L"chat", L"", L"");
        word->setDependency(D_LANGUAGE, Language::add(language));
        const unsigned wordId = Word::add(word);
        for (bool inverted : {true, false}) {
            auto* card = new Flashcard(inverted, 0);
            card->setDependency(D_WORD, wordId);
            card->set_primaryNextDue(inverted ? 3 : -5, true);
            card->set_invertedNextDue(7, true);
            cards.push_back(Flashcard::add(card));
        }
        saveDatabase(D_ENDTAG);
    }
    void TearDown() override {
        resetDatabase();
        TempDirTest::TearDown();
    }

    static std::string stampOf(std::int64_t time) {
        const auto raw = static_cast<std::uint32_t>(time);
        return std::string{static_cast<char>(raw & 0xFF), static_cast<char>((raw >> 8) & 0xFF),
                           static_cast<char>((raw >> 16) & 0xFF), static_cast<char>(raw >> 24)};
    }
    // Primary and inverted counter of each card.
    std::vector<std::pair<int, int>> counters() const {
        std::vector<std::pair<int, int>> all;
        for (unsigned id : cards) {
            const Flashcard* card = Flashcard::getById(id);
            all.emplace_back(card->get_primaryNextDue(), card->get_invertedNextDue());
        }
        return all;
    }

    std::vector<unsigned> cards;
    const std::vector<std::pair<int, int>> unchanged{{3, 7}, {-5, 7}};
    const std::vector<std::pair<int, int>> oneDayLater{{2, 6}, {-6, 7}};
};

TEST_F(DayTesterTest, TheFirstRunOnlyWritesTheStamp) {
    testDayAt(TODAY_0001);
    EXPECT_EQ(readFile(TIMESTAMP_FILE), stampOf(TODAY_0001));
    EXPECT_EQ(counters(), unchanged);

    writeFile(TIMESTAMP_FILE, stampOf(YESTERDAY_2359).substr(0, 3));
    testDayAt(TODAY_0001);
    EXPECT_EQ(counters(), unchanged) << "a stamp cut short counts as missing";
    EXPECT_EQ(readFile(TIMESTAMP_FILE), stampOf(TODAY_0001));
}

TEST_F(DayTesterTest, MidnightUtcLowersEachCounterOnceAndTheCountersReachTheDisk) {
    writeFile(TIMESTAMP_FILE, stampOf(YESTERDAY_2359));
    testDayAt(TODAY_0001);
    EXPECT_EQ(counters(), oneDayLater) << "the inverted counter of a card not used inverted stays";
    EXPECT_EQ(readFile(TIMESTAMP_FILE), stampOf(TODAY_0001));

    testDayAt(TODAY_2359);
    EXPECT_EQ(counters(), oneDayLater) << "the same UTC day again";
    EXPECT_EQ(readFile(TIMESTAMP_FILE), stampOf(TODAY_0001));

    ASSERT_EQ((resetDatabase(), loadDatabase(D_ENDTAG)), LOAD_DONE);
    EXPECT_EQ(counters(), oneDayLater) << "the roll-over was saved with the stamp";
}

TEST_F(DayTesterTest, AnyOtherDayIsOneStep) {
    for (std::int64_t last : {TODAY_0001 - 3 * SECONDS_PER_DAY, TODAY_0001 + 5 * SECONDS_PER_DAY}) {
        resetDatabase();
        ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
        writeFile(TIMESTAMP_FILE, stampOf(last));
        testDayAt(TODAY_0001);
        EXPECT_EQ(counters(), oneDayLater) << last;
        EXPECT_EQ(readFile(TIMESTAMP_FILE), stampOf(TODAY_0001));
        // Back to the counters of the start for the next round.
        for (unsigned id : cards) {
            Flashcard* card = Flashcard::getById(id);
            card->set_primaryNextDue(card->get_primaryNextDue() + 1, true);
            if (card->get_useInverted()) {
                card->set_invertedNextDue(card->get_invertedNextDue() + 1, true);
            }
        }
        saveDatabase(D_FLASHCARD);
    }
}

// The roll-over saves the flashcard table (here two bounds of cards) and the stamp. The n-th file
// step of it fails for n = 1, 2, ... as a crash there would leave it; the program then starts
// again and runs its daily check. Whatever the step, every card must end up exactly one day
// closer and the stamp must hold today: no day lost, none counted twice. What the crashed
// program held in memory must also be what its files say, or a later save of the cards would
// store a roll-over that the stamp does not record.
TEST_F(DayTesterTest, ACrashAtAnyStepOfTheRollOverLowersEveryCounterExactlyOnce) {
    for (int i = 0; i < 12; ++i) {
        auto* card = new Flashcard(i % 2 == 0, 0);
        card->setDependency(D_WORD, Flashcard::getById(cards[0])->getDependency(D_WORD));
        card->set_primaryNextDue(i, true);
        card->set_invertedNextDue(100 + i, true);
        cards.push_back(Flashcard::add(card));
    }
    ASSERT_GT(cards.back(), 10u) << "the cards must fill more than one bound";
    ASSERT_EQ(saveDatabaseExternal(0), 0);
    writeFile(TIMESTAMP_FILE, stampOf(YESTERDAY_2359));
    std::filesystem::copy("Data", "Before", std::filesystem::copy_options::recursive);
    const auto before = counters();
    testDayAt(TODAY_0001);
    const auto after = counters();
    ASSERT_NE(after, before);

    for (unsigned step = 1;; ++step) {
        std::filesystem::remove_all("Data");
        std::filesystem::copy("Before", "Data", std::filesystem::copy_options::recursive);
        ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
        fileFaults::failStep(step);
        testDayAt(TODAY_0001);
        const bool fired = fileFaults::fired();
        fileFaults::failStep(0);
        const auto held = counters();

        ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE) << "the start after the crash at step " << step;
        EXPECT_EQ(counters(), held) << "memory and files disagree after step " << step;
        testDayAt(TODAY_0001);
        EXPECT_EQ(counters(), after) << "step " << step;
        EXPECT_EQ(readFile(TIMESTAMP_FILE), stampOf(TODAY_0001)) << "step " << step;
        if (!fired) {
            break;
        }
        ASSERT_LT(step, 100u) << "the roll-over never ran through";
    }
}

TEST_F(DayTesterTest, ACounterNeverOverflows) {
    Flashcard::getById(cards[0])->set_primaryNextDue(INT32_MIN, true);
    writeFile(TIMESTAMP_FILE, stampOf(YESTERDAY_2359));
    testDayAt(TODAY_0001);
    EXPECT_EQ(Flashcard::getById(cards[0])->get_primaryNextDue(), INT32_MIN);
}

}  // namespace
