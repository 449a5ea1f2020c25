// The GTK signal handlers of the window: each turns one kind of event into the program's
// messages. Input that is not the program's (other buttons, key releases, the extra press GTK
// reports for a double click) is passed on as Unhandled.

#include <cmath>

#include <gtk/gtk.h>

#include "platform/gtk/GtkPlatform.h"
#include "platform/gtk/KeyTranslation.h"
#include "platform/gtk/XkbEvents.h"

namespace platform::gtk {

namespace {

constexpr guint LeftButton = 1;

int pixel(gdouble coordinate) { return static_cast<int>(std::floor(coordinate)); }

bool inside(PixelSize client, int x, int y) {
    return x >= 0 && y >= 0 && x < client.width && y < client.height;
}

}  // namespace

struct GtkPlatform::Signals {
    static GtkPlatform& platform(gpointer self) { return *static_cast<GtkPlatform*>(self); }

    static gboolean draw(GtkWidget*, cairo_t* cr, gpointer self) {
        GtkPlatform& p = platform(self);
        GdkRectangle clip{};
        PixelRect area = p.clientRect();
        if (gdk_cairo_get_clip_rectangle(cr, &clip)) {
            area = {clip.x, clip.y, clip.x + clip.width, clip.y + clip.height};
        }
        p.paintFromBackingStore(cr, area);
        return TRUE;
    }

    static void sizeAllocate(GtkWidget*, GdkRectangle* allocation, gpointer self) {
        platform(self).allocated({allocation->width, allocation->height});
    }

    static gboolean windowState(GtkWidget*, GdkEventWindowState* event, gpointer self) {
        const GdkWindowState state = event->new_window_state;
        const bool maximized = (state & (GDK_WINDOW_STATE_MAXIMIZED | GDK_WINDOW_STATE_FULLSCREEN)) != 0;
        const bool minimized = (state & GDK_WINDOW_STATE_ICONIFIED) != 0;
        GtkPlatform& p = platform(self);
        p.deliverAll(p.sizes_.stateChanged(maximized, minimized));
        return FALSE;
    }

    static gboolean map(GtkWidget*, GdkEvent*, gpointer self) {
        platform(self).fitOuterSize();
        return FALSE;
    }

    static gboolean buttonPress(GtkWidget*, GdkEventButton* event, gpointer self) {
        GtkPlatform& p = platform(self);
        const int x = pixel(event->x);
        const int y = pixel(event->y);
        // GTK adds a 2BUTTON/3BUTTON event after the press that completes a double click; the
        // press itself is filtered below.
        if (event->type != GDK_BUTTON_PRESS) {
            p.deliver(Message::plain(MessageCode::Unhandled));
        } else if (event->button != LeftButton) {
            p.doubleClicks_.otherButtonPressed();
            p.deliver(Message::plain(MessageCode::Unhandled));
        } else if (p.doubleClicks_.isSecondPress(event->time, x, y)) {
            p.deliver(Message::plain(MessageCode::Unhandled));
        } else {
            p.deliver(Message::mouse(MessageCode::LButtonDown, x, y));
        }
        return TRUE;
    }

    static gboolean buttonRelease(GtkWidget*, GdkEventButton* event, gpointer self) {
        GtkPlatform& p = platform(self);
        // A release outside the window still arrives (the press grabbed the pointer), so the
        // program always sees the end of what it saw begin; its position is outside the canvas.
        if (event->button == LeftButton) {
            p.deliver(Message::mouse(MessageCode::LButtonUp, pixel(event->x), pixel(event->y)));
        } else {
            p.deliver(Message::plain(MessageCode::Unhandled));
        }
        return TRUE;
    }

    static gboolean motion(GtkWidget*, GdkEventMotion* event, gpointer self) {
        GtkPlatform& p = platform(self);
        const int x = pixel(event->x);
        const int y = pixel(event->y);
        // While a button is held GTK reports the pointer outside the window too; the program
        // only tracks it inside, and learns from the leave message that it went.
        if (!inside(p.client_, x, y)) {
            return TRUE;
        }
        p.leaveArmed_ = true;
        const unsigned held = modifier::Button1 | modifier::Button2 | modifier::Button3 |
                              modifier::Shift | modifier::Control;
        const bool anyHeld = (static_cast<unsigned>(event->state) & held) != 0;
        p.deliver(Message::mouse(MessageCode::MouseMove, x, y, anyHeld));
        return TRUE;
    }

