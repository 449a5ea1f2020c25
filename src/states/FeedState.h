#pragma once

class State;

// The feed screen: ways of adding cards ("Classic Flashcards", "Smart Feed"), the settings button
// and the back button. A new one is built on every visit; the caller hands it to the state
// machine.
State* createFeedState();

// The action of "Smart Feed", which has no screen: it says so on standard output, one line per
// press, and changes nothing.
void state_DeadEndButton();
