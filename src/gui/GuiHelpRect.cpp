#include "gui/GuiHelpRect.h"

#include <algorithm>

#include "gui/State.h"
#include "gui/StateMachine.h"

GuiHelpRect::GuiHelpRect(int x, int y, int width, int height)
    : x(x), y(y), width(width), height(height), bgrnd(colours[WHITE_RGB]) {}

GuiHelpRect::GuiHelpRect() : bgrnd(colours[WHITE_RGB]) {}

void GuiHelpRect::repositionElement(int newX, int newY, int newWidth, int newHeight) {
    inval();
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
    inval();
}

void GuiHelpRect::setBackgroundColour(COLORREF colour) {
    bgrnd = colour;
    inval();
}

bool GuiHelpRect::checkPos(int posX, int posY) const {
    return x <= posX && posX <= framewFarEdge(x, width) && y <= posY && posY <= framewFarEdge(y, height);
}

bool GuiHelpRect::clickPos(int posX, int posY) {
    clicked = checkPos(posX, posY);
    hovered = false;
    return clicked;
}

bool GuiHelpRect::hoverPos(int posX, int posY) {
    hovered = checkPos(posX, posY);
    clicked = false;
    return hovered;
}

bool GuiHelpRect::unclickPos(int posX, int posY) {
    hovered = checkPos(posX, posY);
    const bool complete = hovered && clicked;
    clicked = false;
    return complete;
}

bool GuiHelpRect::confirmRender(const RECT& rc, bool intenseOnly) const {
    if (intenseOnly && (!intenseUpdate || (curState != nullptr && curState->superior != nullptr))) {
        return false;
    }
    return overlaps(rc);
}

bool GuiHelpRect::overlaps(const RECT& rc) const {
    return std::max(x, rc.left) < std::min(framewFarEdge(x, width), rc.right) &&
           std::max(y, rc.top) < std::min(framewFarEdge(y, height), rc.bottom);
}

void GuiHelpRect::place(int newX, int newY, int newWidth, int newHeight) {
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
}

void GuiHelpRect::inval() const { framewRepaint(x, y, width, height, true, false); }

void GuiHelpRect::lightRepaint() const { framewRepaint(x, y, width, height, false, false); }
