#pragma once

// Turns the size changes of the window's client area into the program's size messages. X11 has
// no begin and end of the user's move/resize loop, so the first new size that no state change
// explains begins one, and a quiet spell (the caller's timer, 250 ms) ends it:
//
//   event                                    messages
//   --------------------------------------   ---------------------------------------------------
//   first size (the window appears)          Size(Restored)
//   new size, not in a loop                  EnterSizeMove, Size(kind)        (start the timer)
//   new size, in a loop                      Size(kind)                       (restart it)
//   maximized / restored / minimized         [ExitSizeMove if in a loop,] Size(new kind); the
//                                            next new size is that change's   (start the timer)
//   a resize the program asked for           the next new size is Size(kind)  (start the timer)
//   timer ran out                            ExitSizeMove if in a loop
//
// A minimised window reports a client size of 0 x 0; a new size while minimised is remembered
// but not reported.

#include <vector>

#include "platform/Messages.h"
#include "platform/Platform.h"

namespace platform::gtk {

class SizeMoveTracker {
public:
    static constexpr unsigned QuietMs = 250;

    struct Step {
        std::vector<Message> messages;  // to send, in order
        bool startTimer = false;        // (re)start the quiet timer
    };

    // The client area was given `size`.
    Step allocated(PixelSize size);
    // The window's state changed; `maximized` covers full screen too.
    Step stateChanged(bool maximized, bool minimized);
    // The program itself is about to resize the window.
    Step expectResize();
    // The quiet timer ran out.
    std::vector<Message> quiet();

    bool inSizeMove() const { return inLoop_; }

private:
    SizeKind kind() const;

    PixelSize size_;
    bool sized_ = false;
    bool maximized_ = false;
    bool minimized_ = false;
    bool inLoop_ = false;
    bool explained_ = false;  // the next new size comes from a state change or the program
};

}  // namespace platform::gtk
