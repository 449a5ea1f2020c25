#include <iterator>

#include "resources/SecondStrings.h"

namespace {

// A backslash-n is a line break in the text. Unsized on purpose: the static_assert below catches
// an entry added to the enumeration without its text.
constexpr const wchar_t* kSecondStrings[] = {
    /* String2_IMPORT */ L"Import",
    /* String2_EXPORT */ L"Export",
};
static_assert(std::size(kSecondStrings) == STRING2_ENDTAG);

}  // namespace

const wchar_t* defaultSecondString(int index) {
    return index >= 0 && index < STRING2_ENDTAG ? kSecondStrings[index] : nullptr;
}
