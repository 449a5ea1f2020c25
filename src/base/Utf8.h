#pragma once

// Conversions between the program's wide text (wchar_t holds whole code points on Linux) and
// UTF-8, which pango, the clipboard, file names and the 8-bit query values use.

#include <string>
#include <string_view>

namespace utf8 {

// UTF-8 for wide text, up to its first NUL. Values that are no Unicode scalar value (surrogates,
// anything above U+10FFFF) become U+FFFD, so the result is always valid UTF-8.
std::string encode(std::wstring_view text);

// Appends the UTF-8 bytes of one code point; one that is no Unicode scalar value becomes U+FFFD.
void appendCodePoint(std::string& out, char32_t c);

// Wide text for 8-bit text, up to its first NUL. The bytes are read as UTF-8 (file names, the
// system's texts); a byte that does not start a well-formed sequence stands for itself
// (Latin-1), so no byte is ever lost or read past.
std::wstring decode(std::string_view text);

}  // namespace utf8
