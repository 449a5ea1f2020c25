#include "resources/frameworkFileManager.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/AtomicFile.h"
#include "resources/frameworkDefaults.h"
#include "support/FileFaults.h"
#include "support/TempDirTest.h"

namespace {

namespace fs = std::filesystem;

const std::string kColours = "Data/Framework/colours.dat";
const std::string kFonts = "Data/Framework/fonts.dat";
const std::string kFontfaces = "Data/Framework/fontfaces.dat";
const std::string kPositions = "Data/Framework/stringpositions.dat";
const std::string kStrings = "Data/Framework/strings.dat";
const std::vector<std::string> kAllFiles = {kColours, kFonts, kFontfaces, kPositions, kStrings};

std::string le32(std::int64_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    return {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF),
            static_cast<char>((bits >> 16) & 0xFF), static_cast<char>((bits >> 24) & 0xFF)};
}

std::int32_t int32At(const std::string& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const auto byte = static_cast<unsigned char>(bytes.at(offset + i));
        value |= static_cast<std::uint32_t>(byte) << (8 * i);
    }
    return static_cast<std::int32_t>(value);
}

void setInt32(std::string& bytes, std::size_t offset, std::int64_t value) {
    bytes.replace(offset, 4, le32(value));
}

// UTF-16LE code units as bytes, without a terminator.
std::string utf16le(std::u16string_view text) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

std::wstring wide(std::initializer_list<std::uint32_t> codePoints) {
    std::wstring text;
    for (const std::uint32_t c : codePoints) {
        text.push_back(static_cast<wchar_t>(c));
    }
    return text;
}

std::size_t positionEntry(int index) { return 4 + 8 * static_cast<std::size_t>(index); }
std::size_t lengthEntry(int index) { return 8 + 8 * static_cast<std::size_t>(index); }

class FrameworkFilesTest : public mernolex::test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        framewResetResources();
        fs::create_directories("Data/Framework");
    }
    void TearDown() override {
        framewResetResources();
        TempDirTest::TearDown();
    }

    static std::map<std::string, std::string> readAll() {
        std::map<std::string, std::string> files;
        for (const std::string& file : kAllFiles) {
            files[file] = readFile(file);
        }
        return files;
    }

    // Writes a consistent pair of string files holding texts, each followed by its NUL.
    static void writeStringFiles(const std::vector<std::u16string>& texts) {
        std::string positions = le32(static_cast<std::int64_t>(texts.size()));
        std::string strings;
        for (const std::u16string& text : texts) {
            positions += le32(static_cast<std::int64_t>(strings.size()));
            positions += le32(static_cast<std::int64_t>(text.size() + 1));
            strings += utf16le(text) + std::string(2, '\0');
        }
        writeFile(kPositions, positions);
        writeFile(kStrings, strings);
    }

    static std::vector<std::u16string> numberedTexts() {
        std::vector<std::u16string> texts;
        for (int index = 0; index < STRING_ENDTAG; ++index) {
            std::u16string text = u"text ";
            for (const char digit : std::to_string(index)) {
                text.push_back(static_cast<char16_t>(digit));
            }
            texts.push_back(text);
        }
        return texts;
    }

    static void expectDefaultTables() {
        for (int index = 0; index < RGB_ENDTAG; ++index) {
            EXPECT_EQ(colours[index], framewDefaultColour(index)) << index;
        }
        EXPECT_EQ(fonts[F1_SIZE], 100);
        EXPECT_EQ(fonts[F1_fnWeight], 0);
        ASSERT_NE(fontfaces[FONT1], nullptr);
        EXPECT_STREQ(fontfaces[FONT1], "Arial Unicode MS");
        for (int index = 0; index < STRING_ENDTAG; ++index) {
            ASSERT_NE(curStrings[index], nullptr) << index;
            EXPECT_STREQ(curStrings[index], framewDefaultString(index)) << index;
        }
    }
};

TEST_F(FrameworkFilesTest, FirstStartWritesTheDefaultsAndTheNextStartLoadsThem) {
    EXPECT_FALSE(loadValues());
    expectDefaultTables();
    const auto written = readAll();
    for (const std::string& file : kAllFiles) {
        EXPECT_FALSE(written.at(file).empty()) << file;
    }

    framewResetResources();
    EXPECT_TRUE(loadValues());
    expectDefaultTables();
    EXPECT_EQ(readAll(), written) << "a successful load must not rewrite anything";
    EXPECT_FALSE(fs::exists(kColours + ".tmp"));
}

