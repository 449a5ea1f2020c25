#include <gtest/gtest.h>

#include "FrameworkFixture.h"
#include "shell/frameworkPainter.h"

using mernolex::test::FrameworkTest;
using platform::PenStyle;
using platform::PixelRect;

namespace {

constexpr COLORREF Black = 0x000000;

class FrameworkPainterTest : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        window->setDeterministicTextMetric(true);
        fonts[F1_SIZE] = 20;  // each character measures 10 wide and 20 high
        measureWindow();
        window->clearPaints();
    }

    // Runs `draw` inside a paint and returns what it drew.
    template <typename Draw>
    const platform::PaintRecord& paint(Draw draw) {
        window->invalidateAll();
        framewBeginPaint();
        draw();
        framewEndPaint();
        return *window->lastPaint();
    }
};

}  // namespace

TEST_F(FrameworkPainterTest, TextShrinksToItsBoxThenScalesByRatioMin) {
    const auto& drawn = paint([] {
        // "ABCD" measures 40 x 20 at size 20.
        framewPaintTextW(100, 100, 20, 40, FONT1, L"ABCD", TEXT_CENTRE, 0x123456);  // twice too wide
        framewPaintTextW(100, 200, 400, 40, FONT1, L"fits", TEXT_LEFT, Black);
        framewPaintTextW(100, 300, 20, 5, FONT1, L"ABCD", TEXT_RIGHT, Black);  // 2x wide, 4x high
        framewPaintTextW(0, 0, 0, 40, FONT1, L"ABCD", TEXT_CENTRE, Black);     // no width at all
    });
    ASSERT_EQ(4u, drawn.texts.size());
    EXPECT_EQ(9, drawn.texts[0].font.cellHeight);   // trunc(10 * 0.922)
    EXPECT_EQ(18, drawn.texts[1].font.cellHeight);  // trunc(20 * 0.922)
    EXPECT_EQ(4, drawn.texts[2].font.cellHeight);   // trunc(5 * 0.922)
    EXPECT_EQ(0, drawn.texts[3].font.cellHeight);

    // The box is mapped corner by corner; format and colour pass through.
    EXPECT_EQ((PixelRect{98, 92, 118, 129}), drawn.texts[0].box);
    EXPECT_EQ(TEXT_CENTRE, drawn.texts[0].format);
    EXPECT_EQ(0x123456u, drawn.texts[0].colour);
    EXPECT_EQ("Arial Unicode MS", drawn.texts[0].font.face);
    EXPECT_FALSE(drawn.texts[0].rightToLeft);
}

TEST_F(FrameworkPainterTest, EightBitTextWinsAndRightToLeftMarksTurnTheDirection) {
    const auto& drawn = paint([] {
        framewPaintText(0, 0, 500, 50, FONT1, "Gr\xC3\xBC\xC3\x9F" "e", L"ignored", TEXT_LEFT, Black);
        framewPaintTextA(0, 60, 500, 50, FONT1, "caf\xE9", TEXT_LEFT, Black);
        framewPaintTextW(0, 120, 500, 50, FONT1, L"\u200F\u05E9\u05DC\u05D5\u05DD\u200F", TEXT_RIGHT,
                         Black);
        framewPaintText(0, 180, 500, 50, FONT1, nullptr, nullptr, TEXT_LEFT, Black);
    });
    ASSERT_EQ(4u, drawn.texts.size());
    EXPECT_EQ(L"Grüße", drawn.texts[0].text);
    EXPECT_EQ(L"café", drawn.texts[1].text);
    EXPECT_TRUE(drawn.texts[2].rightToLeft);
    EXPECT_EQ(L"", drawn.texts[3].text);
}

TEST_F(FrameworkPainterTest, PrimitivesOutsideAPaintDrawNothing) {
    framewPaintRect(0, 0, 100, 100, 0xFF, PEN_SOLID, 0, 0);
    framewPaintTextW(0, 0, 100, 100, FONT1, L"x", TEXT_LEFT, 0);
    const COLORREF pixels[] = {0xFF};
    framewPaintBitmapFull({pixels, 1, 1}, 0, 0, 10, 10);
    EXPECT_TRUE(window->paints().empty());
    EXPECT_EQ(0xFFFFFFu, window->pixel(5, 5));
}

