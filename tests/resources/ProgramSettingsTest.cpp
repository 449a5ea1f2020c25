// The program's own settings file.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "resources/ProgramSettings.h"
#include "support/TempDirTest.h"

namespace {

class ProgramSettingsTest : public mernolex::test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        resetProgramSettings();
    }
    void TearDown() override {
        resetProgramSettings();
        TempDirTest::TearDown();
    }
};

TEST_F(ProgramSettingsTest, TheSettingIsOffWithoutAFileAndRememberedOnceChanged) {
    EXPECT_FALSE(programSettings().speakAfterJudging);
    EXPECT_FALSE(setSpeakAfterJudging(true)) << "Data/Framework is not made here";
    EXPECT_TRUE(programSettings().speakAfterJudging) << "the change holds for the run";
    EXPECT_FALSE(std::filesystem::exists("Data"));

    resetProgramSettings();
    std::filesystem::create_directories("Data/Framework");
    EXPECT_TRUE(setSpeakAfterJudging(true));
    EXPECT_EQ(readFile("Data/Framework/settings.txt"), "speak-after-judging=yes\n");
    resetProgramSettings();
    EXPECT_TRUE(programSettings().speakAfterJudging);
    EXPECT_TRUE(setSpeakAfterJudging(false));
    resetProgramSettings();
    EXPECT_FALSE(programSettings().speakAfterJudging);
}

TEST_F(ProgramSettingsTest, WhatTheFileHoldsIsReadWithoutTrustAndUnknownLinesSurvive) {
    const struct {
        std::string bytes;
        bool speak;
    } files[] = {
        {"speak-after-judging=yes\n", true},
        {"speak-after-judging=yes\r\n", true},
        {"speak-after-judging=yes", true},
        {"speak-after-judging=no\n", false},
        {"speak-after-judging=maybe\n", false},
        {"speak-after-judging\n", false},
        {"=yes\n\n\n", false},
        {std::string("speak-after-judging=yes\0garbage", 32), false},
        {"", false},
    };
    for (const auto& file : files) {
        EXPECT_EQ(ProgramSettings::parse(file.bytes).speakAfterJudging, file.speak) << file.bytes;
    }
    // A newer version's lines are written back as they were.
    ProgramSettings settings = ProgramSettings::parse("colour-theme=dark\nspeak-after-judging=no\nvolume=80\n");
    settings.speakAfterJudging = true;
    EXPECT_EQ(settings.format(), "speak-after-judging=yes\ncolour-theme=dark\nvolume=80\n");
    EXPECT_EQ(ProgramSettings::parse(settings.format()).format(), settings.format());

    // A file too large to be a settings file is not read.
    std::filesystem::create_directories("Data/Framework");
    writeFile("Data/Framework/settings.txt",
              "speak-after-judging=yes\n" + std::string(ProgramSettings::MAX_FILE_BYTES, '#'));
    EXPECT_FALSE(programSettings().speakAfterJudging);
}

}  // namespace
