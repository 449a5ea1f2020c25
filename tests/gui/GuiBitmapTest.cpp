#include <cstdint>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "gui/BmpPicture.h"
#include "gui/GuiBitmap.h"
#include "gui/GuiSelectionfield.h"
#include "gui/support/BmpBytes.h"
#include "gui/support/ScreenDriver.h"

using mernolex::test::bmp24;
using mernolex::test::putLittleEndian;
using mernolex::test::ScreenTest;
using mernolex::test::writeBytes;

namespace {

std::optional<BmpPicture> decode(const std::vector<unsigned char>& bytes) {
    return decodeBmp(bytes.data(), bytes.size());
}

// Red in the low byte: the colour of the file's blue, green, red bytes b, g, r.
constexpr std::uint32_t colourOf(unsigned char b, unsigned char g, unsigned char r) {
    return r + g * 256u + b * 65536u;
}

}  // namespace

TEST(BmpPictureTest, RowsRunBottomUpWithWidthModFourBytesOfPadding) {
    // A 3 x 2 picture: the bottom row starts at byte 54, three padding bytes, the top row at 66.
    std::vector<unsigned char> bytes = bmp24(3, 2, [](int, int) { return 0u; });
    ASSERT_EQ(54u + 12 + 12, bytes.size());
    for (std::size_t i = 54; i < bytes.size(); ++i) {
        bytes[i] = static_cast<unsigned char>(i);
    }
    bytes.resize(75);  // the last row's padding is not needed
    const std::optional<BmpPicture> picture = decode(bytes);
    ASSERT_TRUE(picture);
    EXPECT_EQ(3u, picture->pixelWidth);
    EXPECT_EQ(2u, picture->pixelHeight);
    auto at = [&](int column, int row) { return picture->bit[column * 2 + row]; };
    EXPECT_EQ(colourOf(54, 55, 56), at(0, 1));
    EXPECT_EQ(colourOf(60, 61, 62), at(2, 1));
    EXPECT_EQ(colourOf(66, 67, 68), at(0, 0));
    EXPECT_EQ(colourOf(72, 73, 74), at(2, 0));

    bytes.resize(74);
    EXPECT_FALSE(decode(bytes));
}

TEST(BmpPictureTest, HeadersThatDescribeNoPictureAreAMissingPicture) {
    const std::vector<unsigned char> good = bmp24(4, 4, [](int c, int r) { return c * 16u + r; });
    ASSERT_TRUE(decode(good));
    auto withSides = [&](std::int32_t width, std::int32_t height) {
        std::vector<unsigned char> bytes = good;
        putLittleEndian(bytes, 18, static_cast<std::uint32_t>(width), 4);
        putLittleEndian(bytes, 22, static_cast<std::uint32_t>(height), 4);
        return bytes;
    };
    EXPECT_FALSE(decode(withSides(0, 4)));
    EXPECT_FALSE(decode(withSides(4, 0)));
    EXPECT_FALSE(decode(withSides(-4, 4)));
    EXPECT_FALSE(decode(withSides(4, -4)));  // top-down pictures
    EXPECT_FALSE(decode(withSides(16385, 1)));
    EXPECT_FALSE(decode(withSides(0x7FFFFFFF, 0x7FFFFFFF)));
    EXPECT_FALSE(decode(withSides(16384, 16384)));  // plausible, but the file holds 48 bytes of pixels
    EXPECT_FALSE(decode(std::vector<unsigned char>(good.begin(), good.begin() + 53)));
    EXPECT_FALSE(decodeBmp(nullptr, 0));

    // Another bit depth is read by the same rules, within the file.
    std::vector<unsigned char> eightBit = good;
    putLittleEndian(eightBit, 28, 8, 2);
    EXPECT_TRUE(decode(eightBit));
    eightBit.resize(54 + 16);  // what 8-bit pixels of 4 x 4 would need
    EXPECT_FALSE(decode(eightBit));
}

class BitmapTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        // 2 x 2: red, green on top; blue, white below.
        writeBytes("flag.bmp", bmp24(2, 2, [](int c, int r) {
                       const std::uint32_t colours[2][2] = {{0x0000FF, 0x00FF00}, {0xFF0000, 0xFFFFFF}};
                       return colours[r][c];
                   }));
        writeBytes("broken.bmp", std::vector<unsigned char>(40, 0));
        screen = createEmptyState(L"Pictures");
    }
    const platform::DrawnBlit* lastBlit() const {
        const platform::PaintRecord* record = window->lastPaint();
        return record != nullptr && !record->blits.empty() ? &record->blits.back() : nullptr;
    }

    State* screen = nullptr;
};

TEST_F(BitmapTest, APictureIsScaledIntoItsRectangleOnlyInIntensePaints) {
    GuiBitmap* flag = createGuiBitmap(150, 125, 100, 50, "flag.bmp");  // (100, 100) .. (200, 150)
    ASSERT_NE(nullptr, flag);
    EXPECT_EQ(0x0000FFu, flag->pixelAt(0, 0));
    EXPECT_EQ(0xFFFFFFu, flag->pixelAt(1, 1));
    addElementToState(screen, flag);
    GuiSelectionfield* selection = addElementToState(screen, new GuiSelectionfield(500, 300, 200, 40));
    show(screen);
    const platform::DrawnBlit* blit = lastBlit();
    ASSERT_NE(nullptr, blit);
    EXPECT_EQ(100, blit->x);
    EXPECT_EQ(100, blit->width);
    EXPECT_EQ(50, blit->height);
    EXPECT_EQ(0xFF0000u, blit->at(0, 0));    // red (as 0x00RRGGBB)
    EXPECT_EQ(0x00FF00u, blit->at(99, 24));  // green
    EXPECT_EQ(0x0000FFu, blit->at(49, 25));  // blue
    EXPECT_EQ(0x0000FFu, window->pixel(120, 110));  // red on the canvas (0x00BBGGRR)

    framewRepaint(100, 100, 100, 50, false, false);  // light: the picture stays as it is
    ASSERT_TRUE(paint());
    EXPECT_EQ(nullptr, lastBlit());
    framewRepaint(100, 100, 100, 50, true, false);
    ASSERT_TRUE(paint());
    EXPECT_NE(nullptr, lastBlit());

    // Not while an unfolded list lies over the screen.
    click(500, 300);
    paint();
    ASSERT_EQ(selection, screen->superior);
    repaintAll();
    EXPECT_EQ(nullptr, lastBlit());
}

TEST_F(BitmapTest, MissingPicturesMakeNoBitmapOrAnEmptyOne) {
    EXPECT_EQ(nullptr, createGuiBitmap(100, 100, 50, 50, "absent.bmp"));
    EXPECT_EQ(nullptr, createGuiBitmap(100, 100, 50, 50, "broken.bmp"));
    EXPECT_EQ(nullptr, createGuiBitmap(100, 100, 50, 50, "."));

    GuiBitmap* hint = addElementToState(screen, createPermanentGuiBitmap(300, 300, 100, 100, ""));
    GuiBitmap* other = addElementToState(screen, createPermanentGuiBitmap(600, 300, 100, 100, nullptr));
    ASSERT_NE(nullptr, hint);
    EXPECT_FALSE(hint->isValid());
    EXPECT_TRUE(*hint == *other);
    show(screen);
    EXPECT_EQ(nullptr, lastBlit());

    EXPECT_TRUE(hint->changeFile("flag.bmp"));
    EXPECT_STREQ("flag.bmp", hint->getPath());
    EXPECT_FALSE(*hint == *other);
    EXPECT_TRUE(other->changeFile("./flag.bmp"));
    EXPECT_FALSE(*hint == *other);  // the same file, but not the same path
    EXPECT_TRUE(other->changeFile("flag.bmp"));
    EXPECT_TRUE(*hint == *other);
    ASSERT_TRUE(paint());
    ASSERT_EQ(2u, window->lastPaint()->blits.size());
    EXPECT_EQ(250, window->lastPaint()->blits[0].x);

    EXPECT_FALSE(hint->changeFile("broken.bmp"));
    EXPECT_FALSE(hint->isValid());
    EXPECT_EQ(nullptr, hint->getPath());
    other->unloadFile();
    EXPECT_FALSE(other->isValid());
    window->clearPaints();
    ASSERT_TRUE(paint());
    EXPECT_EQ(nullptr, lastBlit());
}
