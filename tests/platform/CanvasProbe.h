#pragma once

// Small helpers for reading the headless canvas in tests.

#include "platform/headless/HeadlessPlatform.h"

namespace mernolex::test {

constexpr platform::Colour White = platform::makeColour(255, 255, 255);

// Pixels in `rect` that are not `background`.
inline int countOther(const platform::HeadlessPlatform& window, const platform::PixelRect& rect,
                      platform::Colour background = White) {
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            count += window.pixel(x, y) != background ? 1 : 0;
        }
    }
    return count;
}

// The smallest rectangle holding every pixel in `rect` that is not `background`; empty if none.
inline platform::PixelRect inkBounds(const platform::HeadlessPlatform& window,
                                     const platform::PixelRect& rect,
                                     platform::Colour background = White) {
    platform::PixelRect ink{rect.right, rect.bottom, rect.left, rect.top};
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            if (window.pixel(x, y) != background) {
                ink.left = std::min(ink.left, x);
                ink.top = std::min(ink.top, y);
                ink.right = std::max(ink.right, x + 1);
                ink.bottom = std::max(ink.bottom, y + 1);
            }
        }
    }
    return ink;
}

}  // namespace mernolex::test
