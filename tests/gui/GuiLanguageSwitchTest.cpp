#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gui/GuiItemfield.h"
#include "gui/GuiLanguageSwitch.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiTextfield.h"
#include "gui/support/BmpBytes.h"
#include "gui/support/ScreenDriver.h"

using mernolex::test::bmp24;
using mernolex::test::writeBytes;

namespace {

constexpr unsigned GERMAN = 1;   // flag and keyboard picture
constexpr unsigned RUSSIAN = 2;  // a flag, no keyboard picture file
constexpr unsigned ENGLISH = 3;  // the known language, both pictures

// Canvas colours (0x00BBGGRR) of the one-coloured pictures.
constexpr std::uint32_t RED = 0x0000FF;
constexpr std::uint32_t BLUE = 0xFF0000;
constexpr std::uint32_t GREEN = 0x00FF00;

std::map<unsigned, SwitchLanguage> languages;

bool lookUpTestLanguage(unsigned id, SwitchLanguage& found) {
    const auto it = languages.find(id);
    if (it == languages.end()) {
        return false;
    }
    found = it->second;
    return true;
}

std::vector<std::string> heardUpdates;
void recordUpdate(const char* tag) { heardUpdates.emplace_back(tag); }

// A screen as the editors build one: a language selection that changes the foreign language, two
// fields for foreign words and one for a known word.
class LanguageSwitchTest : public mernolex::test::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        getKL(preApplicationKeyboard);
        writeBytes("de-flag.bmp", bmp24(4, 2, [](int, int) { return RED; }));
        writeBytes("de-keys.bmp", bmp24(8, 2, [](int, int) { return GREEN; }));
        writeBytes("ru-flag.bmp", bmp24(4, 2, [](int, int) { return BLUE; }));
        writeBytes("en-flag.bmp", bmp24(4, 2, [](int, int) { return GREEN; }));
        writeBytes("en-keys.bmp", bmp24(8, 2, [](int, int) { return BLUE; }));
        languages = {{GERMAN, {"00000407", "de-flag.bmp", "de-keys.bmp"}},
                     {RUSSIAN, {"00000419", "ru-flag.bmp", "ru-keys.bmp"}},
                     {ENGLISH, {"00000809", "en-flag.bmp", "en-keys.bmp"}}};
        heardUpdates.clear();

        screen = createEmptyState(L"Switch");
        screen->updateFunc = recordUpdate;
        languageSwitch = addElementToState(
            screen, new GuiLanguageSwitch(GuiLanguageSwitch::SHOW_KEYBOARD | GuiLanguageSwitch::SHOW_FOREIGN_FLAG,
                                          lookUpTestLanguage));
        languageSwitch->setForeignFlagPosition(395, 115, 60, 30);
        selection = addElementToState(screen, new GuiSelectionfield(200, 115, 200, 30));
        selection->addItem(L"German");
        selection->setLastId(GERMAN);
        selection->addItem(L"Russian");
        selection->setLastId(RUSSIAN);
        selection->setSpecFunc(GuiLanguageSwitch::changeForeignLanguage, languageSwitch,
                               static_cast<const GuiElement*>(selection));
        setFocusFunc(GuiLanguageSwitch::switchLanguage, languageSwitch, GuiLanguageSwitch::FOREIGN);
        foreignWord = addElementToState(screen, new GuiTextfield(275, 165, L"", false, 300, 30));
        foreignPlural = addElementToState(screen, new GuiTextfield(275, 215, L"", false, 300, 30));
        setFocusFunc(GuiLanguageSwitch::switchLanguage, languageSwitch, GuiLanguageSwitch::KNOWN);
        knownWord = addElementToState(screen, new GuiTextfield(700, 165, L"", false, 300, 30));
        unsetFocusFuncs();
        languageSwitch->setKnown(ENGLISH);
        languageSwitch->setForeign(GERMAN);
        show(screen);
    }

    void clickInto(const GuiHelpRect& field) {
        click(field.getX() + field.getWidth() / 2, field.getY() + field.getHeight() / 2);
        paint();
    }
    std::string activeLayout() { return window->keyboardLayouts().activeLayout(); }
    const char* keyboardShown() const {
        const GuiBitmap* picture = languageSwitch->keyboardPicture();
        return picture == nullptr ? "" : picture->getPath();
    }
    // Picks the next language in the selection with the Down key, as a user may.
    void chooseNextLanguage() {
        clickInto(*selection);
        clickInto(*selection);  // folds it again
        key(platform::key::Down);
        paint();
    }

    State* screen = nullptr;
    GuiLanguageSwitch* languageSwitch = nullptr;
    GuiSelectionfield* selection = nullptr;
    GuiTextfield* foreignWord = nullptr;
    GuiTextfield* foreignPlural = nullptr;
    GuiTextfield* knownWord = nullptr;
};