    static gboolean leave(GtkWidget*, GdkEventCrossing* event, gpointer self) {
        GtkPlatform& p = platform(self);
        // Crossings caused by grabs (a dialog opening) are not the pointer leaving.
        if (event->mode != GDK_CROSSING_NORMAL || event->detail == GDK_NOTIFY_INFERIOR ||
            !p.leaveArmed_) {
            return FALSE;
        }
        p.leaveArmed_ = false;
        p.deliver(Message::plain(MessageCode::MouseLeave));
        return FALSE;
    }

    static gboolean keyPress(GtkWidget*, GdkEventKey* event, gpointer self) {
        platform(self).keys_.keyPressed(event);
        return TRUE;  // no GTK key bindings: Tab must not move a focus the program draws itself
    }

    static gboolean keyRelease(GtkWidget*, GdkEventKey* event, gpointer self) {
        platform(self).keys_.keyReleased(event);
        return TRUE;
    }

    static gboolean focusIn(GtkWidget*, GdkEvent*, gpointer self) {
        GtkPlatform& p = platform(self);
        p.layoutMayHaveChanged_ = true;  // the layout may have been switched in another window
        p.keys_.focusIn();
        return FALSE;
    }

    // Every X event, before GDK handles it: an XKB event may be a switch of the layout.
    static GdkFilterReturn xEvent(GdkXEvent* xevent, GdkEvent*, gpointer self) {
        GtkPlatform& p = platform(self);
        if (isXkbEvent(xevent, p.xkbEventBase_)) {
            p.layoutMayHaveChanged_ = true;
        }
        return GDK_FILTER_CONTINUE;
    }

    static gboolean focusOut(GtkWidget*, GdkEvent*, gpointer self) {
        platform(self).keys_.focusOut();
        return FALSE;
    }

    static void realize(GtkWidget* window, gpointer self) {
        platform(self).keys_.setClientWindow(gtk_widget_get_window(window));
    }

    static gboolean deleteEvent(GtkWidget*, GdkEvent*, gpointer self) {
        platform(self).deliver(Message::plain(MessageCode::Close));
        return TRUE;  // the window procedure decides whether the window goes
    }

    static void destroy(GtkWidget*, gpointer self) {
        GtkPlatform& p = platform(self);
        p.stopQuietTimer();
        p.stopIdle();
        p.keys_.setClientWindow(nullptr);
        p.window_ = nullptr;
        p.area_ = nullptr;
        p.dialogs_.setParent(nullptr);
        p.deliver(Message::plain(MessageCode::Destroy));
    }
};

void GtkPlatform::connectSignals() {
    g_signal_connect(area_, "draw", G_CALLBACK(Signals::draw), this);
    g_signal_connect(area_, "size-allocate", G_CALLBACK(Signals::sizeAllocate), this);
    g_signal_connect(area_, "button-press-event", G_CALLBACK(Signals::buttonPress), this);
    g_signal_connect(area_, "button-release-event", G_CALLBACK(Signals::buttonRelease), this);
    g_signal_connect(area_, "motion-notify-event", G_CALLBACK(Signals::motion), this);
    g_signal_connect(area_, "leave-notify-event", G_CALLBACK(Signals::leave), this);
    g_signal_connect(window_, "window-state-event", G_CALLBACK(Signals::windowState), this);
    g_signal_connect(window_, "map-event", G_CALLBACK(Signals::map), this);
    g_signal_connect(window_, "key-press-event", G_CALLBACK(Signals::keyPress), this);
    g_signal_connect(window_, "key-release-event", G_CALLBACK(Signals::keyRelease), this);
    g_signal_connect(window_, "focus-in-event", G_CALLBACK(Signals::focusIn), this);
    g_signal_connect(window_, "focus-out-event", G_CALLBACK(Signals::focusOut), this);
    g_signal_connect(window_, "realize", G_CALLBACK(Signals::realize), this);
    g_signal_connect(window_, "delete-event", G_CALLBACK(Signals::deleteEvent), this);
    g_signal_connect(window_, "destroy", G_CALLBACK(Signals::destroy), this);
}

void GtkPlatform::watchLayoutChanges() {
    xkbEventBase_ = xkbEventCode();
    if (xkbEventBase_ >= 0) {
        gdk_window_add_filter(nullptr, &Signals::xEvent, this);
    }
}

void GtkPlatform::stopWatchingLayouts() {
    if (xkbEventBase_ >= 0) {
        gdk_window_remove_filter(nullptr, &Signals::xEvent, this);
        xkbEventBase_ = -1;
    }
}

}  // namespace platform::gtk
