// Feeds arbitrary rules and infinitives to the verb pattern syntax. Nothing may crash, a conversion
// never yields more than the infinitive plus the rule's length (what callers are promised to need
// for room), and a rule without markers leaves the infinitive as it is.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/VerbPattern.h"

namespace {

// Bytes as wide characters: ASCII mostly, with a few of the syntax characters made likely.
std::wstring widen(const uint8_t* data, size_t size) {
    std::wstring text;
    for (size_t i = 0; i < size; ++i) {
        text.push_back(data[i] == 0xFF ? L'\x00E9' : static_cast<wchar_t>(data[i] & 0x7F));
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t split = 0;
    while (split < size && data[split] != 0) {
        ++split;
    }
    std::wstring rule = widen(data, split);
    const std::wstring infinitive = split < size ? widen(data + split + 1, size - split - 1) : L"";
    rule = rule.c_str();  // the rule ends at its first zero, as stored texts do

    const bool valid = VerbPattern::checkPatternString(rule.c_str());
    std::wstring form = infinitive;
    VerbPattern::convertWithPattern(rule.c_str(), form);
    if (form.size() > infinitive.size() + rule.size()) {
        abort();
    }
    if (valid && rule.find(L"/pre") == std::wstring::npos && rule.find(L"/post") == std::wstring::npos &&
        form != infinitive) {
        abort();
    }
    return 0;
}
