#pragma once

// The transaction tests' handful of files beside their log: six files in two directories (the
// even ones there before, the odd ones new) and one to remove.
#include <filesystem>
#include <map>
#include <string>

#include "support/TempDirTest.h"

namespace mernolex::test {

class UnitFilesTest : public TempDirTest {
protected:
    using Files = std::map<std::string, std::string>;

    static inline const std::string JOURNAL = "Data/unit.journal";
    static constexpr unsigned FILES = 6;

    static std::string path(unsigned i) {
        return "Data/" + std::string(i % 2 == 0 ? "A/" : "B/") + std::to_string(i) + ".dat";
    }

    // What the file system shows, read around it (std::filesystem): files behind the log stay old.
    static Files onDisk() {
        Files found;
        for (const auto& entry : std::filesystem::recursive_directory_iterator("Data")) {
            if (entry.is_regular_file() && entry.path() != JOURNAL) {
                found[entry.path().generic_string()] = readFile(entry.path());
            }
        }
        return found;
    }

    static void writeOld() {
        std::filesystem::remove_all("Data");
        for (unsigned i = 0; i < FILES; i += 2) {
            writeFile(path(i), "old " + std::to_string(i));
        }
        writeFile("Data/B/gone.dat", "old gone");
    }
};

}  // namespace mernolex::test
