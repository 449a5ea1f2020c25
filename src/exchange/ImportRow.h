#pragma once

// One row of a word list, whatever the format: what a line of delimited text or an entry of a
// KVTML file says about one flashcard, before it is checked against the collection.

#include <string>
#include <vector>

#include "exchange/KvtmlDocument.h"
#include "exchange/Refusal.h"

namespace exchange {

struct RowConjugation {
    std::wstring tense;
    PersonForms forms;
};

struct ImportRow {
    unsigned line = 0;  // where the row starts in the file, 1-based
    std::wstring foreign;
    std::wstring article;           // from an article column
    Gender gender = Gender::None;   // a KVTML noun's gender
    std::vector<std::wstring> known;  // as the file gives them (split later)
    std::wstring pronunciation;
    std::wstring mnemonic;
    std::wstring lesson;
    std::vector<std::wstring> categories;
    std::vector<RowConjugation> conjugations;
    // Why the row cannot be read at all (a field that is not valid in the file's encoding, a
    // quote never closed); None when it can.
    RefusalKind problem = RefusalKind::None;
    unsigned problemColumn = 0;
};

// Where rows come from: a reader of one format with the user's choice of columns. Two passes
// are made over the same file (preview, then import), so a source can start again.
class RowSource {
public:
    virtual ~RowSource() = default;
    // The next row; false at the end (or when the file turned out malformed: see failure).
    virtual bool next(ImportRow& row) = 0;
    virtual void restart() = 0;
    // How far through the file the source is, 0 to 1.
    virtual double progress() const = 0;
    // Why reading stopped early (a malformed file); empty otherwise.
    virtual std::string failure() const { return {}; }
};

}  // namespace exchange
