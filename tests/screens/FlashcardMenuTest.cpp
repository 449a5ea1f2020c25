// The flashcard menu, and a stored card opened from it: how it is shown, the rule that a foreign
// word belongs to one card, and Save returning to the menu.

#include <gmock/gmock.h>

#include "FlashcardEditorTest.h"
#include "states/FeedState.h"
#include "states/SettingsState.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

namespace {

using screens::test::FlashcardEditorTest;
using screens::test::MessageResult;

class FlashcardMenuTest : public FlashcardEditorTest {
protected:
    void SetUp() override {
        FlashcardEditorTest::SetUp();
        companion = addMeaning({dog});
        katze = modeltest::addWord(german, L"Katze");
        katzeCard = addCard(katze, {modeltest::addWord(english, L"cat")});
        saveEverything();
    }
    unsigned companion = 0, katze = 0, katzeCard = 0;
};

TEST_F(FlashcardMenuTest, TheMenuListsTheCardsOfTheFilterLanguageAndDeletesOnlyAfterAsking) {
    linkScreen(LinkedScreen::FlashcardMenu, createFlashcardMenuState);
    show(createSettingsState());
    pressButton(L"Flashcards");
    EXPECT_THAT(buttonCaptions(), ElementsAre(L"New Flashcard", L"Edit Flashcard", L"Delete Flashcard", L"⋘"));
    EXPECT_THAT(entries(), ElementsAre(L"Hund [Lektion 1] (2|0, 3|0)", L"Katze [Lektion 1] (2|0, 3|0)"));
    choose(TAG_SELECTION_LANGUAGE, L"English");
    EXPECT_THAT(entries(), IsEmpty());
    pressButton(L"Edit Flashcard");
    EXPECT_EQ(curState->description, L"Flashcards");
    choose(TAG_SELECTION_LANGUAGE, L"German");
    EXPECT_EQ(entries().size(), 2u);

    chooseEntry(L"Katze [Lektion 1] (2|0, 3|0)");
    answerNextBox(MessageResult::Cancel);
    pressButton(L"Delete Flashcard");
    EXPECT_EQ(lastBoxText(), L"Do you really want to delete the highlighted flashcard?");
    EXPECT_EQ(entries().size(), 2u);

    answerNextBox(MessageResult::Ok);
    pressButton(L"Delete Flashcard");
    EXPECT_THAT(entries(), ElementsAre(L"Hund [Lektion 1] (2|0, 3|0)"));
    reloadDatabase();
    EXPECT_EQ(Flashcard::getById(katzeCard), nullptr);
    for (auto it = F_W::begin(); it != F_W::end(); ++it) {
        EXPECT_EQ(it->getDependency(D_FLASHCARD), hundCard);
    }
    EXPECT_NE(Word::getById(katze), nullptr);
}

TEST_F(FlashcardMenuTest, AStoredCardOpensWithItsKnownWordsMeaningsLessonAndLevels) {
    openStoredCard(L"Hund [Lektion 1] (2|0, 3|0)");
    EXPECT_EQ(page(), FLASHCARD_KNOWN_PAGE);
    snapshot("flashcard-stored-card");
    EXPECT_THAT(entries(TAG_FLASHCARD_KNOWN_WORDS), ElementsAre(L"dog"));
    // The meaning the foreign word shares is used, the known word's other meaning is not.
    EXPECT_THAT(entries(TAG_FLASHCARD_USE), ElementsAre(L"dog, Hund"));
    EXPECT_THAT(entries(TAG_FLASHCARD_DONT_USE), ElementsAre(L"dog"));
    EXPECT_EQ(textOf(TAG_FLASHCARD_CATEGORY), L"Animals");
    EXPECT_EQ(fieldText(TAG_FLASHCARD_WORD), L"Hund");
    EXPECT_EQ(shown(TAG_FLASHCARD_LESSON), L"Lektion 1");
    EXPECT_TRUE(painted(L"Level 2"));
    EXPECT_TRUE(painted(L"Level 3"));
    // The foreign language is fixed: its name stands where the selection was.
    EXPECT_EQ(element(TAG_FLASHCARD_FOREIGN_LANGUAGE), nullptr);
    EXPECT_TRUE(painted(L"German"));
    EXPECT_THAT(buttonCaptions(), testing::Contains(L"Save"));
    EXPECT_THAT(buttonCaptions(), testing::Not(testing::Contains(L"Save and next")));
}

TEST_F(FlashcardMenuTest, SavingAStoredCardKeepsItsWordAndRecordAndReturnsToTheRefreshedMenu) {
    openStoredCard(L"Hund [Lektion 1] (2|0, 3|0)");
    click(element(TAG_FLASHCARD_INVERTED)->getX() + 330, 30);  // "Practice in both directions" off
    repaintAll();
    EXPECT_TRUE(painted(L"Level 2"));
    EXPECT_FALSE(painted(L"Level 3"));
    choose(TAG_FLASHCARD_LESSON, L"n/a");
    pressButton(L"Save");
    EXPECT_EQ(boxCount(), 0u);
    EXPECT_EQ(curState->description, L"Flashcards");
    EXPECT_THAT(entries(), ElementsAre(L"Hund (2|0)", L"Katze [Lektion 1] (2|0, 3|0)"));

    reloadDatabase();
    EXPECT_EQ(count(D_FLASHCARD), 2u);
    Flashcard* card = Flashcard::getById(hundCard);
    EXPECT_EQ(card->getDependency(D_WORD), hund);
    EXPECT_FALSE(card->get_useInverted());
    EXPECT_EQ(card->get_primaryLevel(), 2u);
    EXPECT_EQ(card->getDependency(D_LESSON), 0u);
    EXPECT_THAT(knownWordsOf(*card), ElementsAre(L"dog"));
}

TEST_F(FlashcardMenuTest, AStoredCardMayRenameItsWordButNotTakeAWordOfAnotherCard) {
    openStoredCard(L"Hund [Lektion 1] (2|0, 3|0)");
    typeInto(TAG_FLASHCARD_WORD, L"Katze");
    pressButton(L"Save");
    ASSERT_EQ(boxCount(), 1u);
    EXPECT_EQ(lastBoxText(),
              L"The word you have entered exists already for this language!\nPlease alter its meanings if it has "
              L"multiple meanings. Each foreign word can be connected to one flashcard at most.");
    EXPECT_EQ(page(), FLASHCARD_KNOWN_PAGE);
    EXPECT_EQ(fieldText(TAG_FLASHCARD_WORD), L"Katze");

    typeInto(TAG_FLASHCARD_WORD, L"Hündin");
    pressButton(L"Save");
    EXPECT_EQ(curState->description, L"Flashcards");
    reloadDatabase();
    EXPECT_EQ(std::wstring(Word::getById(hund)->get_text()), L"Hündin");
    EXPECT_EQ(Flashcard::getById(hundCard)->getDependency(D_WORD), hund);
    EXPECT_EQ(std::wstring(Word::getById(katze)->get_text()), L"Katze");
}

TEST_F(FlashcardMenuTest, ANewCardCannotTakeAWordAnotherCardCarries) {
    openNewCard();
    choose(TAG_FLASHCARD_FOREIGN_LANGUAGE, L"German");
    typeInto(TAG_FLASHCARD_WORD, L"Hund");
    addKnown(L"hound");
    pressButton(L"Save and next");
    EXPECT_EQ(boxCount(), 1u);
    EXPECT_EQ(page(), FLASHCARD_KNOWN_PAGE);
    EXPECT_EQ(count(D_FLASHCARD), 2u);
}

TEST_F(FlashcardMenuTest, ClassicFlashcardsOpensTheEditorForANewCardAndCloseReturnsToTheFeed) {
    linkScreen(LinkedScreen::ClassicFlashcards, createFlashcardState);
    show(createFeedState());
    pressButton(L"Classic Flashcards");
    EXPECT_EQ(page(), FLASHCARD_FIRST_PAGE);
    choose(TAG_FLASHCARD_FOREIGN_LANGUAGE, L"German");
    typeInto(TAG_FLASHCARD_WORD, L"Maus");
    addKnown(L"mouse");
    EXPECT_THAT(buttonCaptions(), testing::Contains(L"Save and next"));
    pressButton(L"Save and next");
    pressButton(L"Close");
    EXPECT_EQ(curState->description, L"Feed");
    reloadDatabase();
    EXPECT_THAT(knownWordsOf(*cardOf(word(german, L"Maus"))), ElementsAre(L"mouse"));
}

}  // namespace
