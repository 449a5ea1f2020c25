#pragma once

// A word-list file opened for import: read whole (up to MAX_IMPORT_BYTES), its format told from
// its content (an XML file whose root is <kvtml> is KVTML, anything else delimited text), its head
// read, and rows handed out for the columns or identifiers the user chooses.

#include <memory>
#include <string>
#include <vector>

#include "exchange/DelimitedRows.h"
#include "exchange/KvtmlReader.h"
#include "exchange/TextDecoding.h"

namespace exchange {

inline constexpr std::size_t MAX_IMPORT_BYTES = std::size_t{256} << 20;

enum class FileFormat { Delimited, Kvtml };

class ImportFile {
public:
    // Nothing, with the reason in `problem`, when the file cannot be read, is too large, or is a
    // KVTML file that is malformed (with the line and column of the error).
    static std::unique_ptr<ImportFile> open(const std::string& path, std::wstring& problem);
    static std::unique_ptr<ImportFile> fromBytes(std::string bytes, std::wstring& problem);

    FileFormat format() const { return format_; }

    // Delimited text: the reader (its header and separator) and its number of columns.
    DelimitedReader& delimited() { return *delimited_; }
    std::size_t columns() const { return columns_; }
    // KVTML: the reader, its head read.
    KvtmlReader& kvtml() { return *kvtml_; }

    std::unique_ptr<RowSource> rows(const std::vector<ColumnRole>& roles);
    std::unique_ptr<RowSource> rows(int foreignIdentifier, int knownIdentifier);

private:
    ImportFile() = default;

    FileFormat format_ = FileFormat::Delimited;
    std::string bytes_;
    FileText text_;
    std::unique_ptr<DelimitedReader> delimited_;
    std::size_t columns_ = 0;
    std::unique_ptr<KvtmlReader> kvtml_;
};

// Whether the bytes are a KVTML file (its root element, after any declaration, comments and
// DOCTYPE, is <kvtml>).
bool looksLikeKvtml(std::string_view bytes);

}  // namespace exchange
