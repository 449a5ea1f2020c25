#include <gtest/gtest.h>

#include <cstring>

#include <pango/pangocairo.h>

#include "CanvasProbe.h"
#include "platform/CairoPainter.h"
#include "platform/headless/HeadlessPlatform.h"

using mernolex::test::countOther;
using mernolex::test::inkBounds;
using mernolex::test::White;
using platform::Colour;
using platform::FontSpec;
using platform::HeadlessPlatform;
using platform::makeColour;
using platform::PenStyle;
using platform::PixelRect;
namespace TextFormat = platform::TextFormat;

namespace {

constexpr Colour Black = makeColour(0, 0, 0);
constexpr Colour Red = makeColour(255, 0, 0);
constexpr Colour Green = makeColour(0, 255, 0);
constexpr Colour Blue = makeColour(0, 0, 255);
// A face list that renders the same wherever DejaVu is installed.
const FontSpec Dejavu{"Arial Unicode MS,DejaVu Sans", 40, 0};
constexpr unsigned LeftMiddle = TextFormat::Left | TextFormat::VCenter | TextFormat::SingleLine;

class CairoPainterTest : public ::testing::Test {
protected:
    HeadlessPlatform window{{400, 300}};
    platform::Painter* painter = &window.beginPaint();

    void repaint() {
        window.endPaint();
        window.invalidateAll();
        painter = &window.beginPaint();
    }
    // Drawing is flushed to the canvas when the paint ends.
    void finish() { window.endPaint(); }
};

}  // namespace

TEST_F(CairoPainterTest, OutlinesAreCrispAndRectanglesKeepTheirEdges) {
    painter->fillRect({10, 10, 20, 18}, Red, PenStyle::Solid, 0, Blue);
    painter->fillRect({30, 10, 40, 18}, Red, PenStyle::Null, 0, Blue);
    painter->outlineRect({50, 10, 60, 18}, PenStyle::Solid);
    painter->fillRect({70, 10, 90, 30}, Green, PenStyle::Solid, 3, Blue);
    finish();

    // Solid pen: a one-pixel border of full intensity along the inside of the rectangle.
    EXPECT_EQ(Blue, window.pixel(10, 10));
    EXPECT_EQ(Blue, window.pixel(19, 17));
    EXPECT_EQ(Blue, window.pixel(15, 17));
    EXPECT_EQ(Red, window.pixel(11, 11));
    EXPECT_EQ(Red, window.pixel(18, 16));
    EXPECT_EQ(White, window.pixel(20, 18));
    EXPECT_EQ(White, window.pixel(9, 10));
    EXPECT_EQ(White, window.pixel(15, 18));
    // Null pen: the right column and bottom row stay unpainted.
    EXPECT_EQ(Red, window.pixel(30, 10));
    EXPECT_EQ(Red, window.pixel(38, 16));
    EXPECT_EQ(White, window.pixel(39, 10));
    EXPECT_EQ(White, window.pixel(30, 17));
    // Outline only: black border, untouched interior.
    EXPECT_EQ(Black, window.pixel(50, 10));
    EXPECT_EQ(Black, window.pixel(59, 17));
    EXPECT_EQ(White, window.pixel(55, 14));
    // A wide pen is solid and thicker than one pixel.
    EXPECT_EQ(Blue, window.pixel(80, 11));
    EXPECT_EQ(Green, window.pixel(80, 20));
}

TEST_F(CairoPainterTest, DashDotDotPenRepeatsDashDotDotWithWhiteGaps) {
    painter->fillRect({0, 0, 200, 40}, Green, PenStyle::Null, 0, 0);
    painter->fillRect({10, 10, 130, 30}, Green, PenStyle::DashDotDot, 0, Blue);
    painter->fillRect({10, 32, 130, 39}, Green, PenStyle::DashDotDot, 2, Blue);
    finish();

    // Runs of pen and gap along the top edge, from the corner.
    std::vector<std::pair<Colour, int>> runs;
    for (int x = 10; x < 58; ++x) {
        Colour c = window.pixel(x, 10);
        if (runs.empty() || runs.back().first != c) {
            runs.push_back({c, 0});
        }
        ++runs.back().second;
    }
    const std::vector<std::pair<Colour, int>> expected{
        {Blue, 9}, {White, 3}, {Blue, 3}, {White, 3}, {Blue, 3}, {White, 3},
        {Blue, 9}, {White, 3}, {Blue, 3}, {White, 3}, {Blue, 3}, {White, 3}};
    EXPECT_EQ(expected, runs);
    EXPECT_EQ(Green, window.pixel(70, 20));  // the interior is the brush
    // Styled pens are thin only; a wider one draws solid.
    for (int x = 10; x < 58; ++x) {
        ASSERT_EQ(Blue, window.pixel(x, 32)) << x;
    }
}

