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
//
// Nested messages. A message that arrives while another one is still being handled (a message
// box, the file chooser or a clipboard read runs a nested loop inside the outer message, or the
// start-up's updateStateStatus is running) is nested:
//   Paint          painted at once, without updateStateStatus (the box must not leave a hole),
//                  unless a paint is already open
//   Unhandled      nothing
//   anything else  kept, in order, and handled as its own message (with updateStateStatus) once
//                  the outermost handling is over
// So a screen switch, a page switch, queued updates and the alive function never run while an
// update function waits for a box, and the screen behind the box stays whole; input given while
// the box was open (a key, a close) reaches the screen afterwards, in the order it was given.
//
// Failures. Nothing thrown while a message is handled leaves the procedure (it would end the
// program in the window system's code, without a word). A paint cut short is closed. An outermost
// message that fails shows the database error box (every change saved so far is in the data
// files or their log, and the screen stays as it was); the program goes on, unless the state
// machine has no screen left or the very next message fails as well, in which case the window
// closes (as Close does) once the box is answered. A nested message that fails is dropped.

#include <deque>

#include "platform/Platform.h"

class WindowProcedure final : public platform::MessageSink {
public:
    // The window whose messages this procedure handles; not owned.
    explicit WindowProcedure(platform::Platform& window) : window_(window) {}

    void handle(const platform::Message& message) override;

private:
    // The message as its own unit of work: dispatched, then updateStateStatus.
    void handleOutermost(const platform::Message& message);
    void handleNested(const platform::Message& message);
    // Hands the message to the framework or the state machine; false when it is not handled.
    bool dispatch(const platform::Message& message);
    void handleDeferred();
    void survive(bool nested);
    void paint();
    void keyDown(const platform::Message& message);
    void mouseMove(const platform::Message& message);

    platform::Platform& window_;
    std::deque<platform::Message> deferred_;  // nested messages waiting for the outermost to end
    unsigned failuresInARow_ = 0;             // outermost messages that failed since one succeeded
};
