#pragma once

// One grammar panel of the language editor (articles, persons or tenses): a tab, an entry field
// with the buttons Add, Rename and Delete, and the list of the language's entries. The panels
// share the right-hand side of the edit pages; the tab of the active one is highlighted and joins
// the panel's background like a file tab.
//
// Elements in the order they are added (also the Tab order), `offset` moving the tab down:
//
//   element          caption / tag                where                           page
//   tab highlight    GuiRect BT_RGB, no outline   top-left (440, offset + 100),    the panel's
//                                                 500 x 100
//   tab button       the panel's name             centre (500, offset + 150)      every edit page
//   entry field      TEXTFIELD_<NAME>             centre (800, 120), 333 x 62     the panel's
//   add button       "Add"                        centre (676, 200)               the panel's
//   rename button    "Rename"                     centre (800, 200)               the panel's
//   list             ITEMLIST_<NAME>S             top-left (634, 250), 333 x 230  the panel's
//   delete button    "Delete"                     centre (924, 200)               the panel's
//
//   button    effect
//   Add       appends the field's text (also an empty one) as a new entry (id 0); empties the
//             field and gives it the focus
//   Rename    the active entry takes the field's text and keeps its id; empties the field and
//             gives it the focus
//   Delete    removes the active entry; the focus goes to the list

#include "resources/frameworkFileManager.h"

class GuiItemfield;
class GuiTextfield;
class State;

struct GrammarPanel {
    const char* fieldTag;     // "TEXTFIELD_ARTICLE"
    const char* listTag;      // "ITEMLIST_ARTICLES"
    long page;                // the page mask of the panel
    framew_strings caption;   // the tab's caption
    int offset;               // how far the tab stands below the first one
};

// The page mask of the elements every edit page shows.
inline constexpr long ALL_GRAMMAR_PAGES = 16 | 32 | 64 | 128;

// Adds the panel's elements to `state` (the building context is left on the panel's page) and
// returns its entry field and list, which the state owns.
void setupGrammar(State* state, const GrammarPanel& panel, GuiTextfield** field, GuiItemfield** itemlist);

// The panel buttons' actions; the tags name the panel's field and list on the current screen.
void addItemBtn(const void* fieldTag, const void* listTag);
void renameItemBtn(const void* fieldTag, const void* listTag);
void deleteItemBtn(const void* listTag);
