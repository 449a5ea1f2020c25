#pragma once

// The font system, loaded while the program starts: reading fontconfig's configuration and cache,
// opening the first fonts and sorting the installed fonts for each size the first screen paints
// took longer than everything else of the first frame, and nothing of it needs the window.
// warmUpFonts starts that on a thread of its own, into a font map of its own, measuring and
// drawing the given texts at their cell heights the way a painter does (CairoPainter); the
// painters then use that font map (fontMapForPainting waits for it when it is not ready yet). It
// touches neither the database nor the elements; the warmed font map is handed to the painting
// thread as a whole, once the warming thread is done with it.
//
// Without warmUpFonts (tests, benchmarks, the headless window) painters use pango's default font
// map of their own thread, as before.

#include <memory>
#include <string>
#include <vector>

typedef struct _PangoFontMap PangoFontMap;

namespace platform {

// A text the first frame is likely to show: measured at one cell height, drawn at another (or
// not drawn, at 0), each as the painter is asked for it.
struct FontWarmUpText {
    std::wstring text;
    int measuredAt = 0;
    int drawnAt = 0;
};

struct FontWarmUpRequest {
    std::string face;  // as the painter is asked for it
    int weight = 0;
    // Only what the first frame asks for: every other size or glyph would cost the warming
    // thread a font set of its own (a fontconfig match and sort, a font for each fallback face
    // it draws with and that font's metrics) or glyph renderings, time taken from the window's
    // thread on a machine with few cores.
    std::vector<FontWarmUpText> texts;
};

class CairoPainter;

// Starts warming; once per process, at its start.
void warmUpFonts(const FontWarmUpRequest& request);
// The font map to paint with; the caller does not own it.
PangoFontMap* fontMapForPainting();
// The painter that warmed the map, with the texts it laid out, for the first painter of that map
// to take them over (CairoPainter::adoptTexts); null without a warm-up or once taken. Destroy
// it on the painting thread, like every painter.
std::unique_ptr<CairoPainter> takeWarmedPainter();

}  // namespace platform
