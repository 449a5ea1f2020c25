#pragma once

// The program's trace for the end-to-end tests. With the environment variable MERNOLEX_TRACE set
// to anything but the empty text, the program prints to standard output, one line each:
//
//   screen <description> page <condition>   the current screen or its page has changed (printed
//                                           once the message that changed it is handled)
//   text <text>                             a text was painted (line breaks become blanks)
//   frame <ms> <input> <saved|kept> <screen> how long an input waited for its frame, and at the
//                                           end the longest waits (program/FrameProbe.h)
//
// so that a test can wait for what the user sees instead of waiting for a time. Without the
// variable nothing is printed and nothing is watched.

#include "program/RealWindow.h"

inline constexpr const char* TRACE_VARIABLE = "MERNOLEX_TRACE";

// The observers that print the trace when MERNOLEX_TRACE is set, and the watcher of painted
// texts set up with them; no observers and no watcher otherwise.
RealWindowObservers traceObservers();