TEST_F(CairoPainterTest, FontHeightIsTheCellHeightAndWidthScalesWithIt) {
    const std::wstring text = L"Vocabulary";
    auto small = painter->measureText({Dejavu.face, 10, 0}, text);
    auto large = painter->measureText({Dejavu.face, 100, 0}, text);
    EXPECT_EQ(10, small.height);
    EXPECT_EQ(100, large.height);
    EXPECT_NEAR(large.width, small.width * 10, 10);
    EXPECT_GT(painter->measureText({Dejavu.face, 100, 700}, text).width, large.width);
    // A script shown by a fallback font with a shorter cell is as high as the face's cell.
    EXPECT_EQ(100, painter->measureText({"Arial Unicode MS", 100, 0}, L"\u05E9\u05DC\u05D5\u05DD").height);
    EXPECT_EQ((platform::TextExtent{0, 0}), painter->measureText({Dejavu.face, 0, 0}, text));
    // A size from a damaged settings file is capped, never an overflow.
    EXPECT_GT(painter->measureText({Dejavu.face, 2000000000, 0}, text).width, 0);
}

TEST_F(CairoPainterTest, UnknownFacesAndMissingGlyphsFallBackToInstalledFonts) {
    auto& cairo = window.cairoPainter();
    for (const wchar_t* text : {L"\u05E9\u05DC\u05D5\u05DD", L"\u0645\u0631\u062D\u0628\u0627",
                                L"\u0283\u0259\u02C8n\u025Bl", L"\u270E \u22D8 \u2038"}) {
        auto extent = painter->measureText({"Arial Unicode MS", 30, 0}, text);
        EXPECT_GT(extent.width, 0);
        EXPECT_EQ(0, cairo.lastUnknownGlyphs()) << "no font for a glyph of text starting U+" << std::hex
                                              << static_cast<int>(text[0]);
    }
    painter->measureText({"Arial Unicode MS", 30, 0}, L"a\uE000b");  // private use: nobody has it
    EXPECT_EQ(1, cairo.lastUnknownGlyphs());
}

TEST_F(CairoPainterTest, TextIsAlignedInItsBoxAndClippedToIt) {
    painter->drawText({20, 10, 380, 60}, Dejavu, L"left", LeftMiddle, Black, false);
    painter->drawText({20, 70, 380, 120}, Dejavu, L"right",
                      TextFormat::Right | TextFormat::VCenter | TextFormat::SingleLine, Black, false);
    painter->drawText({20, 130, 380, 180}, Dejavu, L"centre",
                      TextFormat::Center | TextFormat::VCenter | TextFormat::SingleLine, Black, false);
    painter->drawText({50, 200, 90, 220}, {Dejavu.face, 80, 0}, L"WWWW", LeftMiddle, Black, false);
    finish();

    auto left = inkBounds(window, {0, 10, 400, 60});
    EXPECT_NEAR(20, left.left, 4);
    EXPECT_NEAR(35, (left.top + left.bottom) / 2, 6);  // vertically centred
    auto right = inkBounds(window, {0, 70, 400, 120});
    EXPECT_NEAR(380, right.right, 4);
    auto centre = inkBounds(window, {0, 130, 400, 180});
    EXPECT_NEAR(200, (centre.left + centre.right) / 2, 3);

    EXPECT_GT(countOther(window, {50, 200, 90, 220}), 0);
    EXPECT_EQ(0, countOther(window, {0, 190, 400, 200}));
    EXPECT_EQ(0, countOther(window, {0, 220, 400, 300}));
    EXPECT_EQ(0, countOther(window, {90, 190, 400, 230}));
}

