// The welcome screen. Elements in the order they are added (also the Tab order):
//
//   element          centre       caption                 opens
//   title            (500, 100)   "Welcome back!"
//   button           (500, 200)   "Practice"              practice screen (once linked in)
//   button           (500, 300)   "Feed"                  feed screen
//   button           (500, 400)   "Statistics"            statistics screen (once linked in)
//   settings button  (920, 430)   "✎"                     settings screen
//   button           (320, 466)   "Import words"          import screen      } only while the
//   button           (680, 466)   "Try a sample collection" sample import    } collection has no
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

// The screen keeps its one page (0) whatever the collection holds. While there are no flashcards
// the first words' buttons take part, by their own conditions, in a row below the others.
constexpr int FIRST_WORDS_ROW = 466;

struct CollectionButtons {
    GuiButton* import = nullptr;
    GuiButton* sample = nullptr;
};
CollectionButtons collectionButtons;

bool collectionEmpty() { return Flashcard::elementTree().size() == 0; }

// True when the button's part changed.
bool takePartWhen(GuiButton* button, bool shown) {
    const long wanted = shown ? ALL_CONDITIONS : 0;
    if (button == nullptr || button->getConditions() == wanted) {
        return false;
    }
    button->setConditions(wanted);
    return true;
}

bool followEmptiness() {
    const bool empty = collectionEmpty();
    bool changed = takePartWhen(collectionButtons.import, empty);
    return takePartWhen(collectionButtons.sample, empty) || changed;
}

// Runs after every message: the first cards imported (or the last one deleted) swap the collectionButtons.
void followCollection() {
    if (followEmptiness()) {
        framewRepaint();
    }
}

GuiButton* addFirstWordsButton(State* state, framew_strings2 caption, int centerX, LinkedScreen screen) {
    return addLinkedScreenButton(state, interfaceText2(caption), BUTTON1, centerX, FIRST_WORDS_ROW, screen);
}

}  // namespace

State* createWelcomeState() {
    State* state = createNavigationState(String_WELCOME_STATE, String_WELCOME_BACK);
    addLinkedScreenButton(state, String_PRACTICE, 500, 200, LinkedScreen::Practice);
    addScreenButton(state, String_FEED, 500, 300, createFeedState);
    addLinkedScreenButton(state, String2_STATISTICS, 500, 400, LinkedScreen::Statistics);
    addElementToState(state, new GuiSettingsButton());
    collectionButtons.import = addFirstWordsButton(state, String2_IMPORT_WORDS, 320, LinkedScreen::Import);
    collectionButtons.sample = addFirstWordsButton(state, String2_TRY_SAMPLE, 680, LinkedScreen::SampleCollection);
    followEmptiness();
    runDailyCheck();
    state->aliveFunc = followCollection;
    return state;
}
