#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GrammarScreensFixture.h"
#include "gui/GuiBitmap.h"
#include "gui/GuiText.h"
#include "gui/support/BmpBytes.h"
#include "screens/stateLanguage.h"

using ::testing::ElementsAre;
using platform::MessageResult;

namespace {

constexpr unsigned KeyY = 29;  // X keycode of the key with the US legend Y

class LanguageEditorTest : public screens::test::GrammarScreensTest {
protected:
    void SetUp() override {
        GrammarScreensTest::SetUp();
        german = modeltest::addLanguage(L"German");
        saveAll();
    }

    GuiItemfield* languages() { return element<GuiItemfield>("ITEMLIST"); }
    GuiTextfield* nameField() { return first<GuiTextfield>(); }
    void typeName(std::wstring_view name) { typeInto(nameField(), name); }
    // Adds the entries on a grammar panel, chosen by its tab.
    void addEntries(std::wstring_view tab, const char* fieldTag, std::initializer_list<const wchar_t*> texts) {
        pressButton(tab);
        for (const wchar_t* text : texts) {
            typeInto(element<GuiTextfield>(fieldTag), text);
            pressButton(L"Add");
        }
    }
    void editLanguage(const wchar_t* name) {
        show(createLanguageState());
        ASSERT_TRUE(clickCaption(name));
        pressButton(L"Edit Language");
    }
    static unsigned idNamed(const wchar_t* name) {
        const Language* language = Language::getByQuery((std::wstring(L"NAME == ") + name).c_str(), true);
        return language == nullptr ? 0 : language->getId();
    }
    static void writePicture(const std::string& path, std::uint32_t colour) {
        mernolex::test::writeBytes(path, mernolex::test::bmp24(6, 4, [colour](int, int) { return colour; }));
    }

