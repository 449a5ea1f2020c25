#include "gui/GuiTableCell.h"

#include "gui/GuiTable.h"
#include "shell/frameworkPainter.h"

GuiTableCell::GuiTableCell(int x, int y, int width, int height) : FocusElement(x, y, width, height, ALL_CONDITIONS) {}

GuiTableCell::~GuiTableCell() = default;

void GuiTableCell::repositionElement(int newX, int newY, int newWidth, int newHeight) {
    FocusElement::repositionElement(newX, newY, newWidth, newHeight);
    if (content != nullptr) {
        content->repositionElement(newX, newY, newWidth, newHeight);
    }
}

void GuiTableCell::render(const RECT& rc) {
    if (!confirmRender(rc, false)) {
        return;
    }
    if (contentTable == nullptr) {
        framewPaintRect(x, y, width, height, colours[WHITE_RGB], selected() ? PEN_DASHDOTDOT : PEN_SOLID, 0, 0);
    }
    if (content != nullptr) {
        content->render(rc);
    }
}

bool GuiTableCell::click(int posX, int posY) {
    mouseDown = {posX, posY};
    const bool inside = clickPos(posX, posY);
    if (content != nullptr) {
        content->click(posX, posY);
    }
    return inside;
}

bool GuiTableCell::unclick(int posX, int posY) {
    if (content != nullptr && contentTable == nullptr) {
        content->unclick(posX, posY);
    }
    changeFocus(unclickPos(posX, posY));
    if (contentTable != nullptr) {
        contentTable->click(mouseDown.x, mouseDown.y);
        contentTable->unclick(posX, posY);
    }
    return selected();
}

bool GuiTableCell::hover(int posX, int posY) {
    if (content != nullptr) {
        content->hover(posX, posY);
    }
    return hoverPos(posX, posY);
}

void GuiTableCell::changeFocus(bool nFocus) {
    if (focused == nFocus) {
        return;
    }
    setFocus(nFocus);
    if (fContent != nullptr) {
        fContent->changeFocus(nFocus);
    }
    lightRepaint();
}

void GuiTableCell::unicode(wchar_t key) {
    if (selected() && fContent != nullptr) {
        fContent->unicode(key);
    }
}

void GuiTableCell::sysKey(unsigned key, bool shiftDown, bool ctrlDown) {
    if (selected() && fContent != nullptr) {
        fContent->sysKey(key, shiftDown, ctrlDown);
    }
}

void GuiTableCell::setContent(GuiElement* nContent) {
    if (nContent != content.get()) {
        content.reset(nContent);
    }
    fContent = dynamic_cast<FocusElement*>(nContent);
    contentTable = dynamic_cast<GuiTable*>(nContent);
    if (content == nullptr) {
        return;
    }
    content->repositionElement(x, y, width, height);
    if (fContent != nullptr) {
        fContent->setManagedFocus(true);  // the cell decides when its content has the focus
    }
}

void GuiTableCell::cellUnclick(const RECT& rc) {
    changeFocus(overlaps(rc));
    if (contentTable != nullptr) {
        contentTable->click(rc.left, rc.top);
        contentTable->unclick(rc.right, rc.bottom);
    }
}
