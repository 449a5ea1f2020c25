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

#include "base/AtomicFile.h"
#include "base/Utf16.h"
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

static_assert(sizeof(int) == 4 && sizeof(COLORREF) == 4, "the files hold 32-bit values");
// fonts holds the values of a single face; a second face would need a second set of slots.
static_assert(FONTFACES_ENDTAG == 1);

constexpr const char* kColoursPath = "Data/Framework/colours.dat";
constexpr const char* kFontsPath = "Data/Framework/fonts.dat";
constexpr const char* kFontfacesPath = "Data/Framework/fontfaces.dat";
constexpr const char* kStringPositionsPath = "Data/Framework/stringpositions.dat";
constexpr const char* kStringsPath = "Data/Framework/strings.dat";

constexpr std::size_t kInt32Size = 4;
constexpr std::size_t kFaceEntrySize = 4 * kInt32Size;
constexpr std::size_t kStringEntrySize = 2 * kInt32Size;
constexpr std::size_t kUtf16UnitSize = 2;

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

// --- Reading -----------------------------------------------------------------------------------

// The whole file, or nothing when it cannot be opened.
std::optional<std::string> readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

// The little-endian 32-bit integer at offset; the caller has checked that it lies inside bytes.
std::int32_t int32At(std::string_view bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < kInt32Size; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[offset + i]);
        value |= static_cast<std::uint32_t>(byte) << (8 * i);
    }
    return static_cast<std::int32_t>(value);
}

// The part of a file that a stored position and element count describe, or nothing when that part
// does not lie entirely inside the file. Nothing is allocated for it.
std::optional<std::string_view> storedRange(std::string_view file, std::int32_t position,
                                            std::int32_t count, std::size_t elementSize) {
    if (position < 0 || count < 0) {
        return std::nullopt;
    }
    const auto start = static_cast<std::uint64_t>(position);
    const auto size = static_cast<std::uint64_t>(count) * elementSize;
    if (start > file.size() || size > file.size() - start) {
        return std::nullopt;
    }
    return file.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(size));
}

// Decodes UTF-16LE text up to its NUL; nothing when the NUL is missing. A surrogate without its
// partner becomes U+FFFD: one bad character in a translation should not cost the whole file.
std::optional<std::wstring> decodeUtf16(std::string_view bytes) {
    const std::u16string units = utf16::fromBytesLE(bytes);
    const std::size_t end = units.find(u'\0');
    if (end == std::u16string::npos) {
        return std::nullopt;
    }
    return utf16::decode(units.data(), end);
}

// --- Writing -----------------------------------------------------------------------------------

void appendInt32(std::string& out, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < kInt32Size; ++i) {
        out.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
    }
}

// Appends text as UTF-16LE followed by its NUL and returns the number of code units written,
// NUL included. Characters beyond the BMP become surrogate pairs; values that are no character
// at all are written as U+FFFD.
std::size_t appendUtf16(std::string& out, std::wstring_view text) {
    std::u16string units = utf16::encode(text);
    units.push_back(u'\0');
    out += utf16::toBytesLE(units);
    return units.size();
}

bool fitsInt32(std::size_t value) {
    return value <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
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

    appendInt32(images.stringPositions, STRING_ENDTAG);
    for (const wchar_t* text : curStrings) {
        const std::size_t position = images.strings.size();
        const std::size_t units = appendUtf16(images.strings, text != nullptr ? text : L"");
        if (!fitsInt32(images.strings.size())) {
            return std::nullopt;
        }
        appendInt32(images.stringPositions, static_cast<std::int32_t>(position));
        appendInt32(images.stringPositions, static_cast<std::int32_t>(units));
    }
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
    constexpr std::size_t fixedSize = kInt32Size + STRING_ENDTAG * kStringEntrySize;
    if (!positions || !file || positions->size() < fixedSize ||
        int32At(*positions, 0) != STRING_ENDTAG) {
        return false;
    }
    Texts texts;
    for (int index = 0; index < STRING_ENDTAG; ++index) {
        const std::size_t entry = kInt32Size + index * kStringEntrySize;
        const std::int32_t position = int32At(*positions, entry);
        const std::int32_t length = int32At(*positions, entry + kInt32Size);
        const std::optional<std::string_view> stored =
            storedRange(*file, position, length, kUtf16UnitSize);
        if (!stored) {
            return false;
        }
        std::optional<std::wstring> text = decodeUtf16(*stored);
        if (!text) {
            return false;
        }
        texts[index] = std::move(*text);
    }
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
}
