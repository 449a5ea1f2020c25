#pragma once

// Unicode text on the desktop's clipboard (the CLIPBOARD selection), shared with every other
// program. Text the program puts there stays available after it exits only when the desktop
// runs a clipboard manager.

#include <string>

namespace platform::gtk {

class GtkClipboardText {
public:
    // Puts `text` (up to its first NUL) on the clipboard.
    void set(const std::wstring& text);
    // The clipboard's text; empty when it holds none. Waits for the owning program to answer,
    // running a nested main loop meanwhile.
    std::wstring get();
};

}  // namespace platform::gtk
