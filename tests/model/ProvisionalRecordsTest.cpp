#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "DatabaseTestSupport.h"
#include "base/AtomicFile.h"
#include "base/FileTransaction.h"
#include "model/ProvisionalRecords.h"
#include "support/FileFaults.h"

namespace {

using modeltest::addLanguage;
using modeltest::addWord;

namespace fs = std::filesystem;

// A word made by New is noted before it reaches the disk; the meaning editor links a meaning to
// it and saves the link. The program is then killed: the next start must find neither the word
// nor anything linked to it, and must not report a damaged database.
class ProvisionalRecordsTest : public modeltest::DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        resetProvisionalRecords();  // notes of a test run before in the same process
        ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
        german = addLanguage(L"Deutsch");
        kept = addWord(german, L"Hund");
        keptMeaning = Meaning::add(new Meaning(2));
        M_W::add(new M_W(keptMeaning, kept));
        ASSERT_EQ(saveDatabaseExternal(0), 0);
    }

    // What New does: an empty word of the language, noted, then stored so links can name it.
    unsigned newWord() {
        auto* word = new Word(L"", L"", L"");
        word->setDependency(D_LANGUAGE, german);
        const unsigned id = Word::add(word);
        EXPECT_TRUE(noteProvisionalRecord(D_WORD, id));
        EXPECT_EQ(saveDatabaseExternal(1, D_WORD), 0);
        return id;
    }
    // What the meaning editor does for the word: a new meaning linked to it, saved.
    static unsigned linkNewMeaning(unsigned wordId) {
        const unsigned meaning = Meaning::add(new Meaning(1));
        M_W::add(new M_W(meaning, wordId));
        EXPECT_EQ(saveDatabaseExternal(3, D_MEANING, D_ASSO_C_M, D_ASSO_M_W), 0);
        return meaning;
    }
    // A new process: nothing held in memory, the database loaded, the abandoned records removed.
    static void startAgain() {
        resetProvisionalRecords();
        ASSERT_EQ(restart(), LOAD_DONE);
        EXPECT_TRUE(removeAbandonedRecords());
    }

    static void blockDirectory(const fs::path& directory) {
        fs::rename(directory, directory.string() + ".aside");
        writeFile(directory, "in the way");
    }
    static void unblockDirectory(const fs::path& directory) {
        fs::remove(directory);
        fs::rename(directory.string() + ".aside", directory);
    }

    static const Word* storedWord(const wchar_t* text) {
        for (auto it = Word::begin(); it != Word::end(); ++it) {
            if (std::wstring(text) == it->get_text()) {
                return *it;
            }
        }
        return nullptr;
    }

    unsigned german = 0;
    unsigned kept = 0;
    unsigned keptMeaning = 0;
};

TEST_F(ProvisionalRecordsTest, AWordAbandonedByAKillIsGoneWithItsLinksAtTheNextStart) {
    const unsigned abandoned = newWord();
    const unsigned meaning = linkNewMeaning(abandoned);
    auto* verb = IrregularVerb::createAndAdd(german, abandoned);
    ASSERT_EQ(saveDatabaseExternal(2, D_WORD, D_IRREGULARVERB), 0);
    const unsigned verbId = verb->getId();
    EXPECT_TRUE(fs::exists(PROVISIONAL_RECORDS_FILE));

    startAgain();
    EXPECT_EQ(nullptr, Word::getById(abandoned));
    EXPECT_EQ(nullptr, Meaning::getById(meaning));  // it had no other word
    EXPECT_EQ(nullptr, IrregularVerb::getById(verbId));
    EXPECT_EQ(0u, M_W::getAsTally(1, D_WORD, abandoned));
    EXPECT_FALSE(fs::exists(PROVISIONAL_RECORDS_FILE));
    // What was there before stays.
    ASSERT_NE(nullptr, Word::getById(kept));
    EXPECT_EQ(1u, M_W::getAsTally(2, D_WORD, kept, D_MEANING, keptMeaning));

    // The removal was saved: a start after it has nothing to do and loads cleanly.
    resetProvisionalRecords();
    ASSERT_EQ(restart(), LOAD_DONE);
    EXPECT_EQ(nullptr, Word::getById(abandoned));
    EXPECT_EQ(1u, Word::getAsTally(1, D_LANGUAGE, german));
}

