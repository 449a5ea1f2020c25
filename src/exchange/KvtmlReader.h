#pragma once

// Reads KVTML 2 with libxml2's SAX parser, fed from memory in pieces, so a large file is never
// held as a document tree: the head (identifiers, word types, lessons) in one pass over the whole
// file, then the entries one by one in a second pass. Nothing outside the file is ever read: no
// DTD is loaded, the network is off, and a file that declares entities of its own (<!ENTITY ...>,
// the way to both the "billion laughs" and reading other files) is refused at the declaration;
// the five predefined entities and character references are read as usual. A malformed file is
// refused with the line and column of the first error.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "exchange/KvtmlDocument.h"

namespace exchange {

struct KvtmlError {
    unsigned line = 0;
    unsigned column = 0;
    std::string message;  // one line, no final full stop

    std::string describe() const;
};

class KvtmlReader {
public:
    // `bytes` (the whole file) must outlive the reader.
    explicit KvtmlReader(std::string_view bytes);
    ~KvtmlReader();
    KvtmlReader(const KvtmlReader&) = delete;
    KvtmlReader& operator=(const KvtmlReader&) = delete;

    // The first pass; false with error() set when the file is not a readable KVTML file.
    bool readHead();
    const KvtmlHead& head() const { return head_; }

    // The next entry (after readHead); false at the end, or with error() set when the file
    // turned out malformed further on.
    bool next(KvtmlEntry& entry);
    // Back to the first entry.
    void restart();

    const KvtmlError* error() const { return error_.message.empty() ? nullptr : &error_; }
    std::size_t bytesRead() const;
    std::size_t size() const { return bytes_.size(); }

    class Pass;

private:
    std::string_view bytes_;
    KvtmlHead head_;
    KvtmlError error_;
    std::unique_ptr<Pass> pass_;
};

}  // namespace exchange
