#pragma once

// What a key press means to the program, decided without a display: the GTK window feeds in the
// key's X keysym, hardware keycode and modifier state (plus, for keys that type, the character
// the active layout gives), and gets back the message the window procedure expects.
//
//   key                                  message
//   ----------------------------------   ----------------------------------------------------
//   Alt held, Alt or AltGr itself        Unhandled (system keys are not the program's)
//   Return, Tab, Backspace, Escape       KeyDown with 13, 9, 8, 27 (Ctrl+Return 10,
//                                        Ctrl+Backspace 127)
//   arrows, Delete, Home, End, F1-F12,   KeyDown without character, with the key code of
//   Shift, Ctrl, Caps Lock, ...          platform/KeyCodes.h
//   Ctrl + letter                        KeyDown with the control character 1..26 of the
//                                        letter the layout puts on the key, or of the key's
//                                        US letter when the layout has no Latin letter there
//                                        (so Ctrl+C copies under a Cyrillic layout too)
//   Ctrl + other character key           KeyDown without character, with the key's code
//   any other key                        KeyDown with the layout's character; Unhandled when
//                                        it gives none (a dead key waiting for its letter)
//
// Every KeyDown carries the Shift, Ctrl and Caps Lock state words at the time of the press.

#include <cstdint>

#include "platform/Messages.h"

namespace platform::gtk {

// X modifier and button bits of an event's state, as GDK reports them.
namespace modifier {
constexpr unsigned Shift = 1u << 0;
constexpr unsigned Lock = 1u << 1;  // Caps Lock is on
constexpr unsigned Control = 1u << 2;
constexpr unsigned Alt = 1u << 3;      // Mod1
constexpr unsigned NumLock = 1u << 4;  // Mod2
constexpr unsigned AltGr = 1u << 7;    // Mod5, where ISO_Level3_Shift sits
constexpr unsigned Button1 = 1u << 8;
constexpr unsigned Button2 = 1u << 9;
constexpr unsigned Button3 = 1u << 10;
}  // namespace modifier

struct KeyEvent {
    unsigned keysym = 0;   // under the system's layout (GDK's keyval)
    unsigned keycode = 0;  // X hardware keycode (evdev + 8)
    unsigned state = 0;    // modifier bits before the press
};

// True when the key's meaning depends on the character the active layout puts on it; false for
// keys whose message keyMessage decides alone (named keys, Alt combinations).
bool needsLayoutCharacter(const KeyEvent& key);

// The message for a key press. `layoutCharacter` is what the active layout types on the key
// without Ctrl (0 for none); it is ignored when needsLayoutCharacter is false.
Message keyMessage(const KeyEvent& key, char32_t layoutCharacter);

// A character an input method committed for the key press `key`.
Message characterMessage(const KeyEvent& key, char32_t character);

// The modifiers a keyboard layout translates the key with. Ctrl is left out: with Ctrl held the
// program wants the key's letter, to match a shortcut.
KeyModifiers layoutModifiers(unsigned state);

}  // namespace platform::gtk
