#include <climits>
#include <cmath>

#include <gtest/gtest.h>

#include "FrameworkFixture.h"
#include "shell/framework.h"
#include "resources/frameworkFileManager.h"

using mernolex::test::FrameworkTest;
using platform::PixelRect;

TEST_F(FrameworkTest, CoordinatesTruncateAtTheRatiosOfTheClientArea) {
    measureWindow();
    EXPECT_DOUBLE_EQ(0.984, ratioX);
    EXPECT_DOUBLE_EQ(0.922, ratioY);
    EXPECT_DOUBLE_EQ(0.922, ratioMin);
    EXPECT_EQ(998, virtualX(983));
    EXPECT_EQ(498, virtualY(460));
    EXPECT_EQ(984, realX(1000));
    EXPECT_EQ(461, realY(500));
    EXPECT_EQ(0, realX(1));       // 0.984 truncates to 0
    EXPECT_EQ(-1, virtualX(-1));  // toward zero, not down
    EXPECT_EQ(0, realX(-1));

    // A square client area: equal ratios, ratioMin takes ratioY's value.
    open({500, 250});
    measureWindow();
    EXPECT_DOUBLE_EQ(0.5, ratioMin);
}

TEST_F(FrameworkTest, AWindowWithoutPixelsMapsEverythingToZero) {
    open({0, 0});
    measureWindow();
    EXPECT_EQ(0.0, ratioX);
    EXPECT_EQ(0, virtualX(500));
    EXPECT_EQ(0, virtualY(-3));
    EXPECT_EQ(0, realX(1000));
    EXPECT_EQ(0, framewTruncate(std::nan("")));
    EXPECT_EQ(INT_MAX, framewTruncate(1e300));
    EXPECT_EQ(INT_MIN, framewTruncate(-1e300));
}

TEST_F(FrameworkTest, BeginPaintConvertsTheUpdateAreaOrTakesTheWholeClientIntensely) {
    measureWindow();
    window->invalidate({98, 46, 197, 93});
    intenseUpdate = false;
    framewBeginPaint();
    EXPECT_EQ(99, updateArea.left);
    EXPECT_EQ(49, updateArea.top);
    EXPECT_EQ(200, updateArea.right);
    EXPECT_EQ(100, updateArea.bottom);
    EXPECT_FALSE(intenseUpdate);
    EXPECT_NE(nullptr, hdc);
    framewEndPaint();
    EXPECT_EQ(nullptr, hdc);

    // Nothing invalid (a paint the system forces): the whole canvas, intensely.
    intenseUpdate = false;
    framewBeginPaint();
    EXPECT_TRUE(intenseUpdate);
    EXPECT_EQ(0, updateArea.left);
    EXPECT_EQ(1000, updateArea.right);
    EXPECT_EQ(500, updateArea.bottom);
    framewEndPaint();
}

TEST_F(FrameworkTest, RepaintRequestsInvalidateTheMappedRectangle) {
    measureWindow();
    framewRepaint(100, 100, 50, 20, false, false);
    EXPECT_EQ((PixelRect{98, 92, 147, 110}), window->updateRect());
    measureWindow();
    framewRepaint();
    EXPECT_EQ((PixelRect{0, 0, 984, 461}), window->updateRect());
}

TEST_F(FrameworkTest, IntenseRequestsLatchUntilThePaintEnds) {
    measureWindow();
    EXPECT_TRUE(intenseUpdate);  // a paint outside a drag ends intense
    framewRepaint(0, 0, 10, 10, false, false);
    EXPECT_FALSE(intenseUpdate);
    framewRepaint(0, 0, 10, 10, true, false);
    framewRepaint(20, 20, 10, 10, false, false);
    EXPECT_TRUE(intenseUpdate);
    EXPECT_TRUE(forceIntenseUpdate);

    framewBeginPaint();
    EXPECT_TRUE(intenseUpdate);
    framewEndPaint();
    EXPECT_FALSE(forceIntenseUpdate);
    framewRepaint(0, 0, 10, 10, false, false);
    EXPECT_FALSE(intenseUpdate);

    framewRepaint();
    framewRepaint(0, 0, 10, 10, false, false);
    EXPECT_TRUE(intenseUpdate);
}

