#pragma once

// Building the queue of a practice run from the options of the start page.
//
//  1. Budget: minutes x 60 seconds with the time restriction, else NO_TIME_LIMIT.
//  2. Candidates: every due direction (due counter 0 or below; the inverted one only for cards
//     practised inverted), most overdue first; among equal counters the direction met later in
//     ascending card id comes first (primary before inverted within a card, so the inverted one
//     is met later).
//  3. While budget is left, the next candidate is taken when its foreign language, its lesson (0
//     for none) and its categories pass the filters and it has something to ask; each taken
//     candidate lowers the budget by its estimate. The budget is tested before each candidate, so
//     the one that exhausts it is still taken.
//  4. Each taken candidate goes to a uniformly random position of the run queue (as if inserted
//     with randPushback one after the other).
//
// Both orders are built with sorting and a tree of free positions, so a run of n cards costs
// O(n log n), not the O(n^2) of walking the list for every insertion.

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <vector>

#include "practice/CardFacts.h"
#include "practice/Practice_container.h"

// The ids of a use list, kept sorted: the filters ask about every card, and among the few ids of
// a list a binary search finds one faster than hashing does.
class IdSet {
public:
    IdSet() = default;
    IdSet(std::initializer_list<unsigned> list) {
        for (unsigned id : list) {
            insert(id);
        }
    }
    void insert(unsigned id) {
        const auto at = std::lower_bound(ids.begin(), ids.end(), id);
        if (at == ids.end() || *at != id) {
            ids.insert(at, id);
        }
    }
    // 1 when the id is in the set, else 0.
    std::size_t count(unsigned id) const { return std::binary_search(ids.begin(), ids.end(), id) ? 1 : 0; }

private:
    std::vector<unsigned> ids;
};

struct RunOptions {
    PartOptions parts;
    bool timeRestricted = false;
    unsigned minutes = 0;
    // The ids of the use lists of the filter pages; id 0 is the "n/a" entry (cards without a
    // lesson, cards without categories).
    IdSet languages;
    IdSet lessons;
    IdSet categories;
};

// The budget of a run without time restriction, in seconds.
inline constexpr long long NO_TIME_LIMIT = 2147483647;

// The run's time budget in seconds; a restriction longer than NO_TIME_LIMIT is no limit.
long long budgetSeconds(const RunOptions& options);

// Whether the card passes the category filter: a card without categories when the list holds the
// "n/a" entry (0), any other when the list holds one of its categories.
bool catCheck(const IdSet& useList, const Practice_container& container);

// The run queue (null when no due card passes): the containers are new and owned by the result.
Practice_container::Queue buildRunQueue(const RunOptions& options, RunRandom& random);