    unsigned german = 0;
};

TEST_F(LanguageEditorTest, ANewLanguageWithItsGrammarIsStoredAndListedByName) {
    show(createLanguageState());
    EXPECT_THAT(entries(*languages()), ElementsAre(L"German"));
    window->xkbLayouts().activate("00000407");
    pressButton(L"New Language");
    EXPECT_EQ(curState->condition, 16);
    typeName(L"Dutch");
    addEntries(L"Article", "TEXTFIELD_ARTICLE", {L"de", L"het"});
    screenshot("language-articles");
    addEntries(L"Persons", "TEXTFIELD_PERSON", {L"ik", L"jij", L"hij"});
    screenshot("language-persons");
    addEntries(L"Tenses", "TEXTFIELD_TENSE", {L"tegenwoordig", L"verleden"});
    screenshot("language-tenses");
    pressButton(L"Save");
    EXPECT_EQ(boxes(), 0u);
    EXPECT_EQ(curState->condition, LIST_PAGE);
    paint();
    EXPECT_THAT(entries(*languages()), ElementsAre(L"Dutch", L"German"));
    screenshot("language-list");

    reloadDatabase();
    const unsigned dutch = idNamed(L"Dutch");
    ASSERT_NE(dutch, 0u);
    // New languages type in the layout active when New was pressed.
    EXPECT_STREQ(Language::getById(dutch)->get_keyboardLocalID(), "00000407");
    EXPECT_FALSE(Language::getById(dutch)->get_rightToLeft());
    EXPECT_THAT(stored<Article>(dutch), ElementsAre(L"de#1", L"het#2"));
    EXPECT_THAT(stored<Person>(dutch), ElementsAre(L"ik#1", L"jij#2", L"hij#3"));
    EXPECT_THAT(stored<Tense>(dutch), ElementsAre(L"tegenwoordig#1", L"verleden#2"));
}

TEST_F(LanguageEditorTest, TheNameCheckRefusesOnlyAnotherLanguagesName) {
    modeltest::addLanguage(L"English");
    saveAll();
    // Untouched, the example text is the name.
    show(createLanguageState());
    pressButton(L"New Language");
    pressButton(L"Save");
    EXPECT_EQ(boxes(), 0u);

    // Its own name passes; the direction toggle is stored with it.
    editLanguage(L"German");
    ASSERT_TRUE(clickCaption(L"Right to left"));
    pressButton(L"Save");
    EXPECT_EQ(boxes(), 0u);

    editLanguage(L"German");
    typeName(L"English");
    pressButton(L"Save");
    ASSERT_EQ(boxes(), 1u);
    EXPECT_EQ(lastBox().caption, L"English");
    EXPECT_EQ(lastBox().text, curStrings[String_LANGUAGE_NAME_ALREADY_IN_USE]);
    EXPECT_EQ(lastBox().icon, platform::MessageIcon::Warning);
    EXPECT_EQ(curState->condition, 16);
    EXPECT_EQ(nameField()->visibleText(), L"English");

    reloadDatabase();
    EXPECT_NE(idNamed(L"Enter language here (e.g. English)"), 0u);
    EXPECT_EQ(idNamed(L"German"), german);
    EXPECT_TRUE(Language::getById(german)->get_rightToLeft());
}

TEST_F(LanguageEditorTest, TheAssignedLayoutIsStoredAndTheGrammarFieldsTypeInIt) {
    show(createLanguageState());
    editLanguage(L"German");
    window->xkbLayouts().activate("00000419");
    pressButton(L"Assign current keyboard");
    window->xkbLayouts().activate("00000407");
    pressButton(L"Assign current keyboard");
    pressButton(L"Save");

    window->xkbLayouts().activate("00000409");
    editLanguage(L"German");
    clickMiddle(*element<GuiTextfield>("TEXTFIELD_ARTICLE"));
    EXPECT_EQ(window->keyboardLayouts().activeLayout(), "00000407");
    EXPECT_EQ(window->keyboardLayouts().translate(KeyY, {}), U'z');
    // The name is typed in the layout the program started with.
    clickMiddle(*nameField());
    EXPECT_EQ(window->keyboardLayouts().activeLayout(), "00000409");

    reloadDatabase();
    EXPECT_STREQ(Language::getById(german)->get_keyboardLocalID(), "00000407");
}

TEST_F(LanguageEditorTest, DeletingAsksFirstAndTakesTheLanguagesRecordsWithIt) {
    const unsigned english = modeltest::addLanguage(L"English");
    addGrammar<Article>(german, {L"der"});
    addGrammar<Article>(english, {L"the"});
    modeltest::addWord(german, L"Haus");
    addPattern(german, 1, 1);
    saveAll();
    show(createLanguageState());
    ASSERT_TRUE(clickCaption(L"German"));

    window->dialogs().answerMessageBox(MessageResult::No);
    pressButton(L"Delete Language");
    EXPECT_THAT(entries(*languages()), ElementsAre(L"English", L"German"));
    EXPECT_EQ(lastBox().caption, L"Delete language");

    window->dialogs().answerMessageBox(MessageResult::Yes);
    pressButton(L"Delete Language");
    EXPECT_THAT(entries(*languages()), ElementsAre(L"English"));
    EXPECT_EQ(curState->condition, LIST_PAGE);

    reloadDatabase();
    EXPECT_EQ(Language::getById(german), nullptr);
    EXPECT_EQ(Word::getById(1), nullptr);
    EXPECT_EQ(VerbPattern::getById(1), nullptr);
    EXPECT_THAT(stored<Article>(english), ElementsAre(L"the#2"));
}

TEST_F(LanguageEditorTest, APictureIsShownWhenChosenAndOnlyAReadablePictureReplacesTheStoredOne) {
    writePicture("red.bmp", 0x0000FF);
    writePicture("blue.bmp", 0xFF0000);
    writeFile("broken.bmp", "BM not a picture");
    const std::string stored = "Data/LanguageImages/Flag/" + std::to_string(german) + ".bmp";
    addGrammar<Article>(german, {L"der", L"die", L"das"});
    addGrammar<Person>(german, {L"ich", L"du", L"er/sie/es"});
    addGrammar<Tense>(german, {L"Präsens", L"Präteritum"});
    saveAll();
    editLanguage(L"German");
    EXPECT_EQ(element<GuiBitmap>("FLAG_FLAG"), nullptr);

    window->dialogs().answerFileDialog((dir() / "red.bmp").string());
    pressButton(L"Flag image");
    ASSERT_NE(element<GuiBitmap>("FLAG_FLAG"), nullptr);
    window->dialogs().answerFileDialog((dir() / "blue.bmp").string());
    pressButton(L"Keyboard image");
    repaintAll();
    EXPECT_EQ(window->pixel(400, 190), 0x0000FFu);
    EXPECT_EQ(window->pixel(400, 300), 0xFF0000u);
    screenshot("language-pictures-articles");
    pressButton(L"Persons");
    screenshot("language-pictures-persons");
    pressButton(L"Tenses");
    screenshot("language-pictures-tenses");
    pressButton(L"Save");
    EXPECT_EQ(readFile(stored), readFile("red.bmp"));

    // A file that is no picture is not taken: the stored flag stays on screen and on disk.
    editLanguage(L"German");
    ASSERT_NE(element<GuiBitmap>("FLAG_FLAG"), nullptr);
    window->dialogs().answerFileDialog((dir() / "broken.bmp").string());
    pressButton(L"Flag image");
    EXPECT_STREQ(element<GuiText>("TEXT_FLAG_PATH")->getTextA(), "");
    EXPECT_STREQ(element<GuiBitmap>("FLAG_FLAG")->getPath(), stored.c_str());
    pressButton(L"Save");
    EXPECT_EQ(readFile(stored), readFile("red.bmp"));

    // Nor is a chosen picture that is gone by the time of the save.
    editLanguage(L"German");
    window->dialogs().answerFileDialog((dir() / "blue.bmp").string());
    pressButton(L"Flag image");
    std::filesystem::remove("blue.bmp");
    pressButton(L"Save");
    EXPECT_EQ(curState->condition, LIST_PAGE);
    EXPECT_EQ(readFile(stored), readFile("red.bmp"));
}

TEST_F(LanguageEditorTest, AFailedSaveOfANewLanguageKeepsThePageAndTheRetryStoresItOnce) {
    show(createLanguageState());
    pressButton(L"New Language");
    typeName(L"Dutch");
    addEntries(L"Article", "TEXTFIELD_ARTICLE", {L"de"});
    blockDirectory("Data/Language");
    pressButton(L"Save");
    ASSERT_EQ(boxes(), 1u);
    EXPECT_EQ(lastBox().text, curStrings[String_ERROR_SAVE_DB]);
    EXPECT_EQ(curState->condition, 16);
    EXPECT_EQ(nameField()->visibleText(), L"Dutch");
    EXPECT_THAT(entries(*element<GuiItemfield>("ITEMLIST_ARTICLES")), ElementsAre(L"de"));
    // Nothing half-made stays in memory either.
    EXPECT_EQ(idNamed(L"Dutch"), 0u);

    unblockDirectory("Data/Language");
    pressButton(L"Save");
    EXPECT_EQ(boxes(), 1u);
    EXPECT_EQ(curState->condition, LIST_PAGE);
    reloadDatabase();
    EXPECT_THAT(stored<Article>(idNamed(L"Dutch")), ElementsAre(L"de#1"));
}

TEST_F(LanguageEditorTest, AFailedSaveOfAnEditKeepsThePageAndTheRetryAddsNothingTwice) {
    addGrammar<Person>(german, {L"ich"});
    saveAll();
    editLanguage(L"German");
    typeName(L"Deutsch");
    addEntries(L"Persons", "TEXTFIELD_PERSON", {L"du"});
    blockDirectory("Data/Person");
    pressButton(L"Save");
    EXPECT_EQ(boxes(), 1u);
    EXPECT_EQ(curState->condition, 32);
    EXPECT_EQ(nameField()->visibleText(), L"Deutsch");

    unblockDirectory("Data/Person");
    pressButton(L"Save");
    EXPECT_EQ(curState->condition, LIST_PAGE);
    reloadDatabase();
    EXPECT_STREQ(Language::getById(german)->get_name(), L"Deutsch");
    EXPECT_THAT(stored<Person>(german), ElementsAre(L"ich#1", L"du#2"));
}

TEST_F(LanguageEditorTest, DeletingAnArticleClearsTheWordsLinkOnDisk) {
    addGrammar<Article>(german, {L"der", L"die"});
    const unsigned haus = modeltest::addWord(german, L"Haus");
    Word::getById(haus)->setDependency(D_ARTICLE, 2);
    saveAll();
    editLanguage(L"German");
    chooseEntry(*element<GuiItemfield>("ITEMLIST_ARTICLES"), 1);
    pressButton(L"Delete");
    pressButton(L"Save");
    reloadDatabase();
    EXPECT_THAT(stored<Article>(german), ElementsAre(L"der#1"));
    EXPECT_EQ(Word::getById(haus)->getDependency(D_ARTICLE), 0u);
}

}  // namespace
