#pragma once

// The start-up of the program, the one place that knows every part. In this order:
//   1. remember the keyboard layout active at start (restored when the window closes);
//   2. initialise the framework on the 1000 x 500 canvas: interface texts, colours, font;
//   3. show the window;
//   4. load the whole database and remove the records an earlier run created ahead of a Save
//      that never came (model/ProvisionalRecords.h); when tables had to be reset (or the recovery
//      or that removal could not be saved) say so in an error box, then go on with what is left;
//   5. build the welcome screen (which runs the daily roll-over) and make it current, which
//      requests the first full paint.
// The caller then runs the message loop.
//
// On the first start there is no Data directory: the load creates it with an empty database, and
// the framework files are written into it with the default texts, so a user can translate them.

#include <functional>

// Runs the start-up on the current platform's window (platform::current()), whose window
// procedure is attached; `showWindow` shows it (step 3). Returns the database's load status
// (LoadStatus, model/Database.h).
int startUp(const std::function<void()>& showWindow);

// Destroys the screens and unlinks the screens of the upper layers, after the message loop.
void shutDown();
