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
    // Widened so that an element reaching the end of the int range cannot overflow.
    const long long right = static_cast<long long>(x) + width;
    const long long bottom = static_cast<long long>(y) + height;
    return x <= posX && posX <= right && y <= posY && posY <= bottom;
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
    const long long left = std::max<long long>(x, rc.left);
    const long long top = std::max<long long>(y, rc.top);
    const long long right = std::min<long long>(static_cast<long long>(x) + width, rc.right);
    const long long bottom = std::min<long long>(static_cast<long long>(y) + height, rc.bottom);
    return left < right && top < bottom;
}

void GuiHelpRect::place(int newX, int newY, int newWidth, int newHeight) {
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
}

void GuiHelpRect::inval() const { framewRepaint(x, y, width, height, true, false); }

void GuiHelpRect::lightRepaint() const { framewRepaint(x, y, width, height, false, false); }
