#include <gtest/gtest.h>

#include "ModelTestSupport.h"

namespace modeltest {
namespace {

class FlashcardTest : public VocabularyTest {
protected:
    void SetUp() override {
        VocabularyTest::SetUp();
        Lesson::setup(D_LESSON, true);
        Level::setup(D_LEVEL, true);
        Flashcard::setup(D_FLASHCARD, false);
        F_W::setup(D_ASSO_F_W, F_W::ENFORCE_FROM, F_W::ENFORCE_TO, true);
        french = addLanguage(L"French");
        chien = addWord(french, L"chien");
    }

    unsigned french = 0;
    unsigned chien = 0;
};

TEST_F(FlashcardTest, IsStoredByteForByteInNineteenBytes) {
    const unsigned lesson = Lesson::add(new Lesson(L"Tiere", 14));
    auto* card = new Flashcard(true, 0);
    card->setDependency(D_WORD, chien);
    card->setDependency(D_LESSON, lesson);
    card->set_primaryNextDue(-2, true);
    card->set_primaryMinorFlag(true, true);
    card->set_primaryLevel(3, true);
    card->set_invertedNextDue(5, true);
    card->set_invertedLevel(1, true);
    Flashcard::add(card);

    const std::string expected = header(1, {{D_LANGUAGE, french}, {D_WORD, chien}, {D_LESSON, lesson}}) +
                                 u32(0xFFFFFFFE) + byte(1) + u32(3) + byte(1) + u32(5) + byte(0) + u32(1);
    EXPECT_EQ(savedBound<Flashcard>(FLASHCARD_PATH), expected);
    EXPECT_EQ(savedBound<Lesson>(LESSON_PATH), header(1) + text(u"Tiere") + u32(14));

    resetDatabaseTables();
    setupPracticeTables();
    Flashcard::loadAll(FLASHCARD_PATH, D_ENDTAG);
    Flashcard* loaded = Flashcard::getById(1);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->get_primaryNextDue(), -2);
    EXPECT_TRUE(loaded->get_primaryMinorFlag());
    EXPECT_EQ(loaded->get_primaryLevel(), 3u);
    EXPECT_TRUE(loaded->get_useInverted());
    EXPECT_EQ(loaded->get_invertedNextDue(), 5);
    EXPECT_FALSE(loaded->get_invertedMinorFlag());
    EXPECT_EQ(loaded->get_invertedLevel(), 1u);
}

TEST_F(FlashcardTest, TakesTheLanguageOfItsWordAndDescribesItself) {
    auto* card = new Flashcard(true, 0);
    card->setDependency(D_WORD, chien);
    Flashcard::add(card);
    EXPECT_EQ(card->getDependency(D_LANGUAGE), french);
    EXPECT_STREQ(card->get_text(), L"chien (0|0, 0|0)");

    card->set_useInverted(false, true);
    EXPECT_STREQ(card->get_text(), L"chien (0|0)");

    card->setDependency(D_LESSON, Lesson::add(new Lesson(L"Haustiere", Lesson::NO_DUE_DATE)));
    card->set_useInverted(true, true);
    card->set_primaryLevel(2, true);
    card->set_primaryNextDue(-3, true);
    card->set_invertedLevel(6, true);
    card->set_invertedNextDue(90, true);
    EXPECT_STREQ(card->get_text(), L"chien [Haustiere] (2|-3, 6|90)");
    EXPECT_STREQ(static_cast<const wchar_t*>(card->getData(Flashcard::ATTR_TEXT)), L"chien [Haustiere] (2|-3, 6|90)");

    card->setDependency(D_WORD, 77);
    EXPECT_EQ(card->getDependency(D_WORD), 77u) << "set also for a word that does not exist";
    EXPECT_EQ(card->getDependency(D_LANGUAGE), french);
    EXPECT_STREQ(card->get_text(), L" [Haustiere] (2|-3, 6|90)");
}

TEST_F(FlashcardTest, LosingItsLastKnownWordDeletesTheCard) {
    const unsigned dog = addWord(addLanguage(L"English"), L"dog");
    const unsigned hound = addWord(Word::getById(dog)->getDependency(D_LANGUAGE), L"hound");
    auto* card = new Flashcard(true, 0);
    card->setDependency(D_WORD, chien);
    const unsigned cardId = Flashcard::add(card);
    F_W::add(new F_W(cardId, dog));
    F_W::add(new F_W(cardId, hound));

    Word::deleteEntry(dog);
    ASSERT_NE(Flashcard::getById(cardId), nullptr);
    EXPECT_EQ(Flashcard::getById(cardId)->fTR(D_WORD).size(), 1u);
    Word::deleteEntry(hound);
    EXPECT_EQ(Flashcard::getById(cardId), nullptr);
    EXPECT_TRUE(F_W::elementTree().empty());
}

class LevelTest : public VocabularyTest {
protected:
    void SetUp() override {
        VocabularyTest::SetUp();
        setupPracticeTables();
    }

