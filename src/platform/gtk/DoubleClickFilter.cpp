#include "platform/gtk/DoubleClickFilter.h"

#include <cstdlib>

namespace platform::gtk {

bool DoubleClickFilter::isSecondPress(std::uint32_t time, int x, int y) {
    // Unsigned subtraction keeps working when the server's millisecond clock wraps.
    const bool second = haveFirst_ && static_cast<std::uint32_t>(time - firstTime_) <= timeMs_ &&
                        std::abs(x - firstX_) <= distance_ && std::abs(y - firstY_) <= distance_;
    if (second) {
        haveFirst_ = false;
    } else {
        haveFirst_ = true;
        firstTime_ = time;
        firstX_ = x;
        firstY_ = y;
    }
    return second;
}

}  // namespace platform::gtk