TEST_F(ProvisionalRecordsTest, AKeptWordStaysAndNotesAreReadBackAsWritten) {
    const unsigned first = newWord();
    const unsigned second = newWord();
    EXPECT_TRUE(noteProvisionalRecord(D_WORD, second));  // a second note of it changes nothing
    EXPECT_FALSE(noteProvisionalRecord(D_LANGUAGE, german));
    EXPECT_FALSE(noteProvisionalRecord(D_WORD, 0));
    Word::getById(first)->set_text(L"Katze", true);
    ASSERT_EQ(saveDatabaseExternal(1, D_WORD), 0);
    ASSERT_TRUE(forgetProvisionalRecord(D_WORD, first));
    EXPECT_TRUE(forgetProvisionalRecord(D_WORD, 12345));  // never noted

    resetProvisionalRecords();
    EXPECT_FALSE(isProvisionalRecord(D_WORD, first));
    EXPECT_TRUE(isProvisionalRecord(D_WORD, second));
    startAgain();
    ASSERT_NE(nullptr, Word::getById(first));
    EXPECT_STREQ(L"Katze", Word::getById(first)->get_text());
    EXPECT_EQ(nullptr, Word::getById(second));
}

TEST_F(ProvisionalRecordsTest, DamagedNotesAreIgnoredNoteByNote) {
    const unsigned abandoned = newWord();
    // A note of a language, one with id 0 and half a note after the word's.
    std::string bytes = modeltest::u32(D_WORD) + modeltest::u32(abandoned) + modeltest::u32(D_LANGUAGE) +
                        modeltest::u32(german) + modeltest::u32(D_WORD) + modeltest::u32(0) +
                        modeltest::u32(99) + modeltest::u32(kept) + modeltest::u32(D_WORD);
    writeFile(PROVISIONAL_RECORDS_FILE, bytes);
    startAgain();
    EXPECT_EQ(nullptr, Word::getById(abandoned));
    EXPECT_NE(nullptr, Language::getById(german));
    EXPECT_NE(nullptr, Word::getById(kept));
}

// Keeping a new word is one unit: whichever file step of its storing fails (a crash at that
// moment), the next start finds either the kept word with its text or no trace of it, never an
// empty word, and a Save that reported success is never undone.
TEST_F(ProvisionalRecordsTest, AKillAtAnyStepOfKeepingANewWordLeavesItWholeOrGone) {
    fs::copy("Data", "Before", fs::copy_options::recursive);
    bool anyFired = false;
    for (unsigned step = 1;; ++step) {
        resetDatabase();
        resetProvisionalRecords();
        fs::remove_all("Data");
        fs::copy("Before", "Data", fs::copy_options::recursive);
        ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);

        fileFaults::failStep(step);
        // What the word editor does, stopping where a step reports failure.
        auto* word = new Word(L"", L"", L"");
        word->setDependency(D_LANGUAGE, german);
        const unsigned id = Word::add(word);
        bool saved = false;
        if (noteProvisionalRecord(D_WORD, id) && saveDatabaseExternal(1, D_WORD) == 0) {
            Word::getById(id)->set_text(L"Maus", true);
            FileTransaction unit(TRANSACTION_JOURNAL);
            saved = saveDatabaseExternal(1, D_WORD) == 0 && forgetProvisionalRecord(D_WORD, id) &&
                   unit.commit() == FileTransaction::Outcome::DONE;
        }
        const bool fired = fileFaults::fired();
        fileFaults::failStep(0);
        anyFired = anyFired || fired;

        startAgain();
        for (auto it = Word::begin(); it != Word::end(); ++it) {
            EXPECT_TRUE(it->getId() == kept || std::wstring(it->get_text()) == L"Maus")
                << "an empty word is left after step " << step << " failed";
        }
        if (saved) {
            EXPECT_NE(nullptr, storedWord(L"Maus")) << "a kept word is gone after step " << step << " failed";
        }
        if (!fired) {
            EXPECT_TRUE(saved);
            break;
        }
        ASSERT_LT(step, 100u) << "the steps never ran through";
    }
    EXPECT_TRUE(anyFired);
}

