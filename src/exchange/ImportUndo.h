#pragma once

// What an import has done in memory, so that all of it can be taken back: when the user cancels,
// and when the one save of the import fails. Records the import made are deleted, newest first
// (a link before what it links, a word before its language); records that were there before get
// back the fields they had when the import first changed them.

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "db/OrnQL_Types.h"
#include "model/Verb.h"

class Word;
class Flashcard;
class IrregularVerb;

namespace exchange {

class ImportUndo {
public:
    void created(dependency table, unsigned id);
    // Call before the import first changes a record (later calls do nothing). The fields of a
    // record the import made itself need no keeping: it is deleted before anything is restored.
    void changing(const Word& word);
    void changing(const Flashcard& card);
    void changing(const IrregularVerb& verb);

    // Takes everything back, in memory; afterwards the undo is empty.
    void undo();
    // The import was saved: nothing to take back any more.
    void clear();
    bool empty() const { return made_.empty() && words_.empty() && cards_.empty() && verbs_.empty(); }
    std::size_t recordsMade() const { return made_.size(); }

private:
    struct Made {
        dependency table;
        unsigned id;
    };
    struct WordFields {
        std::wstring text;
        std::wstring pronunciation;
        std::wstring mnemonic;
        unsigned article = 0;
        unsigned pattern = 0;
        unsigned irregularVerb = 0;
    };
    struct CardFields {
        unsigned lesson = 0;
        bool useInverted = true;
    };

    void deleteMade();
    void restoreChanged();

    std::vector<Made> made_;
    std::unordered_map<unsigned, WordFields> words_;
    std::unordered_map<unsigned, CardFields> cards_;
    std::unordered_map<unsigned, Verb::Cells> verbs_;
};

}  // namespace exchange
