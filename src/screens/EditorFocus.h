#pragma once

// Moving the keyboard focus from an editor's own code, not by a click: after "Add" or "»" the
// field is empty and focused for the next entry.

#include "gui/FocusElement.h"
#include "gui/State.h"
#include "gui/StateMachine.h"

// The focus moves to the element of the current screen at once, not by the one-grab-per-click
// rule: the button that was just clicked holds it and hands it on.
inline void giveFocusTo(FocusElement* element) {
    if (curState == nullptr || element == nullptr || curState->focus == element) {
        return;
    }
    if (curState->focus != nullptr) {
        curState->focus->changeFocus(false);
    }
    curState->focus = element;
    element->changeFocus(true);
}
