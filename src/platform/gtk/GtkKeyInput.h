#pragma once

// Key presses of the GTK window turned into the program's key messages. While the layout the
// system had at start-up is active, characters come from GTK's own translation through an input
// method (so dead keys, compose sequences and input-method engines keep working); while the
// program has switched to another layout, they come from that layout's xkbcommon keymap. The
// decision what a key means is KeyTranslation's.
//
// The input method loads its engine (and the compose tables) when it is first told anything;
// that took longer than the rest of the start-up, so it is told only once the window has shown
// its first frame (prepareWhenIdle, at low priority when the window is idle) or at the first key,
// whichever comes first, and is then told the window and the focus it missed.

#include <functional>

#include "platform/Platform.h"

typedef struct _GdkEventKey GdkEventKey;
typedef struct _GdkWindow GdkWindow;
typedef struct _GtkIMContext GtkIMContext;

namespace platform::gtk {

class GtkKeyInput {
public:
    using Emit = std::function<void(const Message&)>;

    // `layouts` must outlive this object; `emit` receives every key message.
    GtkKeyInput(KeyboardLayouts& layouts, Emit emit);
    ~GtkKeyInput();
    GtkKeyInput(const GtkKeyInput&) = delete;
    GtkKeyInput& operator=(const GtkKeyInput&) = delete;

    // The window the input method works for (its candidate windows are placed by it).
    void setClientWindow(GdkWindow* window);
    // Readies the input method the next time the window is idle (after the first frame), and
    // has the keyboard layouts ready the keymap and compose table now, off the window's thread.
    void prepareWhenIdle();
    void focusIn();
    void focusOut();

    void keyPressed(const GdkEventKey* event);
    void keyReleased(const GdkEventKey* event);

private:
    static void onCommit(GtkIMContext* context, const char* text, void* self);
    bool filteredByInputMethod(const GdkEventKey* event);
    // Makes the input method ready, telling it what it was not told yet.
    void prepareInputMethod();

    KeyboardLayouts& layouts_;
    Emit emit_;
    GtkIMContext* inputMethod_ = nullptr;  // owned reference
    bool inputMethodReady_ = false;
    unsigned preparation_ = 0;             // GLib source id of the preparation, 0 when none
    GdkWindow* clientWindow_ = nullptr;
    bool focused_ = false;
    unsigned lastKeysym_ = 0;
    unsigned lastKeycode_ = 0;
    unsigned lastState_ = 0;
    bool inputMethodInUse_ = false;
};

}  // namespace platform::gtk
