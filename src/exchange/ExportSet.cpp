#include "exchange/ExportSet.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "exchange/LanguageGrammar.h"
#include "model/Category.h"
#include "model/F_W.h"
#include "model/Flashcard.h"
#include "model/Grammar.h"
#include "model/IrregularVerb.h"
#include "model/Language.h"
#include "model/Lesson.h"
#include "model/Meaning.h"
#include "model/VerbPattern.h"
#include "model/Word.h"

namespace exchange {

namespace {

// The known words of every card, in the order their links were made (link ids ascend).
std::unordered_map<unsigned, std::vector<const Word*>> knownWordsByCard() {
    std::unordered_map<unsigned, std::vector<const Word*>> known;
    for (auto it = F_W::begin(); it != F_W::end(); ++it) {
        if (const Word* word = Word::getById(it->getDependency(D_WORD))) {
            known[it->getDependency(D_FLASHCARD)].push_back(word);
        }
    }
    return known;
}

template <typename T>
std::vector<std::wstring> grammarTexts(unsigned languageId, std::vector<unsigned>* ids = nullptr) {
    std::vector<std::wstring> texts;
    for (auto it = T::begin(); it != T::end(); ++it) {
        if (it->getDependency(D_LANGUAGE) == languageId) {
            texts.emplace_back(it->get_text());
            if (ids != nullptr) {
                ids->push_back(it->getId());
            }
        }
    }
    return texts;
}

ExportedLanguage exportedLanguage(unsigned id, std::vector<unsigned>& articleIds) {
    ExportedLanguage language;
    if (const Language* record = Language::getById(id)) {
        language.name = record->get_name();
        language.locale = localeForLayout(record->get_keyboardLocalID());
    }
    language.articles = grammarTexts<Article>(id, &articleIds);
    language.persons = grammarTexts<Person>(id);
    language.tenses = grammarTexts<Tense>(id);
    language.layout = PersonLayout::forCount(language.persons.size());
    return language;
}

std::vector<std::wstring> categoriesOf(const Word& word) {
    std::vector<std::wstring> categories;
    for (const OrnQL_Base* meaning : word.partnersOf(D_MEANING)) {
        for (const OrnQL_Base* category : meaning->partnersOf(D_CATEGORY)) {
            categories.emplace_back(static_cast<const Category*>(category)->get_description());
        }
    }
    std::sort(categories.begin(), categories.end());
    categories.erase(std::unique(categories.begin(), categories.end()), categories.end());
    return categories;
}

std::vector<std::vector<std::wstring>> formsOf(const Word& word) {
    std::vector<std::vector<std::wstring>> forms;
    if (const IrregularVerb* verb = IrregularVerb::getById(word.getDependency(D_IRREGULARVERB))) {
        return verb->cells();
    }
    if (const VerbPattern* pattern = VerbPattern::getById(word.getDependency(D_VERBPATTERN))) {
        for (const std::vector<std::wstring>& tense : pattern->cells()) {
            forms.emplace_back();
            for (const std::wstring& rule : tense) {
                std::wstring form = word.get_text();
                VerbPattern::convertWithPattern(rule.c_str(), form);
                forms.back().push_back(form);
            }
        }
    }
    return forms;
}

}  // namespace

std::wstring withArticle(const std::wstring& article, const std::wstring& word) {
    if (article.empty()) {
        return word;
    }
    const bool elided = article.back() == L'\'' || article.back() == 0x2019;
    return article + (elided ? L"" : L" ") + word;
}

std::vector<LanguagePair> languagePairs() {
    const auto known = knownWordsByCard();
    std::map<std::pair<unsigned, unsigned>, unsigned> counts;
    for (auto it = Flashcard::begin(); it != Flashcard::end(); ++it) {
        const auto words = known.find(it->getId());
        if (words != known.end() && !words->second.empty()) {
            ++counts[{it->getDependency(D_LANGUAGE), words->second.front()->getDependency(D_LANGUAGE)}];
        }
    }
    std::vector<LanguagePair> pairs;
    for (const auto& [languages, cards] : counts) {
        pairs.push_back({languages.first, languages.second, cards});
    }
    std::stable_sort(pairs.begin(), pairs.end(), [](const LanguagePair& a, const LanguagePair& b) {
        return a.cards > b.cards;
    });
    return pairs;
}

ExportSet collectExport(unsigned foreignLanguage, unsigned knownLanguage) {
    ExportSet set;
    std::vector<unsigned> articleIds;
    std::vector<unsigned> unused;
    set.foreign = exportedLanguage(foreignLanguage, articleIds);
    set.known = exportedLanguage(knownLanguage, unused);
    const auto known = knownWordsByCard();
    for (auto it = Flashcard::begin(); it != Flashcard::end(); ++it) {
        const Word* word = Word::getById(it->getDependency(D_WORD));
        const auto words = known.find(it->getId());
        if (word == nullptr || it->getDependency(D_LANGUAGE) != foreignLanguage || words == known.end() ||
            words->second.empty() || words->second.front()->getDependency(D_LANGUAGE) != knownLanguage) {
            continue;
        }
        ExportedCard card;
        card.foreign = word->get_text();
        card.pronunciation = word->get_ipaPronounciation();
        card.mnemonic = word->get_mnemonic();
        const auto article = std::find(articleIds.begin(), articleIds.end(), word->getDependency(D_ARTICLE));
        if (article != articleIds.end()) {
            const auto position = article - articleIds.begin();
            card.article = set.foreign.articles[static_cast<std::size_t>(position)];
            card.gender = position < GENDERS ? static_cast<Gender>(position) : Gender::None;
        }
        if (const Lesson* lesson = Lesson::getById(it->getDependency(D_LESSON))) {
            card.lesson = lesson->get_title();
            if (std::find(set.lessons.begin(), set.lessons.end(), card.lesson) == set.lessons.end()) {
                set.lessons.push_back(card.lesson);
            }
        }
        for (const Word* knownWord : words->second) {
            if (knownWord->getDependency(D_LANGUAGE) == knownLanguage) {
                card.known.emplace_back(knownWord->get_text());
            }
        }
        card.categories = categoriesOf(*word);
        card.forms = formsOf(*word);
        set.cards.push_back(std::move(card));
    }
    return set;
}

}  // namespace exchange
