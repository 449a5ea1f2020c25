#pragma once

// What the navigation screens reach in the layers built on top of the state machine: the practice
// screen and the editors open from their buttons, and the daily roll-over runs while the welcome
// screen is built. Those layers depend on this one, so the screens here cannot name them; the
// program links each builder in at start-up (program/ScreenWiring.cpp), before the first screen
// is built.
//
// A screen without a builder has no button: the navigation screens leave it off the screen
// instead of showing a button that does nothing.

#include "gui/GuiCallbacks.h"

enum class LinkedScreen {
    Practice,           // welcome screen, "Practice"
    Categories,         // settings screen, "Categories"
    FlashcardMenu,      // settings screen, "Flashcards"
    Languages,          // settings screen, "Languages"
    Lessons,            // settings screen, "Lessons"
    Levels,             // settings screen, "Levels"
    Meanings,           // settings screen, "Meanings"
    VerbPatterns,       // settings screen, "Verb Patterns"
    Words,              // settings screen, "Words"
    ClassicFlashcards,  // feed screen, "Classic Flashcards"
    Import,             // settings screen, "Import"; welcome and practice screens, "Import words"
    Export,             // settings screen, "Export"
    SampleCollection,   // welcome and practice screens, "Try a sample collection"
    Statistics,         // welcome screen and the end of a practice run, "Statistics"
    LINKED_SCREEN_COUNT
};

// Registers the builder of a screen; null unlinks it.
void linkScreen(LinkedScreen screen, StateBuilder builder);
// The builder registered for the screen, or null.
StateBuilder linkedScreen(LinkedScreen screen);

// Registers the daily roll-over; null unlinks it.
void linkDailyCheck(NoTagFunc check);
// Runs the registered daily roll-over, if any.
void runDailyCheck();

// Unlinks every screen and the daily roll-over (for tests).
void resetLinkedScreens();
