#pragma once

// A labelled check box: the label on the left, a square box at the right end showing "✓" while
// ticked. A complete click, Space or Enter toggles it; the callback hears every new state,
// including the initial one at construction.

#include <memory>

#include "gui/FocusElement.h"
#include "gui/GuiText.h"

class GuiCheckBox : public FocusElement {
public:
    // Centred at (centerX, centerY), w x h; the callback (may be null) is called once with
    // `initial` before the constructor returns.
    GuiCheckBox(const wchar_t* t, int centerX, int centerY, int w, int h, bool initial, BoolFunc nFptr);

    bool getCheck() const { return checked; }
    // Stores the state, shows or hides the mark, calls the callback and repaints.
    void setCheck(bool value);

    void render(const RECT& rc) override;
    bool unclick(int x, int y) override;
    void unicode(wchar_t key) override;
    void sysKey(unsigned key, bool shiftDown, bool ctrlDown) override;

private:
    std::unique_ptr<GuiText> text;
    std::unique_ptr<GuiText> check;
    bool checked = false;
    BoolFunc funcPtr;
};
