#include "gui/StateMachine.h"

#include <algorithm>
#include <vector>

#include "gui/ElementDispatch.h"
#include "gui/FocusElement.h"
#include "gui/IdleWork.h"
#include "gui/MessageNesting.h"
#include "gui/State.h"
#include "shell/frameworkPainter.h"

State* curState = nullptr;
State* nextState = nullptr;
bool rollbackFlag = false;
long nextCondition = 0;
bool mouseDownHover = false;
RECT mouseDownRect;
POINT mouseDownPoint;
bool mouseInWindow = true;

namespace {

constexpr COLORREF Black = 0x000000;
const RECT TracebackLine{5, 5, 995, 30};

// Moves the focus along the ring to the next element that takes part. When none does, the focus
// stays where it is (the walk ends after one round).
void moveFocusToNext(State& state) {
    FocusElement* start = state.focus;
    if (start == nullptr) {
        return;
    }
    FocusElement* candidate = start->nextFocusElement;
    while (candidate != nullptr && candidate != start && !state.takesPart(*candidate)) {
        candidate = candidate->nextFocusElement;
    }
    // (null: the focus is an element outside the ring, which has no next element to go to)
    if (candidate == nullptr || !state.takesPart(*candidate)) {
        return;
    }
    start->changeFocus(false);
    state.focus = candidate;
    candidate->changeFocus(true);
}

void repaintDragRectangle(bool intense) {
    framewRepaint(mouseDownRect.left, mouseDownRect.top, mouseDownRect.right - mouseDownRect.left,
                  mouseDownRect.bottom - mouseDownRect.top, intense, false);
}

// An empty identifier (a screen that was never left forward) keeps the active layout.
void activateLayout(const char* identifier) {
    if (identifier[0] != '\0') {
        setKL(identifier);
    }
}

// A pointer event goes to the superior alone, or to every element that takes part, topmost
// first; elements released by an earlier one's handler are skipped.
void handOutPointer(bool (GuiElement::*event)(int, int), int x, int y) {
    if (curState == nullptr) {
        return;
    }
    ElementDispatch dispatch;
    if (curState->superior != nullptr) {
        (curState->superior->*event)(x, y);
        return;
    }
    for (GuiElement* element : ElementDispatch::takingPartTopmostFirst(*curState)) {
        if (!ElementDispatch::released(element)) {
            (element->*event)(x, y);
        }
    }
}

void deliverUpdates(State& state) {
    std::vector<const char*> tags;
    std::unique_ptr<UpdateQueueElement> queue = std::move(state.updateQueue);
    while (queue != nullptr) {
        tags.push_back(queue->tag);
        queue = std::move(queue->next);
    }
    // The queue is newest first; the screen hears of things in the order they happened.
    for (auto tag = tags.rbegin(); tag != tags.rend(); ++tag) {
        if (state.updateFunc != nullptr) {
            state.updateFunc(*tag);
        }
    }
}

void switchPage(State& state) {
    state.condition = nextCondition;
    nextCondition = 0;
    if (state.focus != nullptr && (state.focus->getConditions() & state.condition) == 0) {
        moveFocusToNext(state);
    }
    framewRepaint();
}

void switchScreen() {
    if (rollbackFlag && curState != nullptr) {
        if (nextState != nullptr && nextState != curState) {
            deleteState(nextState);  // the back step wins; the requested screen would leak
        }
        rollbackTraceback();
        activateLayout(nextState->keyboardTracebackLayout);
    } else if (nextState != nullptr && nextState != curState) {
        if (nextState->traceback != TRACEBACK_NONE) {
            if (curState != nullptr) {
                getKL(curState->keyboardTracebackLayout);
            }
            addTracebackState(nextState);
        } else {
            deleteState(curState);
        }
        activateLayout(preApplicationKeyboard);
    }
    // (nextState == curState re-enters the current screen as it is.)
    rollbackFlag = false;
    if (nextState != nullptr) {
        curState = nextState;
    }
    nextState = nullptr;
    unsetFocusFuncs();
    framewRepaint();
}

}  // namespace

void switchToState(State* state) {
    if (nextState != nullptr && nextState != state && nextState != curState) {
        deleteState(nextState);
    }
    nextState = state;
}

// --- after every message ---

void updateStateStatus() {
    // Update and alive functions may show boxes; messages from their nested loops only paint.
    MessageNesting handling;
    if (!mouseDownHover) {
        FocusElement::focusSet = false;
    }
    if (curState != nullptr) {
        deliverUpdates(*curState);
    }
    if (nextState == nullptr && !rollbackFlag && nextCondition == 0) {
        if (curState != nullptr && curState->aliveFunc != nullptr) {
            curState->aliveFunc();
        }
        return;
    }
    framewPreventBackground(false);
    if (nextCondition != 0) {
        if (curState != nullptr) {
            switchPage(*curState);
            return;
        }
        nextCondition = 0;  // no screen to switch the page of
    }
    switchScreen();
}

