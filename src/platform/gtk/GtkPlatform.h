#pragma once

// The real window: a GTK 3 top-level window "Mernolex" whose client area is a drawing area
// painted through the shared cairo/pango painter, with GTK's dialogs and clipboard and the
// xkbcommon keyboard layouts. Window events become the program's messages and go to the
// MessageSink; run() is the message loop.
//
// The picture lives in a backing image of the client size. A paint draws into it, clipped to
// the paint's area, and the window shows it; so whatever a paint leaves alone keeps what was
// drawn before, also where another window uncovered the client area.
//
// What a key or a click changed is painted into the backing image as soon as the message is
// handled, not at GTK's next frame: GTK shows a frame at most once per refresh interval, and
// painting inside that frame made the answer wait for the frame and then for the paint. The frame
// then only shows the backing image (a draw of an area painted that way since the last frame,
// with nothing invalid meanwhile, delivers no paint message).
//
// Messages reach the sink one at a time. While the sink handles one and a nested loop runs
// (a modal dialog, waiting for another program's clipboard), paints are delivered at once, as
// a modal dialog's loop delivers them, and every other message waits until the sink is done.
// (The window procedure keeps the same rule itself, whatever the backend: a nested paint only
// paints; see states/WindowProcedure.h.)

#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/CairoPainter.h"
#include "platform/Platform.h"
#include "platform/XkbKeyboardLayouts.h"
#include "platform/gtk/DoubleClickFilter.h"
#include "platform/gtk/GtkClipboardText.h"
#include "platform/gtk/GtkDialogs.h"
#include "platform/gtk/GtkKeyInput.h"
#include "platform/gtk/SizeMoveTracker.h"

typedef struct _GtkWidget GtkWidget;
typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo cairo_t;

namespace platform::gtk {

class GtkPlatform final : public Platform {
public:
    static constexpr const char* WindowTitle = "Mernolex";
    static constexpr int OuterWidth = 1000;
    static constexpr int OuterHeight = 500;

    // Connects to the X display and builds the window, not yet shown. Returns null, with the
    // reason in `error`, when no display can be opened.
    static std::unique_ptr<GtkPlatform> create(std::string& error);
    ~GtkPlatform() override;
    GtkPlatform(const GtkPlatform&) = delete;
    GtkPlatform& operator=(const GtkPlatform&) = delete;

    // The window procedure; null leaves messages to the default handling (close destroys the
    // window, destroy ends the loop). Not owned.
    void setSink(MessageSink* sink) { sink_ = sink; }
    // Shows the window; the window manager places it.
    void show();
    // Runs the message loop until postQuit and returns its exit code.
    int run();
    // Any thread: the sink receives a Wake message on the window's thread soon after (wakes that
    // come before it is delivered make one message).
    void wakeFromAnyThread();
    // The painter the window paints with.
    CairoPainter& cairoPainter() { return painter_; }
    // Whether something was invalidated and is not painted yet (a paint under way aside).
    bool paintPending() const { return pending_.has_value(); }

    // --- Platform ---
    PixelSize clientSize() const override { return client_; }
    void invalidate(const PixelRect& rect) override;
    void invalidateAll() override;
    std::optional<PixelRect> updateRect() const override;
    Painter& beginPaint() override;
    void endPaint() override;
    void destroyWindow() override;
    void postQuit(int exitCode) override;
    MessageResult messageBox(const std::wstring& text, const std::wstring& caption,
                             MessageIcon icon, MessageButtons buttons) override;
    std::optional<std::string> openFileDialog(const std::vector<FileFilter>& filters) override;
    std::optional<std::string> saveFileDialog(const std::vector<FileFilter>& filters,
                                              const std::string& suggestedName) override;
    void setClipboardText(const std::wstring& text) override { clipboard_.set(text); }
    std::wstring clipboardText() override { return clipboard_.get(); }
    // The system's layout is read again at the first call after the X server reported a change of
    // the keyboard (an XKB event) or the window got the focus back (the program asks when a field
    // takes the focus or a screen wants the active layout), so that a switch the user made with
    // the desktop's layout switcher while the program runs counts as the system's layout; calls
    // while one message is handled all see the same layout.
    KeyboardLayouts& keyboardLayouts() override;
    // An Idle message at GLib's idle priority: after pending input and after GTK's redraw, so a
    // frame that answers an input is shown before any idle work runs.
    void requestIdle() override;

private:
    explicit GtkPlatform(const std::string& startupLayout);

    void buildWindow();
    void connectSignals();
    void watchLayoutChanges();
    void stopWatchingLayouts();
    void paintFromBackingStore(cairo_t* cr, const PixelRect& area);
    // Paints what is invalid into the backing image now and asks GTK to show it.
    void paintPendingNow();
    void allocated(PixelSize size);
    void deliver(const Message& message);
    void handleWithoutSink(const Message& message);
    void deliverAll(const SizeMoveTracker::Step& step);
    void startQuietTimer();
    void stopQuietTimer();
    void stopIdle();
    void resizeBackingStore(PixelSize size);
    void fitOuterSize();
    PixelRect clientRect() const { return {0, 0, client_.width, client_.height}; }

    // The GTK signal handlers, which turn window events into messages (GtkPlatformEvents.cpp).
    struct Signals;

    XkbKeyboardLayouts layouts_;
    CairoPainter painter_;
    GtkKeyInput keys_;
    GtkDialogs dialogs_;
    GtkClipboardText clipboard_;
    SizeMoveTracker sizes_;
    DoubleClickFilter doubleClicks_;

    GtkWidget* window_ = nullptr;  // null once destroyed; GTK owns it while it exists
    GtkWidget* area_ = nullptr;
    MessageSink* sink_ = nullptr;

    PixelSize client_;
    cairo_surface_t* backing_ = nullptr;       // owned
    cairo_t* paintContext_ = nullptr;          // owned while a paint is open
    PixelRect paintArea_;
    std::optional<PixelRect> drawArea_;        // the area GTK is drawing, inside a draw
    std::optional<PixelRect> pending_;         // invalidated and not yet drawn
    std::optional<PixelRect> paintedEarly_;    // painted by paintPendingNow since GTK's last draw

    int depth_ = 0;                  // messages the sink is handling right now
    unsigned long messageCount_ = 0;  // outermost messages delivered so far
    unsigned long layoutReadFor_ = -1UL;  // the message the system's layout was last read in
    int xkbEventBase_ = -1;               // the X server's XKB event code, -1 when not watched
    bool layoutMayHaveChanged_ = true;    // an XKB event or a focus came since the last read
    std::deque<Message> deferred_;   // messages waiting for the sink to finish
    bool leaveArmed_ = true;
    bool outerSizeFitted_ = false;
    unsigned quietTimer_ = 0;        // GLib source id, 0 when none
    std::mutex wakeMutex_;
    unsigned wakeSource_ = 0;        // the pending wake's GLib source id, 0 when none
    unsigned idleSource_ = 0;        // GLib source id of the requested Idle message, 0 when none
    bool running_ = false;
    bool quitPosted_ = false;
    int exitCode_ = 0;
};

}  // namespace platform::gtk
