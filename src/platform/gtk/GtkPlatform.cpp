#include "platform/gtk/GtkPlatform.h"

#include <algorithm>
#include <cstdlib>

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include "platform/gtk/XkbStartupLayout.h"

namespace platform::gtk {

namespace {

std::string displayName() {
    if (const char* name = gdk_get_display_arg_name()) return name;
    if (const char* name = std::getenv("DISPLAY")) return name;
    return "";
}

DoubleClickFilter desktopDoubleClicks() {
    gint time = 400;
    gint distance = 5;
    g_object_get(gtk_settings_get_default(), "gtk-double-click-time", &time,
                 "gtk-double-click-distance", &distance, nullptr);
    return DoubleClickFilter(static_cast<unsigned>(std::max(0, time)), distance);
}

}  // namespace

std::unique_ptr<GtkPlatform> GtkPlatform::create(std::string& error) {
    // The start-up layout and the keycodes come from the X server, so the program always talks
    // X11, through XWayland on a Wayland desktop.
    gdk_set_allowed_backends("x11");
    // The window class is the program name with a capital: "Mernolex".
    g_set_prgname("mernolex");
    if (!gtk_init_check(nullptr, nullptr)) {
        std::string name = displayName();
        error = name.empty() ? "cannot open a display: DISPLAY is not set; Mernolex needs an X "
                               "server (or XWayland) to show its window"
                             : "cannot open the display \"" + name +
                                   "\"; Mernolex needs a running X server (or XWayland) there";
        return nullptr;
    }
    GdkDisplay* display = gdk_display_get_default();
    std::string layout = GDK_IS_X11_DISPLAY(display)
                             ? readStartupLayout(gdk_x11_display_get_xdisplay(display))
                             : XkbKeyboardLayouts::DefaultIdentifier;
    return std::unique_ptr<GtkPlatform>(new GtkPlatform(layout));
}

GtkPlatform::GtkPlatform(const std::string& startupLayout)
    : layouts_(startupLayout),
      keys_(layouts_, [this](const Message& message) { deliver(message); }),
      doubleClicks_(desktopDoubleClicks()) {
    // The layout was read just now: the start-up, before the first message, goes by that reading.
    layoutReadFor_ = messageCount_;
    buildWindow();
    connectSignals();
    watchLayoutChanges();
}

// Reading the system's layout takes round trips to the X server, and on a busy machine each one
// waits for the server to be given a core: several milliseconds that the answer to a click waited
// when every message read it. The X server reports every switch of the layout (a new group, a
// new keymap) as an XKB event, which GDK has asked for to keep its own keymap; so the layout is
// read again only after such an event has come (or the window got the focus back), at the first
// question about layouts (watchLayoutChanges, GtkPlatformEvents.cpp). Events are handled between
// messages, so none changes the layout while a message is handled. Without XKB events to watch
// it is read once per message.
KeyboardLayouts& GtkPlatform::keyboardLayouts() {
    GdkDisplay* display = gdk_display_get_default();
    if (display == nullptr || !GDK_IS_X11_DISPLAY(display)) {
        return layouts_;
    }
    const bool watched = xkbEventBase_ >= 0;
    if (watched ? layoutMayHaveChanged_ : layoutReadFor_ != messageCount_) {
        layoutMayHaveChanged_ = false;
        layoutReadFor_ = messageCount_;
        layouts_.systemLayoutChanged(readStartupLayout(gdk_x11_display_get_xdisplay(display)));
    }
    return layouts_;
}

GtkPlatform::~GtkPlatform() {
    sink_ = nullptr;
    stopWatchingLayouts();
    stopQuietTimer();
    {
        std::lock_guard<std::mutex> guard(wakeMutex_);
        if (wakeSource_ != 0) {
            g_source_remove(wakeSource_);
            wakeSource_ = 0;
        }
    }
    stopIdle();
    if (paintContext_ != nullptr) {
        painter_.unbind();
        cairo_destroy(paintContext_);
    }
    if (window_ != nullptr) {
        g_signal_handlers_disconnect_by_data(window_, this);
        g_signal_handlers_disconnect_by_data(area_, this);
        gtk_widget_destroy(window_);
    }
    if (backing_ != nullptr) {
        cairo_surface_destroy(backing_);
    }
}

void GtkPlatform::buildWindow() {
    window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window_), WindowTitle);
    gtk_window_set_default_size(GTK_WINDOW(window_), OuterWidth, OuterHeight);
    // No icon of its own: the desktop shows its default application icon. Loading one from the
    // icon theme would take a third of the start-up time.
    area_ = gtk_drawing_area_new();
    gtk_widget_add_events(area_, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                     GDK_POINTER_MOTION_MASK | GDK_LEAVE_NOTIFY_MASK);
    gtk_container_add(GTK_CONTAINER(window_), area_);
    dialogs_.setParent(GTK_WINDOW(window_));
}

