#pragma once

// What the welcome, settings and feed screens share: a plain screen retained in the traceback
// with its line drawn, a full-width title, and buttons that open another screen. None of them has
// pages, an update function or focus functions; their elements take part on every page, and the
// order of adding is the Tab order (the first button starts focused).

#include "gui/GuiCallbacks.h"
#include "resources/SecondStrings.h"
#include "resources/frameworkFileManager.h"
#include "states/ScreenRegistry.h"

class GuiButton;
class State;

// A new screen described by the interface text `description` (shown in the traceback line),
// retained in the traceback with the line drawn, holding the title `title`. The caller owns it
// until it is handed to the state machine.
State* createNavigationState(framew_strings description, framew_strings title);

// Adds a large button captioned with the interface text, centred at (centerX, centerY), that
// switches to the screen `open` builds.
void addScreenButton(State* state, framew_strings caption, int centerX, int centerY, StateBuilder open);

// As addScreenButton for a screen of an upper layer: nothing is added while that screen is not
// linked in (ScreenRegistry.h).
void addLinkedScreenButton(State* state, framew_strings caption, int centerX, int centerY, LinkedScreen screen);
// The same with a caption of its own and a button style; returns the button, or null when the
// screen is not linked in.
GuiButton* addLinkedScreenButton(State* state, const wchar_t* caption, int style, int centerX, int centerY,
                                 LinkedScreen screen);
// The same with a caption from the second strings file.
void addLinkedScreenButton(State* state, framew_strings2 caption, int centerX, int centerY, LinkedScreen screen);
