// The welcome screen. Elements in the order they are added (also the Tab order):
//
//   element          centre       caption                 opens
//   title            (500, 100)   "Welcome back!"
//   button           (500, 200)   "Practice"              practice screen (once linked in)
//   button           (500, 300)   "Feed"                  feed screen
//   button           (500, 400)   "Statistics"            statistics screen (once linked in)
//   settings button  (920, 430)   "✎"                     settings screen
//   button           (320, 400)   "Import words"          import screen      } only while the
//   button           (680, 400)   "Try a sample collection" sample import    } collection has no
//                                                                              flashcards
//
// Its traceback text is "Welcome"; it is the root of every traceback chain.

#include "states/WelcomeState.h"

#include "gui/GuiButton.h"
#include "gui/State.h"
#include "gui/StateMachine.h"
#include "model/Flashcard.h"
#include "resources/SecondStrings.h"
#include "shell/framework.h"
#include "states/FeedState.h"
#include "states/GuiSettingsButton.h"
#include "states/NavigationScreen.h"

namespace {

// Pages: the first words' buttons take part only on FIRST_WORDS, everything else on both.
constexpr long WITH_CARDS = 1;
constexpr long FIRST_WORDS = 2;
constexpr long WITHOUT_CARDS = WITH_CARDS | FIRST_WORDS;

long pageForCollection() { return Flashcard::elementTree().size() == 0 ? WITHOUT_CARDS : WITH_CARDS; }

// Runs after every message: the first cards imported (or the last one deleted) change the page.
// The switch comes with the next message, which the repaint brings.
void followCollection() {
    if (curState != nullptr && curState->condition != pageForCollection()) {
        nextCondition = pageForCollection();
        framewRepaint();
    }
}

void addFirstWordsButton(State* state, framew_strings2 caption, int centerX, LinkedScreen screen) {
    if (GuiButton* button = addLinkedScreenButton(state, interfaceText2(caption), BUTTON1, centerX, 400, screen)) {
        button->setConditions(FIRST_WORDS);
    }
}

}  // namespace

State* createWelcomeState() {
    State* state = createNavigationState(String_WELCOME_STATE, String_WELCOME_BACK);
    addLinkedScreenButton(state, String_PRACTICE, 500, 200, LinkedScreen::Practice);
    addScreenButton(state, String_FEED, 500, 300, createFeedState);
    addLinkedScreenButton(state, String2_STATISTICS, 500, 400, LinkedScreen::Statistics);
    addElementToState(state, new GuiSettingsButton());
    addFirstWordsButton(state, String2_IMPORT_WORDS, 320, LinkedScreen::Import);
    addFirstWordsButton(state, String2_TRY_SAMPLE, 680, LinkedScreen::SampleCollection);
    runDailyCheck();
    state->condition = pageForCollection();
    state->aliveFunc = followCollection;
    return state;
}
