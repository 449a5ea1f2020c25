#include "gui/GuiElement.h"

GuiElement::GuiElement(long conditions) : conditions(conditions) {}

GuiElement::GuiElement(int x, int y, int width, int height, long conditions)
    : GuiHelpRect(x, y, width, height), conditions(conditions) {}

bool GuiElement::click(int posX, int posY) { return clickPos(posX, posY); }

bool GuiElement::unclick(int posX, int posY) { return unclickPos(posX, posY); }

bool GuiElement::hover(int posX, int posY) { return hoverPos(posX, posY); }

void GuiElement::reRender() { inval(); }

void GuiElement::resetConditions(long mask) {
    conditions = mask;
    reRender();
}

void GuiElement::setTag(const char* newTag) { tag = newTag != nullptr ? newTag : ""; }

void GuiElement::setTag(char* newTag) {
    fleetingTag = newTag != nullptr ? newTag : "";
    tag = fleetingTag.c_str();
}
