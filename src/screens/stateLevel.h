#pragma once

// The level editor: the ladder of levels, listed by number (New, Edit, Delete), and the edit page.
// It is opened from the settings screen.
//
// Pages: 1 the list, 2 the edit page. Edit page elements in the order they are added (texts
// centred):
//
//   element                 tag                      where                        notes
//   heading "Level"                                  centre (500, 90), 772x70
//   label "Level"                                    centre (280, 170), 333x50
//   "0"                                              centre (720, 180), 333x50    seen while the
//   level field (digits)    "TEXTFIELD_LEVEL"        centre (720, 180), 333x50    field is hidden
//   label "Break days"                               centre (280, 240), 333x50
//   "0"                                              centre (720, 240), 333x50
//   break days (digits)     "TEXTFIELD_BREAK_DAYS"   centre (720, 240), 333x50
//   "Force to type correct  "CHECKBOX_FORCE_ANSWER"  centre (500, 310), 772x50    starts ticked
//    answer"
//   label "Hints"                                    centre (280, 380), 333x50
//   hint selection          "SELECTION_HINTS"        centre (720, 380), 333x50    position = HINTHANDLING
//   "Discard changes"                                centre (280, 450)            back to the list
//   "Save"                                           centre (720, 450)            "SAVE_PRESSED"
//
// Save takes a level number from 1 to one above the top level for a new level, and up to the
// top level for an existing one (which moves there, the levels in between shifting by one), and
// at least one break day. Level 0, the bottom of the ladder, keeps its number and its 0 break
// days (both fields are hidden) and is never deleted. Deleting a level closes the gap in the
// ladder, and the cards that stood on the former top number move down onto the new top level.

class Level;
class State;

inline constexpr long LEVEL_EDIT_PAGE = 2;

// The level shown on the edit page; null for a new one. Cleared when the screen goes.
extern Level* editLevel;

// Builds the editor (retained in the traceback, on the list page); the state machine owns it
// once it is handed over.
State* createLevelState();
