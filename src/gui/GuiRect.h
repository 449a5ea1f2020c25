#pragma once

// The simplest element: a filled rectangle with an outline, on every page (backgrounds, frames).

#include "gui/GuiElement.h"

class GuiRect : public GuiElement {
public:
    // The rectangle is given by its top-left corner; `pen` is the outline's pen style.
    GuiRect(COLORREF colour, int topX, int topY, int width, int height, int pen);

    void render(const RECT& rc) override;

private:
    int penStyle;
};
