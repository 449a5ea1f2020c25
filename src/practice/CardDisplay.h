#pragma once

// Filling the practice screen's elements for a card: the language headers, the word question,
// the hints, the article selection and the per-card verb tables. The pieces the judging and the
// forced re-typing need again are offered here too.

class GuiSelectionfield;
class GuiTable;
class GuiTextfield;
class Language;
class Practice_container;

// Fills every question page of the card at the head of the run (practiceRun.headParts tells which
// parts are asked; the verb part is dropped there when no table can be built for the card).
void fillQuestionPages(Practice_container& card);

// Pronunciation, hint text and hint picture on the pages they show on once the hint was asked
// for (shown), or only where they give nothing away.
void showHints(bool shown);
// Empty, editable, written in the language's direction.
void prepareTextfield(GuiTextfield& field, const Language* language);
// The language's articles in ascending id, editable; the card's word has one of them, so no "n/a".
void fillArticles(GuiSelectionfield& field, unsigned languageId);
// Puts a new table (null: none) in place of the one in `slot`, on `pages`; typing into it switches
// to the foreign keyboard. The screen owns the table; returns it.
GuiTable* placeTable(GuiTable*& slot, GuiTable* fresh, long pages);
// Removes the card's question, solution and forced tables from the screen.
void releaseCardTables();
