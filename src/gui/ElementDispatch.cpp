#include "gui/ElementDispatch.h"

#include <algorithm>

#include "gui/GuiElement.h"
#include "gui/State.h"

int ElementDispatch::depth = 0;
std::vector<std::unique_ptr<GuiElement>> ElementDispatch::deferred;

ElementDispatch::ElementDispatch() { ++depth; }

ElementDispatch::~ElementDispatch() {
    if (--depth == 0) {
        // Moved out first: a destructor must never find the list half-cleared.
        std::vector<std::unique_ptr<GuiElement>> doomed;
        doomed.swap(deferred);
    }
}

std::vector<GuiElement*> ElementDispatch::takingPartTopmostFirst(const State& state) {
    std::vector<GuiElement*> elements;
    for (GuiElement* element = state.lastElement; element != nullptr; element = element->prevElement) {
        if (state.takesPart(*element)) {
            elements.push_back(element);
        }
    }
    return elements;
}

void ElementDispatch::defer(std::unique_ptr<GuiElement> element) { deferred.push_back(std::move(element)); }

bool ElementDispatch::released(const GuiElement* element) {
    return std::any_of(deferred.begin(), deferred.end(),
                       [element](const std::unique_ptr<GuiElement>& e) { return e.get() == element; });
}

void ElementDispatch::reset() {
    depth = 0;
    deferred.clear();
}
