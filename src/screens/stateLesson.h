#pragma once

// The lesson editor: a search list of the lessons (New, Edit, Delete) and the edit page with the
// title and an optional due date typed as day, month and year. It is opened from the settings
// screen and, stacked on it, from the flashcard editor. An opener does so from its update
// function: it queues on itself the tag that refreshes it (its lesson selection), then requests
// the switch (switchToState(createLessonState())); Back returns to it, and it hears that tag.
//
// Pages: 1 the list, 2 the edit page. Edit page elements in the order they are added:
//
//   element                tag                           where                      action
//   heading                "TITLETEXT_ADD_EDIT_LESSON"   centre (500, 100), 1000x100
//   label "Lesson"                                       centre (300, 200), 200x50
//   title field            "TEXTFIELD_NEWLESSON"         centre (600, 200), 333x62
//   check box "Due on the" "CHECK_DUE"                   centre (600, 270), 300x50  shows or hides
//                                                                                   the date fields
//   day, month, year       "TEXTFIELD_DAY", "..._MONTH", centres (475, 340),
//   (digits only)          "TEXTFIELD_YEAR"              (550, 340), (700, 340)
//   "Discard changes"                                    centre (300, 450)          back to the list
//   "Save"                                               centre (700, 450)          "SAVE_PRESSED"
//
// The due date is stored as a day number (screens/DueDate.h). Save refuses dates that do not
// exist or lie outside 1970 to 2037, and dates before today unless the lesson already had that
// date (an overdue lesson can still be renamed). Titles may be empty or repeated. Delete asks
// first, and the lesson's flashcards are deleted with it, as the question says.

class State;

inline constexpr long LESSON_EDIT_PAGE = 2;

// Builds the editor (retained in the traceback, on the list page); the state machine owns it
// once it is handed over.
State* createLessonState();
