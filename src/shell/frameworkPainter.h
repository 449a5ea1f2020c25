#pragma once

// The painting primitives: the only code that draws. All take virtual coordinates and convert
// them to pixels with realX/realY when they draw; they draw into the open paint (hdc) and do
// nothing outside a paint. Colours are COLORREF values (0x00BBGGRR).
//
// Text is fitted to its box: measured at the face's size (in pixels, unscaled) against the
// virtual box, shrunk by the smaller of width / measured width and height / measured height when
// it does not fit, never enlarged, then scaled to the window by ratioMin. So a label keeps the
// same proportions at every window size.

#include <cstdint>
#include <functional>
#include <string>

#include "shell/framework.h"
#include "resources/frameworkFileManager.h"

// Pen styles the program passes.
constexpr int PEN_SOLID = 0;
constexpr int PEN_DASHDOTDOT = 4;  // the border of the element holding the keyboard focus
constexpr int PEN_NULL = 5;        // no outline

// Text formats the program passes: single line, vertically centred, and aligned as named.
constexpr unsigned TEXT_LEFT = 36;
constexpr unsigned TEXT_CENTRE = 37;
constexpr unsigned TEXT_RIGHT = 38;
// A wide text that starts with this mark is laid out right to left; right-to-left text fields
// wrap their text in it.
constexpr wchar_t RIGHT_TO_LEFT_MARK = 0x200F;

// A font face as resolveFont describes it.
struct Font {
    COLORREF colour = 0;        // the face's colour; text is drawn in the caller's colour instead
    int fontSize = 0;           // height in pixels before fitting and scaling
    int fontWeight = 0;         // 0..1000, 0 meaning no preference
    const char* pFontface = "";  // typeface name; not owned
};

// A picture as the bitmap element holds it: pixelWidth columns of pixelHeight colours each,
// stored column after column with row 0 at the top, so pixel (column, row) is
// bit[column * pixelHeight + row]. A null `bit` or a zero size means no picture is loaded.
struct BitmapPixels {
    const COLORREF* bit = nullptr;
    unsigned long pixelWidth = 0;
    unsigned long pixelHeight = 0;
};

// A rectangle filled with `brushColor` and outlined with the pen (fnPenStyle, penWidth,
// penColor); the right and bottom edges are exclusive, and with the null pen the filled area is
// one pixel smaller to the right and bottom.
void framewPaintRect(int x, int y, int width, int height, COLORREF brushColor, int fnPenStyle,
                     int penWidth, COLORREF penColor);
// The outline of `rc` (left, top, right, bottom) with a thin black pen; the interior stays.
void framewPaintTransparentRect(RECT rc, int fnPenStyle);

// Text fitted into the box (x, y, width, height) in face `fontEnum`, aligned by `format`. Text
// that begins with U+200F (right-to-left mark) is laid out right to left.
void framewPaintTextW(int x, int y, int width, int height, int fontEnum, const wchar_t* str,
                      unsigned format, COLORREF color);
// The same for 8-bit text (UTF-8; other bytes stand for themselves).
void framewPaintTextA(int x, int y, int width, int height, int fontEnum, const char* str,
                      unsigned format, COLORREF color);
// The common worker: `astr` is drawn when it is not null, else `ustr`.
void framewPaintText(int x, int y, int width, int height, int fontEnum, const char* astr,
                     const wchar_t* ustr, unsigned format, COLORREF color);

// Something that wants to see every text the program paints (the program's trace for the
// end-to-end tests, program/TestTrace.h); null for nobody, which is how the program runs. It gets
// the whole text, before it is fitted into its box.
using PaintedTextWatcher = void (*)(const std::wstring& text);
void framewWatchPaintedText(PaintedTextWatcher watcher);

// Draws `picture` scaled to the element rectangle (x, y, width, height) by nearest-neighbour
// sampling, in one transfer. Draws nothing when no picture is loaded.
void framewPaintBitmapFull(const BitmapPixels& picture, int x, int y, int width, int height);

// Runs `paint` with the primitives drawing on `painter` at `ratio` pixels per virtual unit instead
// of into the window (the window's paint state is restored afterwards, also when `paint` throws):
// for pictures of what the screen shows, written to a file.
void framewPaintOffscreen(platform::Painter& painter, double ratio, const std::function<void()>& paint);

// Fills `ftStruct` for the face and returns it; any face but FONT1 gives zeros and an empty name.
Font* resolveFont(Font* ftStruct, int fontEnum);
// A font height scaled from virtual units to pixels: value * ratioMin, truncated toward zero.
int adjustValue(int value);
// `color` with `offset` added to each channel, clamped to 255 (offset >= 0) or to 0 (offset < 0).
COLORREF brightness(COLORREF color, int offset);
