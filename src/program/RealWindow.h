#pragma once

// The program on the user's X display: the real window, the start-up, the message loop and the
// tear-down. The executable is this and nothing else; the start-up benchmark runs the same with
// an observer that ends the program at its first painted frame.

#include <functional>
#include <optional>
#include <string>

#include "platform/Messages.h"

namespace platform::gtk {
class GtkPlatform;
}

struct RealWindowObservers {
    // Runs right after the window is shown, before the database is loaded.
    std::function<void()> shown;
    // Runs once the start-up is done (the welcome screen is current), before the message loop.
    std::function<void()> started;
    // Runs before the window procedure handles each message.
    std::function<void(const platform::Message&)> received;
    // Runs after the window procedure has handled each message.
    std::function<void(const platform::Message&, platform::gtk::GtkPlatform&)> handled;
};

// Runs once the display is open, before the window is shown and before the start-up reads any
// file. Returns nothing to go on, or one line saying why the program cannot start (without the
// program's name, no final full stop).
using StartCheck = std::function<std::optional<std::string>()>;

// Returns the exit code of the message loop, or 1 after a one-line message on standard error
// ("<programName>: ...") when no window can be opened (no display, no X server there) or the
// check refuses the start. A refusal is also shown in a box, since a program started from the
// desktop's menu has nobody reading its standard error.
int runOnRealWindow(const char* programName, const RealWindowObservers& observers = {},
                    const StartCheck& check = {});
