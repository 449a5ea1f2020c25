#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "gui/GuiButton.h"
#include "gui/GuiTextfield.h"
#include "gui/support/ProbeElement.h"
#include "gui/support/ScreenDriver.h"
#include "model/InterfaceText.h"
#include "shell/framework.h"
#include "states/WindowProcedure.h"

using mernolex::test::Held;
using mernolex::test::ProbeElement;
using platform::Message;
using platform::MessageCode;
using platform::PixelRect;
using platform::SizeKind;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::vector<std::string> journal;

void logUpdate(const char* tag) { journal.push_back(std::string("update ") + tag); }
void logAlive() { journal.push_back("alive"); }

class WindowProcedureTest : public mernolex::test::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        journal.clear();
        attach();
        screen = createEmptyState(L"Screen");
        screen->updateFunc = logUpdate;
        element = addElementToState(screen, new ProbeElement("P", journal, 100, 100));
        show(screen);
        journal.clear();
    }

    void attach() {
        procedure = std::make_unique<WindowProcedure>(*window);
        window->setSink(procedure.get());
        sink = procedure.get();
    }

    void send(const Message& message) { window->send(message); }

    std::vector<std::string> take() {
        std::vector<std::string> taken;
        taken.swap(journal);
        return taken;
    }

    std::unique_ptr<WindowProcedure> procedure;
    State* screen = nullptr;
    ProbeElement* element = nullptr;
};

}  // namespace

TEST_F(WindowProcedureTest, PointerPixelsReachTheScreenInVirtualUnits) {
    // The client area of a 1000 x 500 window with its frame; a paint measures it.
    openWindow({984, 461});
    attach();
    element->repositionElement(990, 490, 10, 10);
    framewRepaint();
    ASSERT_TRUE(window->deliverPaint());

    send(Message::mouse(MessageCode::LButtonDown, 983, 460));
    EXPECT_EQ(998, element->lastX);
    EXPECT_EQ(498, element->lastY);
    EXPECT_THAT(take(), ElementsAre("P:click"));
}

TEST_F(WindowProcedureTest, KeysWithACharacterAreTypedAndKeysWithoutOneCarryTheirKeyStates) {
    send(Message::keyDown(13, platform::key::Return));
    send(Message::keyDown(U'ж', 0x41));
    send(Message::keyDown(0, platform::key::Left, platform::KeyStateDown, 0, 0));
    send(Message::keyDown(0, platform::key::Delete, 0, platform::KeyStateDown, platform::KeyStateToggled));
    EXPECT_THAT(take(), ElementsAre("P:char 13", "P:char 1078", "P:key 37 shift", "P:key 46 shift ctrl"));
}

TEST_F(WindowProcedureTest, UnhandledMessagesDoNotRunTheStateMachine) {
    screen->aliveFunc = logAlive;
    addUpdate("PENDING", screen);
    send(Message::plain(MessageCode::Unhandled));
    EXPECT_THAT(take(), IsEmpty());
    send(Message::mouse(MessageCode::MouseMove, 5, 5));
    EXPECT_THAT(take(), ElementsAre("update PENDING", "alive"));
}

TEST_F(WindowProcedureTest, SizeChangesRepaintUnlessMinimisedOrInsideAMoveLoop) {
    auto repaintRequested = [this] {
        const bool requested = window->updateRect().has_value();
        window->deliverPaint();
        return requested;
    };
    send(Message::size(SizeKind::Maximized, 1000, 500));
    EXPECT_TRUE(repaintRequested());
    send(Message::size(SizeKind::Minimized, 0, 0));
    EXPECT_FALSE(repaintRequested());
    send(Message::size(SizeKind::Restored, 1000, 500));
    EXPECT_TRUE(repaintRequested());

    send(Message::plain(MessageCode::EnterSizeMove));
    send(Message::size(SizeKind::Restored, 900, 450));
    EXPECT_FALSE(repaintRequested());
    EXPECT_FALSE(intenseUpdate);
    send(Message::plain(MessageCode::ExitSizeMove));
    EXPECT_TRUE(intenseUpdate);
    EXPECT_EQ((PixelRect{0, 0, 1000, 500}), window->updateRect());
}

TEST_F(WindowProcedureTest, OnlyPaintsTheProgramRequestedClearTheBackground) {
    auto background = [this] {
        for (const platform::DrawnRect& r : window->lastPaint()->rects) {
            if (r.filled && r.brush == colours[BG_RGB] && r.rect.left == 0 && r.rect.top == 0) {
                return true;
            }
        }
        return false;
    };
    framewRepaint(0, 0, 10, 10, false, false);
    ASSERT_TRUE(window->deliverPaint());
    EXPECT_TRUE(background());
    EXPECT_TRUE(bitmapRepaint);  // set again when the paint ended

    // The system asks on its own, for example after the window was uncovered.
    window->invalidateAll();
    ASSERT_TRUE(window->deliverPaint());
    EXPECT_FALSE(background());
    EXPECT_TRUE(window->lastPaint()->findText(L"P") != nullptr);
}

