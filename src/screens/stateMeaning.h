#pragma once

// The meaning editor, in two settings.
//
// Alone (from the settings screen, editWordMeaningState null): a search list of all meanings with
// Edit and Delete; Delete asks first and takes the meaning's links to words and categories with
// it. There is no New: meanings are made for a word.
//
// For one word (from the word and the flashcard editors): heading "Meanings - <word>", the
// word's meanings with New, Edit and "Disconnect" (which removes only the link, without asking;
// a meaning left without words goes). On the connection page all meanings are listed with "New
// connection", which links the word to the highlighted meaning and returns to the opener, and
// "Discard changes", which returns at once.
//
// Pages: 1 the list, 2 the meaning page, 4 the connection page. The heading and the list take
// part on pages 1 and 4. Meaning page elements in the order they are added:
//
//   element               tag                            where                     action
//   heading (the words)   "TITLETEXT_ADD_EDIT_MEANING"   centre (500, 80), 500x80
//   label "Niveau"                                       centre (80, 150), 100x50
//   niveau selection      "SELECTIONFIELD_NIVEAU"        centre (295, 150), 328x50 the ten niveau texts
//   "Categories"                                         centre (705, 150)         category editor
//   Use / Don't use lists "CATEGORY_USE",                centre (500, 285), 900x180
//                         "CATEGORY_DONT_USE"
//   "Save"                                               centre (765, 430)         "SAVE_PRESSED"
//   "Discard changes"                                    centre (640, 430)         back to the list
//
// Connection page: "New connection" at (775, 215) and "Discard changes" at (775, 285).
//
// The "Categories" button stacks the category editor on this one; on return the category lists
// are rebuilt from the stored categories (new ones in Don't use, deleted ones gone, renamed ones
// renamed), keeping the user's unsaved choices and niveau.
//
// How an opener uses it, from its update function: queue on itself the update tags that refresh
// it when it is current again, then call openMeaningEditorForWord. (Tags queued from an element's
// callback instead would reach the opener at once, before it is left.) When the user comes back (Back, "New connection" or
// "Discard changes") the meaning editor is destroyed, stateTerminate clears editWordMeaningState
// and editMeaning, and the opener hears its queued tags. A new connection raises the meaning's
// connectionsForFlashcard; Disconnect lowers it (decConnections).

class Meaning;
class State;
class Word;

inline constexpr long MEANING_LIST_PAGE = 1;
inline constexpr long MEANING_EDIT_PAGE = 2;
inline constexpr long MEANING_CONNECTION_PAGE = 4;

// The word the editor was opened for; null when it was opened alone. Set by the opener before
// createMeaningState runs.
extern Word* editWordMeaningState;
// The meaning shown on the meaning page; null for a new one.
extern Meaning* editMeaning;

// Builds the editor for editWordMeaningState (or alone), retained in the traceback, on the list
// page; the state machine owns it once it is handed over. To start on the connection page, set
// the screen's condition to MEANING_CONNECTION_PAGE before it is shown.
State* createMeaningState();

// The screen's terminate function: clears editWordMeaningState and editMeaning.
void stateTerminate();

// For openers: sets editWordMeaningState to `word`, builds the editor, starts it on `page`
// (MEANING_LIST_PAGE or MEANING_CONNECTION_PAGE) and requests the switch to it.
void openMeaningEditorForWord(Word* word, long page);
