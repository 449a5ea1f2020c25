#include "gui/GuiRect.h"

#include "shell/frameworkPainter.h"

GuiRect::GuiRect(COLORREF colour, int topX, int topY, int width, int height, int pen)
    : GuiElement(topX, topY, width, height, ALL_CONDITIONS), penStyle(pen) {
    setBackgroundColour(colour);
}

void GuiRect::render(const RECT& rc) {
    if (confirmRender(rc, false)) {
        framewPaintRect(x, y, width, height, bgrnd, penStyle, 0, 0);
    }
}
