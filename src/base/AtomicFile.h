#pragma once

#include <fstream>
#include <string>

// Replaces a file whole or not at all. The new contents go to a temporary file beside the target
// (target + ".tmp"), which commit flushes, fsyncs and renames over the target; until then the
// target is untouched, and an interrupted write leaves at most a stray temporary file, which no
// reader looks at.
class AtomicFile {
public:
    explicit AtomicFile(std::string target);
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    // Removes the temporary file unless commit succeeded (or an injected fault tore it, which
    // stays behind as after a crash).
    ~AtomicFile();

    // False when the temporary file could not be created.
    bool isOpen() const { return out.is_open() && out.good(); }
    std::ofstream& stream() { return out; }
    // True when the target now holds exactly what was written.
    bool commit();

    static std::string temporaryNameFor(const std::string& target) { return target + ".tmp"; }

private:
    std::string target;
    std::string temporary;
    std::ofstream out;
    bool committed = false;
    bool tornByFault = false;
};

// Removes a file; true when it is gone afterwards (a file that was never there counts as gone).
bool removeFileIfPresent(const std::string& path);

// Makes the renames and removals done in the directory of `path` durable.
void syncDirectoryOf(const std::string& path);

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
