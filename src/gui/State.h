#pragma once

// A screen of the program: its elements, its pages, its place in the traceback of screens, its
// keyboard focus and the update notifications its elements send it. The functions below build
// screens and change their element lists; running them is the state machine's part
// (gui/StateMachine.h).
//
// Invariants:
//   - The element list (firstElement .. lastElement through nextElement/prevElement) is the
//     drawing order; input goes the other way, so the element drawn on top is asked first. The
//     state owns every element in it and destroys them first to last.
//   - The focus ring links every focusable element of the list through nextFocusElement in a
//     circle, in the order of adding (the Tab order); `focus` is the element holding the focus and
//     the ring's entry point, null exactly when the ring is empty.
//   - An element takes part (is drawn and receives input) when its page mask AND `condition` is
//     non-zero; a condition of 0 lets every element take part.
//   - The update queue holds tags newest first and is delivered oldest first; tags are stored as
//     pointers, so they must be literals or outlive the queue.

#include <memory>
#include <string>

#include "gui/GuiCallbacks.h"

class GuiElement;
class FocusElement;

// Tags every screen's update function understands.
inline constexpr const char* FORCED_EXIT_TAG = "FORCED_EXIT";

struct UpdateQueueElement {
    const char* tag = nullptr;
    std::unique_ptr<UpdateQueueElement> next;
};

// How a screen takes part in the traceback of screens.
enum TracebackMode : int {
    TRACEBACK_NONE = 0,      // not retained: destroyed when the user moves on
    TRACEBACK_LINE = 1,      // retained, the traceback line is drawn
    TRACEBACK_NO_LINE = 2,   // retained, no line
    TRACEBACK_FIRST_PAGE = 3 // retained, the line is drawn only on page 1
};

class State {
public:
    explicit State(std::wstring description);
    // Destroys the elements, first to last, and the pending updates. Use deleteState, which also
    // runs terminateFunc and destroys the traceback chain behind a retained state.
    ~State();
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    // Whether the element takes part on the current page.
    bool takesPart(const GuiElement& element) const;

    State* previous = nullptr;  // the screen before this one in the traceback; owned by this one
    long condition = 0;
    std::wstring description;
    int traceback = TRACEBACK_NONE;
    std::wstring trace;  // " > first > second > this"
    GuiElement* firstElement = nullptr;
    GuiElement* lastElement = nullptr;
    FocusElement* focus = nullptr;
    FocusElement* nextSuperior = nullptr;  // promoted to superior at the end of the next paint
    FocusElement* superior = nullptr;      // receives all input and is drawn on top while set
    std::unique_ptr<UpdateQueueElement> updateQueue;
    char keyboardTracebackLayout[9] = {};  // the layout active when the user left forward
    void (*updateFunc)(const char* tag) = nullptr;
    void (*aliveFunc)() = nullptr;
    void (*terminateFunc)() = nullptr;
    // The screen's own keys: hears every key without a character before the focused element
    // (not while an element is unfolded) and returns true for one it took.
    bool (*keyFunc)(unsigned key) = nullptr;
};

// A new empty screen (no elements, page 0, not retained). The caller owns it until it hands it
// to the state machine (nextState) or destroys it with deleteState.
State* createEmptyState(const wchar_t* description);
// Destroys a state: first, when it is retained, the whole traceback chain behind it; then its
// terminateFunc; then its elements. Null does nothing. Every global that pointed at a destroyed
// state is cleared: the building context of the conditional adders (and the pending focus
// function with it), curState and nextState.
void deleteState(State* state);

// Appends an element the caller created with new; the state owns it from this call on. A
// focusable element also joins the focus ring, and the first one to join starts focused. With a
// null state or element nothing is added: the element is destroyed and null returned.
GuiElement* addElementToState(State* state, GuiElement* element);
template <typename Element>
Element* addElementToState(State* state, Element* element) {
    return static_cast<Element*>(addElementToState(state, static_cast<GuiElement*>(element)));
}
// Adds to the focus ring only (addElementToState does this for focusable elements): at the end of
// the Tab order, with the pending focus function.
void addFocusElementToState(State* state, FocusElement* element);

// The building context of the conditional adders: the state and the page mask they use.
void setConditional(State* state, long condition);
long getConditional();
State* getConditionalState();
// addElementToState into the conditional state, then the element's mask = the conditional mask.
GuiElement* addConditionElementToState(GuiElement* element);
template <typename Element>
Element* addConditionElementToState(Element* element) {
    return static_cast<Element*>(addConditionElementToState(static_cast<GuiElement*>(element)));
}
// As addConditionElementToState, then tags the element: a const tag is stored as a pointer, a
// modifiable one is copied.
GuiElement* addConTagedElTState(GuiElement* element, const char* tag);
GuiElement* addConTagedElTState(GuiElement* element, char* tag);
template <typename Element, typename Tag>
Element* addConTagedElTState(Element* element, Tag* tag) {
    return static_cast<Element*>(addConTagedElTState(static_cast<GuiElement*>(element), tag));
}

// The pending focus function, given to every focusable element added while it is set. Setting
// the no-argument one clears the others; the one- and two-argument setters overwrite only their
// own callback and tags. Every screen switch clears them.
void setFocusFunc(NoTagFunc funcPtr);
void setFocusFunc(SingleTagFunc funcPtr, const void* tag1);
void setFocusFunc(DoubleTagFunc funcPtr, const void* tag1, const void* tag2);
void unsetFocusFuncs();

// The first element of `s` in list order whose tag equals `tag`; null if none.
GuiElement* getElementByTag(const char* tag, State* s);
template <typename Element>
Element* getElementByTag(const char* tag, State* s) {
    return dynamic_cast<Element*>(getElementByTag(tag, s));
}

// Unlinks the element from the state and destroys it; a focused element hands the focus to the
// next one of the ring. An element that is not in the state is left alone. Returns whether it
// was released. While events are being handed to the elements, destruction waits until the
// hand-out ends, so no element is destroyed under the caller that is running.
bool releaseElement(State* state, GuiElement* element);
template <typename Element>
void releaseElementFromState(State* state, Element** target) {
    if (target != nullptr && releaseElement(state, *target)) {
        *target = nullptr;
    }
}
// Looks the element up by tag in the current screen and releases it from `state`.
void releaseElementFromState(State* state, const char* tag);

// Queues an update notification for the state; delivered after the current message. A null
// state or tag is ignored.
void addUpdate(const char* tag, State* state);

// Back to no building context and no pending focus function. For the state machine's reset.
void resetStateBuilding();
