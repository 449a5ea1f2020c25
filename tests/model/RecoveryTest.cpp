#include <gtest/gtest.h>

#include <filesystem>

#include "DatabaseTestSupport.h"

namespace modeltest {
namespace {

namespace fs = std::filesystem;

std::string indexOf(dependency d) {
    return std::string(tablePath(d)) + ".dat";
}

class RecoveryTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        s = buildSample();
    }

    // After a recovery, the reset database loads again without complaint and as it was left.
    void expectCleanRestart(std::size_t words, std::size_t meanings) {
        ASSERT_EQ(restart(), LOAD_DONE);
        EXPECT_EQ(Word::elementTree().size(), words);
        EXPECT_EQ(Meaning::elementTree().size(), meanings);
        EXPECT_EQ(Level::elementTree().size(), 7u);
    }

    void expectDamagedWordsReset(std::uint32_t strayId);

    Sample s;
};

TEST_F(RecoveryTest, AMissingLessonIndexResetsFromTheLessonsOnAndKeepsTheFiles) {
    fs::remove(indexOf(D_LESSON));
    ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_RESET);

    EXPECT_EQ(Language::elementTree().size(), 2u) << "tables before the lessons stay as loaded";
    EXPECT_EQ(Level::elementTree().size(), 7u) << "the level table, never loaded, gets the default ladder";
    for (unsigned size : {Lesson::elementTree().size(), Category::elementTree().size(), Person::elementTree().size(),
                          Tense::elementTree().size(), Article::elementTree().size(),
                          VerbPattern::elementTree().size(), Word::elementTree().size(),
                          IrregularVerb::elementTree().size(), Flashcard::elementTree().size(),
                          F_W::elementTree().size(), Meaning::elementTree().size(), M_W::elementTree().size(),
                          C_M::elementTree().size()}) {
        EXPECT_EQ(size, 0u);
    }
    EXPECT_FALSE(fs::exists(std::string(WORD_PATH) + "0.dat"));
    EXPECT_FALSE(fs::exists(std::string(MNEMONIC_IMAGE_DIR) + std::to_string(s.chien) + ".bmp"));
    EXPECT_TRUE(fs::exists(std::string(FLAG_IMAGE_DIR) + std::to_string(s.french) + ".bmp"));

    const fs::path backup = onlyBackup();
    EXPECT_TRUE(fs::exists(backup / "Word/words0.dat"));
    EXPECT_TRUE(fs::exists(backup / "Verb/Irregular/irregularverbs0.dat"));
    EXPECT_TRUE(fs::exists(backup / "Relations/mw0.dat"));
    EXPECT_TRUE(fs::exists(backup / "Lesson/lessons0.dat"));
    EXPECT_EQ(readFile(backup / ("WordImages/Mnemonic/" + std::to_string(s.chien) + ".bmp")), "BM chien");
    EXPECT_TRUE(fs::exists(backup / "Language/languages0.dat")) << "tables before it are copied";
    EXPECT_TRUE(fs::exists(std::string(LANGUAGE_PATH) + "0.dat"));

    expectCleanRestart(0, 0);
    EXPECT_EQ(Language::elementTree().size(), 2u);
}

TEST_F(RecoveryTest, AMissingCategoryLinkIndexResetsOnlyThoseLinks) {
    fs::remove(indexOf(D_ASSO_C_M));
    ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_RESET);
    EXPECT_TRUE(C_M::elementTree().empty());
    EXPECT_STREQ(Meaning::getById(s.meaning)->get_description(), L"chien, dog");
    EXPECT_NE(Category::getById(s.category), nullptr);
    EXPECT_STREQ(Word::getById(s.dog)->giveCategories(), L"");
    EXPECT_TRUE(fs::exists(onlyBackup() / "Relations/cm0.dat"));
    expectCleanRestart(3, 1);
}

TEST_F(RecoveryTest, AMissingIrregularVerbIndexClearsTheWordsLinksAndResetsTheRest) {
    fs::remove(indexOf(D_IRREGULARVERB));
    ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_RESET);
    EXPECT_EQ(Word::elementTree().size(), 3u);
    EXPECT_EQ(Word::getById(s.etre)->getDependency(D_IRREGULARVERB), 0u);
    EXPECT_EQ(Word::getById(s.chien)->getDependency(D_ARTICLE), s.article);
    EXPECT_EQ(VerbPattern::elementTree().size(), 1u);
    for (unsigned size : {IrregularVerb::elementTree().size(), Flashcard::elementTree().size(),
                          F_W::elementTree().size(), Meaning::elementTree().size(), M_W::elementTree().size(),
                          C_M::elementTree().size()}) {
        EXPECT_EQ(size, 0u);
    }
    EXPECT_TRUE(fs::exists(std::string(MNEMONIC_IMAGE_DIR) + std::to_string(s.chien) + ".bmp"))
        << "the word table itself was not reset";
    expectCleanRestart(3, 0);
    EXPECT_EQ(Word::getById(s.etre)->getDependency(D_IRREGULARVERB), 0u);
}

