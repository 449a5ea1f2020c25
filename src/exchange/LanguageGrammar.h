#pragma once

// What a word list says about one of its languages: its name and the grammar a language made
// from it gets. A KVTML identifier says a lot (articles by number, definiteness and gender,
// personal pronouns, tenses); delimited text says nothing but what its article column holds.
//
// Articles are kept as one list without repeats, in the order of their places:
//   singular definite, singular indefinite, plural definite, plural indefinite, dual definite,
//   dual indefinite; each male, female, neutral
// and a language's articles go back into the places in the same order when it is written as
// KVTML. The singular definite article of each gender is the one a noun of that gender gets.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "exchange/KvtmlDocument.h"
#include "exchange/PersonLayout.h"

namespace exchange {

inline constexpr int ARTICLE_PLACES = 2 * NUMBERS * GENDERS;

struct ArticlePlace {
    int number = 0;
    bool definite = true;
    int gender = 0;
};

// The places of the articles in the order above.
ArticlePlace articlePlace(int index);

struct LanguageGrammar {
    std::wstring name;
    std::wstring locale;
    std::vector<std::wstring> articles;
    std::array<std::wstring, GENDERS> genderArticles;  // singular definite, by gender
    PersonLayout layout;
    std::vector<std::wstring> persons;
    std::vector<std::wstring> tenses;

    // The grammar of a KVTML identifier. Persons come from its pronouns, or, when it has none
    // but conjugations use it, six persons with labels; tenses from its own tense names, the
    // document's, and those its conjugations use.
    static LanguageGrammar ofIdentifier(const KvtmlHead& head, const KvtmlIdentifier& identifier);

    // The article a noun of this gender gets; empty for none.
    std::wstring articleFor(Gender gender) const;
};

// The keyboard layout of a language written in a locale ("de" -> "00000407"); "00000000" for an
// unknown one. And back: the locale of a layout; empty for an unknown one.
std::string layoutForLocale(const std::wstring& locale);
std::wstring localeForLayout(const std::string& layout);
// Languages of these locales are written right to left (Hebrew, Arabic, Persian, Urdu, Yiddish).
bool rightToLeftLocale(const std::wstring& locale);

}  // namespace exchange
