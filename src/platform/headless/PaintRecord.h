#pragma once

// What one paint of the headless window drew, call by call, so that interface tests can assert
// on painted texts, rectangles and pictures instead of comparing images.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace platform {

struct DrawnText {
    PixelRect box;
    FontSpec font;
    std::wstring text;
    unsigned format = 0;
    Colour colour = 0;
    bool rightToLeft = false;
};

struct DrawnRect {
    PixelRect rect;
    bool filled = false;  // false: outline only
    Colour brush = 0;
    PenStyle pen = PenStyle::Solid;
    int penWidth = 0;
    Colour penColour = 0;
};

struct DrawnBlit {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // top-down rows of 0x00RRGGBB

    // The pixel at column `column`, row `row` of the blitted buffer.
    std::uint32_t at(int column, int row) const {
        return pixels[static_cast<std::size_t>(row) * width + column];
    }
};

struct PaintRecord {
    PixelRect area;  // the area the paint was clipped to
    std::vector<DrawnText> texts;
    std::vector<DrawnRect> rects;
    std::vector<DrawnBlit> blits;

    // The first text drawn with exactly this content, or null.
    const DrawnText* findText(std::wstring_view text) const {
        for (const DrawnText& drawn : texts) {
            if (drawn.text == text) {
                return &drawn;
            }
        }
        return nullptr;
    }
};

}  // namespace platform