TEST_F(LanguageSwitchTest, EnteringFieldsOfOneLanguageSwitchesItsLayoutOnlyOnce) {
    EXPECT_EQ("", languageSwitch->getCurrentlyActive());
    EXPECT_EQ(nullptr, languageSwitch->keyboardPicture());

    clickInto(*foreignWord);
    EXPECT_EQ("FOREIGN", languageSwitch->getCurrentlyActive());
    EXPECT_EQ("00000407", activeLayout());
    EXPECT_STREQ("de-keys.bmp", keyboardShown());
    const GuiBitmap* keyboard = languageSwitch->keyboardPicture();

    // The user chose another layout himself; the next foreign field leaves it alone.
    setKL("00000419");
    clickInto(*foreignPlural);
    EXPECT_EQ("00000419", activeLayout());
    EXPECT_EQ(keyboard, languageSwitch->keyboardPicture());

    clickInto(*knownWord);
    EXPECT_EQ("KNOWN", languageSwitch->getCurrentlyActive());
    EXPECT_EQ("00000809", activeLayout());
    EXPECT_STREQ("en-keys.bmp", keyboardShown());
    clickInto(*foreignWord);
    EXPECT_EQ("00000407", activeLayout());

    // Without a language the layout active at start comes back, and no keyboard is shown.
    languageSwitch->setKnown(0);
    clickInto(*knownWord);
    EXPECT_EQ(std::string(preApplicationKeyboard), activeLayout());
    EXPECT_EQ(nullptr, languageSwitch->keyboardPicture());
}

TEST_F(LanguageSwitchTest, AnotherForeignLanguageBringsItsKeyboardOnlyWhileForeignWordsAreTyped) {
    clickInto(*foreignWord);
    ASSERT_EQ("00000407", activeLayout());

    // Russian has no keyboard picture: none is shown, yet its layout is the one typed in.
    chooseNextLanguage();
    EXPECT_EQ(RUSSIAN, languageSwitch->getForeignId());
    EXPECT_STREQ("ru-flag.bmp", languageSwitch->foreignFlag()->getPath());
    EXPECT_EQ(nullptr, languageSwitch->keyboardPicture());
    EXPECT_EQ("00000419", activeLayout());

    // While the known word is typed, a new foreign language changes only the flag.
    clickInto(*knownWord);
    ASSERT_EQ("00000809", activeLayout());
    clickInto(*selection);
    clickInto(*selection);
    key(platform::key::Up);
    paint();
    EXPECT_EQ(GERMAN, languageSwitch->getForeignId());
    EXPECT_STREQ("de-flag.bmp", languageSwitch->foreignFlag()->getPath());
    EXPECT_STREQ("en-keys.bmp", keyboardShown());
    EXPECT_EQ("00000809", activeLayout());
}

TEST_F(LanguageSwitchTest, TheScreenHearsAChangedLanguageAtOnceAndOnlyWhenItChanged) {
    languageSwitch->setUpdateForeign("LANGUAGE_CHANGE");
    languageSwitch->setForeign(GERMAN);
    EXPECT_TRUE(heardUpdates.empty());

    languageSwitch->setForeign(RUSSIAN);
    // Heard within the call, before any queued update could be delivered.
    EXPECT_EQ(std::vector<std::string>{"LANGUAGE_CHANGE"}, heardUpdates);
    EXPECT_EQ(nullptr, screen->updateQueue);

    languageSwitch->setForeign(0);
    EXPECT_EQ(2u, heardUpdates.size());
    EXPECT_EQ(0u, languageSwitch->getForeignId());
    languageSwitch->setForeign(0);
    languageSwitch->setForeign(77);  // no such language: still none
    EXPECT_EQ(0u, languageSwitch->getForeignId());
    EXPECT_EQ(nullptr, languageSwitch->foreignFlag());

    // The known side has its own tag.
    languageSwitch->setUpdateKnown("KNOWN_CHANGE");
    languageSwitch->setKnown(GERMAN);
    EXPECT_EQ("KNOWN_CHANGE", heardUpdates.back());
}

TEST_F(LanguageSwitchTest, FlagsArePaintedWhereTheyArePlacedAndTheirPlaceClearedWhenTheyGo) {
    repaintAll();
    EXPECT_EQ(RED, window->pixel(395, 115));
    EXPECT_EQ(RED, window->pixel(366, 101));

    languageSwitch->setForeign(RUSSIAN);
    ASSERT_TRUE(paint());
    EXPECT_EQ(BLUE, window->pixel(395, 115));

    languageSwitch->setForeignFlagPosition(800, 50, 20, 10);
    ASSERT_TRUE(paint());
    EXPECT_EQ(BLUE, window->pixel(800, 50));
    EXPECT_EQ(colours[BG_RGB], window->pixel(395, 115));

    languageSwitch->setForeign(0);
    ASSERT_TRUE(paint());
    EXPECT_EQ(colours[BG_RGB], window->pixel(800, 50));

    // The known flag is not part of this switch's mode: never shown, though known.
    languageSwitch->setKnownFlagPosition(600, 50, 20, 10);
    EXPECT_EQ(nullptr, languageSwitch->knownFlag());
    repaintAll();
    EXPECT_EQ(colours[BG_RGB], window->pixel(600, 50));
}

TEST(LanguageSwitchIdTest, TheLanguageIsTheActiveIdOfAListOrSelectionOnly) {
    GuiItemfield list(0, 0, 100, 100);
    list.addItem(L"a");
    list.setLastId(4);
    GuiSelectionfield selection(50, 50, 100, 30);
    selection.addItem(L"b");
    selection.setLastId(9);
    GuiTextfield field(50, 50, L"12", false, 100, 30);
    EXPECT_EQ(4u, GuiLanguageSwitch::evalLanguageId(&list));
    EXPECT_EQ(9u, GuiLanguageSwitch::evalLanguageId(&selection));
    EXPECT_EQ(0u, GuiLanguageSwitch::evalLanguageId(&field));
    EXPECT_EQ(0u, GuiLanguageSwitch::evalLanguageId(nullptr));
}

}  // namespace
