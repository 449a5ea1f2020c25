#pragma once

// Reading the cells of a verb table on screen. A verb table is a GuiTable whose line 0 and
// column 0 hold the captions (persons down column 0, tenses along line 0); the cell of tense
// index x and person index y lies in line y + 1, column x + 1. A cell holds a text field while
// the user types into it, or a label when it only shows a form.

#include <string>

class GuiTable;
class GuiTextfield;

namespace modelui {

// Line and column of the cell of tense index x and person index y.
inline int lineOfPerson(unsigned y) { return static_cast<int>(y) + 1; }
inline int columnOfTense(unsigned x) { return static_cast<int>(x) + 1; }

// The text a cell shows: a text field's visible text or a label's wide text; "" for a cell that
// is empty, holds something else or does not exist.
std::wstring cellText(const GuiTable& table, int line, int column);

// The text field in a cell, or null.
GuiTextfield* cellField(const GuiTable& table, int line, int column);

}  // namespace modelui
