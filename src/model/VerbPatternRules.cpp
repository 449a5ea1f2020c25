// The rewrite rules of verb patterns: validation and conversion.
#include <algorithm>
#include <climits>
#include <cwctype>
#include <string_view>

#include "model/VerbPattern.h"

namespace {

struct Section {
    bool valid = true;
    unsigned cut = 0;
    std::wstring addition;
};

// The decimal number at the start of text, after blanks and an optional '+' (as a "%u"
// conversion reads it), saturated at UINT_MAX; false when there are no digits.
bool readCount(std::wstring_view text, unsigned& count) {
    std::size_t at = 0;
    while (at < text.size() && std::iswspace(static_cast<wint_t>(text[at]))) {
        ++at;
    }
    if (at < text.size() && text[at] == L'+') {
        ++at;
    }
    const std::size_t digits = at;
    unsigned long long value = 0;
    while (at < text.size() && text[at] >= L'0' && text[at] <= L'9') {
        value = std::min<unsigned long long>(value * 10 + static_cast<unsigned>(text[at] - L'0'), UINT_MAX);
        ++at;
    }
    count = static_cast<unsigned>(value);
    return at > digits;
}

// The section of the first occurrence of marker; an absent marker gives an empty, valid section.
Section readSection(std::wstring_view pattern, std::wstring_view marker) {
    Section section;
    const std::size_t at = pattern.find(marker);
    if (at == std::wstring_view::npos) {
        return section;
    }
    std::wstring_view text = pattern.substr(at + marker.size());
    text = text.substr(0, text.find(L'/'));
    const std::size_t minus = text.find(L'-');
    if (minus != std::wstring_view::npos && !readCount(text.substr(minus + 1), section.cut)) {
        section.valid = false;
    }
    const std::size_t plus = text.find(L'+');
    if (plus != std::wstring_view::npos) {
        std::wstring_view added = text.substr(plus + 1);
        added = added.substr(0, added.find_first_of(L"+-"));
        if (added.empty()) {
            section.valid = false;
        }
        section.addition.assign(added);
    }
    return section;
}

constexpr std::wstring_view PRE_MARKER = L"/pre";
constexpr std::wstring_view POST_MARKER = L"/post";

}  // namespace

bool VerbPattern::checkPatternString(const wchar_t* pattern) {
    const std::wstring_view text = pattern == nullptr ? L"" : pattern;
    return readSection(text, PRE_MARKER).valid && readSection(text, POST_MARKER).valid;
}

// An invalid section contributes what could be read of it; the conversion never fails.
void VerbPattern::convertWithPattern(const wchar_t* pattern, std::wstring& infinitive) {
    const std::wstring_view text = pattern == nullptr ? L"" : pattern;
    if (text.empty()) {
        return;
    }
    const Section pre = readSection(text, PRE_MARKER);
    const Section post = readSection(text, POST_MARKER);
    std::wstring stem = infinitive;
    stem.erase(stem.size() - std::min<std::size_t>(post.cut, stem.size()));
    stem.erase(0, std::min<std::size_t>(pre.cut, stem.size()));
    infinitive = pre.addition + stem + post.addition;
}
