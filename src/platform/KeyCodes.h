#pragma once

// The one list of key codes and key characters of the program.
//
// platform::key: codes of keys, by the virtual-key numbers the element toolkit compares with
// (Left 37, Delete 46, ...). Backends map their own key symbols onto these. Letter keys are
// their upper-case ASCII code ('A' = 0x41), digits theirs ('0' = 0x30).
//
// platform::character: the characters keys type that the program reacts to: the control
// characters of Backspace, Tab, Return and Escape and of Ctrl held with a letter or a bracket
// key, and Space.

namespace platform::key {

constexpr unsigned Back = 0x08;
constexpr unsigned Tab = 0x09;
constexpr unsigned Return = 0x0D;
constexpr unsigned Shift = 0x10;
constexpr unsigned Control = 0x11;
constexpr unsigned Menu = 0x12;  // Alt
constexpr unsigned Pause = 0x13;
constexpr unsigned Capital = 0x14;  // Caps Lock
constexpr unsigned Escape = 0x1B;
constexpr unsigned Space = 0x20;
constexpr unsigned Prior = 0x21;  // Page Up
constexpr unsigned Next = 0x22;   // Page Down
constexpr unsigned End = 0x23;
constexpr unsigned Home = 0x24;
constexpr unsigned Left = 0x25;
constexpr unsigned Up = 0x26;
constexpr unsigned Right = 0x27;
constexpr unsigned Down = 0x28;
constexpr unsigned Insert = 0x2D;
constexpr unsigned Delete = 0x2E;
constexpr unsigned F1 = 0x70;  // F1 .. F12 are 0x70 .. 0x7B
constexpr unsigned F12 = 0x7B;
constexpr unsigned NumLock = 0x90;
constexpr unsigned ScrollLock = 0x91;

// The punctuation keys, by their US legends.
constexpr unsigned OemSemicolon = 0xBA;
constexpr unsigned OemPlus = 0xBB;
constexpr unsigned OemComma = 0xBC;
constexpr unsigned OemMinus = 0xBD;
constexpr unsigned OemPeriod = 0xBE;
constexpr unsigned OemSlash = 0xBF;
constexpr unsigned OemGrave = 0xC0;
constexpr unsigned OemOpenBracket = 0xDB;
constexpr unsigned OemBackslash = 0xDC;
constexpr unsigned OemCloseBracket = 0xDD;
constexpr unsigned OemQuote = 0xDE;
constexpr unsigned OemIsoKey = 0xE2;  // the extra key left of Z on ISO keyboards

}  // namespace platform::key

namespace platform::character {

// The control character Ctrl and `letter` ('A' .. 'Z') type together.
constexpr wchar_t ctrl(char letter) { return static_cast<wchar_t>(letter - 'A' + 1); }

constexpr wchar_t CtrlA = ctrl('A');  // select all
constexpr wchar_t CtrlC = ctrl('C');  // copy
constexpr wchar_t CtrlV = ctrl('V');  // paste
constexpr wchar_t CtrlX = ctrl('X');  // cut
constexpr wchar_t Backspace = 0x08;
constexpr wchar_t Tab = 0x09;
constexpr wchar_t LineFeed = 0x0A;  // Ctrl+Return
constexpr wchar_t Return = 0x0D;
constexpr wchar_t Escape = 0x1B;    // also Ctrl+[
constexpr wchar_t CtrlBackslash = 0x1C;
constexpr wchar_t CtrlCloseBracket = 0x1D;
constexpr wchar_t Space = 0x20;
constexpr wchar_t Delete = 0x7F;    // Ctrl+Backspace

}  // namespace platform::character