TEST_F(FrameworkPainterTest, RectanglesMapCornersAndPenStyles) {
    const auto& drawn = paint([] {
        framewPaintRect(100, 100, 50, 20, 0x00FF00, PEN_DASHDOTDOT, 0, 0x0000FF);
        framewPaintRect(0, 0, 1005, 505, 0x0A8C0A, PEN_NULL, 0, 0);
        framewPaintRect(0, 0, 10, 10, 0, 1, 0, 0);  // a style the program never uses: solid
        framewPaintTransparentRect(RECT{10, 20, 110, 70}, PEN_SOLID);
    });
    ASSERT_EQ(4u, drawn.rects.size());
    EXPECT_EQ((PixelRect{98, 92, 147, 110}), drawn.rects[0].rect);
    EXPECT_EQ(PenStyle::DashDotDot, drawn.rects[0].pen);
    EXPECT_EQ(0x00FF00u, drawn.rects[0].brush);
    EXPECT_EQ(0x0000FFu, drawn.rects[0].penColour);
    EXPECT_EQ((PixelRect{0, 0, 988, 465}), drawn.rects[1].rect);
    EXPECT_EQ(PenStyle::Null, drawn.rects[1].pen);
    EXPECT_EQ(PenStyle::Solid, drawn.rects[2].pen);
    EXPECT_FALSE(drawn.rects[3].filled);
    EXPECT_EQ((PixelRect{9, 18, 108, 64}), drawn.rects[3].rect);
    EXPECT_EQ(0x0A8C0Au, window->pixel(500, 300));
}

TEST_F(FrameworkPainterTest, BitmapsAreSampledNearestNeighbour) {
    open({1000, 500});
    measureWindow();
    // 10 x 10 source, column-major, a distinct colour per pixel.
    std::vector<COLORREF> source(100);
    for (unsigned long c = 0; c < 10; ++c) {
        for (unsigned long r = 0; r < 10; ++r) {
            source[c * 10 + r] = platform::makeColour(static_cast<int>(c * 20), static_cast<int>(r * 20), 7);
        }
    }
    const COLORREF strip[] = {0x0000FF, 0x00FF00, 0xFF0000};
    const auto& drawn = paint([&] {
        framewPaintBitmapFull({source.data(), 10, 10}, 200, 100, 100, 50);
        framewPaintBitmapFull({strip, 3, 1}, 0, 0, 7, 1);  // 3 columns over 7 pixels
        framewPaintBitmapFull({}, 0, 0, 100, 100);           // no picture loaded
        framewPaintBitmapFull({strip, 3, 1}, 0, 0, 0, 10);   // no room
    });
    ASSERT_EQ(2u, drawn.blits.size());
    const auto& big = drawn.blits[0];
    EXPECT_EQ(200, big.x);
    EXPECT_EQ(100, big.y);
    ASSERT_EQ(100, big.width);
    ASSERT_EQ(50, big.height);
    for (int j = 0; j < 50; ++j) {
        for (int i = 0; i < 100; ++i) {
            const COLORREF expected = source[(i / 10) * 10 + j / 5];
            const std::uint32_t word = (platform::redOf(expected) << 16) |
                                       (platform::greenOf(expected) << 8) | platform::blueOf(expected);
            ASSERT_EQ(word, big.at(i, j)) << i << "," << j;
        }
    }
    EXPECT_EQ(source[9 * 10 + 9], window->pixel(299, 149));
    EXPECT_EQ(source[0], window->pixel(200, 100));

    const std::uint32_t red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF;
    const std::vector<std::uint32_t> expectedStrip{red, red, red, green, green, blue, blue};
    EXPECT_EQ(expectedStrip, drawn.blits[1].pixels);
}

TEST(FrameworkColours, BrightnessClampsEachChannelInTheDirectionOfTheOffset) {
    const COLORREF sample = platform::makeColour(48, 32, 16);
    EXPECT_EQ(platform::makeColour(255, 255, 255), brightness(sample, 240));
    EXPECT_EQ(platform::makeColour(16, 0, 0), brightness(sample, -32));
    EXPECT_EQ(platform::makeColour(68, 52, 36), brightness(sample, 20));
    EXPECT_EQ(sample, brightness(sample, 0));
    EXPECT_EQ(0u, brightness(0xFFFFFF, INT_MIN));
    EXPECT_EQ(0xFFFFFFu, brightness(0, INT_MAX));
}

TEST(FrameworkFonts, OnlyTheFirstFaceResolves) {
    framewResetResources();
    loadDefaults();
    Font font;
    EXPECT_EQ(&font, resolveFont(&font, FONT1));
    EXPECT_EQ(100, font.fontSize);
    EXPECT_EQ(0, font.fontWeight);
    EXPECT_STREQ("Arial Unicode MS", font.pFontface);
    EXPECT_EQ(colours[F1_RGB], font.colour);
    resolveFont(&font, FONTFACES_ENDTAG);
    EXPECT_EQ(0, font.fontSize);
    EXPECT_STREQ("", font.pFontface);
    EXPECT_EQ(nullptr, resolveFont(nullptr, FONT1));
    framewResetResources();
}
