#pragma once

// Filling the grammar lists of the language editor (articles, persons, tenses) from the database
// and writing them back.
//
// A list entry carries the id of the record it shows, or 0 for an entry the user added since the
// list was filled. The user can only append entries, rename them in place or remove them, so the
// kept entries stay in the order of their records.
//
// The verb tables of a language follow its persons and tenses: the row of person index y (the
// column of tense index x) belongs to the language's y-th person (x-th tense) in ascending record
// id. Writing the person or tense list back reshapes every verb pattern and irregular verb of the
// language so that this holds again: a deleted person's row goes, a kept person keeps its forms,
// a new person gets an empty row. The table places a new record by id, and ids freed by a
// deletion are handed out again, so a new person is not always the last one; rows are therefore
// matched by record, not simply appended.

class GuiItemfield;

// Empties the list, then adds every record of T (Article, Person or Tense) of the language in
// ascending record id, each with its text and id.
template <typename T>
void populate(GuiItemfield& list, unsigned languageId);

// Writes the list back as the records of T of the language, each change marked for saving:
//   - a record of the language whose id no entry carries is deleted, with its cascade;
//   - a kept record takes the text of its entry;
//   - an entry with id 0, or with an id that is no record of T of this language, becomes a new
//     record, in list order;
//   - for persons and tenses, every verb pattern and irregular verb of the language is reshaped
//     as described above; verbs of other languages are not touched.
// Afterwards every entry carries its record's id, so writing the same list back again changes
// nothing.
template <typename T>
void refill(GuiItemfield& list, unsigned languageId);
