#pragma once

// A bar that fills from the left as a long piece of work goes on: the part done in the colour of
// a pressed button, the rest in the element background, with a thin outline.

#include "gui/GuiElement.h"

class GuiProgressBar : public GuiElement {
public:
    // The bar is given by its top-left corner; empty at first, on every page.
    GuiProgressBar(int topX, int topY, int width, int height);

    // The part done, 0 to 1 (clamped); repaints only when the filled width changes.
    void setDone(double fraction);
    double done() const { return fraction_; }
    // The filled width in virtual units.
    int filledWidth() const;

    void render(const RECT& rc) override;

private:
    double fraction_ = 0.0;
};
