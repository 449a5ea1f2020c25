#include "states/NavigationScreen.h"

#include "gui/GuiButton.h"
#include "gui/GuiText.h"
#include "gui/State.h"
#include "model/InterfaceText.h"

namespace {

// The title's box grows downwards with this offset; the navigation screens use the plain one.
constexpr int TITLE_OFFSET = 0;

}  // namespace

State* createNavigationState(framew_strings description, framew_strings title) {
    State* state = createEmptyState(interfaceText(description));
    state->traceback = TRACEBACK_LINE;
    addElementToState(state, new GuiTitleText(interfaceText(title), TITLE_OFFSET));
    return state;
}

void addScreenButton(State* state, framew_strings caption, int centerX, int centerY, StateBuilder open) {
    addElementToState(state, new GuiButton(BUTTON1, centerX, centerY, interfaceText(caption), open));
}

GuiButton* addLinkedScreenButton(State* state, const wchar_t* caption, int style, int centerX, int centerY,
                                 LinkedScreen screen) {
    StateBuilder open = linkedScreen(screen);
    return open == nullptr ? nullptr : addElementToState(state, new GuiButton(style, centerX, centerY, caption, open));
}

void addLinkedScreenButton(State* state, framew_strings caption, int centerX, int centerY, LinkedScreen screen) {
    if (StateBuilder open = linkedScreen(screen)) {
        addScreenButton(state, caption, centerX, centerY, open);
    }
}

void addLinkedScreenButton(State* state, framew_strings2 caption, int centerX, int centerY, LinkedScreen screen) {
    if (StateBuilder open = linkedScreen(screen)) {
        addElementToState(state, new GuiButton(BUTTON1, centerX, centerY, interfaceText2(caption), open));
    }
}
