#pragma once

class State;

// The first screen, built once by the start-up: the title, "Practice", "Feed" and the settings
// button. Building it runs the daily roll-over of the flashcards' due counters (once the program
// has linked it in), so the roll-over happens at start-up, before the screen is shown. The caller
// hands the screen to the state machine.
State* createWelcomeState();
