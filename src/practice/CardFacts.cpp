#include "practice/CardFacts.h"

#include <algorithm>

#include "model/Category.h"
#include "model/Flashcard.h"
#include "model/Grammar.h"
#include "model/IrregularVerb.h"
#include "model/Language.h"
#include "model/Level.h"
#include "model/Meaning.h"
#include "model/VerbPattern.h"
#include "model/Word.h"
#include "practice/Practice_container.h"

namespace {

// Whether the language has at least one record of the grammar table T. A plain walk: a constraint
// would replace the table's selection, which a screen may be walking.
template <typename T>
bool languageHas(unsigned languageId) {
    for (auto it = T::begin(); it != T::end(); ++it) {
        if ((*it)->getDependency(D_LANGUAGE) == languageId) {
            return true;
        }
    }
    return false;
}

}  // namespace

Word* foreignWord(const Practice_container& container) {
    return Word::getById(container.fcard()->getDependency(D_WORD));
}

// Relation trees are made on first use; asking first keeps a card without links from growing one.
std::vector<Word*> knownWords(Flashcard& card) {
    std::vector<Word*> words;
    if (!card.hasFirstTierRelations(D_WORD)) {
        return words;
    }
    OrnQL_Base::RelationTree& linked = card.fTR(D_WORD);
    for (auto it = Word::begin(linked); it != Word::end(linked); ++it) {
        words.push_back(*it);
    }
    return words;
}

Language* getFLang(const Practice_container& container) { return Language::getById(langId(container)); }

Language* getKLang(const Practice_container& container) {
    const std::vector<Word*> known = knownWords(*container.fcard());
    return known.empty() ? nullptr : Language::getById(known.front()->getDependency(D_LANGUAGE));
}

unsigned langId(const Practice_container& container) {
    const Word* word = foreignWord(container);
    return word != nullptr ? word->getDependency(D_LANGUAGE) : container.fcard()->getDependency(D_LANGUAGE);
}

std::vector<unsigned> cardCategories(const Practice_container& container) {
    Word* word = foreignWord(container);
    return word == nullptr ? std::vector<unsigned>() : wordCategories(*word);
}

std::vector<unsigned> wordCategories(Word& word) {
    std::vector<unsigned> ids;
    if (!word.hasFirstTierRelations(D_MEANING)) {
        return ids;
    }
    OrnQL_Base::RelationTree& meanings = word.fTR(D_MEANING);
    for (auto meaning = Meaning::begin(meanings); meaning != Meaning::end(meanings); ++meaning) {
        if (!meaning->hasFirstTierRelations(D_CATEGORY)) {
            continue;
        }
        OrnQL_Base::RelationTree& categories = meaning->fTR(D_CATEGORY);
        for (auto category = Category::begin(categories); category != Category::end(categories); ++category) {
            ids.push_back(category->getId());
        }
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

VerbPattern* wordPattern(const Word& word) { return VerbPattern::getById(word.getDependency(D_VERBPATTERN)); }

IrregularVerb* wordIrregularVerb(const Word& word) {
    return IrregularVerb::getById(word.getDependency(D_IRREGULARVERB));
}

Verb* wordVerb(const Word& word) {
    if (VerbPattern* pattern = wordPattern(word)) {
        return pattern;
    }
    return wordIrregularVerb(word);
}

bool PartLookups::canBuildTable(unsigned languageId) {
    const auto found = tableLanguages.find(languageId);
    if (found != tableLanguages.end()) {
        return found->second;
    }
    const bool can = languageId != 0 && languageHas<Person>(languageId) && languageHas<Tense>(languageId);
    tableLanguages.emplace(languageId, can);
    return can;
}

template <typename T>
bool PartLookups::contains(TableIds& table, unsigned id) {
    constexpr unsigned LOOKUPS_BEFORE_READING = 64;
    if (!table.read && ++table.asked <= LOOKUPS_BEFORE_READING) {
        return T::getById(id) != nullptr;
    }
    if (!table.read) {
        for (auto it = T::begin(); it != T::end(); ++it) {
            table.ids.push_back(it->getId());  // the walk goes by ascending id
        }
        table.read = true;
    }
    return std::binary_search(table.ids.begin(), table.ids.end(), id);
}

bool PartLookups::articleExists(unsigned id) { return contains<Article>(articles, id); }
bool PartLookups::patternExists(unsigned id) { return contains<VerbPattern>(patterns, id); }
bool PartLookups::irregularVerbExists(unsigned id) { return contains<IrregularVerb>(irregularVerbs, id); }

CardParts partsAsked(const Practice_container& container, const PartOptions& options) {
    const Word* word = foreignWord(container);
    PartLookups lookups;
    return word == nullptr ? CardParts() : partsAsked(*container.fcard(), *word, options, lookups);
}

WordLinks linksOf(const Word& word) {
    return {word.getDependency(D_LANGUAGE), word.getDependency(D_ARTICLE), word.getDependency(D_IRREGULARVERB),
            word.getDependency(D_VERBPATTERN)};
}

CardParts partsAsked(const Flashcard& card, const Word& word, const PartOptions& options, PartLookups& lookups) {
    return partsAsked(possibleParts(card.hasFirstTierRelations(D_WORD), linksOf(word), lookups), options);
}

// The link ids are tested first: most words have no article or verb, and a record lookup costs more.
PossibleParts possibleParts(bool hasKnownWords, const WordLinks& word, PartLookups& lookups) {
    PossibleParts possible;
    possible.word = hasKnownWords;
    possible.article = word.article != 0 && lookups.articleExists(word.article);
    possible.irregularVerb = word.irregularVerb != 0 && lookups.irregularVerbExists(word.irregularVerb);
    possible.pattern = word.pattern != 0 && lookups.patternExists(word.pattern);
    possible.verbTable = (possible.irregularVerb || possible.pattern) && lookups.canBuildTable(word.language);
    return possible;
}

CardParts partsAsked(const PossibleParts& possible, const PartOptions& options) {
    CardParts parts;
    parts.word = possible.word;
    parts.article = options.articles && possible.article;
    parts.verb = ((options.irregularVerbs && possible.irregularVerb) || (options.regularVerbs && possible.pattern)) &&
                 possible.verbTable;
    return parts;
}

unsigned levelEstimate(unsigned levelNumber) {
    const Level* level = Level::getByLevel(levelNumber);
    return level != nullptr ? level->statEstimate() : Level::INITIAL_STAT_TOTAL;
}

unsigned long long fullEstimate(const Practice_container& container, const PartOptions& options) {
    return static_cast<unsigned long long>(levelEstimate(container.levelNumber())) *
           partsAsked(container, options).count();
}
