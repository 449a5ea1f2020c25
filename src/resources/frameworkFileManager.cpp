#include "resources/frameworkFileManager.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/AtomicFile.h"
#include "resources/ResourceFileBytes.h"
#include "resources/SecondStrings.h"
#include "resources/frameworkDefaults.h"

// File formats. Every number is a 32-bit signed little-endian integer; there is no header, magic
// or version. Paths are relative to the working directory.
//
// Data/Framework/colours.dat
//   offset   size  content
//   0        4     count, must be 10 (RGB_ENDTAG)
//   4        40    the colours in framew_rgb order, 4 bytes each (0x00BBGGRR)
//
// Data/Framework/fonts.dat
//   0        4     count, must be 2 (FONT_ENDTAG, the number of values per face)
//   4 + 16f  16    face f in framew_fontFaces order: size, weight, byte position of its name in
//                  fontfaces.dat, length of the name in bytes including its NUL
//
// Data/Framework/fontfaces.dat: the face names, 8-bit, each followed by its NUL, in face order.
//
// Data/Framework/stringpositions.dat
//   0        4     count, must be 134 (STRING_ENDTAG)
//   4 + 8i   4     byte position of text i in strings.dat
//   8 + 8i   4     length of text i in UTF-16 code units, including its NUL
//
// Data/Framework/strings.dat: the texts as UTF-16LE, each followed by a 16-bit NUL, in index order.
//
// Nothing read is trusted. A file shorter than its fixed part, a wrong count, a position or length
// that reaches outside its file, or a text without its NUL inside its length fails the load, and
// the tables keep what they held. Bytes after the fixed part are ignored, as are bytes after a
// text's first NUL.

COLORREF colours[RGB_ENDTAG] = {};
int fonts[FONT_ENDTAG] = {};
const char* fontfaces[FONTFACES_ENDTAG] = {};
const wchar_t* curStrings[STRING_ENDTAG] = {};

namespace {

using namespace resource_bytes;

static_assert(sizeof(int) == 4 && sizeof(COLORREF) == 4, "the files hold 32-bit values");
// fonts holds the values of a single face; a second face would need a second set of slots.
static_assert(FONTFACES_ENDTAG == 1);

constexpr const char* kColoursPath = "Data/Framework/colours.dat";
constexpr const char* kFontsPath = "Data/Framework/fonts.dat";
constexpr const char* kFontfacesPath = "Data/Framework/fontfaces.dat";
constexpr const char* kStringPositionsPath = "Data/Framework/stringpositions.dat";
constexpr const char* kStringsPath = "Data/Framework/strings.dat";

constexpr std::size_t kFaceEntrySize = 4 * kInt32Size;

using FaceNames = std::array<std::string, FONTFACES_ENDTAG>;
using Texts = std::array<std::wstring, STRING_ENDTAG>;

// The memory behind fontfaces and curStrings. Every change to it repoints the tables at once.
struct Storage {
    FaceNames faces;
    Texts texts;
};
Storage storage;

void commitFaces(FaceNames&& faces) {
    storage.faces = std::move(faces);
    for (int face = 0; face < FONTFACES_ENDTAG; ++face) {
        fontfaces[face] = storage.faces[face].c_str();
    }
}

void commitTexts(Texts&& texts) {
    storage.texts = std::move(texts);
    for (int index = 0; index < STRING_ENDTAG; ++index) {
        curStrings[index] = storage.texts[index].c_str();
    }
}

// The five files as they are written, built in memory first so that the positions of the names
// and texts are known before anything reaches the disk.
struct FileImages {
    std::string colours;
    std::string fonts;
    std::string fontfaces;
    std::string stringPositions;
    std::string strings;
};

std::optional<FileImages> buildFileImages() {
    FileImages images;
    appendInt32(images.colours, RGB_ENDTAG);
    for (const COLORREF colour : colours) {
        appendInt32(images.colours, static_cast<std::int32_t>(colour));
    }

    appendInt32(images.fonts, FONT_ENDTAG);
    for (const char* face : fontfaces) {
        const std::string_view name = face != nullptr ? face : "";
        const std::size_t position = images.fontfaces.size();
        images.fontfaces.append(name);
        images.fontfaces.push_back('\0');
        if (!fitsInt32(images.fontfaces.size())) {
            return std::nullopt;
        }
        appendInt32(images.fonts, fonts[F1_SIZE]);
        appendInt32(images.fonts, fonts[F1_fnWeight]);
        appendInt32(images.fonts, static_cast<std::int32_t>(position));
        appendInt32(images.fonts, static_cast<std::int32_t>(name.size() + 1));
    }

    std::optional<TextTableImages> strings =
        buildTextTable(std::vector<const wchar_t*>(std::begin(curStrings), std::end(curStrings)));
    if (!strings) {
        return std::nullopt;
    }
    images.stringPositions = std::move(strings->positions);
    images.strings = std::move(strings->texts);
    return images;
}

}  // namespace

