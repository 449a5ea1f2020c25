#pragma once

// Stores prepared rows as the flashcard editor stores a card, in memory only (the import saves
// once, at the end): the foreign word (found in its language, or new) with its pronunciation,
// mnemonic, article and, from a conjugation, its irregular verb table; the card for it (both
// directions, level 0, due now) in the row's lesson; its known words (found, or new with empty
// texts, as the editor makes them); one meaning linking the foreign word and the known words
// (one they already share, else a new one); the row's categories on that meaning.
//
// A foreign word whose card was there before the import is left alone (skip) or given what the
// row adds (update): new known words, the meaning links, categories, the fields the row has, and
// the lesson it names; the card keeps its level and due date. A foreign word that a row of this
// import stored already is always updated, so rows repeating a word make one card.

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "exchange/ImportOptions.h"
#include "exchange/ImportUndo.h"
#include "exchange/LanguageTarget.h"
#include "exchange/RowPreparation.h"

class Word;
class Flashcard;
class Meaning;

namespace exchange {

enum class RowFate { New, Updated, Skipped, Merged, Refused };

class RecordBuilder {
public:
    RecordBuilder(const ImportOptions& options, LanguageTarget& foreign, LanguageTarget& known, ImportUndo& undo);

    // What storing the row would do, without storing anything (for the preview): New, Updated
    // (or Skipped) for a word with a card from before, Merged for a word an earlier row of the
    // file names (Skipped when that row is skipped). One builder foresees, another stores.
    RowFate foresee(const PreparedRow& row);
    // Stores the row; returns what it did.
    RowFate store(const PreparedRow& row);

private:
    void collectCards();
    // The id of the word's card (its first), or null when it has none.
    const unsigned* cardOf(const Word& word);
    void collectNames();
    unsigned lessonId(const std::wstring& title);
    unsigned categoryId(const std::wstring& description);
    Word& foreignWordFor(const PreparedRow& row, Word* found);
    void writeWordFields(Word& word, const PreparedRow& row);
    void writeConjugations(Word& word, const PreparedRow& row);
    Flashcard& newCard(Word& word, const PreparedRow& row);
    Word& knownWord(const std::wstring& text);
    void linkKnownWords(Flashcard& card, const std::vector<Word*>& known);
    Meaning& sharedMeaning(Word& foreign, const std::vector<Word*>& known);
    void link(Meaning& meaning, Word& word);
    unsigned add(dependency table, unsigned id);

    const ImportOptions& options_;
    LanguageTarget& foreign_;
    LanguageTarget& known_;
    ImportUndo& undo_;
    bool cardsCollected_ = false;
    bool namesCollected_ = false;
    std::unordered_map<unsigned, unsigned> cardOfWord_;  // collected when first needed, then kept up to date
    std::unordered_map<std::wstring, unsigned> lessons_;
    std::unordered_map<std::wstring, unsigned> categories_;
    std::unordered_set<unsigned> storedWords_;       // foreign words rows of this import stored
    std::unordered_map<std::wstring, RowFate> foreseenWords_;  // foreign texts the preview has seen
};

}  // namespace exchange
