#include "gui/FocusElement.h"

#include "gui/State.h"
#include "gui/StateMachine.h"

bool FocusElement::focusSet = false;

FocusElement::FocusElement(long conditions) : GuiElement(conditions) {}

FocusElement::FocusElement(int x, int y, int width, int height, long conditions)
    : GuiElement(x, y, width, height, conditions) {}

void FocusElement::changeFocus(bool newFocus) {
    if (focused == newFocus) {
        return;
    }
    setFocus(newFocus);
    reRender();
}

bool FocusElement::setFocus(bool newFocus) {
    const bool old = focused;
    focused = newFocus;
    if (newFocus && !old) {
        triggerFunc();
    }
    return old;
}

void FocusElement::requireFocus() {
    if (managedFocus) {
        gainFocusLook();
        return;
    }
    if (focusSet) {
        return;
    }
    gainFocusLook();
    focusSet = true;
    if (curState == nullptr || curState->focus == this) {
        return;
    }
    if (curState->focus != nullptr) {
        curState->focus->changeFocus(false);
    }
    curState->focus = this;
}

// The focused look differs from the plain one, and the window shows only what was invalidated:
// an element that takes the focus without repainting (an unfolding selection field) would keep
// its old look on screen.
void FocusElement::gainFocusLook() {
    if (!setFocus(true)) {
        reRender();
    }
}

void FocusElement::maintainSuperiorFocus(bool sup) {
    if (curState == nullptr) {
        return;
    }
    if (sup) {
        if (!focused) {
            requireFocus();
        }
        curState->nextSuperior = this;
        return;
    }
    if (curState->superior == this) {
        curState->superior = nullptr;
    }
    // Closed again before the paint that would have promoted it: it must not capture input.
    if (curState->nextSuperior == this) {
        curState->nextSuperior = nullptr;
    }
}

void FocusElement::setFunc(NoTagFunc funcPtr) {
    unsetFuncs();
    noTagFuncPtr = funcPtr;
}

void FocusElement::setFunc(SingleTagFunc funcPtr, const void* t1) {
    unsetFuncs();
    singleTagFuncPtr = funcPtr;
    tag1 = t1;
}

void FocusElement::setFunc(DoubleTagFunc funcPtr, const void* t1, const void* t2) {
    unsetFuncs();
    doubleTagFuncPtr = funcPtr;
    tag1 = t1;
    tag2 = t2;
}

void FocusElement::unsetFuncs() {
    noTagFuncPtr = nullptr;
    singleTagFuncPtr = nullptr;
    doubleTagFuncPtr = nullptr;
    tag1 = nullptr;
    tag2 = nullptr;
}

void FocusElement::triggerFunc() {
    callFirstSet(noTagFuncPtr, singleTagFuncPtr, doubleTagFuncPtr, tag1, tag2);
}