void GtkPlatform::show() {
    if (window_ != nullptr) {
        gtk_widget_show_all(window_);
    }
}

int GtkPlatform::run() {
    if (!quitPosted_) {
        running_ = true;
        gtk_main();
        running_ = false;
    }
    return exitCode_;
}

void GtkPlatform::wakeFromAnyThread() {
    std::lock_guard<std::mutex> guard(wakeMutex_);
    if (wakeSource_ != 0) {
        return;
    }
    // GLib's default context takes sources from any thread and runs them on the window's.
    wakeSource_ = g_idle_add(
        [](gpointer self) -> gboolean {
            auto* platform = static_cast<GtkPlatform*>(self);
            {
                std::lock_guard<std::mutex> guard(platform->wakeMutex_);
                platform->wakeSource_ = 0;
            }
            platform->deliver(Message::plain(MessageCode::Wake));
            return G_SOURCE_REMOVE;
        },
        this);
}

void GtkPlatform::postQuit(int exitCode) {
    exitCode_ = exitCode;
    quitPosted_ = true;
    if (running_) {
        gtk_main_quit();
    }
}

void GtkPlatform::destroyWindow() {
    if (window_ != nullptr) {
        gtk_widget_destroy(window_);  // the destroy signal sends the destroy message
    }
}

void GtkPlatform::deliver(const Message& message) {
    if (depth_ > 0 && message.code != MessageCode::Paint) {
        deferred_.push_back(message);
        return;
    }
    if (depth_ == 0) {
        ++messageCount_;
    }
    ++depth_;
    if (sink_ != nullptr) {
        sink_->handle(message);
    } else {
        handleWithoutSink(message);
    }
    --depth_;
    while (depth_ == 0 && !deferred_.empty()) {
        Message next = deferred_.front();
        deferred_.pop_front();
        deliver(next);
    }
    const bool input = message.code == MessageCode::KeyDown || message.code == MessageCode::LButtonDown ||
                       message.code == MessageCode::LButtonUp;
    if (depth_ == 0 && input) {
        paintPendingNow();
    }
}

void GtkPlatform::handleWithoutSink(const Message& message) {
    if (message.code == MessageCode::Close) {
        destroyWindow();
    } else if (message.code == MessageCode::Destroy) {
        postQuit(0);
    }
}

// --- painting ---

void GtkPlatform::invalidate(const PixelRect& rect) {
    std::optional<PixelRect> visible = intersection(rect, clientRect());
    if (!visible || area_ == nullptr) {
        return;
    }
    pending_ = pending_ ? unite(*pending_, *visible) : *visible;
    gtk_widget_queue_draw_area(area_, visible->left, visible->top, visible->width(),
                               visible->height());
}

void GtkPlatform::invalidateAll() { invalidate(clientRect()); }

std::optional<PixelRect> GtkPlatform::updateRect() const {
    return drawArea_ ? drawArea_ : pending_;
}

Painter& GtkPlatform::beginPaint() {
    if (paintContext_ != nullptr || backing_ == nullptr) {
        return painter_;  // already painting, or nothing to paint on yet: draws nothing
    }
    // Outside a draw of the window (a paint nobody asked for) the whole client area is open.
    paintArea_ = drawArea_.value_or(clientRect());
    paintContext_ = cairo_create(backing_);
    cairo_rectangle(paintContext_, paintArea_.left, paintArea_.top, paintArea_.width(),
                    paintArea_.height());
    cairo_clip(paintContext_);
    painter_.bind(paintContext_);
    return painter_;
}

void GtkPlatform::endPaint() {
    if (paintContext_ == nullptr) {
        return;
    }
    painter_.unbind();
    cairo_destroy(paintContext_);
    paintContext_ = nullptr;
    cairo_surface_flush(backing_);
    if (!drawArea_ && area_ != nullptr) {
        gtk_widget_queue_draw_area(area_, paintArea_.left, paintArea_.top, paintArea_.width(),
                                   paintArea_.height());
    }
}

void GtkPlatform::paintFromBackingStore(cairo_t* cr, const PixelRect& area) {
    const bool paintedAlready = !pending_ && paintedEarly_ && paintedEarly_->left <= area.left &&
                                paintedEarly_->top <= area.top && area.right <= paintedEarly_->right &&
                                area.bottom <= paintedEarly_->bottom;
    pending_.reset();
    paintedEarly_.reset();
    if (backing_ == nullptr) {
        return;
    }
    if (!paintedAlready) {
        drawArea_ = area;
        deliver(Message::plain(MessageCode::Paint));
        endPaint();  // in case the window procedure left its paint open
        drawArea_.reset();
    }
    cairo_set_source_surface(cr, backing_, 0, 0);
    cairo_paint(cr);
    keys_.prepareWhenIdle();  // the first frame is out: the input method may load now
}

