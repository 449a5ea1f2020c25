// Feeds arbitrary bytes to the framework file loaders. The input is split into the five files:
//   offset  size  content
//   0       2     length of colours.dat
//   2       2     length of fonts.dat
//   4       2     length of fontfaces.dat
//   6       2     length of stringpositions.dat
//   8       ...   those four files in this order, then the rest is strings.dat
// Lengths are 16-bit little-endian and cut to what the input holds; 0xFFFF leaves the file out.
//
// Whatever the bytes, loadValues must neither crash nor read out of bounds, must leave complete
// tables (the defaults when it fails), and what it leaves must save and load back unchanged.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "resources/frameworkDefaults.h"
#include "resources/frameworkFileManager.h"

namespace {

namespace fs = std::filesystem;

constexpr std::array<const char*, 5> kFiles = {
    "Data/Framework/colours.dat", "Data/Framework/fonts.dat", "Data/Framework/fontfaces.dat",
    "Data/Framework/stringpositions.dat", "Data/Framework/strings.dat"};
constexpr std::size_t kLengthFields = 4;
constexpr std::uint16_t kAbsent = 0xFFFF;

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Works in a private directory of its own, removed when the fuzzer ends.
void enterScratchDirectory() {
    static fs::path directory;
    if (!directory.empty()) {
        return;
    }
    directory = fs::temp_directory_path() / ("mernolex-fuzz-" + std::to_string(getpid()));
    fs::create_directories(directory / "Data/Framework");
    fs::current_path(directory);
    std::atexit([] {
        std::error_code ignored;
        fs::current_path(directory.parent_path(), ignored);
        fs::remove_all(directory, ignored);
    });
}

void writeFile(const char* path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void writeFiles(const std::uint8_t* data, std::size_t size) {
    std::array<std::uint16_t, kLengthFields> lengths{};
    for (std::size_t i = 0; i < kLengthFields; ++i) {
        lengths[i] = 2 * i + 1 < size ? static_cast<std::uint16_t>(data[2 * i] | data[2 * i + 1] << 8)
                                      : kAbsent;
    }
    std::size_t offset = std::min(size, 2 * kLengthFields);
    for (std::size_t i = 0; i < kFiles.size(); ++i) {
        std::error_code ignored;
        fs::remove(kFiles[i], ignored);
        if (i < kLengthFields && lengths[i] == kAbsent) {
            continue;
        }
        const std::size_t length =
            i < kLengthFields ? std::min<std::size_t>(lengths[i], size - offset) : size - offset;
        writeFile(kFiles[i], data + offset, length);
        offset += length;
    }
}

struct Tables {
    std::array<COLORREF, RGB_ENDTAG> colours{};
    std::array<int, FONT_ENDTAG> fonts{};
    std::string face;
    std::array<std::wstring, STRING_ENDTAG> texts;

    bool operator==(const Tables&) const = default;
};

Tables currentTables() {
    Tables tables;
    std::copy(std::begin(colours), std::end(colours), tables.colours.begin());
    std::copy(std::begin(fonts), std::end(fonts), tables.fonts.begin());
    check(fontfaces[FONT1] != nullptr);
    tables.face = fontfaces[FONT1];
    for (int index = 0; index < STRING_ENDTAG; ++index) {
        check(curStrings[index] != nullptr);
        tables.texts[index] = curStrings[index];
    }
    return tables;
}

Tables defaultTables() {
    framewResetResources();
    loadDefaults();
    return currentTables();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    enterScratchDirectory();
    static const Tables defaults = defaultTables();
    writeFiles(data, size);

    framewResetResources();
    const bool loaded = loadValues();
    const Tables afterLoad = currentTables();
    check(loaded || afterLoad == defaults);

    check(saveValues());
    framewResetResources();
    check(loadValues());
    check(currentTables() == afterLoad);
    return 0;
}
