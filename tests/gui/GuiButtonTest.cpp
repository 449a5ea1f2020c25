#include <cstring>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "gui/GuiBackButton.h"
#include "gui/GuiButton.h"
#include "gui/GuiCheckBox.h"
#include "gui/GuiTextfield.h"
#include "gui/GuiToggle.h"
#include "gui/support/ScreenDriver.h"

using mernolex::test::ScreenTest;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::vector<std::string> journal;

void pressed() { journal.push_back("pressed"); }
void pressedWith(const void* t) { journal.push_back(std::string("one ") + static_cast<const char*>(t)); }
void pressedWithTwo(const void* a, const void* b) {
    journal.push_back(std::string("two ") + static_cast<const char*>(a) + " " + static_cast<const char*>(b));
}
void logUpdate(const char* tag) { journal.push_back(std::string("update ") + tag); }
void logFocus() { journal.push_back("focus"); }
void logBool(bool b) { journal.push_back(b ? "true" : "false"); }
State* buildNext() { return createEmptyState(L"Next"); }

class ButtonTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        journal.clear();
        screen = createEmptyState(L"Buttons");
        screen->updateFunc = logUpdate;
    }

    // The fill of the button's rectangle in the last paint.
    COLORREF fillOf(const GuiButton& b) const {
        for (const platform::DrawnRect& r : window->lastPaint()->rects) {
            if (r.filled && r.rect.left == b.getX() && r.rect.top == b.getY()) {
                return r.brush;
            }
        }
        return 0xFFFFFFFF;
    }
    std::vector<std::string> take() {
        std::vector<std::string> taken;
        taken.swap(journal);
        return taken;
    }

    State* screen = nullptr;
};

}  // namespace

TEST_F(ButtonTest, AButtonIsPlacedByItsCentreAndActsOnlyOnACompleteClick) {
    GuiButton* b = addElementToState(screen, new GuiButton(BUTTON3, 500, 300, L"Save", pressed));
    show(screen);
    EXPECT_EQ(438, b->getX());
    EXPECT_EQ(285, b->getY());
    EXPECT_TRUE(b->checkPos(563, 315));
    EXPECT_FALSE(b->checkPos(564, 300));

    press(500, 300);
    paint();
    EXPECT_EQ(brightness(colours[BT_RGB], -20), fillOf(*b));
    release(700, 300);  // dragged off
    EXPECT_THAT(take(), IsEmpty());
    ASSERT_TRUE(paint());
    EXPECT_EQ(colours[BT_RGB], fillOf(*b));

    press(700, 300);
    release(500, 300);  // pressed elsewhere
    EXPECT_THAT(take(), IsEmpty());
    click(438, 285);
    EXPECT_THAT(take(), ElementsAre("pressed"));

    // Hovering lightens it until the pointer leaves.
    move(500, 300);
    paint();
    EXPECT_EQ(brightness(colours[BT_RGB], 20), fillOf(*b));
    move(700, 300);
    ASSERT_TRUE(paint());
    EXPECT_EQ(colours[BT_RGB], fillOf(*b));
    EXPECT_TRUE(painted(L"Save"));
}

TEST_F(ButtonTest, EachConstructorChoosesItsAction) {
    static const char one[] = "1";
    static const char two[] = "2";
    addElementToState(screen, new GuiButton(BUTTON4, 50, 50, L"a", pressedWith, one));
    addElementToState(screen, new GuiButton(BUTTON4, 150, 50, L"b", pressedWithTwo, one, two));
    addElementToState(screen, new GuiButton(BUTTON4, 250, 50, L"c", "SAVE_PRESSED"));
    addElementToState(screen, new GuiButton(BUTTON4, 350, 50, L"d", 4L));
    addElementToState(screen, new GuiButton(BUTTON4, 450, 50, L"e", buildNext));
    show(screen);
    click(50, 50);
    click(150, 50);
    click(250, 50);
    EXPECT_THAT(take(), ElementsAre("one 1", "two 1 2", "update SAVE_PRESSED"));
    click(350, 50);
    EXPECT_EQ(4, screen->condition);
    click(450, 50);
    ASSERT_NE(nullptr, curState);
    EXPECT_EQ(L"Next", curState->description);
}

