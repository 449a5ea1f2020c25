#include "exchange/LanguageTarget.h"

#include <algorithm>
#include <cwctype>

#include "exchange/ImportUndo.h"
#include "model/Grammar.h"
#include "model/Language.h"

namespace exchange {

namespace {

template <typename T>
std::vector<T*> grammarOf(unsigned languageId) {
    std::vector<T*> records;
    for (auto it = T::begin(); it != T::end(); ++it) {
        if (it->getDependency(D_LANGUAGE) == languageId) {
            records.push_back(*it);
        }
    }
    return records;
}

template <typename T>
unsigned addGrammar(const std::wstring& text, unsigned languageId, ImportUndo& undo) {
    const unsigned id = T::add(new T(text.c_str(), languageId));
    undo.created(T::getOwnEntry(), id);
    return id;
}

}  // namespace

LanguageTarget LanguageTarget::existing(unsigned languageId, const LanguageGrammar* file) {
    LanguageTarget target;
    target.id_ = languageId;
    if (const Language* language = Language::getById(languageId)) {
        target.name_ = language->get_name();
    }
    for (const Article* article : grammarOf<Article>(languageId)) {
        if (target.articleIds_.emplace(article->get_text(), article->getId()).second) {
            target.articles_.push_back(article->get_text());
        }
    }
    if (file != nullptr) {
        for (const std::wstring& article : file->articles) {
            target.noteArticle(article);
        }
        target.genderArticles_ = file->genderArticles;
    }
    target.articleIdsBefore_ = target.articleIds_;
    for (const Person* person : grammarOf<Person>(languageId)) {
        target.personTexts_.emplace_back(person->get_text());
    }
    target.personCount_ = target.personTexts_.size();
    target.layout_ = PersonLayout::forCount(target.personCount_);
    for (const Tense* tense : grammarOf<Tense>(languageId)) {
        target.tenses_.push_back(tense->get_text());
    }
    return target;
}

LanguageTarget LanguageTarget::planned(LanguageGrammar grammar) {
    LanguageTarget target;
    target.planned_ = true;
    target.name_ = std::move(grammar.name);
    target.locale_ = std::move(grammar.locale);
    target.articles_ = std::move(grammar.articles);
    target.genderArticles_ = grammar.genderArticles;
    target.layout_ = std::move(grammar.layout);
    target.personTexts_ = std::move(grammar.persons);
    target.personCount_ = target.personTexts_.size();
    target.tenses_ = std::move(grammar.tenses);
    return target;
}

LanguageTarget LanguageTarget::named(LanguageGrammar grammar) {
    for (auto it = Language::begin(); it != Language::end(); ++it) {
        if (grammar.name == it->get_name()) {
            return existing(it->getId(), &grammar);
        }
    }
    return planned(std::move(grammar));
}

void LanguageTarget::unmake() {
    made_ = false;
    articleIds_ = articleIdsBefore_;
    if (planned_) {
        id_ = 0;
    }
}

bool LanguageTarget::knowsArticle(const std::wstring& text) const {
    return std::find(articles_.begin(), articles_.end(), text) != articles_.end();
}

void LanguageTarget::noteArticle(const std::wstring& text) {
    if (!text.empty() && !knowsArticle(text)) {
        articles_.push_back(text);
    }
}

std::wstring LanguageTarget::articleFor(Gender gender) const {
    return gender == Gender::None ? std::wstring() : genderArticles_[static_cast<int>(gender)];
}

std::vector<std::wstring> LanguageTarget::articlesLongestFirst() const {
    std::vector<std::wstring> sorted = articles_;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const std::wstring& a, const std::wstring& b) { return a.size() > b.size(); });
    return sorted;
}

std::optional<unsigned> LanguageTarget::tenseIndex(const std::wstring& name) const {
    const auto found = std::find(tenses_.begin(), tenses_.end(), name);
    if (found == tenses_.end()) {
        return std::nullopt;
    }
    return static_cast<unsigned>(found - tenses_.begin());
}

void LanguageTarget::make(ImportUndo& undo) {
    if (made_) {
        return;
    }
    made_ = true;
    if (id_ == 0) {
        auto* language = new Language();
        language->set_name(name_.c_str(), true);
        language->set_keyboardLocalID(layoutForLocale(locale_).c_str());
        language->set_rightToLeft(rightToLeftLocale(locale_), true);
        id_ = Language::add(language);
        undo.created(D_LANGUAGE, id_);
        for (const std::wstring& person : personTexts_) {
            addGrammar<Person>(person, id_, undo);  // an existing language's are there already
        }
        for (const std::wstring& tense : tenses_) {
            addGrammar<Tense>(tense, id_, undo);
        }
    }
    for (const std::wstring& article : articles_) {
        if (!articleIds_.contains(article)) {
            articleIds_.emplace(article, addGrammar<Article>(article, id_, undo));
        }
    }
}

unsigned LanguageTarget::articleId(const std::wstring& text) const {
    const auto found = articleIds_.find(text);
    return found == articleIds_.end() ? 0 : found->second;
}

}  // namespace exchange
