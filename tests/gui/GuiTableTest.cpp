#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gui/GuiTable.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "gui/support/ScreenDriver.h"

using mernolex::test::ScreenTest;

namespace {

class TableTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        screen = createEmptyState(L"Verb");
        other = addElementToState(screen, new GuiTextfield(500, 450, L"", false, 200, 30));
    }

    // A table of text fields holding "ab".
    GuiTable* fieldTable(int x, int y, int width, int height, int columns, int lines) {
        GuiTable* table = addElementToState(screen, new GuiTable(x, y, width, height, columns, lines));
        for (int column = 0; column < columns; ++column) {
            for (int line = 0; line < lines; ++line) {
                table->setContent(line, column, new GuiTextfield(0, 0, L"ab", false, 10, 10));
            }
        }
        return table;
    }
    static std::wstring textAt(const GuiTable& table, int line, int column) {
        return static_cast<GuiTextfield*>(table.getContent(line, column))->getText();
    }
    static std::vector<bool> selection(const GuiTable& table) {
        std::vector<bool> selected;
        for (int column = 0; column < table.getTallyColumns(); ++column) {
            for (int line = 0; line < table.getTallyLines(); ++line) {
                selected.push_back(table.getCell(line, column)->getFocus());
            }
        }
        return selected;
    }

    State* screen = nullptr;
    GuiTextfield* other = nullptr;
};

}  // namespace

TEST_F(TableTest, TheLastColumnTakesTheRemainderOfTheWidth) {
    GuiTable* table = addElementToState(screen, new GuiTable(100, 50, 400, 91, 3, 2));
    EXPECT_EQ(133, table->getCell(0, 0)->getWidth());
    EXPECT_EQ(133, table->getCell(1, 1)->getWidth());
    EXPECT_EQ(134, table->getCell(0, 2)->getWidth());
    EXPECT_EQ(366, table->getCell(1, 2)->getX());
    EXPECT_EQ(95, table->getCell(1, 0)->getY());
    EXPECT_EQ(45, table->getCell(1, 0)->getHeight());  // the remainder of the height is left over

    table->setContent(1, 2, new GuiText(L"ich", 0, 0, 1, 1, FONT1, TEXT_CENTRE));
    EXPECT_EQ(366, table->getContent(1, 2)->getX());  // moved onto its cell
    table->repositionElement(0, 0, 300, 90);
    EXPECT_EQ(200, table->getContent(1, 2)->getX());
    EXPECT_EQ(45, table->getContent(1, 2)->getY());
    EXPECT_EQ(nullptr, table->getContent(5, 0));
    table->setContent(5, 0, new GuiText(L"lost", 0, 0, 1, 1, FONT1, TEXT_CENTRE));  // destroyed
    GuiTable empty(0, 0, 100, 100, 0, 3);
    EXPECT_EQ(nullptr, empty.firstCell());
    show(screen);
    EXPECT_TRUE(painted(L"ich"));
}

TEST_F(TableTest, ADragSelectsTheCellsItTouchesAndTypingEditsThemAll) {
    // Columns 100..233, 233..366, 366..500; lines 100..140, 140..180.
    GuiTable* table = fieldTable(100, 100, 400, 80, 3, 2);
    show(screen);
    press(166, 120);
    drag(300, 125);
    drag(433, 120);
    release(433, 120);
    EXPECT_EQ((std::vector<bool>{true, false, true, false, true, false}), selection(*table));
    EXPECT_EQ(table, screen->focus);
    type(L"x");
    EXPECT_EQ(L"x", textAt(*table, 0, 0));
    EXPECT_EQ(L"x", textAt(*table, 0, 1));
    EXPECT_EQ(L"x", textAt(*table, 0, 2));
    EXPECT_EQ(L"ab", textAt(*table, 1, 0));
    key(platform::key::Home);
    type(L"y");
    EXPECT_EQ(L"yx", textAt(*table, 0, 2));

    // A single click selects that cell alone.
    click(300, 160);
    EXPECT_EQ((std::vector<bool>{false, false, false, true, false, false}), selection(*table));
    type(L"z");
    EXPECT_EQ(L"z", textAt(*table, 1, 1));
    EXPECT_EQ(L"yx", textAt(*table, 0, 2));

    // Losing the focus deselects everything, gaining it by Tab selects the first cell.
    type(L"\t");
    EXPECT_EQ(other, screen->focus);
    EXPECT_EQ(std::vector<bool>(6, false), selection(*table));
    type(L"\t");
    EXPECT_EQ((std::vector<bool>{true, false, false, false, false, false}), selection(*table));
    repaintAll();
    int dashed = 0;
    for (const platform::DrawnRect& r : window->lastPaint()->rects) {
        dashed += r.pen == platform::PenStyle::DashDotDot ? 1 : 0;
    }
    EXPECT_EQ(3, dashed);  // the table's outline, the selected cell and its field
}

TEST_F(TableTest, ADragReachesIntoANestedTable) {
    // Outer cells 100..300 and 300..500 over y 300..360; the first holds a table of two lines.
    GuiTable* outer = fieldTable(100, 300, 400, 60, 2, 1);
    auto* inner = new GuiTable(0, 0, 10, 10, 1, 2);
    inner->setContent(0, 0, new GuiTextfield(0, 0, L"ab", false, 10, 10));
    inner->setContent(1, 0, new GuiTextfield(0, 0, L"ab", false, 10, 10));
    outer->setContent(0, 0, inner);
    EXPECT_EQ(330, inner->getCell(1, 0)->getY());
    show(screen);

    press(150, 310);
    release(450, 310);
    EXPECT_TRUE(outer->getCell(0, 1)->getFocus());
    EXPECT_TRUE(inner->getCell(0, 0)->getFocus());
    EXPECT_FALSE(inner->getCell(1, 0)->getFocus());
    type(L"q");
    EXPECT_EQ(L"q", textAt(*inner, 0, 0));
    EXPECT_EQ(L"ab", textAt(*inner, 1, 0));
    EXPECT_EQ(L"q", textAt(*outer, 0, 1));

    // A click into the nested table's second line selects just that line there.
    click(150, 345);
    EXPECT_FALSE(inner->getCell(0, 0)->getFocus());
    EXPECT_TRUE(inner->getCell(1, 0)->getFocus());
    EXPECT_FALSE(outer->getCell(0, 1)->getFocus());
}
