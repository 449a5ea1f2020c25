#include "db/QueryText.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace query_text {

namespace {

std::size_t skipBlanks(std::wstring_view text, std::size_t pos) {
    while (pos < text.size() && isBlank(text[pos])) {
        ++pos;
    }
    return pos;
}

std::wstring_view readWord(std::wstring_view text, std::size_t& pos) {
    pos = skipBlanks(text, pos);
    const std::size_t start = pos;
    while (pos < text.size() && !isBlank(text[pos])) {
        ++pos;
    }
    return text.substr(start, pos - start);
}

bool onlyBlanks(std::wstring_view text) {
    return skipBlanks(text, 0) == text.size();
}

}  // namespace

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f';
}

bool splitFilter(std::wstring_view text, std::wstring& attribute, std::wstring& op, std::wstring& value) {
    std::size_t pos = 0;
    attribute = readWord(text, pos);
    op = readWord(text, pos);
    value = pos < text.size() ? std::wstring(text.substr(pos + 1)) : std::wstring();
    return !attribute.empty() && !op.empty();
}

bool splitOrdering(std::wstring_view text, std::wstring& keyword, std::wstring& attribute) {
    std::size_t pos = 0;
    keyword = readWord(text, pos);
    attribute = readWord(text, pos);
    return !keyword.empty() && !attribute.empty();
}

int operatorMask(std::wstring_view op) {
    if (op == L"==") return 1;
    if (op == L"<") return 2;
    if (op == L"<=") return 3;
    if (op == L">") return 4;
    if (op == L">=") return 5;
    if (op == L"!=") return 6;
    if (op == L"CONTAINS") return 8;
    if (op == L"!CONTAINS") return 16;
    return 0;
}

bool parseNumber(std::wstring_view value, std::int32_t& number) {
    if (onlyBlanks(value)) {
        number = 0;
        return true;
    }
    std::size_t pos = skipBlanks(value, 0);
    bool negative = false;
    if (pos < value.size() && (value[pos] == L'+' || value[pos] == L'-')) {
        negative = value[pos] == L'-';
        ++pos;
    }
    const std::size_t firstDigit = pos;
    long long magnitude = 0;
    constexpr long long limit = static_cast<long long>(std::numeric_limits<std::int32_t>::max()) + 1;
    while (pos < value.size() && value[pos] >= L'0' && value[pos] <= L'9') {
        magnitude = std::min(limit, magnitude * 10 + (value[pos] - L'0'));
        ++pos;
    }
    if (pos == firstDigit) {
        return false;
    }
    const long long signedValue = negative ? -magnitude : std::min(magnitude, limit - 1);
    number = static_cast<std::int32_t>(signedValue);
    return true;
}

bool parseReal(std::wstring_view value, double& real) {
    if (onlyBlanks(value)) {
        real = 0.0;
        return true;
    }
    std::size_t pos = skipBlanks(value, 0);
    if (pos < value.size() && value[pos] == L'+') {
        ++pos;
    }
    std::string ascii;
    for (; pos < value.size() && value[pos] > 0 && value[pos] < 0x80 && !isBlank(value[pos]); ++pos) {
        ascii.push_back(static_cast<char>(value[pos]));
    }
    double parsed = 0.0;
    auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), parsed);
    if (end == ascii.data()) {
        return false;
    }
    // Out of range: like the C library, saturate rather than fail.
    real = error == std::errc::result_out_of_range
               ? (ascii.front() == '-' ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity())
               : parsed;
    return true;
}

bool parseBool(std::wstring_view value, bool& flag) {
    if (value == L"TRUE") {
        flag = true;
        return true;
    }
    if (value == L"FALSE") {
        flag = false;
        return true;
    }
    return false;
}

}  // namespace query_text
