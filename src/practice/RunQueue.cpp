#include "practice/RunQueue.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "model/Category.h"
#include "model/Flashcard.h"
#include "model/Word.h"

namespace {

struct Candidate {
    Flashcard* card;
    bool inverse;
    std::int32_t due;
    unsigned level;
    Word* word;  // the card's foreign word, null when it names none
};

// Finds the foreign words of all candidates in one walk of the word table in id order: a lookup
// per candidate costs a descent of the tree each, missing the cache at nearly every step.
void findForeignWords(std::vector<Candidate>& candidates) {
    std::vector<std::pair<unsigned, std::size_t>> wanted;  // (word id, candidate)
    wanted.reserve(candidates.size());
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        wanted.emplace_back(candidates[i].card->getDependency(D_WORD), i);
    }
    std::sort(wanted.begin(), wanted.end());
    auto word = Word::begin();
    for (const auto& [id, candidate] : wanted) {
        while (word != Word::end() && word->getId() < id) {
            ++word;
        }
        candidates[candidate].word = word != Word::end() && word->getId() == id ? *word : nullptr;
    }
}

// The due directions, in the order inserting each before the first one with a counter not smaller
// than its own would leave them: ascending counter, the later one first among equals.
std::vector<Candidate> dueCandidates() {
    std::vector<Candidate> candidates;
    candidates.reserve(2 * Flashcard::elementTree().size());
    for (auto it = Flashcard::begin(); it != Flashcard::end(); ++it) {
        Flashcard* card = *it;
        if (card->get_primaryNextDue() <= 0) {
            candidates.push_back({card, false, card->get_primaryNextDue(), card->get_primaryLevel(), nullptr});
        }
        if (card->get_useInverted() && card->get_invertedNextDue() <= 0) {
            candidates.push_back({card, true, card->get_invertedNextDue(), card->get_invertedLevel(), nullptr});
        }
    }
    findForeignWords(candidates);
    std::reverse(candidates.begin(), candidates.end());
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.due < b.due; });
    return candidates;
}

bool categoriesPass(const IdSet& useList, const std::vector<unsigned>& categories) {
    if (categories.empty()) {
        return useList.count(0) != 0;
    }
    return std::any_of(categories.begin(), categories.end(), [&](unsigned id) { return useList.count(id) != 0; });
}

// The filters of one run, with what they need worked out once: the cheap tests come first, and
// the categories are not looked up at all while every category (and "n/a") is in the use list.
class CandidateFilter {
public:
    explicit CandidateFilter(const RunOptions& runOptions)
        : options(runOptions), categoriesOpen(options.categories.count(0) != 0) {
        for (auto it = Category::begin(); it != Category::end() && categoriesOpen; ++it) {
            categoriesOpen = options.categories.count(it->getId()) != 0;
        }
    }

    // The seconds the candidate is expected to take; nothing when it does not pass.
    std::optional<unsigned long long> estimate(const Candidate& candidate) {
        Word* word = candidate.word;
        if (word == nullptr || options.languages.count(word->getDependency(D_LANGUAGE)) == 0 ||
            options.lessons.count(candidate.card->getDependency(D_LESSON)) == 0) {
            return std::nullopt;
        }
        if (!categoriesOpen && !categoriesPass(options.categories, wordCategories(*word))) {
            return std::nullopt;
        }
        const CardParts parts = partsAsked(*candidate.card, *word, options.parts, verbTables);
        if (!parts.any()) {
            return std::nullopt;
        }
        return static_cast<unsigned long long>(estimateOfLevel(candidate.level)) * parts.count();
    }

private:
    unsigned estimateOfLevel(unsigned level) {
        while (estimates.size() <= level) {
            estimates.push_back(levelEstimate(static_cast<unsigned>(estimates.size())));
        }
        return estimates[level];
    }

    const RunOptions& options;
    bool categoriesOpen;
    VerbTableLanguages verbTables;
    std::vector<unsigned> estimates;  // by level number
};

// The positions 0 .. n-1 of the final queue, as a Fenwick tree counting which are still free.
class FreePositions {
public:
    explicit FreePositions(std::size_t n) : tree(n + 1, 0) {
        for (std::size_t i = 1; i <= n; ++i) {
            tree[i] += 1;
            const std::size_t parent = i + (i & (~i + 1));
            if (parent <= n) {
                tree[parent] += tree[i];
            }
        }
        while (highestStep * 2 <= n) {
            highestStep *= 2;
        }
    }

    // Takes the free position with k free positions before it.
    std::size_t take(std::size_t k) {
        std::size_t position = 0;
        std::size_t remaining = k + 1;
        for (std::size_t step = highestStep; step > 0; step /= 2) {
            if (position + step < tree.size() && tree[position + step] < remaining) {
                position += step;
                remaining -= tree[position];
            }
        }
        for (std::size_t i = position + 1; i < tree.size(); i += i & (~i + 1)) {
            tree[i] -= 1;
        }
        return position;
    }

private:
    std::vector<std::size_t> tree;
    std::size_t highestStep = 1;
};

// Container i was inserted at position draws[i] of the i containers before it. Going backwards,
// the last one keeps its position, and each earlier one ends in the free position its draw names
// among those the later ones left: where it stands after every later insertion shifted it.
Practice_container::Queue arrange(std::vector<Practice_container::Queue>& taken, const std::vector<unsigned>& draws) {
    std::vector<Practice_container::Queue> slots(taken.size());
    FreePositions free(taken.size());
    for (std::size_t i = taken.size(); i-- > 0;) {
        slots[free.take(draws[i])] = std::move(taken[i]);
    }
    Practice_container::Queue head;
    for (std::size_t i = slots.size(); i-- > 0;) {
        head = Practice_container::pushback(std::move(slots[i]), std::move(head), 0);
    }
    return head;
}

}  // namespace

long long budgetSeconds(const RunOptions& options) {
    if (!options.timeRestricted) {
        return NO_TIME_LIMIT;
    }
    return std::min(static_cast<long long>(options.minutes) * 60, NO_TIME_LIMIT);
}

bool catCheck(const IdSet& useList, const Practice_container& container) {
    return categoriesPass(useList, cardCategories(container));
}

Practice_container::Queue buildRunQueue(const RunOptions& options, RunRandom& random) {
    long long budget = budgetSeconds(options);
    CandidateFilter filter(options);
    std::vector<Practice_container::Queue> taken;
    std::vector<unsigned> draws;
    for (const Candidate& candidate : dueCandidates()) {
        if (budget <= 0) {
            break;
        }
        const std::optional<unsigned long long> seconds = filter.estimate(candidate);
        if (!seconds) {
            continue;
        }
        budget -= static_cast<long long>(std::min(*seconds, static_cast<unsigned long long>(NO_TIME_LIMIT)));
        draws.push_back(std::uniform_int_distribution<unsigned>(0, static_cast<unsigned>(taken.size()))(random));
        taken.push_back(std::make_unique<Practice_container>(candidate.card, candidate.inverse));
    }
    return arrange(taken, draws);
}