TEST_F(WindowProcedureTest, ClosingRestoresTheStartLayoutAndEndsTheProgramAfterTellingTheScreen) {
    setKL("00000419");
    send(Message::plain(MessageCode::Close));
    EXPECT_EQ(std::string(preApplicationKeyboard), window->keyboardLayouts().activeLayout());
    EXPECT_TRUE(window->destroyed());
    EXPECT_EQ(0, window->quitCode());
    EXPECT_THAT(take(), ElementsAre("update FORCED_EXIT"));
    EXPECT_EQ(screen, curState);  // screens are not torn down at the end
}

// Nothing thrown while a message is handled (a failed allocation in an update function) ends the
// program without a word: the user is told, the screen stays and takes the next input. A second
// failure in a row closes the window, as Close does.
TEST_F(WindowProcedureTest, AFailureWhileHandlingAMessageIsToldAndTheProgramGoesOnUnlessItRepeats) {
    screen->updateFunc = [](const char* tag) {
        journal.push_back(std::string("update ") + tag);
        if (std::string_view(tag) == "FAIL") {
            throw std::bad_alloc();
        }
    };
    addUpdate("FAIL", screen);
    send(Message::mouse(MessageCode::MouseMove, 5, 5));
    ASSERT_EQ(window->dialogs().messageBoxes().size(), 1u);
    EXPECT_EQ(window->dialogs().messageBoxes()[0].text, interfaceText(String_ERROR_SAVE_DB));
    EXPECT_EQ(window->dialogs().messageBoxes()[0].icon, platform::MessageIcon::Error);
    EXPECT_FALSE(window->destroyed());
    EXPECT_EQ(curState, screen);
    EXPECT_EQ(hdc, nullptr);
    send(Message::keyDown(13, platform::key::Return));
    EXPECT_THAT(take(), ElementsAre("update FAIL", "P:char 13"));
    ASSERT_TRUE(paint());

    addUpdate("FAIL", screen);
    send(Message::mouse(MessageCode::MouseMove, 6, 6));
    EXPECT_FALSE(window->destroyed());
    addUpdate("FAIL", screen);
    send(Message::mouse(MessageCode::MouseMove, 7, 7));
    EXPECT_EQ(window->dialogs().messageBoxes().size(), 3u);
    EXPECT_TRUE(window->destroyed());
    EXPECT_EQ(0, window->quitCode());
}

TEST_F(WindowProcedureTest, MovesWithAButtonHeldDragAndALeaveHidesTheRectangleUntilTheNextMove) {
    auto outlined = [this] {
        for (const platform::DrawnRect& r : window->lastPaint()->rects) {
            if (!r.filled) {
                return true;
            }
        }
        return false;
    };
    press(300, 300);
    drag(110, 110);  // over the element, which hears nothing of it
    EXPECT_EQ(0, element->moves);
    ASSERT_TRUE(paint());
    EXPECT_TRUE(outlined());

    leave();
    EXPECT_FALSE(mouseInWindow);
    ASSERT_TRUE(paint());
    EXPECT_FALSE(outlined());

    drag(120, 120);
    EXPECT_TRUE(mouseInWindow);
    ASSERT_TRUE(paint());
    EXPECT_TRUE(outlined());

    release(120, 120);
    move(110, 110);
    EXPECT_EQ(1, element->moves);
    EXPECT_THAT(take(), ElementsAre("P:hover"));
}

TEST_F(WindowProcedureTest, AUserTypesAWordAndSavesItThroughWindowMessagesAlone) {
    State* editor = createEmptyState(L"Word");
    editor->updateFunc = logUpdate;
    GuiTextfield* word = addElementToState(editor, new GuiTextfield(500, 150, L"old", false, 300, 40));
    addElementToState(editor, new GuiButton(BUTTON3, 500, 300, L"Save", "SAVE_PRESSED"));
    switchToState(editor);
    updateStateStatus();
    take();

    click(500, 150);  // already focused: the selection goes, the caret stays at the end
    type(L"\b\b\bHaus");
    click(500, 300);
    EXPECT_STREQ(L"Haus", word->getText());
    EXPECT_THAT(take(), ElementsAre("update SAVE_PRESSED"));

    type(L"\t\x01" L"Baum\t\r");
    EXPECT_STREQ(L"Baum", word->getText());
    ASSERT_TRUE(paint());
    EXPECT_TRUE(painted(L"Baum\u2038"));
    EXPECT_THAT(take(), ElementsAre("update SAVE_PRESSED"));
}
