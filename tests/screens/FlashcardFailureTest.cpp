// The flashcard editor when things go wrong: saves that fail (the page stays as the user left it
// and Save can be pressed again), a program that dies part-way through storing a card (the next
// start finds all of the card or nothing of it), and a database without any language.

#include <filesystem>

#include <gmock/gmock.h>

#include "FlashcardEditorTest.h"
#include "base/AtomicFile.h"
#include "support/FileFaults.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

namespace {

namespace fs = std::filesystem;

using screens::test::EditorTest;
using screens::test::FlashcardEditorTest;
using screens::test::MessageResult;

class FlashcardFailureTest : public FlashcardEditorTest {
protected:
    // "Haus" for "house" and the new word "hut", ready to be stored.
    void enterHaus() {
        openNewCard();
        choose(TAG_FLASHCARD_FOREIGN_LANGUAGE, L"German");
        typeInto(TAG_FLASHCARD_WORD, L"Haus");
        addKnown(L"house");
        addKnown(L"hut");
    }
    // What a new process finds: the database loaded from disk, abandoned records removed.
    void startAgain() {
        stateMachineReset();
        resetProvisionalRecords();
        reloadDatabase();
        ASSERT_TRUE(removeAbandonedRecords());
    }
    // Either the whole card is stored or nothing of it.
    void expectWholeCardOrNothing(unsigned step) {
        const Word* haus = word(german, L"Haus");
        Flashcard* card = cardOf(haus);
        if (card != nullptr) {
            EXPECT_THAT(knownWordsOf(*card), UnorderedElementsAre(L"house", L"hut")) << "step " << step;
            EXPECT_THAT(meaningsOf(*word(german, L"Haus")), UnorderedElementsAre(building, dwelling)) << "step " << step;
        } else {
            EXPECT_EQ(haus, nullptr) << "step " << step;
            EXPECT_EQ(word(english, L"hut"), nullptr) << "step " << step;
        }
        EXPECT_EQ(count(D_FLASHCARD), card != nullptr ? 2u : 1u) << "step " << step;
    }
};

TEST_F(FlashcardFailureTest, AFailedSaveKeepsThePageAsTheUserLeftItAndTheRetryStoresTheCardOnce) {
    enterHaus();
    typeInto(TAG_FLASHCARD_HINT, L"a roof");
    blockDirectory("Data/Flashcard");
    pressButton(L"Save and next");
    ASSERT_EQ(boxCount(), 1u);
    EXPECT_EQ(lastBoxText(), curStrings[String_ERROR_SAVE_DB]);
    EXPECT_EQ(page(), FLASHCARD_KNOWN_PAGE);
    EXPECT_EQ(fieldText(TAG_FLASHCARD_WORD), L"Haus");
    EXPECT_EQ(fieldText(TAG_FLASHCARD_HINT), L"a roof");
    EXPECT_THAT(entries(TAG_FLASHCARD_KNOWN_WORDS), ElementsAre(L"house", L"hut"));
    // Nothing of the attempt stays in memory.
    EXPECT_EQ(word(german, L"Haus"), nullptr);
    EXPECT_EQ(count(D_FLASHCARD), 1u);
    EXPECT_THAT(meaningsOf(*Word::getById(house)), UnorderedElementsAre(building, dwelling));

    unblockDirectory("Data/Flashcard");
    pressButton(L"Save and next");
    EXPECT_EQ(boxCount(), 1u);
    EXPECT_EQ(page(), FLASHCARD_FIRST_PAGE);
    reloadDatabase();
    EXPECT_EQ(count(D_FLASHCARD), 2u);
    Word* haus = word(german, L"Haus");
    ASSERT_NE(haus, nullptr);
    EXPECT_EQ(std::wstring(haus->get_mnemonic()), L"a roof");
    EXPECT_THAT(knownWordsOf(*cardOf(haus)), UnorderedElementsAre(L"house", L"hut"));
    EXPECT_FALSE(fs::exists(PROVISIONAL_RECORDS_FILE));
}

// The edited card and its word get back what they had when the save fails.
TEST_F(FlashcardFailureTest, AFailedSaveOfAStoredCardLeavesItsRecordsAsTheyWere) {
    openStoredCard(L"Hund [Lektion 1] (2|0, 3|0)");
    typeInto(TAG_FLASHCARD_WORD, L"Hündin");
    choose(TAG_FLASHCARD_LESSON, L"n/a");
    blockDirectory("Data/Relations");
    pressButton(L"Save");
    ASSERT_EQ(boxCount(), 1u);
    EXPECT_EQ(page(), FLASHCARD_KNOWN_PAGE);
    EXPECT_EQ(fieldText(TAG_FLASHCARD_WORD), L"Hündin");
    EXPECT_EQ(std::wstring(Word::getById(hund)->get_text()), L"Hund");
    EXPECT_EQ(Flashcard::getById(hundCard)->getDependency(D_LESSON), lesson);

    unblockDirectory("Data/Relations");
    pressButton(L"Save");
    EXPECT_EQ(curState->description, L"Flashcards");
    reloadDatabase();
    EXPECT_EQ(std::wstring(Word::getById(hund)->get_text()), L"Hündin");
    EXPECT_EQ(Flashcard::getById(hundCard)->getDependency(D_LESSON), 0u);
}

TEST_F(FlashcardFailureTest, AKnownWordThatCannotBeStoredIsNotAddedAndItsTextStays) {
    openNewCard();
    const unsigned words = count(D_WORD);
    blockDirectory("Data/Word");
    addKnown(L"hut");
    ASSERT_EQ(boxCount(), 1u);
    EXPECT_EQ(lastBoxText(), curStrings[String_ERROR_SAVE_DB]);
    EXPECT_EQ(fieldText(TAG_FLASHCARD_KNOWN), L"hut");
    EXPECT_THAT(entries(TAG_FLASHCARD_KNOWN_WORDS), IsEmpty());
    EXPECT_EQ(count(D_WORD), words);
    EXPECT_EQ(page(), FLASHCARD_FIRST_PAGE);

    unblockDirectory("Data/Word");
    pressButton(L"»");
    EXPECT_THAT(entries(TAG_FLASHCARD_KNOWN_WORDS), ElementsAre(L"hut"));
}

// The program dies at every file step of "Save and next" in turn (a write torn, a rename or a
// removal not done): the next start finds the whole card or nothing of it, never a card without
// its known words, a foreign word without its card or a known word nobody kept.
TEST_F(FlashcardFailureTest, AProgramDyingAtAnyStepOfStoringLeavesTheWholeCardOrNothing) {
    const fs::path before = fs::current_path() / "before";
    fs::copy("Data", before, fs::copy_options::recursive);
    for (unsigned step = 1;; ++step) {
        enterHaus();
        window->dialogs().answerMessageBox(MessageResult::Ok);
        fileFaults::failStep(step);
        pressButton(L"Save and next");
        const bool fired = fileFaults::fired();
        fileFaults::failStep(0);
        startAgain();
        expectWholeCardOrNothing(step);
        if (!fired) {
            EXPECT_NE(cardOf(word(german, L"Haus")), nullptr);
            EXPECT_GE(step, 10u);  // the notes, the tables and the pictures: logged, then written in place
            break;
        }
        stateMachineReset();
        resetDatabase();
        fs::remove_all("Data");
        fs::copy(before, "Data", fs::copy_options::recursive);
        resetProvisionalRecords();
        ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
    }
}

class FlashcardWithoutLanguageTest : public EditorTest {};

TEST_F(FlashcardWithoutLanguageTest, WithoutALanguageTheEditorOffersTheLanguageEditorAndGoesOnAfterIt) {
    show(createFlashcardState());
    EXPECT_EQ(curState->condition, FLASHCARD_NO_LANGUAGE_PAGE);
    EXPECT_TRUE(painted(L"Add a language"));
    EXPECT_THAT(buttonCaptions(), ElementsAre(L"Languages", L"Close"));
    EXPECT_EQ(focusedCaption(), L"Languages");
    snapshot("flashcard-no-language");

    pressButton(L"Languages");
    EXPECT_EQ(curState->description, L"Languages");
    pressButton(L"New Language");
    click(200, 120);
    type(L"\x01\bSpanish");  // Ctrl+A, Backspace
    pressButton(L"Save");
    pressButton(L"⋘");
    repaintAll();
    repaintAll();
    EXPECT_EQ(curState->condition, FLASHCARD_FIRST_PAGE);
    EXPECT_TRUE(painted(L"Spanish"));
    // The editor works: a word of the new language is stored as a known word.
    typeInto(TAG_FLASHCARD_KNOWN, L"hola");
    pressButton(L"»");
    EXPECT_EQ(getElementByTag<GuiItemfield>(TAG_FLASHCARD_KNOWN_WORDS, curState)->getNumberOfCurrentElements(), 1);
    pressButton(L"Close");
}

}  // namespace
