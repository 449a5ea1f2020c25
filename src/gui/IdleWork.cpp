#include "gui/IdleWork.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace idleWork {

namespace {

struct Work {
    const void* owner;
    Slice slice;
    unsigned long serial;  // tells work posted anew (from inside a slice, too) from the old
};

unsigned long lastSerial = 0;

// Few owners at a time (the lists of one screen, a practice run): a vector searched in order.
std::vector<Work>& works() {
    static std::vector<Work> all;
    return all;
}

std::vector<Work>::iterator find(const void* owner) {
    return std::find_if(works().begin(), works().end(), [owner](const Work& work) { return work.owner == owner; });
}

void askForIdleTime() {
    if (platform::hasCurrent()) {
        platform::current().requestIdle();
    }
}

}  // namespace

void post(const void* owner, Slice slice) {
    auto found = find(owner);
    if (found != works().end()) {
        found->slice = std::move(slice);
        found->serial = ++lastSerial;
    } else {
        works().push_back({owner, std::move(slice), ++lastSerial});
    }
    askForIdleTime();
}

void cancel(const void* owner) {
    auto found = find(owner);
    if (found != works().end()) {
        works().erase(found);
    }
}

bool pending() { return !works().empty(); }

bool pendingFor(const void* owner) { return find(owner) != works().end(); }

bool run(std::chrono::microseconds budget) {
    const auto end = std::chrono::steady_clock::now() + budget;
    // At least one slice, however short the budget: idle time always gets somewhere.
    for (bool first = true; !works().empty() && (first || std::chrono::steady_clock::now() < end); first = false) {
        // A slice may post or cancel work (its own too), so the work is looked up afresh each time.
        const void* owner = works().front().owner;
        const unsigned long serial = works().front().serial;
        Slice slice = works().front().slice;
        const bool more = slice();
        auto found = find(owner);
        if (!more && found != works().end() && found->serial == serial) {
            works().erase(found);
        }
    }
    return pending();
}

void reset() { works().clear(); }

}  // namespace idleWork