TEST_F(CairoPainterTest, RightToLeftTextPutsTrailingNeutralsOnTheLeft) {
    // Right to left, "shalom!" shows the '!' at the far left; a left-to-right paragraph shows
    // the same picture only when the '!' comes first.
    const std::wstring shalom = L"\u05E9\u05DC\u05D5\u05DD";
    painter->drawText({10, 10, 210, 60}, Dejavu, shalom + L"!", LeftMiddle, Black, true);
    painter->drawText({10, 70, 210, 120}, Dejavu, L"!" + shalom, LeftMiddle, Black, false);
    painter->drawText({10, 130, 210, 180}, Dejavu, shalom + L"!", LeftMiddle, Black, false);
    painter->drawText({10, 190, 210, 240}, Dejavu, shalom + L"!", LeftMiddle | TextFormat::RtlReading,
                      Black, false);
    finish();

    auto sameRows = [&](int topA, int topB) {
        for (int y = 0; y < 50; ++y) {
            for (int x = 10; x < 210; ++x) {
                if (window.pixel(x, topA + y) != window.pixel(x, topB + y)) {
                    return false;
                }
            }
        }
        return true;
    };
    EXPECT_GT(countOther(window, {10, 10, 210, 60}), 0);
    EXPECT_TRUE(sameRows(10, 70));
    EXPECT_FALSE(sameRows(10, 130));
    EXPECT_TRUE(sameRows(10, 190));
}

TEST_F(CairoPainterTest, BlitCopiesRgbWordsAndCachingChangesNothingDrawn) {
    const std::uint32_t pixels[] = {0xFF0000, 0x00FF00, 0x0000FF, 0x102030};
    painter->blit(5, 5, 2, 2, pixels);
    painter->drawText({0, 100, 200, 150}, Dejavu, L"Gl\u00FCck \u05E9\u05DC\u05D5\u05DD", LeftMiddle,
                      Blue, false);
    window.cairoPainter().setCaching(false);
    painter->drawText({200, 100, 400, 150}, Dejavu, L"Gl\u00FCck \u05E9\u05DC\u05D5\u05DD", LeftMiddle,
                      Blue, false);
    finish();

    EXPECT_EQ(Red, window.pixel(5, 5));
    EXPECT_EQ(Green, window.pixel(6, 5));
    EXPECT_EQ(Blue, window.pixel(5, 6));
    EXPECT_EQ(makeColour(0x10, 0x20, 0x30), window.pixel(6, 6));
    EXPECT_EQ(White, window.pixel(7, 7));
    for (int y = 100; y < 150; ++y) {
        for (int x = 0; x < 200; ++x) {
            ASSERT_EQ(window.pixel(x, y), window.pixel(x + 200, y)) << x << "," << y;
        }
    }
}

TEST_F(CairoPainterTest, RepeatedTextReusesLayoutAndFontDescriptions) {
    painter->drawText({0, 0, 200, 50}, Dejavu, L"first", LeftMiddle, Black, false);
    painter->measureText({Dejavu.face, 13, 0}, L"second");
    const auto before = platform::CairoPainter::counters();
    repaint();
    painter->drawText({0, 0, 200, 50}, Dejavu, L"first", LeftMiddle, Black, false);
    painter->measureText({Dejavu.face, 13, 0}, L"other text");
    const auto after = platform::CairoPainter::counters();
    EXPECT_EQ(before.layoutsCreated, after.layoutsCreated);
    EXPECT_EQ(before.fontDescriptionsCreated, after.fontDescriptionsCreated);
    // A new weight is a new font.
    painter->measureText({Dejavu.face, 13, 700}, L"bold");
    EXPECT_GT(platform::CairoPainter::counters().fontDescriptionsCreated, after.fontDescriptionsCreated);
    finish();
}

