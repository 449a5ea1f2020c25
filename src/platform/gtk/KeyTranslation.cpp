#include "platform/gtk/KeyTranslation.h"

#include <array>
#include <optional>

#include <xkbcommon/xkbcommon-keysyms.h>

#include "platform/KeyCodes.h"

namespace platform::gtk {

namespace {

struct NamedKey {
    unsigned keysym;
    unsigned keyCode;
    char32_t character;      // 0: the key types nothing
    char32_t ctrlCharacter;  // what it types with Ctrl held
};

// Keys that mean the same under every layout.
constexpr std::array namedKeys{
    NamedKey{XKB_KEY_Return, key::Return, character::Return, character::LineFeed},
    NamedKey{XKB_KEY_KP_Enter, key::Return, character::Return, character::LineFeed},
    NamedKey{XKB_KEY_Tab, key::Tab, character::Tab, character::Tab},
    NamedKey{XKB_KEY_ISO_Left_Tab, key::Tab, character::Tab, character::Tab},
    NamedKey{XKB_KEY_BackSpace, key::Back, character::Backspace, character::Delete},
    NamedKey{XKB_KEY_Escape, key::Escape, character::Escape, character::Escape},
    NamedKey{XKB_KEY_Left, key::Left, 0, 0},
    NamedKey{XKB_KEY_Up, key::Up, 0, 0},
    NamedKey{XKB_KEY_Right, key::Right, 0, 0},
    NamedKey{XKB_KEY_Down, key::Down, 0, 0},
    NamedKey{XKB_KEY_Home, key::Home, 0, 0},
    NamedKey{XKB_KEY_End, key::End, 0, 0},
    NamedKey{XKB_KEY_Prior, key::Prior, 0, 0},
    NamedKey{XKB_KEY_Next, key::Next, 0, 0},
    NamedKey{XKB_KEY_Insert, key::Insert, 0, 0},
    // Delete types U+007F in XKB; the program treats it as a key without a character.
    NamedKey{XKB_KEY_Delete, key::Delete, 0, 0},
    NamedKey{XKB_KEY_KP_Left, key::Left, 0, 0},
    NamedKey{XKB_KEY_KP_Up, key::Up, 0, 0},
    NamedKey{XKB_KEY_KP_Right, key::Right, 0, 0},
    NamedKey{XKB_KEY_KP_Down, key::Down, 0, 0},
    NamedKey{XKB_KEY_KP_Home, key::Home, 0, 0},
    NamedKey{XKB_KEY_KP_End, key::End, 0, 0},
    NamedKey{XKB_KEY_KP_Prior, key::Prior, 0, 0},
    NamedKey{XKB_KEY_KP_Next, key::Next, 0, 0},
    NamedKey{XKB_KEY_KP_Insert, key::Insert, 0, 0},
    NamedKey{XKB_KEY_KP_Delete, key::Delete, 0, 0},
    NamedKey{XKB_KEY_Shift_L, key::Shift, 0, 0},
    NamedKey{XKB_KEY_Shift_R, key::Shift, 0, 0},
    NamedKey{XKB_KEY_Control_L, key::Control, 0, 0},
    NamedKey{XKB_KEY_Control_R, key::Control, 0, 0},
    NamedKey{XKB_KEY_Caps_Lock, key::Capital, 0, 0},
    NamedKey{XKB_KEY_Num_Lock, key::NumLock, 0, 0},
    NamedKey{XKB_KEY_Scroll_Lock, key::ScrollLock, 0, 0},
    NamedKey{XKB_KEY_Pause, key::Pause, 0, 0},
};

bool isSystemKey(unsigned keysym) {
    switch (keysym) {
    case XKB_KEY_Alt_L:
    case XKB_KEY_Alt_R:
    case XKB_KEY_Meta_L:
    case XKB_KEY_Meta_R:
    case XKB_KEY_ISO_Level3_Shift:
    case XKB_KEY_Mode_switch:
        return true;
    default:
        return false;
    }
}

const NamedKey* namedKey(unsigned keysym) {
    for (const NamedKey& named : namedKeys) {
        if (named.keysym == keysym) {
            return &named;
        }
    }
    return nullptr;
}

bool isFunctionKey(unsigned keysym) { return keysym >= XKB_KEY_F1 && keysym <= XKB_KEY_F12; }

// The key's US legend by its hardware keycode (the evdev positions every X server here uses), as
// a code: letters and digits are their upper-case ASCII codes, punctuation its Oem code.
unsigned positionCode(unsigned keycode) {
    // Rows of the main block, each a run of consecutive keycodes.
    static constexpr const char* topLetters = "QWERTYUIOP";     // 24..33
    static constexpr const char* middleLetters = "ASDFGHJKL";   // 38..46
    static constexpr const char* bottomLetters = "ZXCVBNM";     // 52..58
    static constexpr const char* digits = "1234567890";         // 10..19
    if (keycode >= 24 && keycode <= 33) return static_cast<unsigned char>(topLetters[keycode - 24]);
    if (keycode >= 38 && keycode <= 46) return static_cast<unsigned char>(middleLetters[keycode - 38]);
    if (keycode >= 52 && keycode <= 58) return static_cast<unsigned char>(bottomLetters[keycode - 52]);
    if (keycode >= 10 && keycode <= 19) return static_cast<unsigned char>(digits[keycode - 10]);
    switch (keycode) {
    case 20: return key::OemMinus;
    case 21: return key::OemPlus;
    case 34: return key::OemOpenBracket;
    case 35: return key::OemCloseBracket;
    case 47: return key::OemSemicolon;
    case 48: return key::OemQuote;
    case 49: return key::OemGrave;
    case 51: return key::OemBackslash;
    case 59: return key::OemComma;
    case 60: return key::OemPeriod;
    case 61: return key::OemSlash;
    case 65: return key::Space;
    case 94: return key::OemIsoKey;
    default: return 0;
    }
}

std::optional<char> asciiLetter(char32_t c) {
    if (c >= U'a' && c <= U'z') return static_cast<char>(c - U'a' + 'A');
    if (c >= U'A' && c <= U'Z') return static_cast<char>(c);
    return std::nullopt;
}

// The key code of a key that types: a Latin layout's own letter (so a French Ctrl+A is the key
// labelled A), otherwise the key's position.
unsigned characterKeyCode(const KeyEvent& key, char32_t layoutCharacter) {
    if (std::optional<char> letter = asciiLetter(layoutCharacter)) {
        return static_cast<unsigned>(*letter);
    }
    return positionCode(key.keycode);
}

// Ctrl with a key that types: letters give their control character, as do the three bracket
// keys; the rest type nothing.
char32_t controlCharacter(unsigned code, char32_t layoutCharacter) {
    if (code >= 'A' && code <= 'Z') return static_cast<char32_t>(character::ctrl(static_cast<char>(code)));
    if (layoutCharacter == U' ' || code == key::Space) return character::Space;
    if (layoutCharacter == U'[' || (layoutCharacter == 0 && code == key::OemOpenBracket)) return character::Escape;
    if (layoutCharacter == U'\\' || (layoutCharacter == 0 && code == key::OemBackslash)) return character::CtrlBackslash;
    if (layoutCharacter == U']' || (layoutCharacter == 0 && code == key::OemCloseBracket)) return character::CtrlCloseBracket;
    return 0;
}

Message keyDown(const KeyEvent& key, char32_t character, unsigned code) {
    bool shiftDown = (key.state & modifier::Shift) != 0 || key.keysym == XKB_KEY_Shift_L ||
                     key.keysym == XKB_KEY_Shift_R;
    bool ctrlDown = (key.state & modifier::Control) != 0 || key.keysym == XKB_KEY_Control_L ||
                    key.keysym == XKB_KEY_Control_R;
    bool capsOn = (key.state & modifier::Lock) != 0;
    return Message::keyDown(character, code, shiftDown ? KeyStateDown : 0,
                            ctrlDown ? KeyStateDown : 0, capsOn ? KeyStateToggled : 0);
}

}  // namespace

bool needsLayoutCharacter(const KeyEvent& key) {
    if ((key.state & modifier::Alt) != 0 || isSystemKey(key.keysym)) {
        return false;
    }
    return namedKey(key.keysym) == nullptr && !isFunctionKey(key.keysym);
}

Message keyMessage(const KeyEvent& key, char32_t layoutCharacter) {
    if ((key.state & modifier::Alt) != 0 || isSystemKey(key.keysym)) {
        return Message::plain(MessageCode::Unhandled);
    }
    const bool ctrl = (key.state & modifier::Control) != 0;
    if (const NamedKey* named = namedKey(key.keysym)) {
        return keyDown(key, ctrl ? named->ctrlCharacter : named->character, named->keyCode);
    }
    if (isFunctionKey(key.keysym)) {
        return keyDown(key, 0, key::F1 + (key.keysym - XKB_KEY_F1));
    }
    unsigned code = characterKeyCode(key, layoutCharacter);
    if (layoutCharacter == 0 && code == 0) {
        return Message::plain(MessageCode::Unhandled);  // a key the program has no name for
    }
    if (ctrl) {
        return keyDown(key, controlCharacter(code, layoutCharacter), code);
    }
    if (layoutCharacter == 0) {
        return Message::plain(MessageCode::Unhandled);
    }
    return keyDown(key, layoutCharacter, code);
}

Message characterMessage(const KeyEvent& key, char32_t character) {
    return keyDown(key, character, characterKeyCode(key, character));
}

KeyModifiers layoutModifiers(unsigned state) {
    KeyModifiers modifiers;
    modifiers.shift = (state & modifier::Shift) != 0;
    modifiers.capsLock = (state & modifier::Lock) != 0;
    modifiers.alt = (state & modifier::Alt) != 0;
    modifiers.altGr = (state & modifier::AltGr) != 0;
    modifiers.numLock = (state & modifier::NumLock) != 0;
    return modifiers;
}

}  // namespace platform::gtk
