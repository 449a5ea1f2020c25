#include "db/OrnQL_ConvertToQuery.h"

#include <charconv>
#include <string>

namespace {

std::wstring& tempString() {
    static std::wstring text;
    return text;
}

const wchar_t* build(const wchar_t* preString, const std::wstring& value) {
    std::wstring& text = tempString();
    text.assign(preString == nullptr ? L"" : preString);
    text += L' ';
    text += value;
    return text.c_str();
}

std::wstring widen(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

// Decodes UTF-8 (the 8-bit texts of the program are ASCII; anything malformed becomes U+FFFD).
std::wstring widenUtf8(const char* text) {
    std::wstring wide;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    while (*bytes != 0) {
        unsigned char lead = *bytes++;
        int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
        if (extra < 0) {
            wide.push_back(L'\uFFFD');
            continue;
        }
        char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
        int taken = 0;
        while (taken < extra && (*bytes & 0xC0) == 0x80) {
            code = (code << 6) | (*bytes++ & 0x3F);
            ++taken;
        }
        wide.push_back(taken == extra && code <= 0x10FFFF ? static_cast<wchar_t>(code) : L'\uFFFD');
    }
    return wide;
}

}  // namespace

const wchar_t* ctq(const wchar_t* preString, const char* value) {
    return build(preString, widenUtf8(value == nullptr ? "" : value));
}

const wchar_t* ctq(const wchar_t* preString, const wchar_t* value) {
    return build(preString, value == nullptr ? L"" : value);
}

const wchar_t* ctq(const wchar_t* preString, int value) {
    return build(preString, std::to_wstring(value));
}

const wchar_t* ctq(const wchar_t* preString, long value) {
    return build(preString, std::to_wstring(value));
}

const wchar_t* ctq(const wchar_t* preString, unsigned int value) {
    return build(preString, std::to_wstring(value));
}

const wchar_t* ctq(const wchar_t* preString, unsigned long value) {
    return build(preString, std::to_wstring(value));
}

// Formatted without the C locale functions, so a locale set for the interface (with a decimal
// comma) cannot change the text the parser will read.
const wchar_t* ctq(const wchar_t* preString, double value) {
    char digits[400];
    auto [end, error] = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 6);
    return build(preString, error == std::errc() ? widen(std::string(digits, end)) : L"0.000000");
}

const wchar_t* ctq(const wchar_t* preString, bool value) {
    return build(preString, value ? L"TRUE" : L"FALSE");
}
