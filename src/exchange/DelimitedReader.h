#pragma once

// Delimited text, one record per line: tab, semicolon, comma, pipe or any other one character
// between the fields, fields quoted in the CSV manner ("" inside quotes is one quote; a quoted
// field may hold separators and line breaks), LF or CRLF line ends. Optional header lines at the
// very top, each "#key:value" (keys in either case):
//
//   #separator:Tab            Tab, Comma, Semicolon, Space, Pipe, Colon or one literal character
//   #html:true                fields hold HTML (the caller turns them into text)
//   #columns:Front<sep>Back   the column names, separated by the separator
//   #tags:a b / #deck:Name    tags and deck of every record
//   #tags column:N            column N (1-based) holds the record's tags; likewise
//   #deck column:N, #notetype column:N, #guid column:N
//
// Other lines starting with "#" at the top are ignored. Without a separator line the separator is
// guessed from the first records: the first of tab, semicolon, comma and pipe that splits all of
// them into the same number of fields (two or more, quotes taken into account); failing that, the
// one that gives the most fields; a single column is read with tab.
//
// The reader works on UTF-8 text the caller keeps (exchange/TextDecoding.h); fields are handed
// out as UTF-8, unchecked: decoding them is the caller's step, so a bad byte refuses one row.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace exchange {

struct DelimitedHeader {
    std::string separator;  // UTF-8 of the separator given by the header; empty: guessed
    bool html = false;
    std::string columnsLine;  // the raw value of #columns:
    std::string deck;         // #deck: for every record
    std::string tags;         // #tags: for every record
    unsigned tagsColumn = 0;  // 1-based column numbers; 0 = none
    unsigned deckColumn = 0;
    unsigned notetypeColumn = 0;
    unsigned guidColumn = 0;
};

struct DelimitedRecord {
    unsigned line = 0;  // the file line the record starts on, 1-based
    std::vector<std::string> fields;
    bool unclosedQuote = false;  // a quoted field ran to the end of the file
};

class DelimitedReader {
public:
    // `text` must outlive the reader.
    explicit DelimitedReader(std::string_view text);

    const DelimitedHeader& header() const { return header_; }
    // The separator in use (given or guessed), as UTF-8.
    const std::string& separator() const { return separator_; }
    // The column names of the #columns: line, split at the separator; empty without one.
    std::vector<std::string> columnNames() const;

    // The next record that holds anything but empty fields; false at the end of the text.
    bool next(DelimitedRecord& record);
    // Back to the first record.
    void restart();
    std::size_t bytesRead() const { return position_; }
    std::size_t size() const { return text_.size(); }

private:
    void readHeaderLines();
    void takeHeaderLine(std::string_view line);
    void guessSeparator();
    // Reads one record (empty or not) from position_; false at the end.
    bool readRecord(DelimitedRecord& record);
    void readQuotedField(std::string& field, DelimitedRecord& record);
    bool atSeparator() const;
    // At a line end: consumes it (LF, CRLF or CR) and counts the line.
    bool takeLineEnd();

    std::string_view text_;
    DelimitedHeader header_;
    std::string separator_;
    std::size_t bodyStart_ = 0;
    unsigned bodyLine_ = 1;
    std::size_t position_ = 0;
    unsigned line_ = 1;
};

// Splits `text` at every occurrence of `separator` (no quoting).
std::vector<std::string> splitPlain(std::string_view text, std::string_view separator);

}  // namespace exchange
