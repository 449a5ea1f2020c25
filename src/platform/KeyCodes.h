#pragma once

// Key codes of keys that produce no character, by the virtual-key numbers the element toolkit
// compares with (Left 37, Delete 46, ...). Backends map their own key symbols onto these.

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

// Letter keys are their upper-case ASCII code ('A' = 0x41), digits theirs ('0' = 0x30).

}  // namespace platform::key