TEST_F(ProvisionalRecordsTest, AStartThatCannotSaveKeepsTheNotesUntilASaveSucceeds) {
    const unsigned abandoned = newWord();
    linkNewMeaning(abandoned);

    resetProvisionalRecords();
    ASSERT_EQ(restart(), LOAD_DONE);
    blockDirectory("Data/Word");
    EXPECT_FALSE(removeAbandonedRecords());
    EXPECT_EQ(nullptr, Word::getById(abandoned));  // out of every list at once
    EXPECT_TRUE(fs::exists(PROVISIONAL_RECORDS_FILE));

    // Nothing new is noted while the old removal cannot be saved.
    EXPECT_FALSE(noteProvisionalRecord(D_WORD, abandoned));
    unblockDirectory("Data/Word");

    // The next new word may take the freed id; once kept it is never taken for the old one.
    auto* word = new Word(L"Vogel", L"", L"");
    word->setDependency(D_LANGUAGE, german);
    const unsigned reused = Word::add(word);
    ASSERT_EQ(abandoned, reused);
    ASSERT_TRUE(noteProvisionalRecord(D_WORD, reused));
    ASSERT_EQ(saveDatabaseExternal(0), 0);
    ASSERT_TRUE(forgetProvisionalRecord(D_WORD, reused));
    EXPECT_FALSE(fs::exists(PROVISIONAL_RECORDS_FILE));

    startAgain();
    ASSERT_NE(nullptr, Word::getById(reused));
    EXPECT_STREQ(L"Vogel", Word::getById(reused)->get_text());
    EXPECT_EQ(0u, M_W::getAsTally(1, D_WORD, reused));  // the old word's meaning went with it
}

// A card and its new foreign word are noted and kept together: a failed write of the notes file
// leaves all of them as they were, never some noted and others not.
TEST_F(ProvisionalRecordsTest, SeveralRecordsAreNotedAndForgottenTogetherOrNotAtAll) {
    const unsigned word = newWord();
    auto* card = new Flashcard(true, 0);
    card->setDependency(D_WORD, word);
    const unsigned cardId = Flashcard::add(card);
    const std::vector<ProvisionalRecord> both = {{D_WORD, word}, {D_FLASHCARD, cardId}};
    EXPECT_FALSE(noteProvisionalRecords({{D_FLASHCARD, cardId}, {D_LANGUAGE, german}}));
    EXPECT_FALSE(isProvisionalRecord(D_FLASHCARD, cardId));

    fileFaults::failStep(1);
    EXPECT_FALSE(noteProvisionalRecords(both));
    fileFaults::failStep(0);
    EXPECT_FALSE(isProvisionalRecord(D_FLASHCARD, cardId));
    ASSERT_TRUE(noteProvisionalRecords(both));
    ASSERT_EQ(saveDatabaseExternal(2, D_WORD, D_FLASHCARD), 0);

    fileFaults::failStep(1);  // the removal of the notes file, which then names nothing
    EXPECT_FALSE(forgetProvisionalRecords(both));
    fileFaults::failStep(0);
    EXPECT_TRUE(isProvisionalRecord(D_WORD, word));
    EXPECT_TRUE(isProvisionalRecord(D_FLASHCARD, cardId));
    resetProvisionalRecords();
    EXPECT_TRUE(isProvisionalRecord(D_WORD, word));
    EXPECT_TRUE(isProvisionalRecord(D_FLASHCARD, cardId));

    ASSERT_TRUE(forgetProvisionalRecords(both));
    startAgain();
    EXPECT_NE(nullptr, Word::getById(word));
    EXPECT_NE(nullptr, Flashcard::getById(cardId));
}

}  // namespace
