// A new card from the first word to "Save and next": known words found and created, the meanings
// the card uses, what is stored, and what the editor leaves behind when it closes instead.

#include <filesystem>

#include <gmock/gmock.h>

#include "FlashcardEditorTest.h"
#include "db/OrnQL_Extra.h"
#include "gui/support/BmpBytes.h"
#include "gui/GuiItemfield.h"
#include "gui/GuiTextfield.h"
#include "screens/stateMeaning.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

namespace {

using screens::test::FlashcardEditorTest;
using screens::test::MessageResult;

TEST_F(FlashcardEditorTest, ANewCardWithAStoredAndANewKnownWordIsStoredWithTheMeaningsItUses) {
    openNewCard();
    snapshot("flashcard-first-page");
    EXPECT_EQ(shown(TAG_FLASHCARD_KNOWN_LANGUAGE), L"English");
    choose(TAG_FLASHCARD_FOREIGN_LANGUAGE, L"German");
    typeInto(TAG_FLASHCARD_WORD, L"Haus");
    typeInto(TAG_FLASHCARD_PRONUNCIATION, L"haʊs");
    choose(TAG_FLASHCARD_ARTICLE, L"das");
    choose(TAG_FLASHCARD_LESSON, L"Lektion 1");

    addKnown(L"house");
    EXPECT_EQ(page(), FLASHCARD_KNOWN_PAGE);
    EXPECT_EQ(fieldText(TAG_FLASHCARD_KNOWN), L"");
    EXPECT_THAT(entries(TAG_FLASHCARD_USE), ElementsAre(L"house", L"house, home"));
    EXPECT_THAT(entries(TAG_FLASHCARD_DONT_USE), IsEmpty());
    EXPECT_EQ(textOf(TAG_FLASHCARD_CATEGORY), L"Buildings, Places");

    // A text no English word has makes a new word, kept only if the card is stored.
    addKnown(L"building");
    EXPECT_THAT(entries(TAG_FLASHCARD_KNOWN_WORDS), ElementsAre(L"house", L"building"));
    EXPECT_TRUE(isProvisionalRecord(D_WORD, word(english, L"building")->getId()));

    // The categories follow the Use list at once.
    chooseEntry(L"house", TAG_FLASHCARD_KNOWN_WORDS);
    shift(L"house, home", TAG_FLASHCARD_USE);
    EXPECT_EQ(textOf(TAG_FLASHCARD_CATEGORY), L"Buildings");
    shift(L"house", TAG_FLASHCARD_USE);
    EXPECT_EQ(textOf(TAG_FLASHCARD_CATEGORY), L"Automated");
    shift(L"house", TAG_FLASHCARD_DONT_USE);
    EXPECT_THAT(entries(TAG_FLASHCARD_USE), ElementsAre(L"house"));
    EXPECT_THAT(entries(TAG_FLASHCARD_DONT_USE), ElementsAre(L"house, home"));
    EXPECT_EQ(textOf(TAG_FLASHCARD_CATEGORY), L"Buildings");
    snapshot("flashcard-known-page");

    pressButton(L"Save and next");
    EXPECT_EQ(boxCount(), 0u);

    // Ready for the next card, in the same languages.
    EXPECT_EQ(page(), FLASHCARD_FIRST_PAGE);
    EXPECT_THAT(entries(TAG_FLASHCARD_KNOWN_WORDS), IsEmpty());
    EXPECT_EQ(fieldText(TAG_FLASHCARD_WORD), L"");
    EXPECT_EQ(fieldText(TAG_FLASHCARD_PRONUNCIATION), L"Pronunciation");
    EXPECT_EQ(fieldText(TAG_FLASHCARD_HINT), L"Hint");
    EXPECT_EQ(shown(TAG_FLASHCARD_FOREIGN_LANGUAGE), L"German");
    EXPECT_EQ(shown(TAG_FLASHCARD_KNOWN_LANGUAGE), L"English");
    EXPECT_EQ(shown(TAG_FLASHCARD_ARTICLE), L"n/a");
    EXPECT_EQ(textOf(TAG_FLASHCARD_CATEGORY), L"Automated");
    EXPECT_FALSE(std::filesystem::exists(PROVISIONAL_RECORDS_FILE));

    reloadDatabase();
    Word* haus = word(german, L"Haus");
    ASSERT_NE(haus, nullptr);
    EXPECT_EQ(std::wstring(haus->get_ipaPronounciation()), L"haʊs");
    EXPECT_EQ(std::wstring(haus->get_mnemonic()), L"");
    EXPECT_EQ(std::wstring(Article::getById(haus->getDependency(D_ARTICLE))->get_text()), L"das");
    EXPECT_EQ(haus->getDependency(D_VERBPATTERN), 0u);
    EXPECT_EQ(haus->getDependency(D_IRREGULARVERB), 0u);
    Flashcard* card = cardOf(haus);
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->getDependency(D_LANGUAGE), german);
    EXPECT_EQ(card->getDependency(D_LESSON), lesson);
    EXPECT_TRUE(card->get_useInverted());
    EXPECT_EQ(card->get_primaryLevel(), 0u);
    EXPECT_EQ(card->get_invertedLevel(), 0u);
    EXPECT_EQ(card->get_primaryNextDue(), 0);
    EXPECT_THAT(knownWordsOf(*card), UnorderedElementsAre(L"house", L"building"));
    EXPECT_THAT(meaningsOf(*haus), ElementsAre(building));
    EXPECT_EQ(std::wstring(card->get_text()), L"Haus [Lektion 1] (0|0, 0|0)");
}

