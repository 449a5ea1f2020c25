#pragma once

// The window procedure: turns each of the program's window messages into one call of the
// framework or the state machine, followed by updateStateStatus. Both backends hand their
// messages to it, so the headless tests drive screens exactly as the real window does.
//
//   message        action
//   Destroy        killState, then end the message loop with code 0
//   Size           full repaint when maximised, or restored outside a move/resize loop
//   Paint          background (only in a paint the program requested), renderState
//   Close          restore the layout the program started with, destroy the window
//   KeyDown        a character -> keyboardDownState; none -> sysKeyboardDownState with the
//                  Shift, Ctrl and Caps Lock state words
//   MouseMove      button/Shift/Ctrl held -> mouseDownHoveredState, else mouseHoveredState
//   LButtonDown    mouseDownState
//   LButtonUp      mouseUpState
//   EnterSizeMove  sizeMoveLoop(true)
//   ExitSizeMove   sizeMoveLoop(false)
//   MouseLeave     mouseLeft
//   Unhandled      nothing at all (no updateStateStatus either)
//
// Mouse positions arrive in client pixels and reach the state machine in virtual units.

#include "platform/Platform.h"

class WindowProcedure final : public platform::MessageSink {
public:
    // The window whose messages this procedure handles; not owned.
    explicit WindowProcedure(platform::Platform& window) : window_(window) {}

    void handle(const platform::Message& message) override;

private:
    void paint();
    void keyDown(const platform::Message& message);
    void mouseMove(const platform::Message& message);

    platform::Platform& window_;
};
