#include "practice/DueDirections.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace {

// Fewer cards than this share of a table are looked up in it one by one; more are found in one
// walk of the table in id order (a lookup descends the tree, missing the cache at nearly every
// step, while a walk reads records that lie one after the other).
constexpr std::size_t WALK_WHEN_WANTED_PER = 16;

}  // namespace

DueDirections::Sizes DueDirections::tableSizes() {
    return {Flashcard::elementTree().size(), F_W::elementTree().size(), Word::elementTree().size()};
}

void DueDirections::restart() {
    *this = DueDirections();
    started = true;
    sizesAtStart = tableSizes();
    nextCard = Flashcard::begin();
}

bool DueDirections::gatherSome(std::size_t count) {
    if (!started || tableSizes() != sizesAtStart) {
        restart();
    }
    while (count > 0 && phase != Phase::Done) {
        switch (phase) {
        case Phase::Cards:
            count -= walkCards(count);
            break;
        case Phase::KnownWords:
            count -= markKnownWords(count);
            break;
        case Phase::Words:
            count -= findWords(count);
            break;
        case Phase::Order: {
            const std::size_t ordered = met.size();
            order();
            count = count > ordered ? count - ordered : 0;
            break;
        }
        case Phase::Done:
            break;
        }
    }
    return phase != Phase::Done;
}

void DueDirections::gatherAll() {
    while (gatherSome(std::numeric_limits<std::size_t>::max())) {
    }
}

std::size_t DueDirections::walkCards(std::size_t count) {
    std::size_t done = 0;
    for (; nextCard != Flashcard::end() && done < count; ++nextCard, ++done) {
        Flashcard* card = *nextCard;
        const bool primary = card->get_primaryNextDue() <= 0;
        const bool inverted = card->get_useInverted() && card->get_invertedNextDue() <= 0;
        if (!primary && !inverted) {
            continue;
        }
        const auto index = static_cast<std::uint32_t>(cards.size());
        cards.push_back({card, card->getDependency(D_WORD), card->getDependency(D_LESSON), false, nullptr, 0, {}});
        if (primary) {
            met.push_back({index, false, card->get_primaryNextDue(), card->get_primaryLevel()});
        }
        if (inverted) {
            met.push_back({index, true, card->get_invertedNextDue(), card->get_invertedLevel()});
        }
    }
    if (nextCard == Flashcard::end()) {
        startKnownWords();
    }
    return std::max<std::size_t>(done, 1);
}

// A card's known words are its links in F_W: when most cards are asked about, one walk of the
// links marks them all; asking each card reads one of its words' records, scattered over the heap.
void DueDirections::startKnownWords() {
    phase = Phase::KnownWords;
    const unsigned highestCard = cards.empty() ? 0 : cards.back().card->getId();
    linksWalked = cards.size() * WALK_WHEN_WANTED_PER >= F_W::elementTree().size() &&
                  highestCard <= 64 * cards.size();
    if (linksWalked) {
        linkedCards.assign(highestCard + 1, false);
        nextLink = F_W::begin();
    }
}

std::size_t DueDirections::markKnownWords(std::size_t count) {
    std::size_t done = 0;
    if (!linksWalked) {
        for (; cardsDone < cards.size() && done < count; ++cardsDone, ++done) {
            cards[cardsDone].hasKnownWords = cards[cardsDone].card->hasFirstTierRelations(D_WORD);
        }
        if (cardsDone == cards.size()) {
            startWords();
        }
        return std::max<std::size_t>(done, 1);
    }
    for (; nextLink != F_W::end() && done < count; ++nextLink, ++done) {
        const unsigned card = nextLink->getDependency(D_FLASHCARD);
        if (card < linkedCards.size()) {
            linkedCards[card] = true;
        }
    }
    if (nextLink == F_W::end()) {
        for (DueCard& card : cards) {
            card.hasKnownWords = linkedCards[card.card->getId()];
        }
        linkedCards = {};
        startWords();
    }
    return std::max<std::size_t>(done, 1);
}

void DueDirections::startWords() {
    phase = Phase::Words;
    cardsDone = 0;
    wordsWalked = cards.size() * WALK_WHEN_WANTED_PER >= Word::elementTree().size();
    if (wordsWalked) {
        wanted.reserve(cards.size());
        for (std::size_t i = 0; i < cards.size(); ++i) {
            wanted.emplace_back(cards[i].wordId, static_cast<std::uint32_t>(i));
        }
        // Cards are mostly made right after their words, so their words' ids mostly ascend already.
        if (!std::is_sorted(wanted.begin(), wanted.end())) {
            std::sort(wanted.begin(), wanted.end());
        }
        nextWord = Word::begin();
    }
}

void DueDirections::foundWord(DueCard& card, Word* word) {
    card.word = word;
    if (word != nullptr) {
        const WordLinks links = linksOf(*word);
        card.language = links.language;
        card.parts = possibleParts(card.hasKnownWords, links, lookups);
    }
}

std::size_t DueDirections::findWords(std::size_t count) {
    std::size_t done = 0;
    if (!wordsWalked) {
        for (; cardsDone < cards.size() && done < count; ++cardsDone, ++done) {
            foundWord(cards[cardsDone], Word::getById(cards[cardsDone].wordId));
        }
        if (cardsDone == cards.size()) {
            phase = Phase::Order;
        }
        return std::max<std::size_t>(done, 1);
    }
    const auto end = Word::end();
    for (; wantedDone < wanted.size() && done < count; ++wantedDone) {
        const auto [id, card] = wanted[wantedDone];
        while (nextWord != end && nextWord->getId() < id && done < count) {
            ++nextWord;
            ++done;
        }
        if (nextWord != end && nextWord->getId() < id) {
            break;  // the slice is used up on the way to this word
        }
        foundWord(cards[card], nextWord != end && nextWord->getId() == id ? *nextWord : nullptr);
    }
    if (wantedDone == wanted.size()) {
        wanted = {};
        phase = Phase::Order;
    }
    return std::max<std::size_t>(done, 1);
}

void DueDirections::order() {
    directions.reserve(met.size());
    auto add = [this](const Met& m) {
        const DueCard& card = cards[m.card];
        directions.push_back({card.card, card.word, card.language, card.lesson, m.level, m.inverse, card.parts});
    };
    if (!met.empty()) {
        const auto [lowest, highest] =
            std::minmax_element(met.begin(), met.end(), [](const Met& a, const Met& b) { return a.due < b.due; });
        const std::int64_t low = lowest->due;
        const auto range = static_cast<std::uint64_t>(static_cast<std::int64_t>(highest->due) - low) + 1;
        if (range > 4 * met.size() + 1024) {
            std::reverse(met.begin(), met.end());
            std::stable_sort(met.begin(), met.end(), [](const Met& a, const Met& b) { return a.due < b.due; });
            std::for_each(met.begin(), met.end(), add);
        } else {
            std::vector<std::uint32_t> next(range + 1, 0);  // then: where the next of each counter goes
            for (const Met& m : met) {
                ++next[static_cast<std::size_t>(m.due - low) + 1];
            }
            for (std::size_t i = 1; i < next.size(); ++i) {
                next[i] += next[i - 1];
            }
            std::vector<std::uint32_t> sorted(met.size());
            for (std::size_t i = met.size(); i-- > 0;) {
                sorted[next[static_cast<std::size_t>(met[i].due - low)]++] = static_cast<std::uint32_t>(i);
            }
            for (std::uint32_t i : sorted) {
                add(met[i]);
            }
        }
    }
    cards = {};
    met = {};
    phase = Phase::Done;
}
