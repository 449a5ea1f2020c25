// The feed screen. Elements in the order they are added (also the Tab order):
//
//   element          centre       caption                 action
//   title            (500, 100)   "Feed"
//   button           (500, 200)   "Classic Flashcards"    flashcard editor (once linked in)
//   button           (500, 300)   "Smart Feed"            state_DeadEndButton
//   settings button  (920, 430)   "✎"                     settings screen
//   back button      (80, 430)    "⋘"                     the screen before

#include "states/FeedState.h"

#include <cstdio>

#include "gui/GuiBackButton.h"
#include "gui/GuiButton.h"
#include "gui/State.h"
#include "model/InterfaceText.h"
#include "states/GuiSettingsButton.h"
#include "states/NavigationScreen.h"

State* createFeedState() {
    State* state = createNavigationState(String_FEED, String_FEED);
    addLinkedScreenButton(state, String_CLASSIC_FEED, 500, 200, LinkedScreen::ClassicFlashcards);
    addElementToState(state, new GuiButton(BUTTON1, 500, 300, interfaceText(String_SMART_FEED), state_DeadEndButton));
    addElementToState(state, new GuiSettingsButton());
    addElementToState(state, new GuiBackButton());
    return state;
}

void state_DeadEndButton() {
    std::puts("This button is not properly implemented yet!");
    std::fflush(stdout);
}
