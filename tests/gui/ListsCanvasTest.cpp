#include <cstdint>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "gui/GuiBackButton.h"
#include "gui/GuiBitmap.h"
#include "gui/GuiSearchItemfield.h"
#include "gui/GuiSelectionfield.h"
#include "gui/GuiTable.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "gui/guiShiftfield.h"
#include "gui/support/BmpBytes.h"
#include "gui/support/ScreenDriver.h"

// One screen with the list elements as a user meets them: a search list on its second page, a
// verb table with a dragged selection, a flag picture, a shift field and, over them, an unfolded
// selection field. Painted in the real default face and kept as screen-lists.png beside the test
// program for a person to look at.

namespace {

class ListsCanvasTest : public mernolex::test::ScreenTest {
protected:
    void SetUp() override {
        pngPath = std::filesystem::current_path() / "screen-lists.png";
        ScreenTest::SetUp();
    }
    std::filesystem::path pngPath;
};

// Black, red and gold stripes, 30 x 18 pixels.
std::uint32_t flagColour(int, int row) {
    constexpr std::uint32_t Stripes[] = {0x000000, 0x0000DD, 0x00CEFF};
    return Stripes[row / 6];
}

}  // namespace

TEST_F(ListsCanvasTest, ListsTablesAndPicturesOnOneScreen) {
    mernolex::test::writeBytes("flag.bmp", mernolex::test::bmp24(30, 18, flagColour));
    State* s = createEmptyState(curStrings[String_WORDS]);
    s->traceback = TRACEBACK_LINE;
    setConditional(s, ALL_CONDITIONS);

    auto* words = addElementToState(s, new GuiSearchItemfield(30, 50, 300, 343));
    const wchar_t* stems[] = {L"Haus", L"Hund", L"Katze", L"Baum", L"Garten", L"Tisch", L"Stuhl"};
    for (int i = 0; i < 23; ++i) {
        words->addItem((std::wstring(stems[i % 7]) + L" " + std::to_wstring(i + 1)).c_str());
        words->setLastId(static_cast<unsigned>(i + 1));
    }

    auto* verb = addElementToState(s, new GuiTable(360, 50, 420, 160, 3, 4));
    const wchar_t* persons[] = {L"", L"ich", L"du", L"er/sie/es"};
    const wchar_t* present[] = {L"Präsens", L"gehe", L"gehst", L"geht"};
    const wchar_t* past[] = {L"Präteritum", L"ging", L"gingst", L"ging"};
    for (int line = 0; line < 4; ++line) {
        verb->setContent(line, 0, new GuiText(persons[line], 0, 0, 1, 1, FONT1, TEXT_CENTRE));
        if (line == 0) {
            verb->setContent(0, 1, new GuiText(present[0], 0, 0, 1, 1, FONT1, TEXT_CENTRE));
            verb->setContent(0, 2, new GuiText(past[0], 0, 0, 1, 1, FONT1, TEXT_CENTRE));
        } else {
            verb->setContent(line, 1, new GuiTextfield(0, 0, present[line], false, 1, 1));
            verb->setContent(line, 2, new GuiTextfield(0, 0, past[line], false, 1, 1));
        }
    }
    addElementToState(s, createGuiBitmap(890, 100, 150, 90, "flag.bmp"));

    GuiItemfield* use = nullptr;
    createGuiShiftfield("USE", "DONT_USE", curStrings[String_USE], curStrings[String_DONT_USE], 620, 400, 620, 150,
                        &use, nullptr);
    for (const wchar_t* category : {L"Tiere", L"Möbel", L"Pflanzen"}) {
        use->addItem(category);
    }
    auto* language = addElementToState(s, new GuiSelectionfield(570, 255, 300, 40));
    for (const wchar_t* name : {L"Alle Sprachen", L"Deutsch", L"English", L"Français", L"עברית"}) {
        language->addItem(name);
    }
    addElementToState(s, new GuiBackButton);
    show(s);

    // Page 2 of the words with its third entry chosen; the present tense of "du" and "er" dragged.
    click(280, 368);
    click(150, 100 + 2 * 24 + 10);
    press(560, 150);
    release(560, 190);
    paint();
    EXPECT_TRUE(verb->getCell(2, 1)->getFocus());
    EXPECT_TRUE(verb->getCell(3, 1)->getFocus());
    click(570, 255);  // unfolds over the shift field; the table gives up the focus and its selection
    paint();
    ASSERT_TRUE(window->savePng(pngPath.string()));

    EXPECT_TRUE(language->isUnfolded());
    EXPECT_EQ(2u, words->getCurPage());
    EXPECT_EQ(13u, words->getActiveId());
    EXPECT_FALSE(verb->getCell(2, 1)->getFocus());
    EXPECT_TRUE(painted(L"עברית"));
    EXPECT_EQ(0x000000u, window->pixel(890, 60));  // the flag's black stripe, drawn before
}
