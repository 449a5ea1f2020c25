#include <filesystem>

#include <gtest/gtest.h>

#include "gui/GuiBackButton.h"
#include "gui/GuiButton.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiRect.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "gui/GuiToggle.h"
#include "gui/support/ScreenDriver.h"

// One screen with every element kind in the states a user sees them in (focused, hovered,
// selected, right to left, read-only, ticked), painted through the state machine in the real
// default face and kept as screen-elements.png beside the test program for a person to look at.

namespace {

class ElementsCanvasTest : public mernolex::test::ScreenTest {
protected:
    void SetUp() override {
        pngPath = std::filesystem::current_path() / "screen-elements.png";
        ScreenTest::SetUp();
    }
    std::filesystem::path pngPath;
};

}  // namespace

TEST_F(ElementsCanvasTest, EveryElementKindOnOneScreen) {
    State* first = createEmptyState(curStrings[String_WELCOME_STATE]);
    first->traceback = TRACEBACK_LINE;
    show(first);

    State* s = createEmptyState(curStrings[String_WORD]);
    s->traceback = TRACEBACK_LINE;
    addElementToState(s, new GuiRect(colours[ALT_BG_RGB], 20, 120, 470, 250, PEN_SOLID));
    addElementToState(s, new GuiTitleText(curStrings[String_WORDS], -20));
    GuiTextfield* word = addElementToState(s, new GuiTextfield(255, 160, L"Haus", false, 430, 40));
    GuiTextfield* hebrew = addElementToState(s, new GuiTextfield(255, 220, L"\u05D1\u05D9\u05EA", true, 430, 40));
    GuiTextfield* locked = addElementToState(s, new GuiTextfield(255, 280, L"Read only", false, 430, 40));
    GuiTextfield* number = addElementToState(s, new GuiTextfield(255, 340, L"", false, 430, 40));
    addElementToState(s, new GuiText(curStrings[String_PRONUNCIATION], 745, 130, 450, 30, FONT1, TEXT_LEFT));
    addElementToState(s, new GuiToggle(curStrings[String_LEFT_TO_RIGHT], curStrings[String_RIGHT_TO_LEFT], true,
                                       745, 180, 450, 50, nullptr));
    addElementToState(s, new GuiCheckBox(curStrings[String_IRREGULAR_VERB], 745, 240, 300, 40, true, nullptr));
    addElementToState(s, new GuiCheckBox(curStrings[String_FORCE_CORRECT_ANSWER], 745, 290, 300, 40, false, nullptr));
    addElementToState(s, new GuiButton(BUTTON1, 745, 360, curStrings[String_SAVE_N_NEXT], "SAVE"));
    addElementToState(s, new GuiButton(BUTTON3, 680, 430, curStrings[String_SAVE], "SAVE"));
    addElementToState(s, new GuiButton(BUTTON3, 820, 430, curStrings[String_CANCEL], "CANCEL"));
    addElementToState(s, new GuiButton(BUTTON4, 940, 430, curStrings[String_QUESTION_MARK], "HELP"));
    addElementToState(s, new GuiBackButton);
    locked->setEditable(false);
    number->setNumeric(true);
    number->setText(2024u);
    hebrew->markAll(false);
    switchToState(s);
    updateStateStatus();

    // The word field focused with "au" selected and the pointer over the Save button.
    key(platform::key::Left, mernolex::test::Held::Shift);
    key(platform::key::Left, mernolex::test::Held::Shift);
    key(platform::key::Right, mernolex::test::Held::Shift);
    key(platform::key::Right, mernolex::test::Held::Shift);
    key(platform::key::Home);
    key(platform::key::Right);
    key(platform::key::Right, mernolex::test::Held::Shift);
    key(platform::key::Right, mernolex::test::Held::Shift);
    move(680, 430);
    repaintAll();
    ASSERT_TRUE(window->savePng(pngPath.string()));

    EXPECT_EQ(L"H\u2038au\u2038s", std::wstring(word->getBuffer()));
    EXPECT_TRUE(painted(L" > Welcome > Word"));
    EXPECT_TRUE(painted(L"\u200F\u05D1\u05D9\u05EA\u2038\u200F"));
    EXPECT_TRUE(painted(L"Read only"));
    EXPECT_TRUE(painted(L"2024\u2038"));
    EXPECT_TRUE(painted(L"\u2713"));
    EXPECT_TRUE(painted(L"\u22D8"));
    EXPECT_EQ(colours[BG_RGB], window->pixel(995, 495));
    EXPECT_EQ(colours[ALT_BG_RGB], window->pixel(25, 360));
    EXPECT_EQ(brightness(colours[BT_RGB], 20), window->pixel(620, 417));  // hovered Save
    EXPECT_EQ(colours[BT_RGB], window->pixel(760, 417));                  // Cancel
    EXPECT_EQ(colours[BT_RGB], window->pixel(745 + 15, 180));             // the knob, on the right
    EXPECT_EQ(colours[TOGGLE_RAIL_RGB], window->pixel(745 - 20, 180));    // the groove left of it
}
