#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The entries of a large unit of the transaction log (base/TransactionLog.h), written to a file
// beside the log as each file's contents are made, instead of being held in memory until the
// commit: an import's unit is tens of megabytes, and its contents used to stay in memory twice
// (staged, then queued for the in-place writes). The spool holds the unit's "W" entries exactly
// as the log will; the commit copies them into the log behind the unit's header
// (base/BackgroundAppend.h). The spool is never read after a crash (its name is a temporary
// file's, which the next start removes).
class UnitSpool {
public:
    // A file the unit writes: where its contents lie in the spool.
    struct Entry {
        std::string path;
        off_t offset;
        std::size_t size;
        bool targetIsNew;  // the file did not exist when it was staged
    };

    UnitSpool() = default;
    UnitSpool(const UnitSpool&) = delete;
    UnitSpool& operator=(const UnitSpool&) = delete;
    ~UnitSpool();  // removes the spool

    // Creates (or empties) the spool at `path`; false when it cannot.
    bool open(std::string path);
    // Appends an entry through a buffer; false once a write failed.
    bool add(const std::string& target, std::string_view contents, bool targetIsNew);
    // Writes what the buffer holds; false when anything could not be written.
    bool flush();
    // Closes and removes the spool.
    void discard();

    int descriptor() const { return fd; }
    off_t size() const { return written + static_cast<off_t>(buffer.size()); }
    const std::vector<Entry>& entries() const { return files; }

private:
    std::string path;
    int fd = -1;
    bool failed = false;
    off_t written = 0;
    std::string buffer;
    std::vector<Entry> files;
};