TEST_F(ButtonTest, SpaceAndEnterPressTheFocusedButtonAndAPressMovesTheFocusAtOnce) {
    GuiTextfield* field = addElementToState(screen, new GuiTextfield(500, 100, L"", false, 200, 30));
    setFocusFunc(logFocus);
    GuiButton* b = addElementToState(screen, new GuiButton(BUTTON3, 500, 300, L"Save", "SAVE"));
    unsetFocusFuncs();
    show(screen);
    type(L" ");
    EXPECT_THAT(take(), IsEmpty());  // the field has the focus

    press(500, 300);  // not released yet
    EXPECT_TRUE(b->getFocus());
    EXPECT_FALSE(field->getFocus());
    EXPECT_EQ(b, screen->focus);
    release(0, 0);
    type(L"\r x\x1B");
    key(platform::key::Return);
    EXPECT_THAT(take(), ElementsAre("focus", "update SAVE", "update SAVE"));

    // A supervised button reports complete clicks to its owner and does nothing itself.
    b->setSupervised(true);
    type(L"\r");
    EXPECT_FALSE(b->unclick(500, 300));
    b->click(500, 300);
    EXPECT_TRUE(b->unclick(500, 300));
    updateStateStatus();
    EXPECT_THAT(take(), IsEmpty());
}

TEST_F(ButtonTest, SaveModeKeepsCopiesOfTagsBuiltAtRunTime) {
    char tag[16];
    char argument[16];
    std::strcpy(tag, "LANG_7");
    GuiButton* update = addElementToState(screen, new GuiButton(BUTTON4, 50, 50, L"a", static_cast<const char*>(tag)));
    std::strcpy(argument, "x");
    GuiButton* callback = addElementToState(screen, new GuiButton(BUTTON4, 150, 50, L"b", pressedWithTwo, tag, argument));
    update->saveMode();
    callback->saveMode();
    std::strcpy(tag, "garbage");
    std::strcpy(argument, "garbage");
    show(screen);
    click(150, 50);
    click(50, 50);
    EXPECT_THAT(take(), ElementsAre("two LANG_7 x", "update LANG_7"));
}

TEST_F(ButtonTest, TheBackButtonGoesBackOneScreen) {
    screen->traceback = TRACEBACK_LINE;
    show(screen);
    State* second = createEmptyState(L"Second");
    second->traceback = TRACEBACK_LINE;
    GuiBackButton* back = addElementToState(second, new GuiBackButton);
    switchToState(second);
    updateStateStatus();
    repaintAll();
    EXPECT_TRUE(painted(L"\u22D8"));
    EXPECT_EQ(39, back->getX());
    EXPECT_EQ(399, back->getY());
    click(80, 430);
    EXPECT_EQ(screen, curState);

    // On the first screen it re-enters that screen.
    addElementToState(screen, new GuiBackButton);
    click(80, 430);
    EXPECT_EQ(screen, curState);
}

TEST_F(ButtonTest, AToggleChoosesTheClickedSideFlipsOnTheSwitchAndAlwaysTellsItsPosition) {
    // 400 wide around x 500: the left label spans 300..460, the right one 540..700.
    addElementToState(screen, new GuiTextfield(500, 400, L"", false, 100, 30));
    GuiToggle* toggle = addElementToState(screen, new GuiToggle(L"Left", L"Right", false, 500, 200, 400, 40, logBool));
    show(screen);
    click(320, 200);  // the left label while already on the left
    EXPECT_FALSE(toggle->getRightOn());
    EXPECT_TRUE(toggle->getFocus());
    click(690, 200);
    EXPECT_TRUE(toggle->getRightOn());
    click(500, 200);  // the switch itself
    EXPECT_FALSE(toggle->getRightOn());
    type(L" ");
    EXPECT_TRUE(toggle->getRightOn());
    type(L"\r");
    press(500, 200);
    release(500, 300);
    toggle->setRightOn(false);  // silently
    EXPECT_THAT(take(), ElementsAre("false", "true", "false", "true", "false"));

    toggle->setRightOn(true);
    repaintAll();
    bool knobRight = false;
    for (const platform::DrawnRect& r : window->lastPaint()->rects) {
        knobRight = knobRight || (r.brush == colours[BT_RGB] && r.rect.left == 500 && r.rect.top == 192);
    }
    EXPECT_TRUE(knobRight);
    EXPECT_TRUE(painted(L"Left"));
    EXPECT_TRUE(painted(L"Right"));
}

TEST_F(ButtonTest, ACheckBoxTogglesOnCompleteClicksAndKeysAndTellsItsInitialState) {
    GuiCheckBox* box = addElementToState(screen, new GuiCheckBox(L"Irregular", 500, 200, 300, 40, true, logBool));
    EXPECT_THAT(take(), ElementsAre("true"));
    show(screen);
    EXPECT_TRUE(painted(L"\u2713"));
    EXPECT_TRUE(painted(L"Irregular"));

    click(500, 200);
    EXPECT_FALSE(box->getCheck());
    ASSERT_TRUE(paint());
    EXPECT_FALSE(painted(L"\u2713"));
    press(500, 200);
    release(500, 300);
    EXPECT_FALSE(box->getCheck());
    type(L" ");
    type(L"\r");
    type(L"a");
    EXPECT_FALSE(box->getCheck());
    EXPECT_THAT(take(), ElementsAre("false", "true", "false"));
}
