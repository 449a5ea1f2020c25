#pragma once

// The text of a word-list file, whatever its encoding, as UTF-8 without a byte order mark, and
// strict decoding of its fields.
//
// UTF-8 files (with or without a BOM) are taken as they are; UTF-16 files with a BOM (either byte
// order) are converted. A UTF-16 unit that makes no character (a lone surrogate, an odd last
// byte) becomes the byte 0xFF, which is never valid UTF-8, so the field holding it is refused
// when it is decoded instead of the whole file.

#include <cstddef>
#include <string>
#include <string_view>

namespace exchange {

enum class FileEncoding { Utf8, Utf8Bom, Utf16LE, Utf16BE };

struct FileText {
    FileEncoding encoding = FileEncoding::Utf8;
    std::string utf8;
};

// Takes the file's bytes; the result holds the text as UTF-8 (the bytes are moved when no
// conversion is needed).
FileText decodeFileText(std::string bytes);

// The wide text of well-formed UTF-8; false (with `out` unspecified) for any byte sequence that
// is not: overlong forms, surrogates, values beyond U+10FFFF, cut-short sequences, stray bytes.
bool decodeUtf8Strict(std::string_view text, std::wstring& out);

// UTF-8 of wide text (values that are no character become U+FFFD).
std::string toUtf8(std::wstring_view text);

}  // namespace exchange
