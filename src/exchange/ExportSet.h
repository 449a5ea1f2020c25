#pragma once

// The cards of one language pair as a word list: what both writers write. A card belongs to the
// pair of its foreign word's language and the language of its first known word; its known words
// of that language are listed in the order they were added to it.

#include <string>
#include <utility>
#include <vector>

#include "exchange/ImportRow.h"
#include "exchange/PersonLayout.h"

namespace exchange {

struct ExportedLanguage {
    std::wstring name;
    std::wstring locale;  // from its keyboard layout; empty when unknown
    std::vector<std::wstring> articles;  // in id order
    std::vector<std::wstring> persons;   // in id order
    std::vector<std::wstring> tenses;    // in id order
    PersonLayout layout;                 // for its number of persons
};

struct ExportedCard {
    std::wstring foreign;
    std::wstring article;
    Gender gender = Gender::None;  // for the first three articles of the language
    std::wstring pronunciation;
    std::wstring mnemonic;
    std::wstring lesson;
    std::vector<std::wstring> known;
    std::vector<std::wstring> categories;  // sorted
    // Conjugated forms by tense index, [tense][person]: the irregular verb's cells or the forms
    // its pattern makes; empty for a word that is no verb.
    std::vector<std::vector<std::wstring>> forms;
};

struct ExportSet {
    ExportedLanguage foreign;
    ExportedLanguage known;
    std::vector<ExportedCard> cards;
    std::vector<std::wstring> lessons;  // the lessons of the cards, in the order cards first use them
};

// The language pairs that have cards, with their number of cards, most cards first.
struct LanguagePair {
    unsigned foreign = 0;
    unsigned known = 0;
    unsigned cards = 0;
};
std::vector<LanguagePair> languagePairs();

ExportSet collectExport(unsigned foreignLanguage, unsigned knownLanguage);

// Text with an article in front: "der Tisch"; an article ending in an apostrophe joins without a
// blank ("l'homme").
std::wstring withArticle(const std::wstring& article, const std::wstring& word);

}  // namespace exchange
