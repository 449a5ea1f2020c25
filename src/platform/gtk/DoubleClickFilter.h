#pragma once

// Picks out the second press of a double click, which the program receives only as its release:
// a left press counts as second when it comes within the double-click time and distance of a
// first press. The press after a double click is a first press again, so a triple click is a
// double click followed by a single press. Any other button in between breaks the pair.

#include <cstdint>

namespace platform::gtk {

class DoubleClickFilter {
public:
    // `timeMs` and `distance` are the desktop's double-click settings (milliseconds, pixels).
    DoubleClickFilter(unsigned timeMs, int distance) : timeMs_(timeMs), distance_(distance) {}

    // A left press at X server time `time` (milliseconds, wrapping) and pixel (x, y); true when
    // it completes a double click.
    bool isSecondPress(std::uint32_t time, int x, int y);
    // Another button was pressed: the next left press starts a new pair.
    void otherButtonPressed() { haveFirst_ = false; }

private:
    unsigned timeMs_;
    int distance_;
    bool haveFirst_ = false;
    std::uint32_t firstTime_ = 0;
    int firstX_ = 0;
    int firstY_ = 0;
};

}  // namespace platform::gtk
