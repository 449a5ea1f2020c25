#pragma once

#include <fstream>
#include <string>
#include <string_view>

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
    // True when the target now holds exactly what was written (or, inside a transaction, when the
    // transaction holds it for its commit).
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

// Makes the renames and removals done in a directory durable ("" is the working directory).
void syncDirectory(const std::string& directory);
// The same for the directory that holds `path`.
void syncDirectoryOf(const std::string& path);

// Renames target + ".tmp" over target (one counted file step); with syncDirectory the directory
// is fsynced afterwards. For AtomicFile and FileTransaction.
bool renameTemporaryOver(const std::string& target, bool syncDirectory);

// Test hook: the file steps (writing a temporary file, a rename, a removal) are counted, and the
// step chosen here fails as a crash at that moment would leave it: a write leaves a torn
// temporary file, a rename or removal does not happen. Production code never arms it.
namespace fileFaults {

// Makes the n-th step from now fail (n >= 1); 0 disarms.
void failStep(unsigned n);
// True when the armed failure has happened since failStep.
bool fired();
// Counts a step; true when this step is to fail.
bool nextStepFails();

}  // namespace fileFaults
