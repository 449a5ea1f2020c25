#pragma once

// The language one side of an import goes into: a language of the collection, or a new one made
// from what the file says (exchange/LanguageGrammar.h) when the first row is stored. Answers what
// the rows need of it: its articles (by text), the article of a gender, the person places of its
// verb tables and the index of a tense.
//
// An existing language keeps its persons and tenses (a conjugation fills the cells it has); it
// gains the articles the file's grammar names and it lacks, so a noun's gender never loses its
// article. A new language takes every article an article column names.

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "exchange/LanguageGrammar.h"

namespace exchange {

class ImportUndo;

class LanguageTarget {
public:
    // A language of the collection; `file` is what the file says of it (may be null).
    static LanguageTarget existing(unsigned languageId, const LanguageGrammar* file);
    // A new language named as the grammar says.
    static LanguageTarget planned(LanguageGrammar grammar);
    // The collection's language of the grammar's name when there is one, else a new one.
    static LanguageTarget named(LanguageGrammar grammar);

    bool isNew() const { return id_ == 0; }
    const std::wstring& name() const { return name_; }
    // The language's id once it exists; 0 before a new one is made.
    unsigned id() const { return id_; }

    bool knowsArticle(const std::wstring& text) const;
    // Whether an unknown article text becomes an article of the language (a new language).
    bool takesNewArticles() const { return planned_; }
    void noteArticle(const std::wstring& text);
    // The article text a noun of the gender gets; empty for none.
    std::wstring articleFor(Gender gender) const;
    // The articles, longest first, for finding one at the start of a word.
    std::vector<std::wstring> articlesLongestFirst() const;

    const PersonLayout& layout() const { return layout_; }
    std::size_t persons() const { return personCount_; }
    // The text of each person ("ich", "er/sie/es"), in the order of the verb tables' rows.
    const std::vector<std::wstring>& personTexts() const { return personTexts_; }
    std::size_t tenses() const { return tenses_.size(); }
    // The tense's index (position among the language's tenses), or nothing.
    std::optional<unsigned> tenseIndex(const std::wstring& name) const;

    // Makes the records of a new language (language, articles, persons, tenses) or the missing
    // articles of an existing one, noting each in `undo`. Once only.
    void make(ImportUndo& undo);
    bool made() const { return made_; }
    // The records make() made were taken back: the target is as before make().
    void unmake();
    // The id of an article by its text, after make; 0 for none.
    unsigned articleId(const std::wstring& text) const;

private:
    LanguageTarget() = default;

    unsigned id_ = 0;
    std::wstring name_;
    std::wstring locale_;
    std::vector<std::wstring> articles_;              // every article text, existing and to make
    std::unordered_map<std::wstring, unsigned> articleIds_;  // the ones that exist
    std::unordered_map<std::wstring, unsigned> articleIdsBefore_;
    bool planned_ = false;
    std::array<std::wstring, GENDERS> genderArticles_;
    PersonLayout layout_;
    std::vector<std::wstring> personTexts_;
    std::size_t personCount_ = 0;
    std::vector<std::wstring> tenses_;
    bool made_ = false;
};

}  // namespace exchange