TEST_F(FrameworkFilesTest, DefaultFilesAreByteExact) {
    loadValues();
    EXPECT_EQ(readFile(kColours), le32(10) + std::string("\x0A\x8C\x0A\x00"  // BG_RGB
                                                         "\xFF\x66\x00\x00"  // BT_RGB
                                                         "\x00\x00\x00\x00"  // F1_RGB
                                                         "\xFF\xFF\xFF\x00"  // WHITE_RGB
                                                         "\x80\xAC\xF2\x00"  // MARKED_RGB
                                                         "\x00\x00\x00\x00"  // TOGGLE_RAIL_RGB
                                                         "\xFA\x61\x00\x00"  // ALT_BG_RGB
                                                         "\xFA\x00\x00\x00"  // INCORRECT_RGB
                                                         "\x00\x00\x00\x00"  // TEXT_RGB
                                                         "\x6E\x9B\xAA\x00",  // FORCED_RGB
                                                         40));
    EXPECT_EQ(readFile(kFonts), le32(2) + le32(100) + le32(0) + le32(0) + le32(17));
    EXPECT_EQ(readFile(kFontfaces), std::string("Arial Unicode MS\0", 17));

    const std::string positions = readFile(kPositions);
    const std::string strings = readFile(kStrings);
    ASSERT_EQ(positions.size(), 4u + 8u * 134u);
    EXPECT_EQ(int32At(positions, 0), 134);
    // The texts follow each other in index order with nothing between them.
    std::int64_t expectedPosition = 0;
    for (int index = 0; index < STRING_ENDTAG; ++index) {
        EXPECT_EQ(int32At(positions, positionEntry(index)), expectedPosition) << index;
        expectedPosition += 2 * int32At(positions, lengthEntry(index));
    }
    EXPECT_EQ(expectedPosition, static_cast<std::int64_t>(strings.size()));

    EXPECT_EQ(int32At(positions, lengthEntry(String_WELCOME_BACK)), 14);
    EXPECT_EQ(strings.substr(0, 28), utf16le(u"Welcome back!") + std::string(2, '\0'));
    // Text beyond Latin-1 is kept as UTF-16, not squeezed into an 8-bit code page.
    const auto textAt = [&](int index) {
        return strings.substr(static_cast<std::size_t>(int32At(positions, positionEntry(index))),
                              2 * static_cast<std::size_t>(int32At(positions, lengthEntry(index))));
    };
    EXPECT_EQ(textAt(String_BACK_SYMBOL), std::string("\xD8\x22\0\0", 4));
    EXPECT_EQ(textAt(String_SETTINGS_TITLE), utf16le(u"Settings \u270E") + std::string(2, '\0'));
    EXPECT_EQ(int32At(positions, lengthEntry(String_SETTINGS_TITLE)), 11);
}

TEST_F(FrameworkFilesTest, WithoutTheFrameworkDirectoryTheDefaultsStillApply) {
    fs::remove_all("Data");
    EXPECT_FALSE(loadValues());
    expectDefaultTables();
    EXPECT_FALSE(fs::exists("Data"));
    EXPECT_FALSE(saveValues());
}

TEST_F(FrameworkFilesTest, ConsistentlyEditedStringsChangeTheTexts) {
    loadValues();
    std::vector<std::u16string> texts = numberedTexts();
    texts[String_SAVE] = u"Speichern";
    texts[String_FEED] = u"";  // stored with length 1: just the NUL
    texts[String_PRACTICE] = u"\u00DCben \U0001F600";  // a surrogate pair for the emoji
    writeStringFiles(texts);
    const std::string positions = readFile(kPositions);
    EXPECT_EQ(int32At(positions, lengthEntry(String_FEED)), 1);

    framewResetResources();
    EXPECT_TRUE(loadValues());
    EXPECT_STREQ(curStrings[String_SAVE], L"Speichern");
    EXPECT_STREQ(curStrings[String_FEED], L"");
    EXPECT_EQ(std::wstring(curStrings[String_PRACTICE]), wide({0xDC, 'b', 'e', 'n', ' ', 0x1F600}));
    EXPECT_STREQ(curStrings[String_ERROR_SAVE_DB], L"text 133");
    EXPECT_EQ(colours[BG_RGB], framewDefaultColour(BG_RGB));

    // Saving writes the same texts back: the pair again, and lengths in UTF-16 code units.
    const std::string strings = readFile(kStrings);
    ASSERT_TRUE(saveValues());
    EXPECT_EQ(readFile(kStrings), strings);
    EXPECT_EQ(readFile(kPositions), positions);
}