void renderState() {
    State* state = curState;
    if (state == nullptr) {
        return;
    }
    for (GuiElement* element = state->firstElement; element != nullptr; element = element->nextElement) {
        if (state->takesPart(*element)) {
            element->render(updateArea);
        }
    }
    if (state->traceback == TRACEBACK_LINE ||
        (state->traceback == TRACEBACK_FIRST_PAGE && state->condition == 1)) {
        framewPaintTextW(TracebackLine.left, TracebackLine.top, TracebackLine.right - TracebackLine.left,
                         TracebackLine.bottom - TracebackLine.top, FONT1, state->trace.c_str(),
                         TEXT_LEFT, Black);
    }
    if (state->nextSuperior != nullptr) {
        state->superior = state->nextSuperior;
        state->nextSuperior = nullptr;
    }
    if (state->superior != nullptr) {
        state->superior->render(updateArea);
    } else if (state->focus != nullptr && !state->takesPart(*state->focus) && !MessageNesting::nested()) {
        // (Moving the focus runs focus functions, screen code, which a paint inside a box's loop
        // must not; the next paint after it does this.)
        moveFocusToNext(*state);
    }
    if (mouseDownHover && mouseInWindow) {
        framewPaintTransparentRect(mouseDownRect, PEN_SOLID);
    }
}

// --- mouse ---

void mouseDownState(int x, int y) {
    mouseDownHover = true;
    mouseDownRect = {x, y, x, y};
    mouseDownPoint = {x, y};
    handOutPointer(&GuiElement::click, x, y);
}

void mouseUpState(int x, int y) {
    mouseDownHover = false;
    mouseDownHoveredState(x, y);
    FocusElement::focusSet = false;
    handOutPointer(&GuiElement::unclick, x, y);
}

void mouseHoveredState(int x, int y) {
    mouseDownHover = false;
    handOutPointer(&GuiElement::hover, x, y);
}

void mouseDownHoveredState(int x, int y) {
    repaintDragRectangle(true);
    mouseDownRect = {std::min(mouseDownPoint.x, x), std::min(mouseDownPoint.y, y),
                     std::max(mouseDownPoint.x, x), std::max(mouseDownPoint.y, y)};
    repaintDragRectangle(true);
}

void mouseLeft() {
    mouseInWindow = false;
    if (mouseDownHover) {
        repaintDragRectangle(true);
    }
}

// --- keyboard ---

void keyboardDownState(wchar_t key) {
    if (curState == nullptr || curState->focus == nullptr) {
        return;
    }
    ElementDispatch dispatch;
    if (curState->superior != nullptr) {
        curState->superior->unicode(key);
    } else if (key == platform::character::Tab) {
        moveFocusToNext(*curState);
    } else {
        curState->focus->unicode(key);
    }
}

void sysKeyboardDownState(unsigned key, std::uint16_t shiftKeyStatus, std::uint16_t ctrlKeyStatus,
                          std::uint16_t capsKeyStatus) {
    if (curState == nullptr || key == platform::key::Shift || key == platform::key::Control ||
        key == platform::key::Capital) {
        return;
    }
    if (curState->superior == nullptr && curState->keyFunc != nullptr && curState->keyFunc(key)) {
        return;
    }
    if (curState->focus == nullptr) {
        return;
    }
    const bool capsToggled = (capsKeyStatus & 0x00FF) != 0;
    const bool shiftDown = (shiftKeyStatus & 0xFF00) != 0;
    const bool ctrlDown = (ctrlKeyStatus & 0xFF00) != 0;
    ElementDispatch dispatch;
    FocusElement* target = curState->superior != nullptr ? curState->superior : curState->focus;
    target->sysKey(key, capsToggled != shiftDown, ctrlDown);
}

void killState() {
    if (curState != nullptr && curState->updateFunc != nullptr) {
        curState->updateFunc(FORCED_EXIT_TAG);
    }
}

// --- traceback ---

void addTracebackState(State* newState) {
    if (newState == nullptr) {
        return;
    }
    if (curState != nullptr && curState->traceback != TRACEBACK_NONE) {
        newState->previous = curState;
        newState->trace = curState->trace + L" > " + newState->description;
        return;
    }
    newState->previous = nullptr;
    newState->trace = L" > " + newState->description;
    if (curState != nullptr) {
        State* old = curState;
        curState = nullptr;  // never left pointing at a destroyed screen
        deleteState(old);
    }
}

void rollbackTraceback() {
    if (curState == nullptr) {
        return;
    }
    if (curState->previous == nullptr) {
        nextState = curState;
        return;
    }
    nextState = curState->previous;
    curState->previous = nullptr;
    State* old = curState;
    curState = nullptr;
    deleteState(old);
}

void stateMachineReset() {
    State* pending = nextState != curState ? nextState : nullptr;
    State* current = curState;
    curState = nullptr;
    nextState = nullptr;
    deleteState(pending);
    deleteState(current);
    ElementDispatch::reset();
    rollbackFlag = false;
    nextCondition = 0;
    mouseDownHover = false;
    mouseDownRect = {};
    mouseDownPoint = {};
    mouseInWindow = true;
    FocusElement::focusSet = false;
    resetStateBuilding();
    idleWork::reset();
}
