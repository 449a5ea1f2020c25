#include "model/Grammar.h"

#include <climits>
#include <ctime>

Grammar::Grammar(const wchar_t* entryText)
    : text(entryText == nullptr ? L"" : entryText), timestamp(static_cast<std::int32_t>(std::time(nullptr))) {}

void Grammar::set_text(const wchar_t* value, bool save) {
    text = value == nullptr ? L"" : value;
    if (save) {
        saveRequest();
    }
}

int Grammar::orderByTimestamp(OrnQL_Base* const& a, OrnQL_Base* const& b) {
    const auto* first = dynamic_cast<const Grammar*>(a);
    const auto* second = dynamic_cast<const Grammar*>(b);
    if (first == nullptr || second == nullptr) {
        return 0;
    }
    const long long difference = static_cast<long long>(first->timestamp) - second->timestamp;
    return difference > INT_MAX ? INT_MAX : (difference < INT_MIN ? INT_MIN : static_cast<int>(difference));
}

void Grammar::loadGrammar(std::istream& in) {
    OrnQL_Base::loadText(text, in);
    loadValue(in, timestamp);
}

void Grammar::saveGrammar(std::ostream& out) const {
    OrnQL_Base::saveText(text, out);
    saveValue(out, timestamp);
}
