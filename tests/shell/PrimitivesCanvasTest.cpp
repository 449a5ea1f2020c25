#include <filesystem>

#include <gtest/gtest.h>

#include "FrameworkFixture.h"
#include "shell/frameworkPainter.h"

// Paints one canvas with every primitive the toolkit uses, in the real default face, and keeps
// it as canvas-primitives.png beside the test program for a person to look at.

namespace {

class PrimitivesCanvasTest : public mernolex::test::FrameworkTest {
protected:
    void SetUp() override {
        pngPath = std::filesystem::current_path() / "canvas-primitives.png";
        FrameworkTest::SetUp();
        open({1000, 500});
    }

    // Draws a text and checks that every glyph found a font.
    void text(int x, int y, int w, int h, const wchar_t* str, unsigned format, COLORREF colour) {
        framewPaintTextW(x, y, w, h, FONT1, str, format, colour);
        EXPECT_EQ(0, window->cairoPainter().lastUnknownGlyphs()) << "missing glyphs in a text at " << x << "," << y;
    }

    // Non-`fill` pixels inside a virtual box (the window maps 1:1 here).
    int ink(int x, int y, int w, int h, COLORREF fill) {
        int count = 0;
        for (int py = y; py < y + h; ++py) {
            for (int px = x; px < x + w; ++px) {
                count += window->pixel(px, py) != fill ? 1 : 0;
            }
        }
        return count;
    }

    std::filesystem::path pngPath;
};

}  // namespace

TEST_F(PrimitivesCanvasTest, EveryPrimitiveOnOneCanvas) {
    const COLORREF white = colours[WHITE_RGB];
    const COLORREF button = colours[BT_RGB];
    std::vector<COLORREF> picture(16 * 8);
    for (unsigned long c = 0; c < 16; ++c) {
        for (unsigned long r = 0; r < 8; ++r) {
            picture[c * 8 + r] = platform::makeColour(static_cast<int>(c * 16), static_cast<int>(r * 32),
                                                      (c + r) % 2 ? 200 : 40);
        }
    }

    framewRepaint();
    framewBeginPaint();
    framewPaintRect(0, 0, 1005, 505, colours[BG_RGB], PEN_NULL, 0, 0);
    text(0, 5, 1000, 50, curStrings[String_SETTINGS_TITLE], TEXT_CENTRE, colours[TEXT_RGB]);
    text(10, 10, 60, 40, curStrings[String_BACK_SYMBOL], TEXT_CENTRE, colours[TEXT_RGB]);

    // Buttons: plain, hovered, pressed, focused.
    const int buttonY = 70;
    const COLORREF shades[] = {button, brightness(button, 20), brightness(button, -20), button};
    const wchar_t* captions[] = {L"Save", L"Hovered", L"Pressed", L"Focused"};
    for (int i = 0; i < 4; ++i) {
        framewPaintRect(20 + i * 240, buttonY, 220, 60, shades[i], i == 3 ? PEN_DASHDOTDOT : PEN_SOLID, 0,
                        0x000000);
        text(20 + i * 240, buttonY, 220, 60, captions[i], TEXT_CENTRE, 0x000000);
    }

    // Text fields: left to right with the caret, right to left in Hebrew and Arabic, IPA.
    framewPaintRect(20, 150, 460, 50, white, PEN_SOLID, 0, 0);
    text(20, 150, 460, 50, L"Haus\u2038", TEXT_LEFT, 0);
    framewPaintRect(520, 150, 460, 50, white, PEN_DASHDOTDOT, 0, 0);
    text(520, 150, 460, 50, L"\u200F\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD!\u2038\u200F",
         TEXT_RIGHT, 0);
    framewPaintRect(20, 210, 460, 50, white, PEN_SOLID, 0, 0);
    text(20, 210, 460, 50, L"\u200F\u0645\u0631\u062D\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645\u200F",
         TEXT_RIGHT, 0);
    framewPaintRect(520, 210, 460, 50, white, PEN_SOLID, 0, 0);
    text(520, 210, 460, 50, L"[\u02C8v\u0254k\u0259bj\u028Al\u0259ri] \u0283\u0259\u02C8n\u025Bl \u00F0 \u03B8 \u014B",
         TEXT_LEFT, 0);

    // A long label shrunk into a small box, an unfitted one, and the colours of the scheme.
    framewPaintRect(20, 280, 300, 30, white, PEN_SOLID, 0, 0);
    text(20, 280, 300, 30, curStrings[String_DELETE_FLASHCARD_QUESTION], TEXT_CENTRE, colours[INCORRECT_RGB]);
    for (int i = 0; i < RGB_ENDTAG; ++i) {
        framewPaintRect(340 + i * 30, 280, 30, 30, colours[i], PEN_SOLID, 0, 0);
    }

    // A picture scaled 10x by nearest neighbour, and the drag rectangle of a selection.
    framewPaintBitmapFull({picture.data(), 16, 8}, 20, 330, 160, 80);
    framewPaintRect(220, 330, 200, 120, colours[MARKED_RGB], PEN_NULL, 0, 0);
    framewPaintTransparentRect(RECT{200, 320, 440, 460}, PEN_SOLID);
    framewPaintTransparentRect(RECT{460, 330, 980, 460}, PEN_DASHDOTDOT);
    text(470, 340, 500, 110, curStrings[String_ALL_DONE], TEXT_CENTRE, colours[TEXT_RGB]);
    framewEndPaint();

    ASSERT_TRUE(window->savePng(pngPath.string()));

    EXPECT_EQ(colours[BG_RGB], window->pixel(2, 498));
    EXPECT_EQ(button, window->pixel(25, buttonY + 5));
    EXPECT_EQ(brightness(button, 20), window->pixel(265, buttonY + 5));
    EXPECT_EQ(0x000000u, window->pixel(20, buttonY));  // crisp corner
    EXPECT_GT(ink(20, buttonY + 1, 220, 58, button), 50);
    EXPECT_GT(ink(21, 151, 458, 48, white), 100);
    EXPECT_GT(ink(521, 151, 458, 48, white), 100);
    EXPECT_GT(ink(21, 211, 458, 48, white), 100);
    EXPECT_GT(ink(521, 211, 458, 48, white), 100);
    // Right-aligned right-to-left text hugs the right edge of its field.
    EXPECT_GT(ink(940, 151, 38, 48, white), 0);
    EXPECT_EQ(0, ink(521, 151, 100, 48, white));
    EXPECT_EQ(picture[0], window->pixel(29, 339));
    EXPECT_EQ(picture[15 * 8 + 7], window->pixel(179, 409));
}
