#pragma once

// The framework state every part of the interface relies on: the mapping between window pixels
// and the fixed virtual canvas (targetWidth x targetHeight units, 1000 x 500), the bookkeeping of
// what the next paint must redraw, and the keyboard layouts the program has seen.
//
// Repaint flags, as the paints see them:
//   - intenseUpdate: the coming paint redraws expensive elements (pictures) too. An intense
//     request latches forceIntenseUpdate until the paint ends, so a later light request in the
//     same round cannot downgrade it. Paints while the window is dragged are light.
//   - bitmapRepaint: set when a paint ends, cleared by every program-requested repaint. A paint
//     that finds it set was triggered by the system (window uncovered) and does not clear the
//     background first.
//   - preventBackground: when set, the next paint does not clear the background.

#include <string>

#include "platform/Platform.h"

// A rectangle in virtual units; right and bottom are exclusive.
struct RECT {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// One keyboard layout the program has seen, in a singly linked list headed by firstKL. Records
// are appended at the tail and stay until framewReset(); the list never holds an identifier twice.
struct KeyboardLayout {
    char keyboardLocalID[9] = {};  // eight hexadecimal digits and a NUL, compared exactly
    std::string hKeyboardLayout;   // what the platform loads and activates the layout by
    KeyboardLayout* nextLayout = nullptr;
};

extern int targetWidth;
extern int targetHeight;
extern double ratioX;
extern double ratioY;
extern double ratioMin;  // the smaller of ratioX and ratioY (ratioY when equal)
// The painter of the open paint; null outside framewBeginPaint .. framewEndPaint. Not owned.
extern platform::Painter* hdc;
// The area to redraw in the current paint, in virtual units.
extern RECT updateArea;
extern bool intenseUpdate;
extern bool forceIntenseUpdate;
extern bool sizeMoveFlag;
extern bool preventBackground;
extern bool bitmapRepaint;
// The layout that was active when the program started (filled by the start-up with getKL).
extern char preApplicationKeyboard[9];
extern KeyboardLayout* firstKL;

// Sets the virtual canvas size and bitmapRepaint, then loads the framework resource files
// (falling back to, and writing, the defaults).
void framewInit(int width, int height);
// Makes `window` the platform every later call works on (platform::setCurrent): the window
// procedure calls it at the top of every message. The framework, the elements and the screens
// reach the window, its dialogs, the clipboard and the keyboard layouts only through
// platform::current(); there is no second path.
void framewUpdate(platform::Platform* window);

// Opens a paint: reads the update area (the whole client area, and an intense paint, when
// nothing is invalid), recomputes the ratios from the client size and converts the update area
// to virtual units. Primitives draw only between this and framewEndPaint.
void framewBeginPaint();
void framewEndPaint();

// Requests a full, intense repaint of the whole client area.
void framewRepaint();
// Requests a repaint of a virtual rectangle; `intense` asks expensive elements to redraw too,
// `bitRepaint` true leaves the background flags untouched.
void framewRepaint(int x, int y, int width, int height, bool intense, bool bitRepaint);
void framewPreventBackground(bool p);
// Called when the window's move/resize loop begins (true) and ends (false).
void sizeMoveLoop(bool b);

// Pixel to virtual and virtual to pixel coordinates with the current ratios, truncated toward
// zero. A ratio of 0 (a client area without pixels) maps every pixel to virtual 0.
int virtualX(int x);
int virtualY(int y);
int realX(int x);
int realY(int y);

// `value` truncated toward zero; NaN gives 0 and values beyond int are clamped, so a degenerate
// window never makes a conversion undefined.
int framewTruncate(double value);
// origin + extent, the far edge of a rectangle, clamped to the int range so that an absurd size
// cannot overflow.
int framewFarEdge(int origin, int extent);
// The pixel rectangle of the virtual rectangle (x, y, width, height): both corners are mapped,
// the size is never scaled on its own.
platform::PixelRect framewPixelRect(int x, int y, int width, int height);

// Makes the layout with this identifier (eight hexadecimal digits) the active one, loading it
// the first time. An identifier the platform cannot load leaves the active layout unchanged.
void setKL(const char* keyLocalID);
// Writes the active layout's identifier into `keyLocalID` (at least 9 chars) and makes sure the
// layout is in the list.
void getKL(char* keyLocalID);

// Back to the state before framewInit: all globals at their initial values, the layout list
// emptied, no window. For tests.
void framewReset();