TEST_F(FrameworkFilesTest, StringsReadOnlyUpToTheirFirstNulAndRepairLoneSurrogates) {
    loadValues();
    std::vector<std::u16string> texts = numberedTexts();
    texts[String_SAVE] = std::u16string(u"Save\0junk", 9);
    texts[String_BACK] = u"a\xD800" u"b\xDC00";
    writeStringFiles(texts);

    EXPECT_TRUE(loadStrings());
    EXPECT_STREQ(curStrings[String_SAVE], L"Save");
    EXPECT_EQ(std::wstring(curStrings[String_BACK]), wide({'a', 0xFFFD, 'b', 0xFFFD}));
}

TEST_F(FrameworkFilesTest, SavingStopsAtTheFirstFileThatCannotBeWritten) {
    fs::create_directories(kFontfaces);  // a directory where the face names belong
    loadDefaults();
    EXPECT_FALSE(saveValues());
    EXPECT_FALSE(readFile(kColours).empty());
    EXPECT_FALSE(readFile(kFonts).empty());
    EXPECT_FALSE(fs::exists(kPositions));
    EXPECT_FALSE(fs::exists(kStrings));
    for (const auto& entry : fs::directory_iterator("Data/Framework")) {
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
    }
}

// The files go through the one durable replace of the program: the n-th file step of a save (a
// temporary file written, a rename) fails for n = 1, 2, ... as a crash there would leave it, and
// every file must then hold its old bytes or its new ones, whole.
TEST_F(FrameworkFilesTest, AnInterruptedSaveLeavesEveryFileOldOrNew) {
    loadValues();
    const auto oldFiles = readAll();
    colours[BG_RGB] = 0x00123456;
    curStrings[String_SAVE] = L"Sichern \u270E";
    ASSERT_TRUE(saveValues());
    const auto newFiles = readAll();
    ASSERT_NE(newFiles, oldFiles);

    bool anyFired = false;
    for (unsigned step = 1;; ++step) {
        for (const auto& [file, bytes] : oldFiles) {
            writeFile(file, bytes);
        }
        fileFaults::failStep(step);
        const bool saved = saveValues();
        const bool fired = fileFaults::fired();
        fileFaults::failStep(0);
        anyFired = anyFired || fired;
        for (const auto& [file, bytes] : readAll()) {
            EXPECT_TRUE(bytes == oldFiles.at(file) || bytes == newFiles.at(file)) << file << " after step " << step;
        }
        if (!fired) {
            EXPECT_TRUE(saved);
            EXPECT_EQ(readAll(), newFiles);
            break;
        }
        EXPECT_FALSE(saved) << "step " << step;
        ASSERT_LT(step, 20u);
    }
    EXPECT_TRUE(anyFired) << "the framework files must be written through the shared atomic replace";
}

TEST(FrameworkStrings, CopiesAreIndependentAndNullCopiesAsEmpty) {
    char source[] = "Arial";
    char* copy = nullptr;
    makeString(copy, source);
    source[0] = 'X';
    EXPECT_STREQ(copy, "Arial");
    delete[] copy;

    wchar_t* wideCopy = nullptr;
    makeStringW(wideCopy, L"Settings \u270E");
    EXPECT_STREQ(wideCopy, L"Settings \u270E");
    delete[] wideCopy;

    makeString(copy, nullptr);
    EXPECT_STREQ(copy, "");
    delete[] copy;
    makeStringW(wideCopy, nullptr);
    EXPECT_STREQ(wideCopy, L"");
    delete[] wideCopy;
}

// --- Damaged files ------------------------------------------------------------------------------

struct Damage {
    const char* name;
    std::string file;
    std::function<void(std::string&)> apply;  // changes the file's bytes
    bool removeFile = false;
};

void PrintTo(const Damage& damage, std::ostream* out) { *out << damage.name; }

class DamagedFrameworkFileTest : public FrameworkFilesTest,
                                 public ::testing::WithParamInterface<Damage> {};