// Each side types in its language's layout and shows its keyboard; the flags show both languages.
TEST_F(FlashcardEditorTest, TheForeignWordIsTypedInTheForeignLayoutAndEverythingElseInTheKnownOne) {
    using mernolex::test::bmp24;
    using mernolex::test::writeBytes;
    constexpr std::uint32_t RED = 0x0000FF, YELLOW = 0x00FFFF, BLUE = 0xFF0000, GREY = 0x808080;
    writeBytes(createPathById(german, FLAG_IMAGE_DIR), bmp24(6, 4, [](int, int) { return RED; }));
    writeBytes(createPathById(german, KEYBOARD_IMAGE_DIR), bmp24(8, 2, [](int, int) { return YELLOW; }));
    writeBytes(createPathById(english, FLAG_IMAGE_DIR), bmp24(6, 4, [](int, int) { return BLUE; }));
    writeBytes(createPathById(english, KEYBOARD_IMAGE_DIR), bmp24(8, 2, [](int, int) { return GREY; }));
    const auto layout = [] {
        char active[9] = {};
        getKL(active);
        return std::string(active);
    };

    openNewCard();
    choose(TAG_FLASHCARD_FOREIGN_LANGUAGE, L"German");
    typeInto(TAG_FLASHCARD_WORD, L"Zug");
    repaintAll();
    EXPECT_EQ(layout(), "00000407");
    EXPECT_EQ(window->pixel(500, 450), YELLOW);
    EXPECT_EQ(window->pixel(320, 70), RED);
    EXPECT_EQ(window->pixel(670, 70), BLUE);
    snapshot("flashcard-pictures");

    for (const char* knownSide : {TAG_FLASHCARD_KNOWN, TAG_FLASHCARD_PRONUNCIATION, TAG_FLASHCARD_HINT}) {
        typeInto(knownSide, L"x");
        repaintAll();
        EXPECT_EQ(layout(), "00000409") << knownSide;
        EXPECT_EQ(window->pixel(500, 450), GREY) << knownSide;
    }
    typeInto(TAG_FLASHCARD_WORD, L"Zug");
    EXPECT_EQ(layout(), "00000407");
}

TEST_F(FlashcardEditorTest, TheHintPictureIsShownWhenChosenStoredWithTheWordAndShownAgainWithTheCard) {
    using mernolex::test::bmp24;
    using mernolex::test::writeBytes;
    constexpr std::uint32_t GREEN = 0x00FF00;
    writeBytes("roof.bmp", bmp24(6, 4, [](int, int) { return GREEN; }));
    writeBytes("notes.txt", {'n', 'o'});
    const std::string roof = (std::filesystem::current_path() / "roof.bmp").string();

    openNewCard();
    choose(TAG_FLASHCARD_FOREIGN_LANGUAGE, L"German");
    typeInto(TAG_FLASHCARD_WORD, L"Dach");
    window->dialogs().answerFileDialog(roof);
    pressButton(L"Add picture");
    repaintAll();
    EXPECT_EQ(window->pixel(215, 445), GREEN);
    // A file that is no picture changes nothing.
    window->dialogs().answerFileDialog((std::filesystem::current_path() / "notes.txt").string());
    pressButton(L"Add picture");
    repaintAll();
    EXPECT_EQ(window->pixel(215, 445), GREEN);
    EXPECT_TRUE(painted(std::wstring(roof.begin(), roof.end())));

    addKnown(L"roof");
    pressButton(L"Save and next");
    repaintAll();
    EXPECT_NE(window->pixel(215, 445), GREEN);
    const unsigned dach = word(german, L"Dach")->getId();
    EXPECT_TRUE(std::filesystem::exists(createPathById(dach, MNEMONIC_IMAGE_DIR)));

    pressButton(L"Close");
    chooseEntry(L"Dach (0|0, 0|0)");
    pressButton(L"Edit Flashcard");
    repaintAll();
    EXPECT_EQ(window->pixel(215, 445), GREEN);
}

