#pragma once

// The program's own settings, beside the framework files: Data/Framework/settings.txt, a text
// file of lines "name=value" (values "yes" or "no"), written whole or not at all (base/AtomicFile).
// The stored framework files keep their formats; a setting added later is one more line here.
//
// Reading trusts nothing: an unknown name, a line that is no setting and a value that is neither
// yes nor no leave the defaults in force; lines this version does not know are written back as
// they were, so that a newer version's settings survive an older one. A file larger than
// MAX_FILE_BYTES is not read at all.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct ProgramSettings {
    static constexpr std::size_t MAX_FILE_BYTES = 64 * 1024;

    // Speak the foreign word after each judged answer in practice.
    bool speakAfterJudging = false;
    // Lines of the file this version does not know, in their order.
    std::vector<std::string> otherLines;

    // The settings a file's bytes hold.
    static ProgramSettings parse(std::string_view bytes);
    // The file's bytes for these settings.
    std::string format() const;
};

// The settings in force: read from the file on first use (defaults without one).
const ProgramSettings& programSettings();
// Stores a change in memory and in the file; false when the file could not be written (the
// change holds for this run all the same). Data/Framework is never created here.
bool setSpeakAfterJudging(bool on);
// Forgets what was read, so that the next use reads the file again (tests).
void resetProgramSettings();