// Every damaged file is rejected as a whole: the loader leaves the tables as they were, and
// loadValues restores the defaults and rewrites all five files.
TEST_P(DamagedFrameworkFileTest, IsRejectedAndReplacedByTheDefaults) {
    loadValues();
    const auto defaults = readAll();
    framewResetResources();
    std::string bytes = readFile(GetParam().file);
    GetParam().apply(bytes);
    if (GetParam().removeFile) {
        fs::remove(GetParam().file);
    } else {
        writeFile(GetParam().file, bytes);
    }
    writeFile(kColours, le32(10) + std::string(40, '\x11'));  // a valid custom scheme

    EXPECT_TRUE(loadColours());
    EXPECT_EQ(colours[BG_RGB], 0x11111111u);
    if (GetParam().file == kColours) {
        writeFile(kColours, bytes);
        EXPECT_FALSE(loadColours());
    } else if (GetParam().file == kFonts || GetParam().file == kFontfaces) {
        EXPECT_FALSE(loadFonts());
        EXPECT_EQ(fontfaces[FONT1], nullptr) << "a rejected load keeps the tables as they were";
    } else {
        EXPECT_FALSE(loadStrings());
        EXPECT_EQ(curStrings[String_WELCOME_BACK], nullptr)
            << "a rejected load keeps the tables as they were";
    }
    EXPECT_EQ(colours[BG_RGB], 0x11111111u);

    EXPECT_FALSE(loadValues());
    expectDefaultTables();
    EXPECT_EQ(readAll(), defaults) << "all five files are rewritten, the custom colours too";
}

const Damage kDamages[] = {
    {"StringCount133", kPositions, [](std::string& b) { setInt32(b, 0, 133); }},
    {"StringPositionsCutShort", kPositions, [](std::string& b) { b.resize(b.size() - 8); }},
    {"StringsCutShort", kStrings, [](std::string& b) { b.resize(b.size() - 4); }},
    {"StringPositionBeyondTheFile", kPositions,
     [](std::string& b) { setInt32(b, positionEntry(String_SAVE), 0x7FFFFFF0); }},
    {"StringPositionNegative", kPositions,
     [](std::string& b) { setInt32(b, positionEntry(String_SAVE), -2); }},
    {"StringLengthBeyondTheFile", kPositions,
     [](std::string& b) {
         const std::size_t entry = lengthEntry(String_ERROR_SAVE_DB);
         setInt32(b, entry, int32At(b, entry) + 1);
     }},
    {"StringLengthHuge", kPositions,
     [](std::string& b) { setInt32(b, lengthEntry(String_WELCOME_BACK), 0x7FFFFFFF); }},
    {"StringLengthNegative", kPositions,
     [](std::string& b) { setInt32(b, lengthEntry(String_WELCOME_BACK), -1); }},
    {"StringLengthZero", kPositions,
     [](std::string& b) { setInt32(b, lengthEntry(String_WELCOME_BACK), 0); }},
    {"StringWithoutItsNul", kPositions,
     [](std::string& b) { setInt32(b, lengthEntry(String_WELCOME_BACK), 13); }},
    {"StringsFileMissing", kStrings, [](std::string&) {}, true},
    {"FontfacesFileMissing", kFontfaces, [](std::string&) {}, true},
    {"EightColours", kColours, [](std::string& b) { b.resize(4 + 8 * 4); }},
    {"NineColours", kColours, [](std::string& b) { b.resize(4 + 9 * 4); }},
    {"ColourCount11", kColours, [](std::string& b) { setInt32(b, 0, 11); }},
    {"FontCount3", kFonts, [](std::string& b) { setInt32(b, 0, 3); }},
    {"FontsCutShort", kFonts, [](std::string& b) { b.resize(b.size() - 1); }},
    {"FaceNameBeyondTheFile", kFonts, [](std::string& b) { setInt32(b, 12, 1); }},
    {"FaceNameLengthHuge", kFonts, [](std::string& b) { setInt32(b, 16, 0x7FFFFFFF); }},
    {"FaceNameLengthZero", kFonts, [](std::string& b) { setInt32(b, 16, 0); }},
    {"FaceNameWithoutItsNul", kFontfaces, [](std::string& b) { b.pop_back(); }},
};

INSTANTIATE_TEST_SUITE_P(Framework, DamagedFrameworkFileTest, ::testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
