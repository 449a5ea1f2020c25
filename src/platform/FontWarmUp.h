#pragma once

// The font system, loaded while the program starts: reading fontconfig's configuration and cache,
// opening the first fonts and sorting the installed fonts for each size the first screen paints
// took longer than everything else of the first frame, and nothing of it needs the window.
// warmUpFonts starts that on a thread of its own, into a font map of its own, measuring and
// drawing the given texts at the given cell heights the way a painter does (CairoPainter); the
// painters then use that font map (fontMapForPainting waits for it when it is not ready yet). It
// touches neither the database nor the elements; the warmed font map is handed to the painting
// thread as a whole, once the warming thread is done with it.
//
// Without warmUpFonts (tests, benchmarks, the headless window) painters use pango's default font
// map of their own thread, as before.

#include <string>
#include <vector>

typedef struct _PangoFontMap PangoFontMap;

namespace platform {

struct FontWarmUpRequest {
    std::string face;              // as the painter is asked for it
    int weight = 0;
    std::vector<int> cellHeights;  // the sizes the first frame is likely to measure and draw at
    std::wstring sample;           // the texts it is likely to show
};

// Starts warming; once per process, at its start.
void warmUpFonts(const FontWarmUpRequest& request);
// The font map to paint with; the caller does not own it.
PangoFontMap* fontMapForPainting();

}  // namespace platform
