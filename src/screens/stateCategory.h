#pragma once

// The category editor: the list of categories (New, Edit, Delete) and the edit page with the
// description. It is opened from the settings screen and, stacked on it, from the meaning editor.
//
// Pages: 1 the list, 2 the edit page. Edit page elements in the order they are added:
//
//   element              tag                      where                      action
//   heading "Categories"                          centre (500, 80), 500x80
//   label "Description"                           centre (500, 190), 300x50
//   description field    "TEXTFIELD_DESCRIPTION"  centre (500, 250), 333x62
//   "Discard changes"                             centre (250, 400)          back to the list
//   "Save"                                        centre (750, 400)          "SAVE_PRESSED"
//
// Descriptions may be empty or repeated. Delete asks first; its links to meanings go with it.

class Category;
class State;

inline constexpr long CATEGORY_EDIT_PAGE = 2;

// The category shown on the edit page; null for a new one. Cleared when the screen goes.
extern Category* editCategory;

// Builds the editor (retained in the traceback, on the list page); the state machine owns it
// once it is handed over.
State* createCategoryState();