// The Use list shows the highlighted known word's meanings, but the card uses the meanings in use
// of all of them.
TEST_F(FlashcardEditorTest, TheCardUsesTheMeaningsInUseOfEveryKnownWordNotOnlyTheHighlightedOne) {
    openNewCard();
    choose(TAG_FLASHCARD_FOREIGN_LANGUAGE, L"German");
    typeInto(TAG_FLASHCARD_WORD, L"Heim");
    addKnown(L"home");
    addKnown(L"house");
    shift(L"house", TAG_FLASHCARD_USE);
    chooseEntry(L"home", TAG_FLASHCARD_KNOWN_WORDS);
    EXPECT_THAT(entries(TAG_FLASHCARD_USE), ElementsAre(L"house, home"));
    EXPECT_EQ(textOf(TAG_FLASHCARD_CATEGORY), L"Places");
    pressButton(L"Save and next");

    reloadDatabase();
    EXPECT_THAT(meaningsOf(*word(german, L"Heim")), ElementsAre(dwelling));
}

TEST_F(FlashcardEditorTest, AKnownWordIsListedOnceAndAnEmptyOneIsRefusedWithoutCreatingAWord) {
    openNewCard();
    addKnown(L"house");
    addKnown(L"house");
    EXPECT_THAT(entries(TAG_FLASHCARD_KNOWN_WORDS), ElementsAre(L"house"));
    EXPECT_EQ(Meaning::getById(building)->get_connectionsForFlashcard(), 1u);

    const unsigned words = count(D_WORD);
    addKnown(L"  ");
    ASSERT_EQ(boxCount(), 1u);
    EXPECT_EQ(lastBoxText(), L"You have not entered a correct value!\nPlease correct and try again.");
    EXPECT_EQ(count(D_WORD), words);
    EXPECT_THAT(entries(TAG_FLASHCARD_KNOWN_WORDS), ElementsAre(L"house"));

    // A new word is created once, however often it is added.
    addKnown(L"hut");
    addKnown(L"hut");
    EXPECT_THAT(entries(TAG_FLASHCARD_KNOWN_WORDS), ElementsAre(L"house", L"hut"));
    EXPECT_EQ(count(D_WORD), words + 1);
}

TEST_F(FlashcardEditorTest, RemoveAndCloseDeleteTheKnownWordsTheEditorCreatedAndOnlyThose) {
    openNewCard();
    addKnown(L"house");
    addKnown(L"hut");
    addKnown(L"shed");
    EXPECT_THAT(wordsOf(english), UnorderedElementsAre(L"house", L"home", L"dog", L"hut", L"shed"));

    const unsigned hut = word(english, L"hut")->getId();
    chooseEntry(L"hut", TAG_FLASHCARD_KNOWN_WORDS);
    pressButton(L"Remove »");
    EXPECT_THAT(entries(TAG_FLASHCARD_KNOWN_WORDS), ElementsAre(L"house", L"shed"));
    EXPECT_THAT(wordsOf(english), UnorderedElementsAre(L"house", L"home", L"dog", L"shed"));
    // Its note goes only once its deletion is saved.
    EXPECT_FALSE(isProvisionalRecord(D_WORD, hut));

    chooseEntry(L"house", TAG_FLASHCARD_KNOWN_WORDS);
    pressButton(L"Remove »");
    pressButton(L"Remove »");
    EXPECT_EQ(page(), FLASHCARD_FIRST_PAGE);
    EXPECT_EQ(Meaning::getById(building)->get_connectionsForFlashcard(), 0u);

    addKnown(L"barn");
    pressButton(L"Close");
    EXPECT_EQ(curState->description, L"Flashcards");
    reloadDatabase();
    EXPECT_THAT(wordsOf(english), UnorderedElementsAre(L"house", L"home", L"dog"));
    EXPECT_FALSE(std::filesystem::exists(PROVISIONAL_RECORDS_FILE));
}

