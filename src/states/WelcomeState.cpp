// The welcome screen. Elements in the order they are added (also the Tab order):
//
//   element          centre       caption                 opens
//   title            (500, 100)   "Welcome back!"
//   button           (500, 200)   "Practice"              practice screen (once linked in)
//   button           (500, 300)   "Feed"                  feed screen
//   button           (500, 400)   "Statistics"            statistics screen (once linked in)
//   settings button  (920, 430)   "✎"                     settings screen
//
// Its traceback text is "Welcome"; it is the root of every traceback chain.

#include "states/WelcomeState.h"

#include "gui/State.h"
#include "states/FeedState.h"
#include "states/GuiSettingsButton.h"
#include "states/NavigationScreen.h"

State* createWelcomeState() {
    State* state = createNavigationState(String_WELCOME_STATE, String_WELCOME_BACK);
    addLinkedScreenButton(state, String_PRACTICE, 500, 200, LinkedScreen::Practice);
    addScreenButton(state, String_FEED, 500, 300, createFeedState);
    addLinkedScreenButton(state, String2_STATISTICS, 500, 400, LinkedScreen::Statistics);
    addElementToState(state, new GuiSettingsButton());
    runDailyCheck();
    return state;
}
