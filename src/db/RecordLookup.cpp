#include "db/RecordLookup.h"

#include <algorithm>

#include "db/OrnQL_Base.h"

namespace {

// A dense array may hold this many gaps per record before the binary search is used instead.
constexpr std::size_t GAPS_PER_RECORD = 3;

}  // namespace

RecordLookup::RecordLookup(const AVLtree<OrnQL_Base*>& records) {
    if (records.empty()) {
        return;
    }
    firstId = (*records.begin())->getId();
    const std::size_t span = static_cast<std::size_t>((*records.rear())->getId() - firstId) + 1;
    dense = span <= records.size() * (GAPS_PER_RECORD + 1);
    if (dense) {
        slots.assign(span, nullptr);
        for (auto it = records.begin(); it != records.end(); ++it) {
            slots[(*it)->getId() - firstId] = *it;
        }
        return;
    }
    slots.reserve(records.size());
    for (auto it = records.begin(); it != records.end(); ++it) {
        slots.push_back(*it);
    }
}

OrnQL_Base* RecordLookup::find(unsigned id) const {
    const std::size_t slot = slotOf(id);
    return slot == NO_SLOT ? nullptr : slots[slot];
}

std::size_t RecordLookup::slotOf(unsigned id) const {
    if (dense) {
        return id >= firstId && id - firstId < slots.size() && slots[id - firstId] != nullptr ? id - firstId : NO_SLOT;
    }
    auto found = std::lower_bound(slots.begin(), slots.end(), id,
                                  [](const OrnQL_Base* r, unsigned key) { return r->getId() < key; });
    return found != slots.end() && (*found)->getId() == id ? static_cast<std::size_t>(found - slots.begin()) : NO_SLOT;
}