// Damage inside the word table (a stray record appended to its first bound) is handled like an
// unreadable table: the files go into the backup and the tables from the words on are reset.
void RecoveryTest::expectDamagedWordsReset(std::uint32_t strayId) {
    const std::string words = std::string(WORD_PATH) + "0.dat";
    const std::string good = readFile(words);
    const std::string emptyText = u32(1) + std::string(2, '\0');
    writeFile(words, good + header(strayId) + emptyText + emptyText + emptyText);

    int status = -1;
    ASSERT_NO_THROW(status = loadDatabase(D_ENDTAG));
    EXPECT_EQ(status, LOAD_RESET);
    EXPECT_EQ(readFile(onlyBackup() / "Word/words0.dat").substr(0, good.size()), good);
    EXPECT_EQ(Article::elementTree().size(), 1u);
    EXPECT_TRUE(Flashcard::elementTree().empty());
    EXPECT_TRUE(Meaning::elementTree().empty());
    ASSERT_EQ(restart(), LOAD_DONE);
}

TEST_F(RecoveryTest, ADuplicateIdIsHandledLikeAnUnreadableTable) {
    expectDamagedWordsReset(s.chien);
}

TEST_F(RecoveryTest, AnIdOutsideItsBoundIsHandledLikeAnUnreadableTable) {
    expectDamagedWordsReset(42);
}

TEST_F(RecoveryTest, ALinkToAMissingRecordIsDroppedOnItsOwn) {
    // A meaning-word link naming word 99, which does not exist, after the two good links.
    const std::string links = readFile(std::string(M_W_PATH) + "0.dat");
    writeFile(std::string(M_W_PATH) + "0.dat", links + header(3, {{D_MEANING, s.meaning}, {D_WORD, 99}}));

    ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_RESET);
    EXPECT_EQ(M_W::elementTree().size(), 2u);
    EXPECT_STREQ(Meaning::getById(s.meaning)->get_description(), L"chien, dog");
    EXPECT_EQ(C_M::elementTree().size(), 1u) << "the tables after it load normally";
    EXPECT_EQ(readFile(onlyBackup() / "Relations/mw0.dat"), links + header(3, {{D_MEANING, s.meaning}, {D_WORD, 99}}))
        << "the file as it was before the repair";
    EXPECT_TRUE(fs::exists(onlyBackup() / "Relations/mw.dat"));
    EXPECT_FALSE(fs::exists(onlyBackup() / "Word")) << "nothing else was touched";
    EXPECT_EQ(readFile(std::string(M_W_PATH) + "0.dat"), links) << "the repaired links are saved";
    expectCleanRestart(3, 1);
}

TEST_F(RecoveryTest, AnUnreadableLanguageTableTakesTheLanguagePicturesIntoTheBackup) {
    fs::remove(std::string(LANGUAGE_PATH) + "0.dat");
    ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_RESET);
    EXPECT_TRUE(Language::elementTree().empty());
    const fs::path backup = onlyBackup();
    EXPECT_EQ(readFile(backup / ("LanguageImages/Flag/" + std::to_string(s.french) + ".bmp")), "BM flag");
    EXPECT_TRUE(fs::exists(backup / "Language/languages.dat"));
    EXPECT_FALSE(fs::exists(std::string(FLAG_IMAGE_DIR) + std::to_string(s.french) + ".bmp"));
    expectCleanRestart(0, 0);
}

TEST_F(RecoveryTest, UnreadableFlashcardLinksPurgeOnlyCardsWithoutLinksAndTheCardsAreBackedUp) {
    fs::remove(indexOf(D_ASSO_F_W));
    ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_RESET);
    EXPECT_TRUE(Flashcard::elementTree().empty()) << "a card without known words cannot be practised";
    EXPECT_TRUE(fs::exists(onlyBackup() / "Flashcard/flashcards0.dat"));
    EXPECT_EQ(Meaning::elementTree().size(), 0u);
    expectCleanRestart(3, 0);
}

TEST_F(RecoveryTest, AMissingTableDirectoryIsFatalButNothingEscapes) {
    fs::remove_all("Data/Lesson");
    int status = -1;
    EXPECT_NO_THROW(status = loadDatabase(D_ENDTAG));
    EXPECT_EQ(status, LOAD_FATAL);
    EXPECT_TRUE(fs::exists(onlyBackup() / "Word/words0.dat")) << "the files were kept before anything else";
}

}  // namespace
}  // namespace modeltest
