#include "gui/GuiProgressBar.h"

#include <algorithm>

#include "shell/frameworkPainter.h"

GuiProgressBar::GuiProgressBar(int topX, int topY, int width, int height)
    : GuiElement(topX, topY, width, height, ALL_CONDITIONS) {
    setBackgroundColour(colours[WHITE_RGB]);
}

int GuiProgressBar::filledWidth() const { return static_cast<int>(fraction_ * width); }

void GuiProgressBar::setDone(double fraction) {
    const int before = filledWidth();
    fraction_ = std::clamp(fraction, 0.0, 1.0);
    if (filledWidth() != before) {
        reRender();
    }
}

void GuiProgressBar::render(const RECT& rc) {
    if (!confirmRender(rc, false)) {
        return;
    }
    framewPaintRect(x, y, width, height, bgrnd, PEN_SOLID, 1, 0);
    if (filledWidth() > 0) {
        framewPaintRect(x, y, filledWidth(), height, colours[MARKED_RGB], PEN_SOLID, 1, 0);
    }
}
