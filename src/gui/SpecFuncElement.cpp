#include "gui/SpecFuncElement.h"

#include "gui/FocusElement.h"
#include "gui/State.h"
#include "gui/StateMachine.h"

void SpecFuncElement::setSpecFunc(NoTagFunc func) {
    unsetSpecFuncs();
    noTagFuncPtr = func;
}

void SpecFuncElement::setSpecFunc(SingleTagFunc func, const void* t1) {
    unsetSpecFuncs();
    singleTagFuncPtr = func;
    tag1 = t1;
}

void SpecFuncElement::setSpecFunc(DoubleTagFunc func, const void* t1, const void* t2) {
    unsetSpecFuncs();
    doubleTagFuncPtr = func;
    tag1 = t1;
    tag2 = t2;
}

void SpecFuncElement::setSpecUpdate(const char* tag) {
    unsetSpecFuncs();
    tag1 = tag;
}

void SpecFuncElement::internalSpecFuncToFunc(FocusElement* element) {
    unsetSpecFuncs();
    focusElement = element;
}

void SpecFuncElement::unsetSpecFuncs() {
    focusElement = nullptr;
    tag1 = nullptr;
    tag2 = nullptr;
    noTagFuncPtr = nullptr;
    singleTagFuncPtr = nullptr;
    doubleTagFuncPtr = nullptr;
}

void SpecFuncElement::triggerSpecFunc() {
    if (callFirstSet(noTagFuncPtr, singleTagFuncPtr, doubleTagFuncPtr, tag1, tag2)) {
        return;
    }
    if (focusElement != nullptr) {
        focusElement->triggerFunc();
    } else if (tag1 != nullptr) {
        addUpdate(static_cast<const char*>(tag1), curState);
    }
}
