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
// Start shows the first card at once and builds the rest of the queue afterwards (RunQueuePlan).
// The candidates come ready from DueDirections (gathered while the options were chosen), and all
// random draws are made when the run is planned, so the queue is exactly the one of step 4, but
// which card ends in front is known without placing the others: the last one drawn into
// position 0. Placing the others (a tree of free positions, O(n log n)) and making their
// containers is left for slices of idle time, or for whoever needs the queue beyond its head
// first.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

#include "practice/CardFacts.h"
#include "practice/DueDirections.h"
#include "practice/FreePositions.h"
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

// The queue of one run as planned at Start: the directions taken, in the order they were taken,
// and the position each was drawn into.
class RunQueuePlan {
public:
    // Takes the candidates from the gathered due directions (complete) and makes every random
    // draw of the queue, in order.
    RunQueuePlan(const RunOptions& options, RunRandom& random, const DueDirections& due);
    RunQueuePlan(const RunQueuePlan&) = delete;
    RunQueuePlan& operator=(const RunQueuePlan&) = delete;

    // The number of containers the queue holds.
    std::size_t size() const { return taken.size(); }
    bool empty() const { return taken.empty(); }

    // The container at the front of the queue; once, and before the rest is taken.
    Practice_container::Queue takeHead();
    // Makes up to `count` more of the containers behind the head, from the end of the queue
    // forward; returns whether any are left.
    bool buildSome(std::size_t count);
    // The containers behind the head, in queue order (null when there are none); what is not yet
    // made is made now.
    Practice_container::Queue takeRest();

private:
    struct Taken {
        Flashcard* card;
        bool inverse;
    };

    // Works out the final positions of up to `count` more taken containers; returns how many.
    std::size_t placeSome(std::size_t count);

    std::vector<Taken> taken;
    std::vector<unsigned> draws;   // taken[i] was inserted at position draws[i] of the i before it
    std::size_t headIndex = 0;     // the one that ends in front: the last drawn into position 0
    std::optional<FreePositions> freePositions;  // while placing
    std::size_t placed = 0;             // the last ones taken, placed so far
    std::vector<std::uint32_t> order;   // taken indices by final position, once all are placed
    std::size_t built = 0;              // positions made from the end, behind the head
    Practice_container::Queue rest;
};

// The whole run queue at once (null when no due card passes): the containers are new and owned by
// the result.
Practice_container::Queue buildRunQueue(const RunOptions& options, RunRandom& random);
