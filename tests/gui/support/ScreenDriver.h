#pragma once

// Drives screens built in a test on a headless 1000 x 500 window, the way a user would: press,
// release, click and move the pointer, type text, press keys, let the window paint, then look at
// the screen's state and at what the paint drew.
//
// Every event is a window message sent through the program's own window procedure
// (states/WindowProcedure), paints included, so screen tests run exactly the code the real
// window runs. The headless dialogs run a nested loop like a desktop's: before a message box or
// the file chooser answers, and while the clipboard is read, the pending paint (and whatever the
// test posted with window->post) reaches the procedure, so every test that shows a box also
// covers what a nested paint may do to the screen behind it.
//
// The window maps pixels 1:1 onto the virtual canvas, so positions are given in virtual units.
//
// A screen test:
//   class MyScreenTest : public mernolex::test::ScreenTest {};
//   TEST_F(MyScreenTest, ...) {
//       show(createMyState());                        // as the start-up does, then one paint
//       clickCaption(L"New");  type(L"Haus");  clickCaption(L"Save");
//       window->dialogs().answerMessageBox(...);      // before the action that asks
//       EXPECT_TRUE(painted(L"Haus"));                // after paint() or repaintAll()
//   }

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gui/State.h"
#include "gui/StateMachine.h"
#include "platform/KeyCodes.h"
#include "platform/headless/HeadlessPlatform.h"
#include "shell/framework.h"
#include "resources/frameworkFileManager.h"
#include "shell/frameworkPainter.h"
#include "support/TempDirTest.h"

class WindowProcedure;

namespace mernolex::test {

// Modifier keys held with a key that produces no character.
enum class Held { None, Shift, Ctrl, ShiftCtrl };

class ScreenTest : public TempDirTest {
protected:
    ScreenTest();
    ~ScreenTest() override;

    // A fresh working directory with the default framework files, an empty state machine and a
    // 1000 x 500 window whose messages go to a window procedure.
    void SetUp() override;
    void TearDown() override;

    // Replaces the window by one of another client size, with a window procedure of its own.
    void openWindow(platform::PixelSize client);

    // Makes `state` the current screen as the start-up does, and paints it.
    void show(State* state);

    // --- the pointer ---
    void press(int x, int y);
    void release(int x, int y);
    void click(int x, int y);
    // A move with no button held.
    void move(int x, int y);
    // A move with the button held.
    void drag(int x, int y);
    void leave();
    // Repaints the whole window and clicks the middle of the box of the first text drawn exactly
    // as `caption` (a button's caption, a list entry); returns false when no such text is shown.
    bool clickCaption(std::wstring_view caption);

    // --- the keyboard ---
    // Each character as a key that produces it (control characters included: Tab, Enter,
    // Backspace, Ctrl+A ...).
    void type(std::wstring_view text);
    // A key without a character (platform::key codes).
    void key(unsigned code, Held held = Held::None, bool capsLock = false);

    // --- other threads ---
    // The wake message a worker's result causes (base/WindowThreadTasks.h): the window's thread
    // runs what was posted to it.
    void wake();

    // --- painting ---
    // Lets the window paint what is invalid, as its paint message does; returns whether it did.
    bool paint();
    // Forgets earlier paints, invalidates the whole window and paints it.
    const platform::PaintRecord& repaintAll();
    // The texts the last paint drew, in drawing order.
    std::vector<std::wstring> paintedTexts() const;
    bool painted(std::wstring_view text) const;

    std::unique_ptr<platform::HeadlessPlatform> window;
    // The window procedure the window's messages go to. A test that attaches another one to the
    // window (window->setSink) points this at it too.
    platform::MessageSink* sink = nullptr;

private:
    void send(const platform::Message& message);

    std::unique_ptr<WindowProcedure> procedure_;
};

}  // namespace mernolex::test