bool loadColours() {
    const std::optional<std::string> file = readFile(kColoursPath);
    constexpr std::size_t fixedSize = kInt32Size + RGB_ENDTAG * kInt32Size;
    if (!file || file->size() < fixedSize || int32At(*file, 0) != RGB_ENDTAG) {
        return false;
    }
    for (int index = 0; index < RGB_ENDTAG; ++index) {
        colours[index] = static_cast<COLORREF>(int32At(*file, kInt32Size + index * kInt32Size));
    }
    return true;
}

bool loadFonts() {
    const std::optional<std::string> file = readFile(kFontsPath);
    const std::optional<std::string> faceFile = readFile(kFontfacesPath);
    constexpr std::size_t fixedSize = kInt32Size + FONTFACES_ENDTAG * kFaceEntrySize;
    if (!file || !faceFile || file->size() < fixedSize || int32At(*file, 0) != FONT_ENDTAG) {
        return false;
    }
    FaceNames names;
    int values[FONT_ENDTAG] = {};
    for (int face = 0; face < FONTFACES_ENDTAG; ++face) {
        const std::size_t entry = kInt32Size + face * kFaceEntrySize;
        values[F1_SIZE] = int32At(*file, entry);
        values[F1_fnWeight] = int32At(*file, entry + kInt32Size);
        const std::int32_t position = int32At(*file, entry + 2 * kInt32Size);
        const std::int32_t length = int32At(*file, entry + 3 * kInt32Size);
        const std::optional<std::string_view> stored = storedRange(*faceFile, position, length, 1);
        if (!stored) {
            return false;
        }
        const std::size_t end = stored->find('\0');
        if (end == std::string_view::npos) {
            return false;
        }
        names[face] = std::string(stored->substr(0, end));
    }
    std::copy(std::begin(values), std::end(values), std::begin(fonts));
    commitFaces(std::move(names));
    return true;
}

bool loadStrings() {
    const std::optional<std::string> positions = readFile(kStringPositionsPath);
    const std::optional<std::string> file = readFile(kStringsPath);
    if (!positions || !file || storedTextCount(*positions) != STRING_ENDTAG) {
        return false;
    }
    std::optional<std::vector<std::wstring>> stored = readTexts(*positions, *file, STRING_ENDTAG);
    if (!stored) {
        return false;
    }
    Texts texts;
    std::move(stored->begin(), stored->end(), texts.begin());
    commitTexts(std::move(texts));
    return true;
}

bool loadValues() {
    if (loadColours() && loadFonts() && loadStrings()) {
        return true;
    }
    loadDefaults();
    saveValues();  // Fails silently when Data/Framework is missing; the defaults still apply.
    return false;
}

void loadDefaults() {
    for (int index = 0; index < RGB_ENDTAG; ++index) {
        colours[index] = framewDefaultColour(index);
    }
    for (int index = 0; index < FONT_ENDTAG; ++index) {
        fonts[index] = framewDefaultFontValue(index);
    }
    FaceNames names;
    for (int face = 0; face < FONTFACES_ENDTAG; ++face) {
        names[face] = framewDefaultFontface(face);
    }
    commitFaces(std::move(names));
    Texts texts;
    for (int index = 0; index < STRING_ENDTAG; ++index) {
        texts[index] = framewDefaultString(index);
    }
    commitTexts(std::move(texts));
}

bool saveValues() {
    const std::optional<FileImages> images = buildFileImages();
    if (!images) {
        return false;
    }
    return replaceFile(kColoursPath, images->colours) && replaceFile(kFontsPath, images->fonts) &&
           replaceFile(kFontfacesPath, images->fontfaces) &&
           replaceFile(kStringPositionsPath, images->stringPositions) &&
           replaceFile(kStringsPath, images->strings);
}

void makeString(char*& dst, const char* src) {
    const char* text = src != nullptr ? src : "";
    const std::size_t size = std::strlen(text) + 1;
    dst = new char[size];
    std::memcpy(dst, text, size);
}

void makeStringW(wchar_t*& dst, const wchar_t* src) {
    const wchar_t* text = src != nullptr ? src : L"";
    const std::size_t size = std::wcslen(text) + 1;
    dst = new wchar_t[size];
    std::wmemcpy(dst, text, size);
}

void framewResetResources() {
    std::fill(std::begin(colours), std::end(colours), COLORREF{0});
    std::fill(std::begin(fonts), std::end(fonts), 0);
    std::fill(std::begin(fontfaces), std::end(fontfaces), nullptr);
    std::fill(std::begin(curStrings), std::end(curStrings), nullptr);
    storage = Storage{};
    resetSecondStrings();
}
