#include "gui/GuiSelectionfield.h"

#include <algorithm>
#include <cwchar>

#include "shell/frameworkPainter.h"

namespace {

constexpr const wchar_t* DownTriangle = L"\u25BC";

}  // namespace

GuiSelectionfield::GuiSelectionfield(int centerX, int centerY, int w, int h)
    : FocusElement(centerX - w / 2, centerY - h / 2, w, h, ALL_CONDITIONS),
      guiItemfield(std::make_unique<GuiItemfield>(x, y + h, w, 0)),
      guiText(std::make_unique<GuiText>(L"", centerX - h / 2, centerY, w - h, h, FONT1, TEXT_CENTRE)),
      triangle(std::make_unique<GuiText>(DownTriangle, centerX + w / 2 - h / 2, centerY, h, h, FONT1,
                                         TEXT_CENTRE)) {
    guiItemfield->setManagedFocus(true);
}

void GuiSelectionfield::render(const RECT& rc) {
    if (confirmRender(rc, false)) {
        framewPaintRect(x, y, width, height, colours[WHITE_RGB], focused ? PEN_DASHDOTDOT : PEN_SOLID, 0, 0);
        guiText->render(rc);
        triangle->render(rc);
        guiItemfield->render(rc);
    } else if (superior) {
        guiItemfield->render(rc);  // the unfolded list lies outside the field's rectangle
    }
}

bool GuiSelectionfield::click(int posX, int posY) {
    if (!superior) {
        return clickPos(posX, posY);
    }
    return clickPos(posX, posY) || guiItemfield->click(posX, posY);
}

bool GuiSelectionfield::hover(int posX, int posY) {
    if (!superior) {
        return hoverPos(posX, posY);
    }
    return hoverPos(posX, posY) || guiItemfield->hover(posX, posY);
}

bool GuiSelectionfield::unclick(int posX, int posY) {
    if (!superior) {
        if (!unclickPos(posX, posY)) {
            return false;
        }
        if (editable) {
            open();
        }
        return true;
    }
    const bool result = unclickPos(posX, posY) || guiItemfield->unclick(posX, posY);
    close();
    updateActive();
    return result;
}

void GuiSelectionfield::unicode(wchar_t key) {
    if (!isPressKey(key)) {
        return;
    }
    if (superior) {
        close();
    } else if (editable) {
        open();
    }
}

void GuiSelectionfield::sysKey(unsigned key, bool shiftDown, bool ctrlDown) {
    if (!editable) {
        return;
    }
    guiItemfield->sysKey(key, shiftDown, ctrlDown);
    updateActive();
}

void GuiSelectionfield::setSpecFuncToFunc() { internalSpecFuncToFunc(this); }

void GuiSelectionfield::addItem(const wchar_t* t) {
    guiItemfield->addItem(t);
    updateActive();
}

void GuiSelectionfield::setLastId(unsigned i) { guiItemfield->setLastId(i); }

void GuiSelectionfield::clearField() {
    guiItemfield->clearField();
    updateActive();
}

void GuiSelectionfield::setActiveToId(unsigned id) {
    guiItemfield->setActiveToId(id);
    updateActive();
}

void GuiSelectionfield::setActivePosition(int n) {
    guiItemfield->setActivePosition(n);
    updateActive();
}

void GuiSelectionfield::setConAndRepaint(long mask) {
    setConditions(mask);
    lightRepaint();
}

const wchar_t* GuiSelectionfield::getShownText() const {
    const wchar_t* shown = guiText->getTextW();
    return shown != nullptr ? shown : L"";
}

void GuiSelectionfield::updateActive() {
    const wchar_t* activeText = guiItemfield->getActiveEntry();
    if (guiItemfield->getNumberOfCurrentElements() > 0 && std::wcscmp(getShownText(), activeText) != 0) {
        triggerSpecFunc();
    }
    guiText->setText(activeText);
}

void GuiSelectionfield::unfoldItemfield(bool unfold) {
    int listHeight = 0;
    if (unfold) {
        const int belowField = targetHeight - (y + height);
        listHeight = std::min(guiItemfield->getNumberOfCurrentElements() * UNFOLDED_LINE_HEIGHT, belowField);
        if (listHeight <= 0) {
            listHeight = UNFOLDED_LINE_HEIGHT;  // an empty list still opens one row
        }
    }
    guiItemfield->repositionElement(x, y + height, width, listHeight);
}

void GuiSelectionfield::open() {
    maintainSuperiorFocus(true);
    superior = true;
    // The open list takes the keys, so it looks focused every time, not only after a first pick.
    guiItemfield->setFocus(true);
    unfoldItemfield(true);
}

void GuiSelectionfield::close() {
    maintainSuperiorFocus(false);
    superior = false;
    guiItemfield->setFocus(false);
    unfoldItemfield(false);
}
