#pragma once

// The second base of composite elements (item lists, selection fields): lets a screen attach an
// action, the special function, that the element triggers when its content is chosen. The action
// is a callback, the element's own focus function, or an update tag queued for the current screen.

#include "gui/GuiCallbacks.h"

class FocusElement;

class SpecFuncElement {
public:
    SpecFuncElement() = default;
    SpecFuncElement(const SpecFuncElement&) = delete;
    SpecFuncElement& operator=(const SpecFuncElement&) = delete;
    virtual ~SpecFuncElement() = default;

    // Makes the special function call the element's own focus function
    // (implemented as internalSpecFuncToFunc(this)).
    virtual void setSpecFuncToFunc() = 0;

    // Each replaces whatever special function was set before.
    void setSpecFunc(NoTagFunc func);
    void setSpecFunc(SingleTagFunc func, const void* t1);
    void setSpecFunc(DoubleTagFunc func, const void* t1, const void* t2);
    // Triggering queues `tag` for the current screen; the text must outlive the element.
    void setSpecUpdate(const char* tag);
    void internalSpecFuncToFunc(FocusElement* element);
    void unsetSpecFuncs();
    // Runs the callback that is set, else the element's focus function, else queues the update
    // tag; nothing when none is set.
    void triggerSpecFunc();

private:
    FocusElement* focusElement = nullptr;
    const void* tag1 = nullptr;
    const void* tag2 = nullptr;
    NoTagFunc noTagFuncPtr = nullptr;
    SingleTagFunc singleTagFuncPtr = nullptr;
    DoubleTagFunc doubleTagFuncPtr = nullptr;
};
