#pragma once

// What a practice run needs to know about the card of a container: its foreign word and known
// words, its two languages, its categories, and which parts of it are asked.
//
// The foreign word is the card's D_WORD, the known words are the words linked to the card through
// F_W (in ascending id). The foreign language is the foreign word's language; the known language
// is the language of the first known word. A card's categories are the categories of the meanings
// of its foreign word, which is what the flashcard editor shows as the card's categories.
//
// Parts asked, computed the same way wherever a run needs them (queue, questions, judging, forced
// re-typing, estimate):
//   word     the card has at least one known word (otherwise there is nothing to show in the
//            primary direction and nothing to ask in the inverted one)
//   article  the articles box is ticked and the foreign word has an article
//   verb     (the irregular-verbs box is ticked and the word has an irregular verb, or the
//            regular-verbs box is ticked and the word has a verb pattern) and the foreign
//            language has persons and tenses, without which no verb table can be built
// A card with none of the three has nothing to ask and is left out of the run.

#include <unordered_map>
#include <vector>

class Flashcard;
class IrregularVerb;
class Language;
class Practice_container;
class Verb;
class VerbPattern;
class Word;

// Which parts of the cards the learner chose on the start page.
struct PartOptions {
    bool regularVerbs = true;
    bool irregularVerbs = true;
    bool articles = true;
};

struct CardParts {
    bool word = false;
    bool article = false;
    bool verb = false;
    bool any() const { return word || article || verb; }
    // How many of the three are asked.
    unsigned count() const { return (word ? 1u : 0u) + (article ? 1u : 0u) + (verb ? 1u : 0u); }
};

// The foreign word, or null when the card names none that exists.
Word* foreignWord(const Practice_container& container);
// The known words in ascending id; empty when the card has none.
std::vector<Word*> knownWords(Flashcard& card);

// The foreign and the known language; null when there is none.
Language* getFLang(const Practice_container& container);
Language* getKLang(const Practice_container& container);
// The foreign language's id (0 for none).
unsigned langId(const Practice_container& container);

// The ids of the card's categories, ascending, each once; empty for a card without categories.
std::vector<unsigned> cardCategories(const Practice_container& container);
// The categories of the word's meanings, likewise.
std::vector<unsigned> wordCategories(Word& word);

// The foreign word's verb pattern or irregular verb; null when it has none.
VerbPattern* wordPattern(const Word& word);
IrregularVerb* wordIrregularVerb(const Word& word);
// The one of the two the word has (a word has at most one); null for none.
Verb* wordVerb(const Word& word);

// What asking about many cards at once looks up again and again, remembered: which languages have
// the persons and tenses a verb table needs, and which articles, verb patterns and irregular verbs
// exist (looked up one by one for the first few cards; after that each table's ids are read in
// one walk and searched in memory: a tree lookup per card cost more than all else a card needs).
// It must not outlive a change of those tables.
class PartLookups {
public:
    bool canBuildTable(unsigned languageId);
    bool articleExists(unsigned id);
    bool patternExists(unsigned id);
    bool irregularVerbExists(unsigned id);

private:
    struct TableIds {
        unsigned asked = 0;
        bool read = false;
        std::vector<unsigned> ids;  // ascending, once read
    };
    template <typename T>
    static bool contains(TableIds& table, unsigned id);

    std::unordered_map<unsigned, bool> tableLanguages;
    TableIds articles;
    TableIds patterns;
    TableIds irregularVerbs;
};

// What of a foreign word decides the parts asked: its links.
struct WordLinks {
    unsigned language = 0;
    unsigned article = 0;
    unsigned irregularVerb = 0;
    unsigned pattern = 0;
};
WordLinks linksOf(const Word& word);

// Which parts a card has to ask, whichever boxes the learner ticks: worked out once for a card,
// the parts of one run's choice follow from it.
struct PossibleParts {
    bool word = false;           // it has known words
    bool article = false;        // its word has an article that exists
    bool irregularVerb = false;  // ... an irregular verb that exists
    bool pattern = false;        // ... a verb pattern that exists
    bool verbTable = false;      // its language has what a verb table needs
};
PossibleParts possibleParts(bool hasKnownWords, const WordLinks& word, PartLookups& lookups);
CardParts partsAsked(const PossibleParts& possible, const PartOptions& options);

CardParts partsAsked(const Practice_container& container, const PartOptions& options);
// The same for the card with its foreign word already looked up.
CardParts partsAsked(const Flashcard& card, const Word& word, const PartOptions& options, PartLookups& lookups);

// The estimated seconds per part of the level with that number: its statistic, or a new level's
// 60 seconds when the ladder has no such level.
unsigned levelEstimate(unsigned levelNumber);
// Seconds the card is expected to take: its direction's level estimate for each part asked.
unsigned long long fullEstimate(const Practice_container& container, const PartOptions& options);
