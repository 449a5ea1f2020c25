#pragma once

// Why a row of a word list is not imported, with the line it starts on.

#include <string>

namespace exchange {

enum class RowField { Foreign, Known, Article, Pronunciation, Mnemonic, Lesson, Category };

enum class RefusalKind {
    None,
    BadEncoding,     // a field is not valid in the file's encoding (column)
    UnclosedQuote,   // a quoted field runs to the end of the file
    NoForeignWord,
    NoKnownWord,
    TooLong,         // a field is longer than the editor's fields hold (field, length)
    UnknownArticle,  // an article the foreign language does not have (text)
};

// What a text field of the editors holds at most; a longer text could not be edited.
inline constexpr unsigned MAX_FIELD_CHARACTERS = 50;

struct Refusal {
    unsigned line = 0;
    RefusalKind kind = RefusalKind::None;
    RowField field = RowField::Foreign;
    unsigned column = 0;
    unsigned length = 0;
    std::wstring text;
};

// "Line 12: no known word", in the interface language.
std::wstring describe(const Refusal& refusal);
std::wstring fieldName(RowField field);

}  // namespace exchange
