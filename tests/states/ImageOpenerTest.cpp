#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "StatesFixture.h"
#include "gui/GuiText.h"
#include "states/ImageOpener.h"
#include "support/ForwardingPlatform.h"

namespace {

namespace fs = std::filesystem;

class ImageOpenerTest : public states::test::StatesTest {
protected:
    void SetUp() override {
        StatesTest::SetUp();
        State* screen = createEmptyState(L"Pictures");
        path = addElementToState(screen, new GuiText("old/path.bmp", 500, 250, 600, 30, FONT1, TEXT_LEFT));
        path->setTag("HINT_PICT_PATH");
        show(screen);
    }

    GuiText* path = nullptr;
};

TEST_F(ImageOpenerTest, CancellingChangesNothing) {
    window->dialogs().answerFileDialog(std::nullopt);
    EXPECT_EQ(imageOpener("HINT_PICT_PATH"), nullptr);
    EXPECT_STREQ(path->getTextA(), "old/path.bmp");

    ASSERT_EQ(window->dialogs().fileDialogs().size(), 1u);
    const auto& filters = window->dialogs().fileDialogs()[0].filters;
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].name, "Bitmap (only 24 Bit Depth Bitmaps work correctly)");
    EXPECT_EQ(filters[0].patterns, std::vector<std::string>{"*.bmp"});
    EXPECT_EQ(filters[1].name, "All files");
    EXPECT_EQ(filters[1].patterns, std::vector<std::string>{"*.*"});
}

TEST_F(ImageOpenerTest, TheChosenFileIsWrittenAsAFullPathOfAnyLength) {
    window->dialogs().answerFileDialog("/home/user/Pictures/cat.bmp");
    EXPECT_EQ(imageOpener("HINT_PICT_PATH"), path);
    EXPECT_STREQ(path->getTextA(), "/home/user/Pictures/cat.bmp");

    const std::string deep = "/" + std::string(40, 'd') + "/" + std::string(1500, 'p') + ".bmp";
    window->dialogs().answerFileDialog(deep);
    EXPECT_EQ(imageOpener("HINT_PICT_PATH"), path);
    EXPECT_EQ(std::string(path->getTextA()), deep);
}

TEST_F(ImageOpenerTest, TheWorkingDirectoryStaysWhateverFolderWasBrowsed) {
    fs::create_directories("Pictures/Cats");
    const fs::path start = fs::current_path();
    mernolex::test::ForwardingPlatform browsing(*window);
    // The dialog leaves the working directory in the folder the user browsed, and answers
    // relative to it.
    browsing.onFileDialog = [] { fs::current_path("Pictures/Cats"); };
    platform::setCurrent(&browsing);
    window->dialogs().answerFileDialog("tabby.bmp");

    EXPECT_EQ(imageOpener("HINT_PICT_PATH"), path);
    platform::setCurrent(window.get());
    EXPECT_EQ(fs::current_path(), start);
    EXPECT_EQ(fs::path(path->getTextA()), start / "Pictures/Cats/tabby.bmp");

    // A cancelled browse puts it back too.
    window->dialogs().answerFileDialog(std::nullopt);
    platform::setCurrent(&browsing);
    EXPECT_EQ(imageOpener("HINT_PICT_PATH"), nullptr);
    platform::setCurrent(window.get());
    EXPECT_EQ(fs::current_path(), start);
}

TEST_F(ImageOpenerTest, ATagTheScreenDoesNotCarryReceivesNothing) {
    window->dialogs().answerFileDialog("/tmp/cat.bmp");
    EXPECT_EQ(imageOpener("NO_SUCH_TAG"), nullptr);
    window->dialogs().answerFileDialog("/tmp/cat.bmp");
    EXPECT_EQ(imageOpener(""), nullptr);
    EXPECT_STREQ(path->getTextA(), "old/path.bmp");
}

}  // namespace
