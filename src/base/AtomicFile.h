#pragma once

#include <memory>
#include <sstream>
#include <string>
#include <string_view>

// Replaces a file whole or not at all.
//
// The new contents are kept in memory until commit. On its own, commit writes them to a temporary
// file beside the target (target + ".tmp"), fsyncs it, renames it over the target and fsyncs the
// directory, so after commit returns true the new contents survive a power loss. Until then the
// target is untouched, and an interrupted write leaves at most a stray temporary file, which no
// reader looks at.
//
// While a FileTransaction is active, or while a transaction log holds changes not yet made
// durable in place (base/FileTransaction.h), commit hands the contents to the transaction (an
// active one, or a unit of their own): every write then goes through the log, so that replaying
// it after a crash can never put back an older file over a newer one.
//
// Every file operation goes through the file system in use (base/FileSystem.h).
class AtomicFile {
public:
    explicit AtomicFile(std::string target);
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile() = default;

    // False when a transaction that could not finish the one before it takes no files, or the
    // contents could not be kept.
    bool isOpen() const { return !blocked && contents.good(); }
    std::ostream& stream() { return contents; }
    // True when the target now holds exactly what was written, durably (or, inside a transaction,
    // when the transaction holds it for its commit). False when the write, its fsync or the
    // rename failed (the target is untouched), or when the directory could not be synced after
    // the rename (the target then holds the new contents, but they may not survive a power loss).
    bool commit();

    static std::string temporaryNameFor(const std::string& target) { return target + ".tmp"; }

private:
    bool commitDirect(const std::string& bytes);
    bool commitStaged(std::string bytes);

    std::string target;
    std::ostringstream contents{std::ios::binary};
    bool blocked = false;
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
// fsync of an open file or directory.
bool syncDescriptor(int fd);
// fdatasync of an open file (its contents and size, not its times).
bool syncDataOf(int fd);
// fsync of the file at `path`; true also when it no longer exists (nothing left to make durable).
bool syncFileIfPresent(const std::string& path);

// Renames target + ".tmp" over target; true when the rename happened. For AtomicFile and
// FileTransaction, which sync the directory afterwards.
bool renameTemporaryOver(const std::string& target);

// True when something (a file or a directory) is at `path`.
bool pathExists(const std::string& path);

// Removes the temporary files (names ending in ".tmp") that a crash left in a directory; a save
// that was interrupted before its commit point leaves them, and no reader looks at them. Only
// for start-up, after an interrupted commit has been finished (FileTransaction::recover), which
// still needs the temporary files its journal names. Returns how many were removed.
unsigned removeStrayTemporaries(const std::string& directory);
