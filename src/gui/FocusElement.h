#pragma once

// An element that can hold the keyboard focus. Each screen links its focusable elements into a
// ring (the Tab order) and points at the one holding the focus (State::focus); an element can
// also be managed by a container (a table cell) instead of the screen's ring.
//
// A screen may attach a focus function, run whenever the element gains the focus by a click or
// by Tab; at most one of its three shapes is set at a time.

#include "gui/GuiCallbacks.h"
#include "gui/GuiElement.h"
#include "platform/KeyCodes.h"

// Space and Return press whatever holds the focus: a button, a toggle, a check box, the fold of
// a selection field.
constexpr bool isPressKey(wchar_t key) {
    return key == platform::character::Space || key == platform::character::Return;
}

class FocusElement : public GuiElement {
public:
    explicit FocusElement(long conditions);
    FocusElement(int x, int y, int width, int height, long conditions);

    // Gains or loses the focus and repaints; nothing when the focus does not change.
    virtual void changeFocus(bool newFocus);
    // A character typed while the element holds the focus.
    virtual void unicode(wchar_t key) = 0;
    // A key without a character (platform::key codes), with Shift (Caps Lock already folded in)
    // and Ctrl.
    virtual void sysKey(unsigned key, bool shiftDown, bool ctrlDown) = 0;

    bool getFocus() const { return focused; }
    // Stores the focus and runs the focus function when it is gained; returns the old value.
    bool setFocus(bool newFocus);
    // Asks for the screen's focus, typically on a complete click. Only the first element asking
    // during one click gets it (focusSet); a managed element only marks itself focused. Gaining
    // the focus repaints the element.
    void requireFocus();
    // true: takes the focus and becomes the screen's superior element from the end of the next
    // paint on, capturing all input. false: gives the superior role up again.
    void maintainSuperiorFocus(bool sup);
    void setManagedFocus(bool managed) { managedFocus = managed; }
    bool getManagedFocus() const { return managedFocus; }

    // Each replaces whatever focus function was set before.
    void setFunc(NoTagFunc funcPtr);
    void setFunc(SingleTagFunc funcPtr, const void* t1);
    void setFunc(DoubleTagFunc funcPtr, const void* t1, const void* t2);
    void unsetFuncs();
    // Runs the focus function that is set, if any.
    void triggerFunc();

    // Set when an element took the focus during the current click; the state machine clears it
    // when the button is released and after each message while no button is held.
    static bool focusSet;

    // Link of the screen's focus ring; only the state machine changes it.
    FocusElement* nextFocusElement = nullptr;

protected:
    bool focused = false;

private:
    void gainFocusLook();

    bool managedFocus = false;
    const void* tag1 = nullptr;
    const void* tag2 = nullptr;
    NoTagFunc noTagFuncPtr = nullptr;
    SingleTagFunc singleTagFuncPtr = nullptr;
    DoubleTagFunc doubleTagFuncPtr = nullptr;
};
