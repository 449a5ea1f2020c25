#pragma once

// Judging what the learner entered for one part of a card. Word results are codes: correct, minor
// error, wrong; articles and verb tables are right or not. Each judge may also write the correct
// answer into the elements of the result page that are given (null: not shown).
//
// Primary direction (judgeWord): the typed text is looked up among the words of the foreign
// language (exact, case-sensitive). The card's own word is correct; another word sharing a
// meaning with it is a minor error; any other word, or a text that is no word of the language,
// is wrong.
//
// Inverted direction (judgeInverted), by what the list holds:
//   all known words and nothing else             correct
//   all known words and other entries            minor (the other entries coloured)
//   some known words, not all                    minor
//   no known word (or an empty list)             wrong
// Meanings are not consulted in this direction.

#include <vector>

class GuiItemfield;
class GuiSelectionfield;
class GuiTable;
class GuiText;
class GuiTextfield;
class Practice_container;
class Word;

enum AnswerResult : int { ANSWER_CORRECT = 0, ANSWER_MINOR = 1, ANSWER_WRONG = 2 };

// `solution` shows the foreign word.
int judgeWord(const Practice_container& container, const GuiTextfield& field, GuiText* solution);
// Whether a and b share a meaning.
bool overlappingMeaning(Word& a, Word& b);
// Each entry of `field` carries the id of the known-language word with exactly its text (0 when
// there is none). Entries that are not known words of the card are coloured INCORRECT_RGB.
// `correction` is filled with all known words of the card.
int judgeInverted(const Practice_container& container, GuiItemfield& field, GuiItemfield* correction);
// Whether the chosen article is the word's; a wrong choice is coloured INCORRECT_RGB.
// `correction` shows the word's article, `correctWord` the word.
bool checkArticle(const Practice_container& container, GuiSelectionfield& field, GuiText* correction,
                  GuiText* correctWord);
// Whether every cell of the table holds the right form of the word's verb (its pattern, else its
// irregular verb); every cell is coloured, right ones white. `rightWord` shows the word;
// `cellsRight` receives each cell's judgement, tense by tense (as Verb::checkTableSubmission).
bool checkVerb(const Practice_container& container, GuiTable& table, GuiText* rightWord,
               std::vector<bool>* cellsRight = nullptr);
// Fills an empty verb table of the word's language with the correct forms, read-only.
void fillVerbSolution(const Practice_container& container, GuiTable& table);