// Texts kept shaped across paints draw exactly what shaping them anew draws, in every layout a
// label has: several lines, right to left, centred, at the right and at the bottom; and measure
// the same.
TEST_F(CairoPainterTest, TextsShapedOnceDrawAndMeasureAsTextsShapedAnew) {
    struct Case {
        const wchar_t* text;
        unsigned format;
        bool rightToLeft;
    };
    const Case cases[] = {
        {L"two\nlines", TextFormat::Left, false},
        {L"\u05E9\u05DC\u05D5\u05DD world", TextFormat::Right | TextFormat::VCenter | TextFormat::SingleLine, true},
        {L"centred", TextFormat::Center | TextFormat::Bottom | TextFormat::SingleLine, false},
        {L"Gl\u00FCck \u270E", TextFormat::Center | TextFormat::VCenter | TextFormat::SingleLine | TextFormat::RtlReading,
         false},
    };
    auto drawAll = [&](int left) {
        for (int i = 0; i < 4; ++i) {
            const Case& c = cases[i];
            painter->drawText({left, 70 * i, left + 190, 70 * i + 65}, Dejavu, c.text, c.format, Blue, c.rightToLeft);
        }
    };
    drawAll(0);
    repaint();  // the cached texts drawn in a later paint, on a blank canvas again
    painter->fillRect({0, 0, 400, 300}, White, PenStyle::Null, 0, White);
    drawAll(0);
    const platform::TextExtent cachedExtent = painter->measureText(Dejavu, cases[1].text);
    window.cairoPainter().setCaching(false);
    drawAll(200);
    EXPECT_EQ(cachedExtent.width, painter->measureText(Dejavu, cases[1].text).width);
    finish();
    for (int y = 0; y < 280; ++y) {
        for (int x = 0; x < 190; ++x) {
            ASSERT_EQ(window.pixel(x, y), window.pixel(x + 200, y)) << x << "," << y;
        }
    }
    EXPECT_GT(countOther(window, {0, 0, 190, 65}), 0);
}

// The window's painter takes over the texts the start-up's warming painter laid out in the same
// font map: they draw and measure exactly as the ones it lays out itself, and nothing of them
// (descriptions, layouts, shapes) is made again.
TEST(CairoPainterAdoptionTest, AdoptedTextsDrawAndMeasureAsTheirOwnWithoutBeingMadeAgain) {
    PangoFontMap* map = pango_cairo_font_map_new();
    const PixelRect box{0, 0, 300, 60};
    const wchar_t* text = L"Gl\u00FCck \u270E";
    auto surface = [] {
        cairo_surface_t* made = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 300, 60);
        cairo_t* cr = cairo_create(made);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        cairo_destroy(cr);
        return made;
    };
    // Measures and draws the text in `painter` on a white surface of its own.
    auto paint = [&](platform::CairoPainter& painter, platform::TextExtent& extent) {
        cairo_surface_t* target = surface();
        cairo_t* cr = cairo_create(target);
        painter.bind(cr);
        extent = painter.measureText(Dejavu, text);
        painter.drawText(box, Dejavu, text, LeftMiddle, Blue, false);
        painter.unbind();
        cairo_destroy(cr);
        cairo_surface_flush(target);
        return target;
    };
    {
        platform::TextExtent warmedExtent, ownExtent, adoptedExtent;
        platform::CairoPainter warmed(map);
        cairo_surface_destroy(paint(warmed, warmedExtent));
        platform::CairoPainter own(map);
        cairo_surface_t* ownPixels = paint(own, ownExtent);

        platform::CairoPainter adopting(map);
        adopting.adoptTexts(warmed);
        const auto before = platform::CairoPainter::counters();
        cairo_surface_t* adoptedPixels = paint(adopting, adoptedExtent);
        const auto after = platform::CairoPainter::counters();
        EXPECT_EQ(after.fontDescriptionsCreated, before.fontDescriptionsCreated);
        EXPECT_EQ(after.layoutsCreated, before.layoutsCreated + 1) << "only the painter's own shared layout";
        EXPECT_EQ(adoptedExtent.width, ownExtent.width);
        EXPECT_EQ(adoptedExtent.height, ownExtent.height);
        const int bytes = cairo_image_surface_get_stride(ownPixels) * cairo_image_surface_get_height(ownPixels);
        EXPECT_EQ(0, std::memcmp(cairo_image_surface_get_data(ownPixels), cairo_image_surface_get_data(adoptedPixels),
                                 static_cast<std::size_t>(bytes)));
        cairo_surface_destroy(ownPixels);
        cairo_surface_destroy(adoptedPixels);
    }
    g_object_unref(map);
}
