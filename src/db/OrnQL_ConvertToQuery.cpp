#include "db/OrnQL_ConvertToQuery.h"

#include <charconv>
#include <string>

#include "base/Utf8.h"

namespace {

std::wstring joined(const wchar_t* preString, const std::wstring& value) {
    std::wstring text(preString == nullptr ? L"" : preString);
    text += L' ';
    text += value;
    return text;
}

std::wstring widen(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

// The one buffer that every ctq call replaces.
std::wstring& tempString() {
    static std::wstring text;
    return text;
}

template <typename Value>
const wchar_t* inTempString(const wchar_t* preString, Value value) {
    const std::wstring text = queryText(preString, value);
    tempString().assign(text);  // a copy into the buffer the last result used
    return tempString().c_str();
}

}  // namespace

std::wstring queryText(const wchar_t* preString, const char* value) {
    return joined(preString, utf8::decode(value == nullptr ? "" : value));
}

std::wstring queryText(const wchar_t* preString, const wchar_t* value) {
    return joined(preString, value == nullptr ? L"" : value);
}

std::wstring queryText(const wchar_t* preString, int value) {
    return joined(preString, std::to_wstring(value));
}

std::wstring queryText(const wchar_t* preString, long value) {
    return joined(preString, std::to_wstring(value));
}

std::wstring queryText(const wchar_t* preString, unsigned int value) {
    return joined(preString, std::to_wstring(value));
}

std::wstring queryText(const wchar_t* preString, unsigned long value) {
    return joined(preString, std::to_wstring(value));
}

// Formatted without the C locale functions, so a locale set for the interface (with a decimal
// comma) cannot change the text the parser will read.
std::wstring queryText(const wchar_t* preString, double value) {
    char digits[400];
    auto [end, error] = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 6);
    return joined(preString, error == std::errc() ? widen(std::string(digits, end)) : L"0.000000");
}

std::wstring queryText(const wchar_t* preString, bool value) {
    return joined(preString, value ? L"TRUE" : L"FALSE");
}

const wchar_t* ctq(const wchar_t* preString, const char* value) { return inTempString(preString, value); }
const wchar_t* ctq(const wchar_t* preString, const wchar_t* value) { return inTempString(preString, value); }
const wchar_t* ctq(const wchar_t* preString, int value) { return inTempString(preString, value); }
const wchar_t* ctq(const wchar_t* preString, long value) { return inTempString(preString, value); }
const wchar_t* ctq(const wchar_t* preString, unsigned int value) { return inTempString(preString, value); }
const wchar_t* ctq(const wchar_t* preString, unsigned long value) { return inTempString(preString, value); }
const wchar_t* ctq(const wchar_t* preString, double value) { return inTempString(preString, value); }
const wchar_t* ctq(const wchar_t* preString, bool value) { return inTempString(preString, value); }
