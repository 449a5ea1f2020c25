#pragma once

#include <fstream>
#include <string>
#include <string_view>

#include "base/FileFaults.h"

// Replaces a file whole or not at all. The new contents go to a temporary file beside the target
// (target + ".tmp"); commit flushes and fsyncs it, renames it over the target and fsyncs the
// directory, so after commit returns true the new contents survive a power loss. Until then the
// target is untouched, and an interrupted write leaves at most a stray temporary file, which no
// reader looks at.
//
// While a FileTransaction is active, commit only hands the finished temporary file to it: the
// rename happens when the whole transaction commits (base/FileTransaction.h).
class AtomicFile {
public:
    explicit AtomicFile(std::string target);
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    // Removes the temporary file unless commit succeeded, handed it to a transaction, or an
    // injected fault tore it (which stays behind as after a crash).
    ~AtomicFile();

    // False when the temporary file could not be created.
    bool isOpen() const { return out.is_open() && out.good(); }
    std::ofstream& stream() { return out; }
    // True when the target now holds exactly what was written, durably (or, inside a transaction,
    // when the transaction holds it for its commit). False when the write, its fsync or the
    // rename failed (the target is untouched), or when the directory could not be synced after
    // the rename (the target then holds the new contents, but they may not survive a power loss).
    bool commit();

    static std::string temporaryNameFor(const std::string& target) { return target + ".tmp"; }

private:
    std::string target;
    std::string temporary;
    std::ofstream out;
    bool keepTemporary = false;
};

// Writes `contents` as the whole new content of `path` through an AtomicFile; false when the
// file could not be written or replaced (the old file then stays as it was).
bool replaceFile(const std::string& path, std::string_view contents);

// Removes a file; true when it is gone afterwards (a file that was never there counts as gone).
// Inside a transaction the removal waits for the transaction's commit.
bool removeFileIfPresent(const std::string& path);

// Makes the renames and removals done in a directory durable ("" is the working directory);
// false when the directory cannot be opened or its fsync fails.
bool syncDirectory(const std::string& directory);
// The same for the directory that holds `path`.
bool syncDirectoryOf(const std::string& path);
// The directory part of a path, up to and including its last '/' ("" for a bare name).
std::string directoryOf(const std::string& path);

// Renames target + ".tmp" over target (one counted file step); true when the rename happened.
// For AtomicFile and FileTransaction, which sync the directory afterwards.
bool renameTemporaryOver(const std::string& target);

// Removes the temporary files (names ending in ".tmp") that a crash left in a directory; a save
// that was interrupted before its commit point leaves them, and no reader looks at them. Only
// for start-up, after an interrupted commit has been finished (FileTransaction::recover), which
// still needs the temporary files its journal names. Returns how many were removed.
unsigned removeStrayTemporaries(const std::string& directory);
