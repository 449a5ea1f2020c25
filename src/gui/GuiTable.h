#pragma once

// A grid of cells, each holding one element; the verb tables are built from it (a column per
// tense, a row per person). Dragging across the table selects every cell the drag rectangle
// touches, and typed keys go to every selected cell at once.
//
// Layout: colOffset = width / columns and lineHeight = height / lines (integer division); cell
// (column i, line j) lies at (x + colOffset * i, y + lineHeight * j), colOffset wide (the last
// column also takes the remainder of the width) and lineHeight high.
//
//   pointer                                    cells
//   press and release in one cell              that cell selected, all others deselected
//   press in one cell, release in another      every cell the drag rectangle touches (a drag)
//   press and release outside, table focused   none selected (the rectangle touches none)
//   the table loses the focus                  none selected
//   the table gains the focus (Tab)            the first cell selected

#include <memory>
#include <vector>

#include "gui/FocusElement.h"
#include "gui/GuiTableCell.h"

class GuiTable : public FocusElement {
public:
    // A table of `col` x `lin` empty cells over (x, y, width, height), top-left based, on every
    // page. Without columns or lines it has no cells.
    GuiTable(int x, int y, int width, int height, int col, int lin);

    // Moves the table and lays its cells out again.
    void repositionElement(int x, int y, int width, int height) override;
    void render(const RECT& rc) override;
    bool click(int x, int y) override;
    bool unclick(int x, int y) override;
    bool hover(int x, int y) override;
    void changeFocus(bool nFocus) override;
    // Passed to every cell; the selected ones pass them on to their content.
    void unicode(wchar_t key) override;
    void sysKey(unsigned key, bool shiftDown, bool ctrlDown) override;

    // The content of a cell, or null (also for a position that does not exist).
    GuiElement* getContent(int line, int column) const;
    // The cell takes ownership of `content` and destroys its previous one; a position that does
    // not exist destroys `content`.
    void setContent(int line, int column, GuiElement* content);
    // The content's background colour (the text colour of a label).
    void setColour(int line, int column, COLORREF newColour);
    GuiTableCell* getCell(int line, int column) const;

    int getTallyColumns() const { return tallyColumns; }
    int getTallyLines() const { return tallyLines; }
    GuiTableCell* firstCell() const { return cells.empty() ? nullptr : cells.front().get(); }

private:
    void layoutCells(bool moveIntensely);

    std::vector<std::unique_ptr<GuiTableCell>> cells;  // column by column
    int tallyColumns;
    int tallyLines;
    RECT mouseArea;  // the drag rectangle of the current press
};
