#pragma once

// The program's own window messages. The GTK backend turns window events into these; the
// headless backend and the tests produce them directly. The shell's window procedure handles
// them all the same way, whatever produced them.

#include <cstdint>

namespace platform {

enum class MessageCode {
    Destroy,        // the window is going away
    Size,           // the client area changed size (see SizeKind)
    Paint,          // part of the client area must be redrawn
    Close,          // the user asked to close the window
    KeyDown,        // a key was pressed
    MouseMove,      // the pointer moved inside the client area
    LButtonDown,    // left button pressed
    LButtonUp,      // left button released
    EnterSizeMove,  // the user began moving or resizing the window
    ExitSizeMove,   // ... and ended it
    MouseLeave,     // the pointer left the client area
    Wake,           // another thread has finished work for the window's thread (base/WindowThreadTasks.h)
    Idle,           // the window has nothing else to do (after Platform::requestIdle)
    Unhandled,      // anything else (right button, wheel, key release, ...): not for the program
};

enum class SizeKind { Restored = 0, Minimized = 1, Maximized = 2 };

// Modifier state of a key press, as the keyboard-layout translation needs it.
struct KeyModifiers {
    bool shift = false;
    bool capsLock = false;  // locked
    bool ctrl = false;
    bool alt = false;
    bool altGr = false;
    bool numLock = false;  // locked
};

// Key state words: the high bit (0x8000) means the key is down, the low bit (0x0001) that it is
// toggled on (Caps Lock).
constexpr std::uint16_t KeyStateDown = 0x8000;
constexpr std::uint16_t KeyStateToggled = 0x0001;

struct Message {
    MessageCode code = MessageCode::Unhandled;

    // Mouse messages: the pointer position in client pixels.
    int x = 0;
    int y = 0;
    // MouseMove: a mouse button, Shift or Ctrl is held.
    bool buttonsOrModifiersHeld = false;

    // Size: what happened to the window and the new client size in pixels.
    SizeKind sizeKind = SizeKind::Restored;
    int width = 0;
    int height = 0;

    // KeyDown: the character the key produced under the active layout (0 when none), the key
    // code (platform::key) and the Shift, Ctrl and Caps Lock state words at the time of the press.
    char32_t character = 0;
    unsigned keyCode = 0;
    std::uint16_t shiftState = 0;
    std::uint16_t ctrlState = 0;
    std::uint16_t capsState = 0;

    static Message mouse(MessageCode code, int x, int y, bool held = false) {
        Message m;
        m.code = code;
        m.x = x;
        m.y = y;
        m.buttonsOrModifiersHeld = held;
        return m;
    }
    static Message size(SizeKind kind, int width, int height) {
        Message m;
        m.code = MessageCode::Size;
        m.sizeKind = kind;
        m.width = width;
        m.height = height;
        return m;
    }
    static Message plain(MessageCode code) {
        Message m;
        m.code = code;
        return m;
    }
    static Message keyDown(char32_t character, unsigned keyCode, std::uint16_t shiftState = 0,
                           std::uint16_t ctrlState = 0, std::uint16_t capsState = 0) {
        Message m;
        m.code = MessageCode::KeyDown;
        m.character = character;
        m.keyCode = keyCode;
        m.shiftState = shiftState;
        m.ctrlState = ctrlState;
        m.capsState = capsState;
        return m;
    }
};

}  // namespace platform
