#pragma once

// The X server's XKB events, which report a switch of the keyboard layout (a new group, a new
// keymap), recognised without the Xlib headers, whose macros clash with the program's names.

namespace platform::gtk {

// The event code of XKB events on GDK's default display, or -1 when it is no X display or the
// server has no XKB. GDK opened the extension already, so Xlib answers from what it keeps,
// without a round trip.
int xkbEventCode();
// Whether the X event `xevent` (an XEvent) is an XKB event; `code` from xkbEventCode.
bool isXkbEvent(const void* xevent, int code);

}  // namespace platform::gtk
