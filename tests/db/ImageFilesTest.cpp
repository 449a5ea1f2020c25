#include <gtest/gtest.h>

#include "FileTestSupport.h"
#include "db/OrnQL_Extra.h"
#include "db/PictureRemovals.h"

namespace dbtest {
namespace {

using std::filesystem::exists;

using ImageFilesTest = FileTest;

TEST_F(ImageFilesTest, ClearingATablePrefixRemovesOnlyThatTablesFiles) {
    for (const char* name : {"mw.dat", "mw0.dat", "mw12.dat", "cm.dat", "fw.dat", "fw0.dat"}) {
        writeFile(std::string("Data/Relations/") + name, "x");
    }
    std::filesystem::create_directories("Data/Relations/mwSub");
    OrnQL_Base::clearUpDir("Data/Relations/mw", false);
    EXPECT_FALSE(exists("Data/Relations/mw.dat"));
    EXPECT_FALSE(exists("Data/Relations/mw0.dat"));
    EXPECT_FALSE(exists("Data/Relations/mw12.dat"));
    EXPECT_TRUE(exists("Data/Relations/cm.dat"));
    EXPECT_TRUE(exists("Data/Relations/fw0.dat"));
    EXPECT_TRUE(exists("Data/Relations/mwSub")) << "directories are neither entered nor removed";

    OrnQL_Base::clearUpDir("Data/Relations/", true);
    EXPECT_FALSE(exists("Data/Relations/cm.dat"));
    EXPECT_FALSE(exists("Data/Relations/fw0.dat"));
}

TEST_F(ImageFilesTest, ClearingAPathWithoutSlashWorksInTheCurrentDirectory) {
    writeFile("tab.dat", "x");
    writeFile("tab3.dat", "x");
    writeFile("other.dat", "x");
    OrnQL_Base::clearUpDir("tab", false);
    EXPECT_FALSE(exists("tab.dat"));
    EXPECT_FALSE(exists("tab3.dat"));
    EXPECT_TRUE(exists("other.dat"));
}

TEST_F(ImageFilesTest, ClearingAMissingDirectoryThrows) {
    try {
        OrnQL_Base::clearUpDir("Data/Missing/words", false);
        FAIL();
    } catch (const OrnQLException_Base& e) {
        EXPECT_STREQ(e.what(), "Fatal OrnQL_Exception: In clearUpDir(), opendir() returned an error. Wrong path?");
    }
}

TEST_F(ImageFilesTest, PicturePathsAreBuiltById) {
    const char* first = createPathById(12, "Data/WordImages/Mnemonic/");
    EXPECT_STREQ(first, "Data/WordImages/Mnemonic/12.bmp");
    const std::string longDirectory(3000, 'd');
    EXPECT_EQ(std::string(createPathById(4294967295u, (longDirectory + "/").c_str())),
              longDirectory + "/4294967295.bmp");
    EXPECT_STREQ(createPathById(3, "Data/LanguageImages/Flag/"), "Data/LanguageImages/Flag/3.bmp");
}

TEST_F(ImageFilesTest, CopyingPicturesReportsEachFailure) {
    writeFile("chosen.bmp", std::string("BM\0\x01\xff", 5));
    std::filesystem::create_directories("Data/WordImages/Mnemonic");
    writeFile("Data/WordImages/Mnemonic/4.bmp", "old picture");

    EXPECT_EQ(copyBitmap("chosen.bmp", "Data/WordImages/Mnemonic/", 4), 0);
    EXPECT_EQ(readFile("Data/WordImages/Mnemonic/4.bmp"), std::string("BM\0\x01\xff", 5));
    EXPECT_EQ(copyBitmap("missing.bmp", "Data/WordImages/Mnemonic/", 5), 1);
    EXPECT_FALSE(exists("Data/WordImages/Mnemonic/5.bmp"));
    EXPECT_EQ(copyBitmap("chosen.bmp", "Data/NoSuchDirectory/", 5), 2);
    writeFile("empty.bmp", "");
    EXPECT_EQ(copyBitmap("empty.bmp", "Data/WordImages/Mnemonic/", 6), 0);
    EXPECT_TRUE(exists("Data/WordImages/Mnemonic/6.bmp"));
}

// A deleted record's picture stays until the removals are staged (by the save that drops the
// record from its table); a new picture written for the same id in between is kept.
TEST_F(ImageFilesTest, ARecordsPictureGoesWithTheNextSaveUnlessAPictureTookItsPlace) {
    pictureRemovals::clear();
    const unsigned id = addItem(L"with picture");
    const unsigned reused = addItem(L"id taken again");
    writeFile("Data/Flags/" + std::to_string(id) + ".bmp", "picture");
    writeFile("Data/Flags/" + std::to_string(reused) + ".bmp", "old picture");
    writeFile("chosen.bmp", "new picture");
    Item::getById(id)->deleteImageFile("Data/Flags/");
    Item::getById(reused)->deleteImageFile("Data/Flags/");
    EXPECT_TRUE(exists("Data/Flags/" + std::to_string(id) + ".bmp"));
    ASSERT_EQ(copyBitmap("chosen.bmp", "Data/Flags/", reused), 0);

    pictureRemovals::stageInActiveTransaction();
    EXPECT_FALSE(exists("Data/Flags/" + std::to_string(id) + ".bmp"));
    EXPECT_EQ(readFile("Data/Flags/" + std::to_string(reused) + ".bmp"), "new picture");
    EXPECT_TRUE(pictureRemovals::pending().empty());
    Item::getById(id)->deleteImageFile("Data/Flags/");  // already gone: not an error
    pictureRemovals::stageInActiveTransaction();
}

}  // namespace
}  // namespace dbtest
