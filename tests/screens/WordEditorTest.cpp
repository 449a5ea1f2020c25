#include <filesystem>
#include <string>

#include <gmock/gmock.h>

#include "WordEditorFixture.h"
#include "gui/GuiLanguageSwitch.h"

using ::testing::ElementsAre;

namespace {

using screens::test::MessageResult;
using screens::test::WordEditorTest;

TEST_F(WordEditorTest, ANewGermanVerbWithArticleAndPatternShowsItsFormsAndIsStoredWhole) {
    openEditor();
    pressButton(L"New Word");
    ASSERT_EQ(page(), WORD_PAGE);
    EXPECT_EQ(shownAt(LANGUAGE_X, LANGUAGE_Y), L"Deutsch");
    EXPECT_EQ(textAt(PRONUNCIATION_X, PRONUNCIATION_Y), L"Pronunciation");
    EXPECT_EQ(textAt(HINT_X, HINT_Y), L"Hint");
    EXPECT_TRUE(painted(L"Automated"));

    typeAt(WORD_X, WORD_Y, L"machen");
    typeAt(PRONUNCIATION_X, PRONUNCIATION_Y, L"ˈmaxn̩");
    chooseAt(ARTICLE_X, ARTICLE_Y, L"das");
    ASSERT_NE(buttonCaptioned(L"Save"), nullptr);
    chooseAt(PATTERN_X, VERB_Y, L"Deutsch Pattern - 1");
    // A pattern's forms are seen before the word is stored.
    EXPECT_EQ(buttonCaptioned(L"Save"), nullptr);
    snapshot("word-page-regular");
    pressButton(L"Next");
    ASSERT_EQ(page(), VERB_PAGE);
    EXPECT_EQ(cell(1, 1), L"mache");
    EXPECT_EQ(cell(2, 1), L"machst");
    EXPECT_EQ(cell(3, 2), L"machte");
    EXPECT_EQ(cell(0, 2), L"Präteritum");
    EXPECT_TRUE(painted(L"machen"));  // the heading
    snapshot("verb-page-regular");
    pressButton(L"Save");
    ASSERT_EQ(boxCount(), 0u) << std::string(lastBoxText().begin(), lastBoxText().end());
    EXPECT_EQ(page(), WORD_LIST_PAGE);
    paint();
    EXPECT_THAT(entries(), ElementsAre(L"machen"));

    reloadDatabase();
    const Word* word = storedWord(german, L"machen");
    ASSERT_NE(word, nullptr);
    EXPECT_STREQ(word->get_ipaPronounciation(), L"ˈmaxn̩");
    EXPECT_STREQ(word->get_mnemonic(), L"");
    EXPECT_EQ(word->getDependency(D_ARTICLE), articleOf(german, L"das"));
    EXPECT_EQ(word->getDependency(D_VERBPATTERN), firstPattern());
    EXPECT_EQ(word->getDependency(D_IRREGULARVERB), 0u);
    EXPECT_EQ(Word::getAsTally(1, D_LANGUAGE, german), 1u);
    EXPECT_FALSE(isProvisionalRecord(D_WORD, word->getId()));
    EXPECT_FALSE(std::filesystem::exists(PROVISIONAL_RECORDS_FILE));
}

TEST_F(WordEditorTest, PlaceholdersStoreNothingWhileAFieldTheUserEmptiedStoresTheEmptyText) {
    const unsigned hund = addGermanWord(german, L"Hund", L"hʊnt", L"bellt");
    saveEverything();
    openEditor();
    pressButton(L"New Word");
    typeAt(WORD_X, WORD_Y, L"Katze");
    pressButton(L"Save");
    chooseEntry(L"Hund");
    pressButton(L"Edit Word");
    EXPECT_EQ(textAt(PRONUNCIATION_X, PRONUNCIATION_Y), L"hʊnt");
    EXPECT_EQ(textAt(HINT_X, HINT_Y), L"bellt");
    EXPECT_TRUE(painted(L"Deutsch"));  // the language is shown, no longer chosen
    EXPECT_EQ(at<GuiSelectionfield>(LANGUAGE_X, LANGUAGE_Y), nullptr);
    typeAt(PRONUNCIATION_X, PRONUNCIATION_Y, L"");
    pressButton(L"Save");
    ASSERT_EQ(boxCount(), 0u);

    reloadDatabase();
    const Word* katze = storedWord(german, L"Katze");
    ASSERT_NE(katze, nullptr);
    EXPECT_STREQ(katze->get_ipaPronounciation(), L"");
    EXPECT_STREQ(katze->get_mnemonic(), L"");
    EXPECT_STREQ(Word::getById(hund)->get_ipaPronounciation(), L"");
    EXPECT_STREQ(Word::getById(hund)->get_mnemonic(), L"bellt");

    // A word whose texts are empty shows the placeholders again.
    openEditor();
    chooseEntry(L"Katze");
    pressButton(L"Edit Word");
    EXPECT_EQ(textAt(PRONUNCIATION_X, PRONUNCIATION_Y), L"Pronunciation");
    EXPECT_EQ(textAt(HINT_X, HINT_Y), L"Hint");
}

TEST_F(WordEditorTest, AChangedWordGetsFreshFormsAndALanguageWithoutGrammarKeepsTheUserOnThePage) {
    openEditor();
    pressButton(L"New Word");
    typeAt(WORD_X, WORD_Y, L"machen");
    chooseAt(PATTERN_X, VERB_Y, L"Deutsch Pattern - 1");
    pressButton(L"Next");
    ASSERT_EQ(cell(1, 1), L"mache");
    pressButton(L"Back");
    typeAt(WORD_X, WORD_Y, L"sagen");
    pressButton(L"Next");
    EXPECT_EQ(cell(1, 1), L"sage");
    EXPECT_EQ(cell(3, 2), L"sagte");
    EXPECT_FALSE(painted(L"mache"));
    pressButton(L"Back");

    // English has neither persons nor tenses: there is no table to show.
    chooseAt(LANGUAGE_X, LANGUAGE_Y, L"English");
    EXPECT_EQ(shownAt(PATTERN_X, VERB_Y), L"n/a");  // German's pattern is not English's
    chooseIrregular();
    answerNextBox(MessageResult::Ok);
    pressButton(L"Next");
    ASSERT_EQ(boxCount(), 1u);
    EXPECT_EQ(lastBoxText(), curStrings[String_NO_PERSONS_OR_TENSES_YET]);
    EXPECT_EQ(page(), WORD_PAGE);
    EXPECT_EQ(textAt(WORD_X, WORD_Y), L"sagen");
}

TEST_F(WordEditorTest, IrregularFormsAreTypedOnTheVerbPageAndGoWhenTheWordBecomesRegular) {
    openEditor();
    pressButton(L"New Word");
    typeAt(WORD_X, WORD_Y, L"sein");
    chooseIrregular();
    EXPECT_EQ(at<GuiSelectionfield>(PATTERN_X, VERB_Y), nullptr);
    EXPECT_EQ(buttonCaptioned(L"Save"), nullptr);
    snapshot("word-page-irregular");
    pressButton(L"Next");
    ASSERT_EQ(page(), VERB_PAGE);
    EXPECT_EQ(window->keyboardLayouts().activeLayout(), "00000407");  // the forms are German
    typeIntoCell(1, 1, L"bin");
    typeIntoCell(2, 1, L"bist");
    // Back to mend the word: the forms typed so far stay.
    pressButton(L"Back");
    typeAt(WORD_X, WORD_Y, L"sein!");
    typeAt(WORD_X, WORD_Y, L"sein");
    pressButton(L"Next");
    EXPECT_EQ(cell(1, 1), L"bin");
    typeIntoCell(3, 2, L"war");
    snapshot("verb-page-irregular");
    pressButton(L"Save");
    ASSERT_EQ(boxCount(), 0u);

    reloadDatabase();
    const Word* sein = storedWord(german, L"sein");
    ASSERT_NE(sein, nullptr);
    const IrregularVerb* verb = IrregularVerb::getById(sein->getDependency(D_IRREGULARVERB));
    ASSERT_NE(verb, nullptr);
    EXPECT_STREQ(verb->get_content(0, 0), L"bin");
    EXPECT_STREQ(verb->get_content(0, 1), L"bist");
    EXPECT_STREQ(verb->get_content(1, 2), L"war");
    EXPECT_STREQ(verb->get_content(1, 0), L"");
    EXPECT_EQ(sein->getDependency(D_VERBPATTERN), 0u);
    const unsigned verbId = verb->getId();

    // Edited again it shows its forms; made regular, the forms go.
    openEditor();
    chooseEntry(L"sein");
    pressButton(L"Edit Word");
    pressButton(L"Next");
    EXPECT_EQ(cell(2, 1), L"bist");
    pressButton(L"Back");
    chooseRegular();
    ASSERT_NE(buttonCaptioned(L"Save"), nullptr);
    pressButton(L"Save");
    ASSERT_EQ(boxCount(), 0u);
    reloadDatabase();
    EXPECT_EQ(IrregularVerb::getById(verbId), nullptr);
    EXPECT_EQ(storedWord(german, L"sein")->getDependency(D_IRREGULARVERB), 0u);
}

TEST_F(WordEditorTest, AWordIsUniqueInItsLanguageOnlyAndNeverEmpty) {
    addGermanWord(german, L"Hund");
    saveEverything();
    openEditor();
    pressButton(L"New Word");
    chooseAt(LANGUAGE_X, LANGUAGE_Y, L"English");
    typeAt(WORD_X, WORD_Y, L"Hund");
    pressButton(L"Save");
    EXPECT_EQ(boxCount(), 0u);

    pressButton(L"New Word");
    typeAt(WORD_X, WORD_Y, L"Hund");
    expectSaveRefused(String_WORD_ALREADY_IN_USE);
    EXPECT_EQ(page(), WORD_PAGE);
    typeAt(WORD_X, WORD_Y, L"");
    expectSaveRefused(String_ENTER_VALUE);
    EXPECT_EQ(page(), WORD_PAGE);
    pressButton(L"Close");

    // The word itself may keep its text.
    chooseEntry(L"Hund");
    pressButton(L"Edit Word");
    const std::size_t boxes = boxCount();
    pressButton(L"Save");
    EXPECT_EQ(boxCount(), boxes);
    EXPECT_EQ(page(), WORD_LIST_PAGE);

    reloadDatabase();
    EXPECT_NE(storedWord(german, L"Hund"), nullptr);
    EXPECT_NE(storedWord(english, L"Hund"), nullptr);
    EXPECT_EQ(Word::getAsTally(1, D_LANGUAGE, german), 1u);
}

// The check reads an index of the words, not the words themselves: a rename frees the old text
// and takes the new one at once, and a reloaded database is checked as strictly.
TEST_F(WordEditorTest, TheUniquenessCheckFollowsARenameAndAReload) {
    addGermanWord(german, L"Hund");
    saveEverything();
    openEditor();
    chooseEntry(L"Hund");
    pressButton(L"Edit Word");
    typeAt(WORD_X, WORD_Y, L"Katze");
    pressButton(L"Save");
    ASSERT_EQ(boxCount(), 0u);

    pressButton(L"New Word");
    typeAt(WORD_X, WORD_Y, L"Katze");
    expectSaveRefused(String_WORD_ALREADY_IN_USE);
    typeAt(WORD_X, WORD_Y, L"Hund");
    const std::size_t boxes = boxCount();
    pressButton(L"Save");
    EXPECT_EQ(boxCount(), boxes);
    EXPECT_EQ(page(), WORD_LIST_PAGE);

    reloadDatabase();
    openEditor();
    pressButton(L"New Word");
    typeAt(WORD_X, WORD_Y, L"Hund");
    expectSaveRefused(String_WORD_ALREADY_IN_USE);
    pressButton(L"Close");
    reloadDatabase();
    EXPECT_EQ(Word::getAsTally(1, D_LANGUAGE, german), 2u);
    EXPECT_NE(storedWord(german, L"Katze"), nullptr);
    EXPECT_NE(storedWord(german, L"Hund"), nullptr);
}

TEST_F(WordEditorTest, TheWordsLanguageIsTypedInItsLayoutAndTheFilterSwitchesTheListsLayout) {
    addGermanWord(german, L"Hund");
    addGermanWord(english, L"dog");
    saveEverything();
    openEditor();
    EXPECT_THAT(entries(), ElementsAre(L"Hund", L"dog"));
    chooseAt(775, 151, L"Deutsch");
    EXPECT_THAT(entries(), ElementsAre(L"Hund"));
    EXPECT_EQ(window->keyboardLayouts().activeLayout(), "00000407");
    chooseAt(775, 151, L"All languages");
    EXPECT_THAT(entries(), ElementsAre(L"Hund", L"dog"));
    EXPECT_EQ(window->keyboardLayouts().activeLayout(), std::string(preApplicationKeyboard));
    searchList(L"do");
    EXPECT_THAT(entries(), ElementsAre(L"dog"));

    pressButton(L"New Word");
    const GuiLanguageSwitch* languageSwitch = wordScreen.languageSwitch;
    ASSERT_NE(languageSwitch, nullptr);
    click(WORD_X, WORD_Y);
    paint();
    EXPECT_EQ(window->keyboardLayouts().activeLayout(), "00000407");
    ASSERT_NE(languageSwitch->keyboardPicture(), nullptr);
    repaintAll();
    EXPECT_EQ(window->pixel(500, 450), 0x00FF00u);  // German's keyboard picture
    EXPECT_EQ(window->pixel(395, 115), 0x0000FFu);  // and its flag
    click(PRONUNCIATION_X, PRONUNCIATION_Y);
    paint();
    EXPECT_EQ(window->keyboardLayouts().activeLayout(), std::string(preApplicationKeyboard));
    EXPECT_EQ(languageSwitch->keyboardPicture(), nullptr);

    // Another language for the new word, while its word is typed: its layout at once.
    click(WORD_X, WORD_Y);
    chooseAt(LANGUAGE_X, LANGUAGE_Y, L"English");
    EXPECT_EQ(window->keyboardLayouts().activeLayout(), "00000809");
    EXPECT_EQ(languageSwitch->foreignFlag(), nullptr);  // English has no flag picture
}

}  // namespace
