#pragma once

// Filling selection fields with records: each entry is a text with the record's id.

class GuiSelectionfield;

namespace modelui {

// Appends an entry showing `text` that stands for record `id`.
void addEntry(GuiSelectionfield& field, const wchar_t* text, unsigned id);

// Empties the field and adds "n/a" with id 0, which stands for no record: a word without an
// article or pattern links to nothing.
void restartWithNotApplicable(GuiSelectionfield& field);

}  // namespace modelui
