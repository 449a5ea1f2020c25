#include "platform/gtk/XkbEvents.h"

#include <gdk/gdkx.h>
#include <X11/XKBlib.h>

namespace platform::gtk {

int xkbEventCode() {
    GdkDisplay* gdkDisplay = gdk_display_get_default();
    if (gdkDisplay == nullptr || !GDK_IS_X11_DISPLAY(gdkDisplay)) {
        return -1;
    }
    Display* display = gdk_x11_display_get_xdisplay(gdkDisplay);
    int opcode = 0;
    int eventBase = 0;
    int errorBase = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (display == nullptr || !XkbQueryExtension(display, &opcode, &eventBase, &errorBase, &major, &minor)) {
        return -1;
    }
    return eventBase;
}

bool isXkbEvent(const void* xevent, int code) {
    return code >= 0 && xevent != nullptr && static_cast<const XEvent*>(xevent)->type == code;
}

}  // namespace platform::gtk
