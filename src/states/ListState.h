#pragma once

// The list screen every editor opens on: a title, the list of records, the buttons New, Edit and
// Delete, the back button and, when asked for, a language filter. The editor adds its own pages
// under other page masks and gives the screen its update function.
//
// Page 1 is the list. Elements in the order they are added (also the Tab order), each on page 1:
//
//   tag                    element                                        where
//   "TEXT_TITLE"           GuiText, the description                       centre (500, 80), 500 x 80
//   "BUTTON_NEW"           button "New <unit>"      -> "NEW_PRESSED"      centre (775, y0)
//   "BUTTON_EDIT"          button "Edit <unit>"     -> "EDIT_PRESSED"     centre (775, y0 + step)
//   "BUTTON_DELETE"        button "Delete <unit>"   -> "DELETE_PRESSED"   centre (775, y0 + 2 step)
//   "ITEMLIST"             GuiItemfield, or GuiSearchItemfield with       top-left (143, 119),
//                          LIST_SEARCHABLE                                408 x 343
//   (none)                 back button                                    centre (80, 430)
//   "SELECTION_LANGUAGE"   GuiSelectionfield: "All languages" (id 0),     centre (775, 151),
//                          then every language by name; only with         333 x 62
//                          LIST_LANGUAGE_FILTER
//
// Without the filter y0 = 191 and step = 100; with it the buttons move below the filter:
// y0 = 244 and step = 94.
//
// The screen is retained in the traceback with its line drawn, starts on page 1 and has "INIT"
// queued, so the editor's update function fills the list at its first delivery.

class State;

// Bits of createListState's flags.
inline constexpr int LIST_LANGUAGE_FILTER = 1;  // add the language filter
inline constexpr int LIST_SEARCHABLE = 2;       // a searchable, paged list instead of a plain one

// The page mask of the list page.
inline constexpr long LIST_PAGE = 1;

// Tags of the list screen's elements.
inline constexpr const char* TAG_TEXT_TITLE = "TEXT_TITLE";
inline constexpr const char* TAG_BUTTON_NEW = "BUTTON_NEW";
inline constexpr const char* TAG_BUTTON_EDIT = "BUTTON_EDIT";
inline constexpr const char* TAG_BUTTON_DELETE = "BUTTON_DELETE";
inline constexpr const char* TAG_ITEMLIST = "ITEMLIST";
inline constexpr const char* TAG_SELECTION_LANGUAGE = "SELECTION_LANGUAGE";

// Update tags the list screen sends its editor.
inline constexpr const char* UPDATE_INIT = "INIT";
inline constexpr const char* UPDATE_NEW_PRESSED = "NEW_PRESSED";
inline constexpr const char* UPDATE_EDIT_PRESSED = "EDIT_PRESSED";
inline constexpr const char* UPDATE_DELETE_PRESSED = "DELETE_PRESSED";

// Builds the list screen titled `description` whose buttons name `unit` ("New Word"). The
// building context is left on this screen with page mask 1, so the editor can go on adding with
// setConditional and the conditional adders. The caller owns the screen until it is handed to the
// state machine, and sets its update function.
State* createListState(const wchar_t* description, const wchar_t* unit, int flags);
