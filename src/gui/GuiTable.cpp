#include "gui/GuiTable.h"

#include <algorithm>

#include "shell/frameworkPainter.h"

GuiTable::GuiTable(int x, int y, int width, int height, int col, int lin)
    : FocusElement(x, y, width, height, ALL_CONDITIONS),
      tallyColumns(col > 0 && lin > 0 ? col : 0),
      tallyLines(col > 0 && lin > 0 ? lin : 0) {
    const int count = tallyColumns * tallyLines;
    for (int i = 0; i < count; ++i) {
        cells.push_back(std::make_unique<GuiTableCell>(0, 0, 0, 0));
        if (i > 0) {
            cells[i - 1]->nextCell = cells[i].get();
        }
    }
    layoutCells(false);
}

void GuiTable::layoutCells(bool moveIntensely) {
    if (cells.empty()) {
        return;
    }
    const int colOffset = width / tallyColumns;
    const int lineHeight = height / tallyLines;
    const int remainder = width - tallyColumns * colOffset;
    for (int i = 0; i < tallyColumns; ++i) {
        const int cellWidth = i == tallyColumns - 1 ? colOffset + remainder : colOffset;
        for (int j = 0; j < tallyLines; ++j) {
            GuiTableCell& cell = *cells[static_cast<std::size_t>(i) * tallyLines + j];
            const int cellX = x + colOffset * i;
            const int cellY = y + lineHeight * j;
            if (moveIntensely) {
                cell.repositionElement(cellX, cellY, cellWidth, lineHeight);
            } else {
                cell.place(cellX, cellY, cellWidth, lineHeight);
            }
        }
    }
}

void GuiTable::repositionElement(int newX, int newY, int newWidth, int newHeight) {
    FocusElement::repositionElement(newX, newY, newWidth, newHeight);
    layoutCells(true);
}

void GuiTable::render(const RECT& rc) {
    if (!confirmRender(rc, false)) {
        return;
    }
    for (const auto& cell : cells) {
        cell->render(rc);
    }
    // A nested table is outlined by nothing: its cells already draw the grid.
    if (!getManagedFocus()) {
        framewPaintTransparentRect({x, y, x + width, y + height}, focused ? PEN_DASHDOTDOT : PEN_SOLID);
    }
}

bool GuiTable::click(int posX, int posY) {
    mouseArea.left = posX;
    mouseArea.top = posY;
    for (const auto& cell : cells) {
        cell->click(posX, posY);
    }
    return clickPos(posX, posY);
}

bool GuiTable::unclick(int posX, int posY) {
    bool cellClicked = false;
    if (clicked) {
        for (const auto& cell : cells) {
            cellClicked = cell->unclick(posX, posY) || cellClicked;
        }
    }
    const bool complete = unclickPos(posX, posY);
    if (!complete && !focused) {
        return false;
    }
    if (!cellClicked) {
        // A drag (or a release away from any cell): select what the rectangle touches.
        const RECT area{std::min(mouseArea.left, posX), std::min(mouseArea.top, posY),
                        std::max(mouseArea.left, posX) + 1, std::max(mouseArea.top, posY) + 1};
        mouseArea = area;
        for (const auto& cell : cells) {
            cell->cellUnclick(mouseArea);
        }
    }
    if (!focused) {
        requireFocus();
        lightRepaint();
    }
    return complete;
}

bool GuiTable::hover(int posX, int posY) {
    for (const auto& cell : cells) {
        cell->hover(posX, posY);
    }
    return hoverPos(posX, posY);
}

void GuiTable::changeFocus(bool nFocus) {
    if (focused == nFocus) {
        return;
    }
    setFocus(nFocus);
    if (!nFocus) {
        for (const auto& cell : cells) {
            cell->changeFocus(false);
        }
    } else if (!cells.empty()) {
        cells.front()->changeFocus(true);
    }
    lightRepaint();
}

void GuiTable::unicode(wchar_t key) {
    for (const auto& cell : cells) {
        cell->unicode(key);
    }
}

void GuiTable::sysKey(unsigned key, bool shiftDown, bool ctrlDown) {
    for (const auto& cell : cells) {
        cell->sysKey(key, shiftDown, ctrlDown);
    }
}

GuiTableCell* GuiTable::getCell(int line, int column) const {
    if (line < 0 || line >= tallyLines || column < 0 || column >= tallyColumns) {
        return nullptr;
    }
    return cells[static_cast<std::size_t>(column) * tallyLines + line].get();
}

GuiElement* GuiTable::getContent(int line, int column) const {
    GuiTableCell* cell = getCell(line, column);
    return cell != nullptr ? cell->getContent() : nullptr;
}

void GuiTable::setContent(int line, int column, GuiElement* content) {
    GuiTableCell* cell = getCell(line, column);
    if (cell == nullptr) {
        delete content;  // handed over to be owned, and no cell can take it
        return;
    }
    cell->setContent(content);
}

void GuiTable::setColour(int line, int column, COLORREF newColour) {
    if (GuiElement* content = getContent(line, column)) {
        content->setBackgroundColour(newColour);
    }
}
