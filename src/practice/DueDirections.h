#pragma once

// Every due direction of the stored cards, in the order a run takes them (RunQueue.h, step 2), with
// what the run's filters ask of each: its card, its foreign word, that word's language, the card's
// lesson, its level, and the parts it could ask.
//
// Gathering them reads the card table, the card-word links and the word table from end to end,
// tens of megabytes on a large collection: longer than a frame. So the practice screen gathers
// them while the learner chooses the options, a slice at a time in the window's idle time
// (gatherSome), and Start takes them ready; a Start that comes first gathers the rest there
// (gatherAll), with the same result. The tables must not change while they are gathered or used
// (nothing on the practice screen changes them before Start; a run does, so each run is planned
// from a gathering of its own). Should a table still change in size meanwhile, gathering starts
// over.
//
// Order: ascending due counter, and among equal counters the direction met later in ascending
// card id first (a card's inverted direction after its primary one). Counting sorts them in
// linear time while the counters span a range not much wider than their number, as due counters
// do (days overdue).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/Flashcard.h"
#include "model/F_W.h"
#include "model/Word.h"
#include "practice/CardFacts.h"

class DueDirections {
public:
    struct Direction {
        Flashcard* card;
        Word* word;          // the card's foreign word; null when it names none
        unsigned language;   // of the foreign word
        unsigned lesson;     // the card's, 0 for none
        unsigned level;      // of the direction
        bool inverse;
        PossibleParts parts;
    };

    // Gathers about `count` records' worth more; returns whether anything is left.
    bool gatherSome(std::size_t count);
    void gatherAll();
    bool complete() const { return phase == Phase::Done; }
    // All due directions in taking order; complete() first.
    const std::vector<Direction>& ordered() const { return directions; }

private:
    enum class Phase { Cards, KnownWords, Words, Order, Done };

    // A card with at least one due direction.
    struct DueCard {
        Flashcard* card;
        unsigned wordId;
        unsigned lesson;
        bool hasKnownWords = false;
        Word* word = nullptr;
        unsigned language = 0;  // of the word
        PossibleParts parts;
    };
    struct Met {
        std::uint32_t card;  // index into `cards`
        bool inverse;
        std::int32_t due;
        unsigned level;
    };
    struct Sizes {
        std::size_t cards = 0;
        std::size_t links = 0;
        std::size_t words = 0;
        bool operator==(const Sizes&) const = default;
    };

    static Sizes tableSizes();
    void restart();
    std::size_t walkCards(std::size_t count);
    void startKnownWords();
    std::size_t markKnownWords(std::size_t count);
    void startWords();
    std::size_t findWords(std::size_t count);
    void order();
    // Records the card's foreign word and what follows from it.
    void foundWord(DueCard& card, Word* word);

    Phase phase = Phase::Cards;
    bool started = false;
    Sizes sizesAtStart;
    std::vector<DueCard> cards;
    std::vector<Met> met;
    std::vector<Direction> directions;

    // Where each phase stands.
    Flashcard::dataIterator nextCard;
    bool linksWalked = false;  // known words from a walk of the links, not card by card
    F_W::dataIterator nextLink;
    std::vector<bool> linkedCards;  // by card id, while the links are walked
    std::size_t cardsDone = 0;      // cards asked one by one so far
    bool wordsWalked = false;       // words from a walk of the word table, not one by one
    std::vector<std::pair<unsigned, std::uint32_t>> wanted;  // (word id, card), ascending
    Word::dataIterator nextWord;
    std::size_t wantedDone = 0;
    PartLookups lookups;
};
