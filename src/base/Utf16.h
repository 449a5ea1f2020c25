#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Conversion between the wide text held in memory (wchar_t, UTF-32 on Linux) and the UTF-16 code
// units stored in files. Both directions are total: what cannot be encoded or decoded (a lone
// surrogate, a value beyond U+10FFFF) becomes U+FFFD.
namespace utf16 {

inline constexpr char32_t REPLACEMENT = 0xFFFD;

// Code points beyond the basic plane become surrogate pairs.
std::u16string encode(std::wstring_view text);
// One character's units (one, or a surrogate pair); returns how many.
std::size_t encodeOne(wchar_t wide, char16_t units[2]);
// How many units encodeOne gives for the character.
inline std::size_t unitsOf(wchar_t wide) {
    const auto code = static_cast<char32_t>(wide);
    return code >= 0x10000 && code <= 0x10FFFF ? 2 : 1;
}
// Decodes `count` units; pairs become one character, lone surrogates U+FFFD.
std::wstring decode(const char16_t* units, std::size_t count);

// The units as the files hold them: two bytes each, the low byte first.
std::string toBytesLE(std::u16string_view units);
// The units of little-endian bytes; an odd last byte (a file cut short) is not part of any.
std::u16string fromBytesLE(std::string_view bytes);

}  // namespace utf16
