#include "base/Utf16.h"

namespace utf16 {

namespace {

bool isHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::size_t encodeOne(wchar_t wide, char16_t units[2]) {
    char32_t code = static_cast<char32_t>(wide);
    if (code > 0x10FFFF || isHighSurrogate(code) || isLowSurrogate(code)) {
        code = REPLACEMENT;
    }
    if (code < 0x10000) {
        units[0] = static_cast<char16_t>(code);
        return 1;
    }
    code -= 0x10000;
    units[0] = static_cast<char16_t>(0xD800 + (code >> 10));
    units[1] = static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    return 2;
}

std::u16string encode(std::wstring_view text) {
    std::u16string units;
    units.reserve(text.size());
    for (wchar_t wide : text) {
        char16_t pair[2];
        units.append(pair, encodeOne(wide, pair));
    }
    return units;
}

std::wstring decode(const char16_t* units, std::size_t count) {
    std::wstring text;
    text.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        char32_t unit = units[i];
        if (isHighSurrogate(unit) && i + 1 < count && isLowSurrogate(units[i + 1])) {
            char32_t low = units[++i];
            text.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            text.push_back(static_cast<wchar_t>(REPLACEMENT));
        } else {
            text.push_back(static_cast<wchar_t>(unit));
        }
    }
    return text;
}

std::string toBytesLE(std::u16string_view units) {
    std::string bytes;
    bytes.reserve(units.size() * 2);
    for (char16_t unit : units) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

std::u16string fromBytesLE(std::string_view bytes) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                              static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return units;
}

}  // namespace utf16
