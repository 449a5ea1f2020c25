#pragma once

// The push button: a captioned rectangle of one of four fixed sizes, placed by its centre, that
// performs one action on a complete click or on Space or Enter while it holds the focus.
//
//   pointer                              look                 action
//   press inside                         darker, focused      -
//   move over it (no button held)        lighter              -
//   release inside after press inside    as hovered           performed
//   release outside after press inside   normal               none
//   press outside, release inside        as hovered           none
//
// A press moves the keyboard focus to the button at once. A supervised button reports complete
// clicks through unclick's result and leaves the action to its owner.

#include <string>

#include "gui/FocusElement.h"

class State;

// The button styles, by size.
enum buttons {
    BUTTON1 = 0,  // 333 x 62
    BUTTON2,      // 83 x 62
    BUTTON3,      // 125 x 30
    BUTTON4,      // 54 x 25
    BUTTONS_ENDTAG
};

class GuiButton : public FocusElement {
public:
    // Each constructor chooses the action: call `fPtr()`; switch to the screen `fPtr()` builds;
    // switch the current screen to page `c`; call `fPtr(t1)` or `fPtr(t1, t2)`; or queue the
    // update `t1` for the current screen. The caption is copied; an unknown style counts as
    // BUTTON1. The button takes part on every page.
    GuiButton(int version, int centerX, int centerY, const wchar_t* str, NoTagFunc fPtr);
    GuiButton(int version, int centerX, int centerY, const wchar_t* str, StateBuilder fPtr);
    GuiButton(int version, int centerX, int centerY, const wchar_t* str, long c);
    GuiButton(int version, int centerX, int centerY, const wchar_t* str, SingleTagFunc fPtr, const void* t1);
    GuiButton(int version, int centerX, int centerY, const wchar_t* str, DoubleTagFunc fPtr, const void* t1,
              const void* t2);
    GuiButton(int version, int centerX, int centerY, const wchar_t* str, const char* t1);

    void setText(const wchar_t* str);
    const wchar_t* getText() const { return text.c_str(); }
    // Sets the page mask and repaints.
    void setConditions(long mask);
    void setSupervised(bool s) { supervised = s; }
    bool getSupervised() const { return supervised; }
    // For tags built at run time: the button keeps its own copies of the 8-bit texts its update
    // tag or callback arguments point at, so the caller's buffers may go. Buttons with other
    // actions are left as they are.
    void saveMode();

    void render(const RECT& rc) override;
    bool click(int x, int y) override;
    bool unclick(int x, int y) override;
    bool hover(int x, int y) override;
    void unicode(wchar_t key) override;
    void sysKey(unsigned key, bool shiftDown, bool ctrlDown) override;

private:
    GuiButton(int version, int centerX, int centerY, const wchar_t* str);
    void performAction();

    std::wstring text;
    const void* tag1 = nullptr;
    const void* tag2 = nullptr;
    std::string saveMT1;
    std::string saveMT2;
    NoTagFunc funcPtr = nullptr;
    SingleTagFunc singleTagFuncPtr = nullptr;
    DoubleTagFunc doubleTagFuncPtr = nullptr;
    StateBuilder nextStateFuncPtr = nullptr;
    long targetCondition = 0;
    bool supervised = false;
};
