#pragma once

// The screen state machine: the current screen, the switch to the next one, the traceback of
// screens, and the hand-out of mouse and keyboard input to the elements.
//
// The window procedure calls one dispatch function per message and updateStateStatus after each.
// Elements and screens never switch screens or paint from inside an event: they set nextState,
// rollbackFlag or nextCondition, queue an update tag with addUpdate and request repaints;
// updateStateStatus acts on the requests after the message, and painting happens only in the
// paint message (renderState).

#include <cstdint>

#include "shell/framework.h"

class State;

// A point in virtual units.
struct POINT {
    int x = 0;
    int y = 0;
};

// The current screen; null until the first updateStateStatus installs one. Owned by the state
// machine (with its traceback chain behind it).
extern State* curState;
// The screen to switch to after the current message. Whoever sets it hands the state over to the
// state machine; see switchToState.
extern State* nextState;
// Go back one screen in the traceback after the current message.
extern bool rollbackFlag;
// Non-zero: switch the current screen to this page after the current message.
extern long nextCondition;
// The left button is held (between a press and its release).
extern bool mouseDownHover;
// The drag rectangle, normalised, in virtual units, and where the button went down.
extern RECT mouseDownRect;
extern POINT mouseDownPoint;
// The pointer is in the window; the drag rectangle is drawn only then. Cleared by mouseLeft,
// set again by the window procedure on the next move.
extern bool mouseInWindow;

// Requests a switch to `state` after the current message. A screen that was requested before
// in the same message and never became current is destroyed, since nobody else owns it.
void switchToState(State* state);

// After every message: delivers the current screen's queued updates oldest first, then performs
// at most one of a page switch, a back step or a screen switch; when none is pending, calls the
// screen's alive function. It counts as handling a message (gui/MessageNesting.h): a box shown by
// an update or alive function only paints, and what else its loop delivers waits.
void updateStateStatus();
// Inside a paint: draws the elements that take part, the traceback line, the superior element on
// top and the drag rectangle. Outside a nested paint it also moves the focus on when the focused
// element no longer takes part.
void renderState();

// Mouse input in virtual coordinates.
void mouseDownState(int x, int y);
void mouseUpState(int x, int y);
void mouseHoveredState(int x, int y);
// A move with a button, Shift or Ctrl held: only the drag rectangle follows.
void mouseDownHoveredState(int x, int y);
void mouseLeft();

// A typed character. Tab moves the focus to the next element of the ring that takes part.
void keyboardDownState(wchar_t key);
// A key without a character, with the key state words of Shift, Ctrl and Caps Lock (high bit:
// down; low bit: toggled). Shift and Caps Lock fold into one Shift state. The screen's keyFunc
// hears it first (unless an element is unfolded); a key it takes goes no further.
void sysKeyboardDownState(unsigned key, std::uint16_t shiftKeyStatus, std::uint16_t ctrlKeyStatus,
                          std::uint16_t capsKeyStatus);

// The program is ending: the current screen receives "FORCED_EXIT". States are not destroyed.
void killState();

// Makes `newState` the successor of the current screen in the traceback (when the current one
// is retained) or the start of a new chain (destroying the current screen).
void addTracebackState(State* newState);
// Prepares the back step: nextState becomes the previous screen (the current one is destroyed)
// or, on the first screen of a chain, the current screen itself.
void rollbackTraceback();

// Destroys every state the machine holds (current with its chain, pending next) and returns all
// globals, the building context and FocusElement::focusSet to their initial values. For tests
// and the end of the program.
void stateMachineReset();
