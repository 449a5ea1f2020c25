#pragma once

// Keeps elements alive while the state machine hands an event to them. An element's handler may
// release elements of its screen (itself included) through releaseElement; while a hand-out is
// running, such elements are unlinked at once but destroyed only when the outermost hand-out
// ends, and the hand-out skips them. Without this, the loop over the element list would walk into
// freed memory.

#include <memory>
#include <vector>

class GuiElement;
class State;

class ElementDispatch {
public:
    ElementDispatch();
    ~ElementDispatch();
    ElementDispatch(const ElementDispatch&) = delete;
    ElementDispatch& operator=(const ElementDispatch&) = delete;

    // The elements of `state` that take part, last to first (the order input goes in).
    static std::vector<GuiElement*> takingPartTopmostFirst(const State& state);

    static bool active() { return depth > 0; }
    // Takes over an element released during a hand-out.
    static void defer(std::unique_ptr<GuiElement> element);
    // Whether the element was released during the running hand-out.
    static bool released(const GuiElement* element);
    // Destroys whatever is still deferred. For the state machine's reset.
    static void reset();

private:
    static int depth;
    static std::vector<std::unique_ptr<GuiElement>> deferred;
};
