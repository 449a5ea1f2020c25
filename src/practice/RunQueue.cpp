#include "practice/RunQueue.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "model/Category.h"
#include "model/Flashcard.h"
#include "model/Word.h"

namespace {

bool categoriesPass(const IdSet& useList, const std::vector<unsigned>& categories) {
    if (categories.empty()) {
        return useList.count(0) != 0;
    }
    return std::any_of(categories.begin(), categories.end(), [&](unsigned id) { return useList.count(id) != 0; });
}

// The filters of one run, with what they need worked out once: the cheap tests come first, and
// the categories are not looked up at all while every category (and "n/a") is in the use list.
// A use list asked about tens of thousands of times, for a few distinct ids: the answers kept by
// id (ids above a bound are asked of the list each time).
class UseListAnswers {
public:
    explicit UseListAnswers(const IdSet& useList) : list(useList) {}
    bool contains(unsigned id) {
        if (id >= KEPT_BELOW) {
            return list.count(id) != 0;
        }
        if (id >= answers.size()) {
            answers.resize(id + 1, UNKNOWN);
        }
        if (answers[id] == UNKNOWN) {
            answers[id] = list.count(id) != 0 ? 1 : 0;
        }
        return answers[id] == 1;
    }

private:
    static constexpr unsigned KEPT_BELOW = 1U << 16;
    static constexpr signed char UNKNOWN = -1;
    const IdSet& list;
    std::vector<signed char> answers;
};

class CandidateFilter {
public:
    explicit CandidateFilter(const RunOptions& runOptions)
        : options(runOptions), languages(options.languages), lessons(options.lessons),
          categoriesOpen(options.categories.count(0) != 0) {
        for (auto it = Category::begin(); it != Category::end() && categoriesOpen; ++it) {
            categoriesOpen = options.categories.count(it->getId()) != 0;
        }
    }

    // The seconds the direction is expected to take; nothing when it does not pass.
    std::optional<unsigned long long> estimate(const DueDirections::Direction& direction) {
        if (direction.word == nullptr || !languages.contains(direction.language) || !lessons.contains(direction.lesson)) {
            return std::nullopt;
        }
        if (!categoriesOpen && !categoriesPass(options.categories, wordCategories(*direction.word))) {
            return std::nullopt;
        }
        const CardParts parts = partsAsked(direction.parts, options.parts);
        if (!parts.any()) {
            return std::nullopt;
        }
        return static_cast<unsigned long long>(estimateOfLevel(direction.level)) * parts.count();
    }

private:
    unsigned estimateOfLevel(unsigned level) {
        while (estimates.size() <= level) {
            estimates.push_back(levelEstimate(static_cast<unsigned>(estimates.size())));
        }
        return estimates[level];
    }

    const RunOptions& options;
    UseListAnswers languages;
    UseListAnswers lessons;
    bool categoriesOpen;
    std::vector<unsigned> estimates;  // by level number
};

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

RunQueuePlan::RunQueuePlan(const RunOptions& options, RunRandom& random, const DueDirections& due) {
    long long budget = budgetSeconds(options);
    CandidateFilter filter(options);
    for (const DueDirections::Direction& direction : due.ordered()) {
        if (budget <= 0) {
            break;
        }
        const std::optional<unsigned long long> seconds = filter.estimate(direction);
        if (!seconds) {
            continue;
        }
        budget -= static_cast<long long>(std::min(*seconds, static_cast<unsigned long long>(NO_TIME_LIMIT)));
        draws.push_back(std::uniform_int_distribution<unsigned>(0, static_cast<unsigned>(taken.size()))(random));
        taken.push_back({direction.card, direction.inverse});
    }
    // Position 0 ends with the last one inserted there: every later insertion there pushes it on,
    // insertions further back leave it.
    for (std::size_t i = draws.size(); i-- > 0;) {
        if (draws[i] == 0) {
            headIndex = i;
            break;
        }
    }
}

Practice_container::Queue RunQueuePlan::takeHead() {
    const Taken& head = taken[headIndex];
    return std::make_unique<Practice_container>(head.card, head.inverse);
}

// Taken i was inserted at position draws[i] of the i before it. Going backwards, the last one
// keeps its position, and each earlier one ends in the free position its draw names among those
// the later ones left: where it stands after every later insertion shifted it.
std::size_t RunQueuePlan::placeSome(std::size_t count) {
    if (!freePositions) {
        freePositions.emplace(taken.size());
        order.assign(taken.size(), 0);
    }
    std::size_t done = 0;
    for (; placed < taken.size() && done < count; ++placed, ++done) {
        const std::size_t i = taken.size() - 1 - placed;
        order[freePositions->take(draws[i])] = static_cast<std::uint32_t>(i);
    }
    if (placed == taken.size()) {
        freePositions.reset();
    }
    return done;
}

bool RunQueuePlan::buildSome(std::size_t count) {
    if (taken.size() <= 1) {
        return false;
    }
    if (placed < taken.size()) {
        count -= placeSome(count);
        if (placed < taken.size()) {
            return true;
        }
    }
    const std::size_t behindHead = taken.size() - 1;
    for (; built < behindHead && count > 0; ++built, --count) {
        const Taken& next = taken[order[taken.size() - 1 - built]];
        rest = Practice_container::pushback(std::make_unique<Practice_container>(next.card, next.inverse),
                                            std::move(rest), 0);
    }
    return built < behindHead;
}

Practice_container::Queue RunQueuePlan::takeRest() {
    while (buildSome(std::numeric_limits<std::size_t>::max())) {
    }
    return std::move(rest);
}

Practice_container::Queue buildRunQueue(const RunOptions& options, RunRandom& random) {
    DueDirections due;
    due.gatherAll();
    RunQueuePlan plan(options, random, due);
    if (plan.empty()) {
        return nullptr;
    }
    Practice_container::Queue head = plan.takeHead();
    return Practice_container::pushback(std::move(head), plan.takeRest(), 0);
}