TEST_F(FrameworkTest, OnlyProgramRequestedPaintsClearTheBackground) {
    EXPECT_TRUE(bitmapRepaint);  // set by framewInit
    measureWindow();
    EXPECT_TRUE(bitmapRepaint);

    // A paint the system asks for by itself leaves bitmapRepaint set: no background.
    window->invalidate({0, 0, 50, 50});
    framewBeginPaint();
    EXPECT_TRUE(bitmapRepaint);
    framewEndPaint();

    framewRepaint(0, 0, 10, 10, false, false);
    EXPECT_FALSE(bitmapRepaint);
    EXPECT_FALSE(preventBackground);
    framewBeginPaint();
    EXPECT_FALSE(bitmapRepaint);
    framewEndPaint();
    EXPECT_TRUE(bitmapRepaint);

    // bitRepaint leaves the background flags alone.
    preventBackground = true;
    framewRepaint(0, 0, 10, 10, false, true);
    EXPECT_TRUE(bitmapRepaint);
    EXPECT_TRUE(preventBackground);

    framewPreventBackground(true);
    EXPECT_TRUE(preventBackground);
    framewRepaint();
    EXPECT_FALSE(preventBackground);
    framewPreventBackground(true);  // ignored until a paint has ended
    EXPECT_FALSE(preventBackground);
}

TEST_F(FrameworkTest, DraggingPaintsLightAndTheEndRepaintsEverythingIntensely) {
    measureWindow();
    sizeMoveLoop(true);
    EXPECT_TRUE(sizeMoveFlag);
    EXPECT_FALSE(intenseUpdate);
    window->resize({700, 300});
    framewBeginPaint();
    framewEndPaint();
    EXPECT_FALSE(intenseUpdate);  // paints during the drag stay light
    EXPECT_FALSE(window->updateRect());

    sizeMoveLoop(false);
    EXPECT_FALSE(sizeMoveFlag);
    EXPECT_TRUE(intenseUpdate);
    EXPECT_TRUE(forceIntenseUpdate);
    EXPECT_FALSE(bitmapRepaint);
    EXPECT_EQ((PixelRect{0, 0, 700, 300}), window->updateRect());
    framewBeginPaint();
    EXPECT_DOUBLE_EQ(0.6, ratioY);
    framewEndPaint();
    EXPECT_TRUE(intenseUpdate);
}

TEST_F(FrameworkTest, InitLoadsTheResourceFilesOrWritesTheDefaults) {
    EXPECT_EQ(1000, targetWidth);
    EXPECT_EQ(500, targetHeight);
    ASSERT_NE(nullptr, curStrings[String_SAVE]);
    EXPECT_STREQ(L"Save", curStrings[String_SAVE]);
    EXPECT_STREQ("Arial Unicode MS", fontfaces[FONT1]);
    for (const char* file : {"colours.dat", "fonts.dat", "fontfaces.dat", "strings.dat",
                             "stringpositions.dat"}) {
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::path("Data/Framework") / file)) << file;
    }

    // A changed background colour in the file is what the next start uses.
    std::string bytes = readFile("Data/Framework/colours.dat");
    ASSERT_EQ(44u, bytes.size());
    bytes[4] = 1;
    bytes[5] = 2;
    bytes[6] = 3;
    writeFile("Data/Framework/colours.dat", bytes);
    framewReset();
    framewUpdate(window.get());
    framewInit(1000, 500);
    EXPECT_EQ(0x030201u, colours[BG_RGB]);
}

TEST_F(FrameworkTest, LayoutsAreLoadedOnceAndListedOnce) {
    auto& layouts = window->xkbLayouts();
    getKL(preApplicationKeyboard);
    EXPECT_STREQ("00000409", preApplicationKeyboard);
    const int compiledAtStart = layouts.compiledKeymapCount();

    setKL("00000407");
    setKL("00000407");
    EXPECT_EQ("00000407", layouts.activeLayout());
    EXPECT_EQ(compiledAtStart + 1, layouts.compiledKeymapCount());
    setKL("00000419");
    setKL("0000FFFF");  // cannot be loaded: the active layout stays
    setKL("0000FFFF");
    EXPECT_EQ("00000419", layouts.activeLayout());
    setKL(preApplicationKeyboard);
    EXPECT_EQ("00000409", layouts.activeLayout());
    char active[9];
    getKL(active);
    EXPECT_STREQ("00000409", active);
    setKL("00000407");
    EXPECT_EQ("00000407", layouts.activeLayout());

    std::vector<std::string> listed;
    for (KeyboardLayout* kl = firstKL; kl != nullptr; kl = kl->nextLayout) {
        listed.emplace_back(kl->keyboardLocalID);
    }
    EXPECT_EQ((std::vector<std::string>{"00000409", "00000407", "00000419", "0000FFFF"}), listed);
    EXPECT_EQ(compiledAtStart + 2, layouts.compiledKeymapCount());

    setKL(nullptr);
    getKL(nullptr);
    EXPECT_EQ("00000407", layouts.activeLayout());
}
