#pragma once

// A two-way switch between a left and a right option, each with its label: a click on a label
// chooses that side, a click elsewhere on the switch flips it, and so do Space and Enter while it
// holds the focus. The callback hears the position after every click or key, changed or not.

#include <memory>

#include "gui/FocusElement.h"
#include "gui/GuiText.h"

class GuiToggle : public FocusElement {
public:
    // Centred at (cX, cY) with the given size; starts on the right when `initToggle`. The
    // callback may be null.
    GuiToggle(const wchar_t* tLeft, const wchar_t* tRight, bool initToggle, int cX, int cY, int width,
              int height, BoolFunc nFptr);

    bool getRightOn() const { return rightOn; }
    // Moves the switch without calling the callback.
    void setRightOn(bool b);
    void setChangeFunc(BoolFunc fp) { funcPtr = fp; }

    void render(const RECT& rc) override;
    bool unclick(int x, int y) override;
    void unicode(wchar_t key) override;
    void sysKey(unsigned key, bool shiftDown, bool ctrlDown) override;

private:
    void changed();

    bool rightOn;
    BoolFunc funcPtr;
    std::unique_ptr<GuiText> textLeft;
    std::unique_ptr<GuiText> textRight;
};
