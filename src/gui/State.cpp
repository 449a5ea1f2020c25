#include "gui/State.h"

#include <cstring>
#include <vector>

#include "gui/ElementDispatch.h"
#include "gui/FocusElement.h"
#include "gui/StateMachine.h"

namespace {

State* conditionalState = nullptr;
long conditionalCondition = 0;

// The pending focus function.
NoTagFunc noTagFuncPtr = nullptr;
SingleTagFunc singleTagFuncPtr = nullptr;
DoubleTagFunc doubleTagFuncPtr = nullptr;
const void* focusFuncTag1 = nullptr;
const void* focusFuncTag2 = nullptr;

void givePendingFocusFunc(FocusElement& element) {
    if (noTagFuncPtr != nullptr) {
        element.setFunc(noTagFuncPtr);
    } else if (singleTagFuncPtr != nullptr) {
        element.setFunc(singleTagFuncPtr, focusFuncTag1);
    } else if (doubleTagFuncPtr != nullptr) {
        element.setFunc(doubleTagFuncPtr, focusFuncTag1, focusFuncTag2);
    }
}

// Clears every global that points into a state about to be destroyed: the building context
// (with the pending focus function that belongs to it) and the state machine's own pointers.
void forgetState(const State* state) {
    if (conditionalState == state) {
        resetStateBuilding();
    }
    if (curState == state) {
        curState = nullptr;
    }
    if (nextState == state) {
        nextState = nullptr;
    }
}

bool contains(const State& state, const GuiElement* element) {
    for (const GuiElement* e = state.firstElement; e != nullptr; e = e->nextElement) {
        if (e == element) {
            return true;
        }
    }
    return false;
}

void unlink(State& state, GuiElement& element) {
    if (element.prevElement != nullptr) {
        element.prevElement->nextElement = element.nextElement;
    } else {
        state.firstElement = element.nextElement;
    }
    if (element.nextElement != nullptr) {
        element.nextElement->prevElement = element.prevElement;
    } else {
        state.lastElement = element.prevElement;
    }
    element.nextElement = nullptr;
    element.prevElement = nullptr;
}

void leaveFocusRing(State& state, FocusElement& element) {
    if (state.focus == &element) {
        if (element.nextFocusElement == &element || element.nextFocusElement == nullptr) {
            state.focus = nullptr;
        } else {
            state.focus = element.nextFocusElement;
            state.focus->changeFocus(true);
        }
    }
    if (state.focus != nullptr) {
        // Walk to the element's predecessor; stop after one round should it not be in the ring.
        FocusElement* predecessor = state.focus;
        while (predecessor->nextFocusElement != &element) {
            predecessor = predecessor->nextFocusElement;
            if (predecessor == state.focus || predecessor == nullptr) {
                predecessor = nullptr;
                break;
            }
        }
        if (predecessor != nullptr) {
            predecessor->nextFocusElement = element.nextFocusElement;
        }
    }
    element.nextFocusElement = nullptr;
    if (state.nextSuperior == &element) {
        state.nextSuperior = nullptr;
    }
    if (state.superior == &element) {
        state.superior = nullptr;
    }
}

}  // namespace

// --- State ---

State::State(std::wstring description) : description(std::move(description)) {}

State::~State() {
    GuiElement* element = firstElement;
    firstElement = lastElement = nullptr;
    focus = nextSuperior = superior = nullptr;
    while (element != nullptr) {
        GuiElement* next = element->nextElement;
        delete element;  // the state owns its elements
        element = next;
    }
    // Unlinked one by one: a long queue must not destroy itself recursively.
    while (updateQueue != nullptr) {
        updateQueue = std::move(updateQueue->next);
    }
}

bool State::takesPart(const GuiElement& element) const {
    const long mask = condition != 0 ? condition : ALL_CONDITIONS;
    return (element.getConditions() & mask) != 0;
}

// --- creating and destroying states ---

State* createEmptyState(const wchar_t* description) {
    return new State(description != nullptr ? description : L"");
}

void deleteState(State* state) {
    // The chain behind a retained state goes first, oldest first.
    std::vector<State*> chain;
    for (State* s = state; s != nullptr; s = s->traceback != TRACEBACK_NONE ? s->previous : nullptr) {
        chain.push_back(s);
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        State* doomed = *it;
        if (doomed->terminateFunc != nullptr) {
            doomed->terminateFunc();
        }
        forgetState(doomed);
        delete doomed;
    }
}