// A paint message also delivers what the screen queued meanwhile (a screen switched to fills its
// lists then), which may invalidate more: painted too, a few rounds at most.
void GtkPlatform::paintPendingNow() {
    constexpr int ROUNDS = 3;
    for (int round = 0; round < ROUNDS && pending_ && backing_ != nullptr && area_ != nullptr &&
                        gtk_widget_get_mapped(area_);
         ++round) {
        const PixelRect area = *pending_;
        pending_.reset();
        drawArea_ = area;
        deliver(Message::plain(MessageCode::Paint));
        endPaint();
        drawArea_.reset();
        paintedEarly_ = paintedEarly_ ? unite(*paintedEarly_, area) : area;
        if (area_ != nullptr) {
            gtk_widget_queue_draw_area(area_, area.left, area.top, area.width(), area.height());
        }
    }
}

void GtkPlatform::resizeBackingStore(PixelSize size) {
    cairo_surface_t* resized = cairo_image_surface_create(CAIRO_FORMAT_RGB24,
                                                          std::max(1, size.width), std::max(1, size.height));
    cairo_t* cr = cairo_create(resized);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    if (backing_ != nullptr) {
        // What fits of the old picture stays until the program repaints at the new size.
        cairo_set_source_surface(cr, backing_, 0, 0);
        cairo_paint(cr);
        cairo_surface_destroy(backing_);
    }
    cairo_destroy(cr);
    backing_ = resized;
}

// --- size ---

void GtkPlatform::allocated(PixelSize size) {
    if (size == client_) {
        return;
    }
    client_ = size;
    resizeBackingStore(size);
    deliverAll(sizes_.allocated(size));
}

void GtkPlatform::deliverAll(const SizeMoveTracker::Step& step) {
    if (step.startTimer) {
        startQuietTimer();
    }
    for (const Message& message : step.messages) {
        deliver(message);
    }
}

void GtkPlatform::startQuietTimer() {
    stopQuietTimer();
    quietTimer_ = g_timeout_add(SizeMoveTracker::QuietMs, [](gpointer self) -> gboolean {
        auto* platform = static_cast<GtkPlatform*>(self);
        platform->quietTimer_ = 0;
        for (const Message& message : platform->sizes_.quiet()) {
            platform->deliver(message);
        }
        return G_SOURCE_REMOVE;
    }, this);
}

void GtkPlatform::stopQuietTimer() {
    if (quietTimer_ != 0) {
        g_source_remove(quietTimer_);
        quietTimer_ = 0;
    }
}

// --- idle time ---

void GtkPlatform::requestIdle() {
    if (idleSource_ != 0 || window_ == nullptr) {
        return;
    }
    idleSource_ = g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, [](gpointer self) -> gboolean {
        auto* platform = static_cast<GtkPlatform*>(self);
        platform->idleSource_ = 0;
        platform->deliver(Message::plain(MessageCode::Idle));
        return G_SOURCE_REMOVE;
    }, this, nullptr);
}

void GtkPlatform::stopIdle() {
    if (idleSource_ != 0) {
        g_source_remove(idleSource_);
        idleSource_ = 0;
    }
}

// The window's outer size is 1000 x 500, frame included; the client area is what the window
// manager's frame leaves. X sizes the client area, so once the frame is known the client area
// shrinks by it (without a window manager there is no frame and nothing changes).
void GtkPlatform::fitOuterSize() {
    if (outerSizeFitted_ || window_ == nullptr) {
        return;
    }
    outerSizeFitted_ = true;
    GdkWindow* gdkWindow = gtk_widget_get_window(window_);
    GdkRectangle frame{};
    gdk_window_get_frame_extents(gdkWindow, &frame);
    const int frameWidth = frame.width - gdk_window_get_width(gdkWindow);
    const int frameHeight = frame.height - gdk_window_get_height(gdkWindow);
    if (frameWidth <= 0 && frameHeight <= 0) {
        return;
    }
    deliverAll(sizes_.expectResize());
    gtk_window_resize(GTK_WINDOW(window_), std::max(1, OuterWidth - std::max(0, frameWidth)),
                      std::max(1, OuterHeight - std::max(0, frameHeight)));
}

// --- dialogs ---

MessageResult GtkPlatform::messageBox(const std::wstring& text, const std::wstring& caption,
                                      MessageIcon icon, MessageButtons buttons) {
    return dialogs_.messageBox(text, caption, icon, buttons);
}

std::optional<std::string> GtkPlatform::openFileDialog(const std::vector<FileFilter>& filters) {
    return dialogs_.openFile(filters);
}

std::optional<std::string> GtkPlatform::saveFileDialog(const std::vector<FileFilter>& filters,
                                                       const std::string& suggestedName) {
    return dialogs_.saveFile(filters, suggestedName);
}

}  // namespace platform::gtk