// A meaning made for a new known word goes with it when the editor is closed.
TEST_F(FlashcardEditorTest, MeaningsMadeForANewKnownWordReachTheUseListAndGoWithTheWordOnClose) {
    openNewCard();
    addKnown(L"hut");
    pressButton(L"Meanings");
    EXPECT_EQ(editWordMeaningState, word(english, L"hut"));
    pressButton(L"New Meaning");
    pressButton(L"Save");
    pressButton(L"⋘");
    EXPECT_EQ(page(), FLASHCARD_KNOWN_PAGE);
    EXPECT_THAT(entries(TAG_FLASHCARD_USE), ElementsAre(L"hut"));
    const unsigned meaning = list(TAG_FLASHCARD_USE)->getEntryId(0);

    pressButton(L"Close");
    reloadDatabase();
    EXPECT_EQ(word(english, L"hut"), nullptr);
    EXPECT_EQ(Meaning::getById(meaning), nullptr);
}

// "New connection" links the known word to a stored meaning; back on the card it is in use.
TEST_F(FlashcardEditorTest, AMeaningConnectedToAKnownWordIsInUseOnReturnAndStoredWithTheCard) {
    openNewCard();
    choose(TAG_FLASHCARD_FOREIGN_LANGUAGE, L"German");
    typeInto(TAG_FLASHCARD_WORD, L"Hütte");
    addKnown(L"hut");
    EXPECT_THAT(entries(TAG_FLASHCARD_USE), IsEmpty());
    pressButton(L"New connection");
    EXPECT_EQ(curState->condition, MEANING_CONNECTION_PAGE);
    chooseEntry(L"house");
    pressButton(L"New connection");
    EXPECT_EQ(page(), FLASHCARD_KNOWN_PAGE);
    EXPECT_THAT(entries(TAG_FLASHCARD_USE), ElementsAre(L"house, hut"));
    EXPECT_EQ(textOf(TAG_FLASHCARD_CATEGORY), L"Buildings");
    pressButton(L"Save and next");

    reloadDatabase();
    EXPECT_THAT(meaningsOf(*word(german, L"Hütte")), ElementsAre(building));
    EXPECT_THAT(meaningsOf(*word(english, L"hut")), ElementsAre(building));
}

// The window goes while the editor is open: what it created goes too, without a box.
TEST_F(FlashcardEditorTest, TheEndOfTheProgramDeletesTheCreatedKnownWordsQuietly) {
    openNewCard();
    addKnown(L"hut");
    killState();
    EXPECT_EQ(boxCount(), 0u);
    reloadDatabase();
    EXPECT_EQ(word(english, L"hut"), nullptr);
}

// A run that ends without Close (killed, crashed, or the window went while the meaning editor
// was on top) leaves the created word noted, and the next start removes it.
TEST_F(FlashcardEditorTest, AKnownWordLeftBehindByAnInterruptedRunIsGoneAfterTheNextStart) {
    openNewCard();
    addKnown(L"hut");
    const unsigned hut = word(english, L"hut")->getId();

    stateMachineReset();
    resetProvisionalRecords();
    reloadDatabase();
    ASSERT_NE(Word::getById(hut), nullptr);
    EXPECT_TRUE(removeAbandonedRecords());
    EXPECT_EQ(Word::getById(hut), nullptr);
    reloadDatabase();
    EXPECT_EQ(Word::getById(hut), nullptr);
    EXPECT_THAT(wordsOf(english), UnorderedElementsAre(L"house", L"home", L"dog"));
}

TEST_F(FlashcardEditorTest, ALessonMadeInTheLessonEditorCanBeChosenOnReturnAndTheChoiceStays) {
    openNewCard();
    choose(TAG_FLASHCARD_LESSON, L"Lektion 1");
    pressButton(L"Lessons");
    pressButton(L"New Lesson");
    typeInto("TEXTFIELD_NEWLESSON", L"Lektion 2");
    click(600, 270);  // no due date
    pressButton(L"Save");
    pressButton(L"⋘");
    EXPECT_EQ(shown(TAG_FLASHCARD_LESSON), L"Lektion 1");
    choose(TAG_FLASHCARD_LESSON, L"Lektion 2");
}

}  // namespace