// --- element lists ---

GuiElement* addElementToState(State* state, GuiElement* element) {
    if (state == nullptr || element == nullptr) {
        delete element;  // handed over to be owned; nobody else will free it
        return nullptr;
    }
    element->nextElement = nullptr;
    element->prevElement = state->lastElement;
    if (state->lastElement != nullptr) {
        state->lastElement->nextElement = element;
    } else {
        state->firstElement = element;
    }
    state->lastElement = element;
    if (auto* focusable = dynamic_cast<FocusElement*>(element)) {
        addFocusElementToState(state, focusable);
    }
    return element;
}

void addFocusElementToState(State* state, FocusElement* element) {
    if (state == nullptr || element == nullptr) {
        return;
    }
    if (state->focus == nullptr) {
        state->focus = element;
        element->nextFocusElement = element;
        element->changeFocus(true);
    } else {
        // Just before the focus: the end of the Tab order.
        FocusElement* predecessor = state->focus;
        while (predecessor->nextFocusElement != state->focus) {
            predecessor = predecessor->nextFocusElement;
        }
        predecessor->nextFocusElement = element;
        element->nextFocusElement = state->focus;
    }
    givePendingFocusFunc(*element);
}

void setConditional(State* state, long condition) {
    conditionalState = state;
    conditionalCondition = condition;
}

long getConditional() { return conditionalCondition; }

State* getConditionalState() { return conditionalState; }

GuiElement* addConditionElementToState(GuiElement* element) {
    GuiElement* added = addElementToState(conditionalState, element);
    if (added != nullptr) {
        added->setConditions(conditionalCondition);
    }
    return added;
}

GuiElement* addConTagedElTState(GuiElement* element, const char* tag) {
    GuiElement* added = addConditionElementToState(element);
    if (added != nullptr) {
        added->setTag(tag);
    }
    return added;
}

GuiElement* addConTagedElTState(GuiElement* element, char* tag) {
    GuiElement* added = addConditionElementToState(element);
    if (added != nullptr) {
        added->setTag(tag);
    }
    return added;
}

// --- pending focus function ---

void setFocusFunc(NoTagFunc funcPtr) {
    unsetFocusFuncs();
    noTagFuncPtr = funcPtr;
}

void setFocusFunc(SingleTagFunc funcPtr, const void* tag1) {
    singleTagFuncPtr = funcPtr;
    focusFuncTag1 = tag1;
}

void setFocusFunc(DoubleTagFunc funcPtr, const void* tag1, const void* tag2) {
    doubleTagFuncPtr = funcPtr;
    focusFuncTag1 = tag1;
    focusFuncTag2 = tag2;
}

void unsetFocusFuncs() {
    noTagFuncPtr = nullptr;
    singleTagFuncPtr = nullptr;
    doubleTagFuncPtr = nullptr;
    focusFuncTag1 = nullptr;
    focusFuncTag2 = nullptr;
}

// --- finding and releasing ---

GuiElement* getElementByTag(const char* tag, State* s) {
    if (tag == nullptr || s == nullptr) {
        return nullptr;
    }
    for (GuiElement* element = s->firstElement; element != nullptr; element = element->nextElement) {
        if (std::strcmp(element->getTag(), tag) == 0) {
            return element;
        }
    }
    return nullptr;
}

bool releaseElement(State* state, GuiElement* element) {
    if (state == nullptr || element == nullptr || !contains(*state, element)) {
        return false;
    }
    unlink(*state, *element);
    if (auto* focusable = dynamic_cast<FocusElement*>(element)) {
        leaveFocusRing(*state, *focusable);
    }
    if (ElementDispatch::active()) {
        ElementDispatch::defer(std::unique_ptr<GuiElement>(element));
    } else {
        delete element;
    }
    return true;
}

void releaseElementFromState(State* state, const char* tag) {
    releaseElement(state, getElementByTag(tag, curState));
}

void addUpdate(const char* tag, State* state) {
    if (tag == nullptr || state == nullptr) {
        return;
    }
    auto queued = std::make_unique<UpdateQueueElement>();
    queued->tag = tag;
    queued->next = std::move(state->updateQueue);
    state->updateQueue = std::move(queued);
}

void resetStateBuilding() {
    conditionalState = nullptr;
    conditionalCondition = 0;
    unsetFocusFuncs();
}
