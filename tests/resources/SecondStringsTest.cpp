#include "resources/SecondStrings.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "resources/ResourceFileBytes.h"
#include "resources/frameworkFileManager.h"
#include "support/TempDirTest.h"

namespace {

namespace fs = std::filesystem;

const std::string kPositions = "Data/Framework/stringpositions2.dat";
const std::string kTexts = "Data/Framework/strings2.dat";

class SecondStringsTest : public mernolex::test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        resetSecondStrings();
        fs::create_directories("Data/Framework");
    }
    void TearDown() override {
        resetSecondStrings();
        TempDirTest::TearDown();
    }

    static void writeTable(const std::vector<const wchar_t*>& texts) {
        const auto images = resource_bytes::buildTextTable(texts);
        ASSERT_TRUE(images);
        writeFile(kPositions, images->positions);
        writeFile(kTexts, images->texts);
    }

    static std::int32_t storedCount() {
        return resource_bytes::int32At(readFile(kPositions), 0);
    }
};

TEST_F(SecondStringsTest, FirstStartWritesEnglishDefaultsThatTheNextStartReads) {
    EXPECT_FALSE(loadSecondStrings());
    EXPECT_STREQ(interfaceText2(String2_IMPORT), L"Import");
    EXPECT_EQ(storedCount(), STRING2_ENDTAG);

    resetSecondStrings();
    EXPECT_TRUE(loadSecondStrings());
    for (int index = 0; index < STRING2_ENDTAG; ++index) {
        EXPECT_STREQ(curStrings2[index], defaultSecondString(index)) << index;
    }
}

TEST_F(SecondStringsTest, TranslationsAreShownAndAFileOfAnOlderVersionGainsOnlyTheNewTexts) {
    writeTable({L"Importieren \U0001F4E5"});  // one text: written before the rest existed
    EXPECT_FALSE(loadSecondStrings());
    EXPECT_STREQ(interfaceText2(String2_IMPORT), L"Importieren \U0001F4E5");
    EXPECT_STREQ(interfaceText2(String2_EXPORT), defaultSecondString(String2_EXPORT));

    resetSecondStrings();
    EXPECT_TRUE(loadSecondStrings());  // written back complete, the translation kept
    EXPECT_EQ(storedCount(), STRING2_ENDTAG);
    EXPECT_STREQ(interfaceText2(String2_IMPORT), L"Importieren \U0001F4E5");
}

TEST_F(SecondStringsTest, AFileOfANewerVersionIsReadAndLeftAlone) {
    std::vector<const wchar_t*> texts(STRING2_ENDTAG + 3, L"neu");
    writeTable(texts);
    const std::string before = readFile(kPositions) + readFile(kTexts);
    EXPECT_TRUE(loadSecondStrings());
    EXPECT_STREQ(interfaceText2(String2_EXPORT), L"neu");
    EXPECT_EQ(readFile(kPositions) + readFile(kTexts), before);
}

TEST_F(SecondStringsTest, DamagedFilesFallBackToTheDefaultsAndAreRewritten) {
    writeTable({L"Importieren", L"Exportieren"});
    std::string positions = readFile(kPositions);
    positions.replace(4, 4, std::string("\xff\xff\xff\x7f", 4));  // a position far past the texts
    writeFile(kPositions, positions);
    EXPECT_FALSE(loadSecondStrings());
    EXPECT_STREQ(interfaceText2(String2_IMPORT), L"Import");

    writeFile(kPositions, std::string("\xff\xff\xff\x7f", 4));  // a count no file can hold
    resetSecondStrings();
    EXPECT_FALSE(loadSecondStrings());
    resetSecondStrings();
    EXPECT_TRUE(loadSecondStrings());
}

TEST_F(SecondStringsTest, TheStoredStringsFileKeepsItsCountAndBytes) {
    EXPECT_FALSE(loadValues());
    const std::string stored = readFile("Data/Framework/stringpositions.dat") + readFile("Data/Framework/strings.dat");
    loadSecondStrings();
    EXPECT_EQ(resource_bytes::int32At(stored, 0), STRING_ENDTAG);
    EXPECT_EQ(readFile("Data/Framework/stringpositions.dat") + readFile("Data/Framework/strings.dat"), stored);
}

TEST_F(SecondStringsTest, WithoutAFrameworkFolderTheDefaultsStillApply) {
    fs::remove_all("Data");
    EXPECT_FALSE(loadSecondStrings());
    EXPECT_STREQ(interfaceText2(String2_EXPORT), L"Export");
    EXPECT_FALSE(fs::exists("Data"));
}

}  // namespace
