#pragma once

// The flashcard menu: the list screen (states/ListState.h) titled "Flashcards" with a search list
// of the cards, each shown by its line (the foreign word, its lesson, its levels and due days),
// and the language filter. New opens the flashcard editor for a new card, Edit for the
// highlighted one (screens/stateFlashcard.h); the list is refilled when the editor returns.
// Delete asks first and takes the card's links to its known words with it.

class State;

// Builds the menu (retained in the traceback, on the list page); the state machine owns it once
// it is handed over.
State* createFlashcardMenuState();
