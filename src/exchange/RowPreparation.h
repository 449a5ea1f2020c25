#pragma once

// A row made ready for storing, as the flashcard editor would take it: each field cleaned as its
// text fields clean typed text (line breaks and tabs become blanks, other control characters go,
// blanks at either end go), known words split at the chosen separator and at line breaks, a
// leading article split off when asked, the article a noun's gender gives, and checked: a foreign
// and at least one known word, no field longer than an editor field holds, an article the
// foreign language has (a new language takes the articles named).

#include <string>
#include <vector>

#include "exchange/ImportOptions.h"
#include "exchange/ImportRow.h"
#include "exchange/LanguageTarget.h"
#include "exchange/Refusal.h"

namespace exchange {

struct PreparedRow {
    unsigned line = 0;
    std::wstring foreign;
    std::wstring article;
    std::vector<std::wstring> known;
    std::wstring pronunciation;
    std::wstring mnemonic;
    std::wstring lesson;
    std::vector<std::wstring> categories;
    std::vector<RowConjugation> conjugations;
};

// The text as an editor's field would hold it.
std::wstring cleanedField(const std::wstring& text);

class RowPreparation {
public:
    RowPreparation(const ImportOptions& options, LanguageTarget& foreign);

    // Fills `prepared` and returns a refusal of kind None, or returns why the row is refused.
    Refusal prepare(ImportRow& row, PreparedRow& prepared);

private:
    void splitKnown(const std::vector<std::wstring>& fields, std::vector<std::wstring>& known) const;
    void splitLeadingArticle(PreparedRow& prepared) const;

    const ImportOptions& options_;
    LanguageTarget& foreign_;
};

}  // namespace exchange
