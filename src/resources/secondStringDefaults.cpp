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
    /* String2_IMPORT_WORDS */ L"Import words",
    /* String2_TRY_SAMPLE */ L"Try a sample collection",
    /* String2_NO_FLASHCARDS_YET */ L"There are no flashcards yet.",
    /* String2_IMPORT_FILE_HINT */ L"Delimited text (Anki's text export, .txt, .tsv, .csv) or KVTML (.kvtml)",
    /* String2_CHOOSE_FILE */ L"Choose a file",
    /* String2_WORD_LISTS */ L"Word lists",
    /* String2_ALL_FILES */ L"All files",
    /* String2_UPDATE_DUPLICATES */ L"Update duplicates",
    /* String2_SKIP_DUPLICATES */ L"Skip duplicates",
    /* String2_SPLIT_ARTICLES */ L"Split off a leading article",
    /* String2_PREVIEW */ L"Preview",
    /* String2_REFUSED_ROWS */ L"Refused rows",
    /* String2_IMPORT_COUNTS */ L"Rows: %u   New: %u   Updated: %u   Skipped: %u   Merged: %u   Refused: %u",
    /* String2_IMPORT_REST */ L"Import the rest",
    /* String2_IMPORTING */ L"Importing",
    /* String2_ROWS_OF */ L"%u of %u rows",
    /* String2_IMPORT_DONE */ L"Stored: %u new cards, %u updated.",
    /* String2_FATE_NEW */ L"new",
    /* String2_FATE_UPDATED */ L"update",
    /* String2_FATE_SKIPPED */ L"skip",
    /* String2_FATE_MERGED */ L"merged",
    /* String2_FATE_REFUSED */ L"refused",
    /* String2_ROLE_FOREIGN */ L"Foreign word",
    /* String2_ROLE_KNOWN */ L"Known words",
    /* String2_ROLE_ARTICLE */ L"Article",
    /* String2_ROLE_PRONUNCIATION */ L"Pronunciation",
    /* String2_ROLE_MNEMONIC */ L"Mnemonic",
    /* String2_ROLE_LESSON */ L"Lesson",
    /* String2_ROLE_CATEGORY */ L"Category",
    /* String2_ROLE_TAGS */ L"Tags",
    /* String2_ROLE_SKIP */ L"Skip",
    /* String2_FOREIGN_FROM */ L"Foreign from",
    /* String2_KNOWN_FROM */ L"Known from",
    /* String2_NEW_LANGUAGE */ L"(new)",
    /* String2_EXPORT_TITLE */ L"Export words",
    /* String2_FORMAT_DELIMITED */ L"Delimited text (Anki)",
    /* String2_FORMAT_KVTML */ L"KVTML",
    /* String2_EXPORT_DONE */ L"%u cards written to %ls",
    /* String2_NOTHING_TO_EXPORT */ L"There are no flashcards to export.",
    /* String2_SAMPLE_MISSING */ L"The sample collection cannot be found (%ls).",
    /* String2_DONE */ L"Done",
    /* String2_NOTHING_TO_IMPORT */ L"There is nothing to import: every row is refused or skipped.",
};
static_assert(std::size(kSecondStrings) == STRING2_ENDTAG);

}  // namespace

const wchar_t* defaultSecondString(int index) {
    return index >= 0 && index < STRING2_ENDTAG ? kSecondStrings[index] : nullptr;
}
