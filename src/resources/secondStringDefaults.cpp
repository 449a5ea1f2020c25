#include <iterator>

#include "resources/SecondStrings.h"

namespace {

// A backslash-n is a line break in the text. Unsized on purpose: the static_assert below catches
// an entry added to the enumeration without its text.
constexpr const wchar_t* kSecondStrings[] = {
    /* String2_IMPORT */ L"Import",
    /* String2_EXPORT */ L"Export",
    /* String2_REFUSED_LINE */ L"Line %u: %ls",
    /* String2_REFUSAL_BAD_ENCODING */ L"column %u is not valid text in the encoding of the file",
    /* String2_REFUSAL_UNCLOSED_QUOTE */ L"a quote opened here is never closed",
    /* String2_REFUSAL_NO_FOREIGN */ L"no foreign word",
    /* String2_REFUSAL_NO_KNOWN */ L"no known word",
    /* String2_REFUSAL_TOO_LONG */ L"the %ls has %u characters; a field holds at most %u",
    /* String2_REFUSAL_UNKNOWN_ARTICLE */ L"\"%ls\" is not an article of the foreign language",
    /* String2_FIELD_FOREIGN */ L"foreign word",
    /* String2_FIELD_KNOWN */ L"known word",
    /* String2_FIELD_ARTICLE */ L"article",
    /* String2_FIELD_PRONUNCIATION */ L"pronunciation",
    /* String2_FIELD_MNEMONIC */ L"mnemonic",
    /* String2_FIELD_LESSON */ L"lesson",
    /* String2_FIELD_CATEGORY */ L"category",
    /* String2_FILE_UNREADABLE */ L"The file %ls cannot be read: %ls",
    /* String2_FILE_TOO_LARGE */ L"The file is larger than %u MiB, more than a word list can be.",
    /* String2_FILE_MALFORMED */ L"The file is not a readable KVTML file (%ls).",
    /* String2_FILE_UNWRITABLE */ L"The file %ls cannot be written: %ls",
    /* String2_CHOOSE_LANGUAGES */ L"Choose the foreign and the known language.",
    /* String2_LANGUAGES_MUST_DIFFER */ L"The foreign and the known language must differ.",
    /* String2_CHOOSE_COLUMNS */ L"Choose a column for the foreign words and one for the known words.",
};
static_assert(std::size(kSecondStrings) == STRING2_ENDTAG);

}  // namespace

const wchar_t* defaultSecondString(int index) {
    return index >= 0 && index < STRING2_ENDTAG ? kSecondStrings[index] : nullptr;
}