    // Adds levels numbered 0 .. count-1; their record ids are number + 1.
    static void buildLadder(unsigned count) {
        for (unsigned i = 0; i < count; ++i) {
            Level::add(new Level(i, false, SHOWHINT));
        }
    }
    // Level number of each record, by record id.
    static std::vector<unsigned> numbers() {
        std::vector<unsigned> all;
        for (auto it = Level::begin(); it != Level::end(); ++it) {
            all.push_back(it->get_level());
        }
        return all;
    }
};

TEST_F(LevelTest, MovingALevelShiftsTheOnesInBetween) {
    buildLadder(5);
    Level::requestTree().clear();
    EXPECT_TRUE(Level::getById(2)->set_level(3));
    EXPECT_EQ(numbers(), (std::vector<unsigned>{0, 3, 1, 2, 4}));
    EXPECT_FALSE(Level::requestTree().empty()) << "the renumbered ladder is marked for saving";

    EXPECT_TRUE(Level::getById(2)->set_level(1));
    EXPECT_EQ(numbers(), (std::vector<unsigned>{0, 1, 2, 3, 4}));
    EXPECT_TRUE(Level::getById(4)->set_level(3));
    EXPECT_EQ(numbers(), (std::vector<unsigned>{0, 1, 2, 3, 4}));

    EXPECT_FALSE(Level::getById(2)->set_level(5));
    EXPECT_FALSE(Level::getById(2)->set_level(0));
    EXPECT_EQ(numbers(), (std::vector<unsigned>{0, 1, 2, 3, 4}));
    EXPECT_EQ(Level::getByLevel(4)->getId(), 5u);
    EXPECT_EQ(Level::getByLevel(5), nullptr);
}

TEST_F(LevelTest, DeletingALevelClosesTheGapAndCardsFollow) {
    buildLadder(5);
    const unsigned word = addWord(addLanguage(L"French"), L"chat");
    std::vector<unsigned> cards;
    for (unsigned level : {4u, 3u, 2u}) {
        auto* card = new Flashcard(true, 0);
        card->setDependency(D_WORD, word);
        card->set_primaryLevel(level, true);
        card->set_invertedLevel(4, true);
        cards.push_back(Flashcard::add(card));
    }

    Level::deleteEntry(3);  // level number 2
    EXPECT_EQ(numbers(), (std::vector<unsigned>{0, 1, 2, 3}));
    EXPECT_EQ(Level::getNextAvailableLevel(), 4u);

    Flashcard::levelDeduct();
    EXPECT_EQ(Flashcard::getById(cards[0])->get_primaryLevel(), 3u);
    EXPECT_EQ(Flashcard::getById(cards[1])->get_primaryLevel(), 3u) << "cards keep their numbers";
    EXPECT_EQ(Flashcard::getById(cards[2])->get_primaryLevel(), 2u);
    EXPECT_EQ(Flashcard::getById(cards[2])->get_invertedLevel(), 3u);

    Level::deleteEntry(1);  // the bottom level
    EXPECT_EQ(numbers(), (std::vector<unsigned>{0, 1, 2}));
    while (!Level::elementTree().empty()) {
        Level::deleteEntry(Level::begin()->getId());
    }
    EXPECT_EQ(Level::getNextAvailableLevel(), 0u);
    Flashcard::levelDeduct();  // no ladder: nothing to measure against, nothing changes
    EXPECT_EQ(Flashcard::getById(cards[0])->get_primaryLevel(), 3u);
}

TEST_F(LevelTest, TheTimingStatisticForgetsTenAverageAnswersAtATime) {
    Level level(1, false, SHOWHINT);
    EXPECT_EQ(level.statEstimate(), 60u);
    level.statSubmitReading(30);
    EXPECT_EQ(level.statEstimate(), 45u);
    while (level.get_statSubmissions() < 110) {
        level.statSubmitReading(45);
    }
    EXPECT_EQ(level.get_statTotal(), 110u * 45);
    level.statSubmitReading(56);  // total 5006 over 111: estimate 45
    EXPECT_EQ(level.get_statSubmissions(), 101u);
    EXPECT_EQ(level.get_statTotal(), 5006u - 450);
}

TEST_F(LevelTest, IsStoredByteForByteAndOutOfRangeValuesReadBackAsTheNearestValid) {
    writeFile(std::string(LEVEL_PATH) + ".dat", "");
    Level::loadAll(LEVEL_PATH, D_ENDTAG);  // an empty ladder, loaded: saving writes what is there
    auto* level = new Level(12, true, PUNISHHINT);
    level->statSubmitReading(40);
    Level::add(level);
    const std::string stored = header(1) + u32(12) + byte(1) + u32(2) + u32(0) + u32(2) + u32(100);
    EXPECT_EQ(savedBound<Level>(LEVEL_PATH), stored);

    writeFile(std::string(LEVEL_PATH) + "0.dat", header(1) + u32(3) + byte(7) + u32(9) + u32(0) + u32(0) + u32(80));
    Level::loadAll(LEVEL_PATH, D_ENDTAG);
    Level* loaded = Level::getById(1);
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(loaded->get_forceAnswerTyping());
    EXPECT_EQ(loaded->get_hintHandling(), PUNISHHINT);
    EXPECT_EQ(loaded->get_statSubmissions(), 1u);
    EXPECT_EQ(loaded->statEstimate(), 80u);
    EXPECT_TRUE(Level::hasLoadedCorrectly());
    EXPECT_STREQ(loaded->get_description(), L"Level 0");
}

TEST_F(LevelTest, WithoutALoadedLadderTheFirstSaveWritesTheDefaultOne) {
    std::filesystem::create_directories("Data/Level");
    Level::add(new Level(99, false, SHOWHINT));  // read before a failure, say
    Level::saveAll(LEVEL_PATH, D_ENDTAG);
    resetDatabaseTables();
    setupPracticeTables();
    Level::loadAll(LEVEL_PATH, D_ENDTAG);

    std::vector<unsigned> breakDays;
    for (unsigned number = 0; number < Level::getNextAvailableLevel(); ++number) {
        breakDays.push_back(Level::getByLevel(number)->get_breakDays());
    }
    EXPECT_EQ(breakDays, (std::vector<unsigned>{0, 1, 3, 5, 12, 30, 90}));
    EXPECT_TRUE(Level::getByLevel(2)->get_forceAnswerTyping());
    EXPECT_FALSE(Level::getByLevel(3)->get_forceAnswerTyping());
    EXPECT_EQ(Level::getByLevel(4)->get_hintHandling(), HIDEHINT);
    EXPECT_EQ(Level::getByLevel(6)->get_hintHandling(), PUNISHHINT);
    EXPECT_EQ(Level::getByLevel(6)->statEstimate(), 60u);
}

TEST_F(LevelTest, ADamagedLadderIsRenumberedInTheOrderOfItsNumbers) {
    std::string stored;
    const unsigned storedNumbers[] = {5, 0, 5, 40};
    for (unsigned id = 1; id <= 4; ++id) {
        stored += header(id) + u32(id) + byte(0) + u32(0) + u32(storedNumbers[id - 1]) + u32(1) + u32(60);
    }
    writeFile(std::string(LEVEL_PATH) + ".dat", u32(0));
    writeFile(std::string(LEVEL_PATH) + "0.dat", stored);
    Level::loadAll(LEVEL_PATH, D_ENDTAG);
    EXPECT_EQ(numbers(), (std::vector<unsigned>{1, 0, 2, 3}));
    EXPECT_EQ(Level::getNextAvailableLevel(), 4u);

    // Cards loaded afterwards with numbers beyond the ladder stand on its top.
    writeFile(std::string(FLASHCARD_PATH) + ".dat", u32(0));
    writeFile(std::string(FLASHCARD_PATH) + "0.dat",
              header(1) + u32(0) + byte(0) + u32(9) + byte(1) + u32(0) + byte(0) + u32(2));
    Flashcard::loadAll(FLASHCARD_PATH, D_ENDTAG);
    EXPECT_EQ(Flashcard::getById(1)->get_primaryLevel(), 3u);
    EXPECT_EQ(Flashcard::getById(1)->get_invertedLevel(), 2u);
}

}  // namespace
}  // namespace modeltest
