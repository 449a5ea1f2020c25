#include "db/RecordDependencies.h"

#include <array>
#include <mutex>
#include <unordered_map>

namespace {

using FullRow = std::array<unsigned, STORED_DEPENDENCIES>;

// Rows of the records with more than four dependencies. Rare, so one map for the process,
// guarded because records may be made on more than one thread.
struct SideRows {
    std::mutex lock;
    std::unordered_map<const void*, FullRow> rows;
};

SideRows& sideRows() {
    static SideRows* side = new SideRows;  // records destroyed at exit still find it
    return *side;
}

}  // namespace

RecordDependencies::~RecordDependencies() {
    if (onSide) {
        SideRows& side = sideRows();
        std::lock_guard<std::mutex> guard(side.lock);
        side.rows.erase(this);
    }
}

const unsigned& RecordDependencies::getElsewhere(dependency d) const {
    if (!onSide) {
        return ZERO;
    }
    SideRows& side = sideRows();
    std::lock_guard<std::mutex> guard(side.lock);
    return side.rows.at(this)[d];  // node-based map: the reference stays valid
}

void RecordDependencies::set(dependency d, unsigned id) {
    if (onSide) {
        SideRows& side = sideRows();
        std::lock_guard<std::mutex> guard(side.lock);
        side.rows.at(this)[d] = id;
        return;
    }
    int slot = slotOf(d);
    if (id == 0) {
        if (slot >= 0) {
            ids[slot] = 0;
            setTableIn(slot, EMPTY);
        }
        return;
    }
    if (slot < 0) {
        slot = freeSlot();
    }
    if (slot < 0) {
        moveToSide();
        set(d, id);
        return;
    }
    ids[slot] = id;
    setTableIn(slot, static_cast<std::uint16_t>(d));
}

int RecordDependencies::freeSlot() const {
    return slotOf(static_cast<dependency>(EMPTY));
}

void RecordDependencies::setTableIn(int slot, std::uint16_t table) {
    const int shift = 4 * slot;
    tables = static_cast<std::uint16_t>((tables & ~(EMPTY << shift)) | (table << shift));
}

void RecordDependencies::moveToSide() {
    FullRow row{};
    for (int slot = 0; slot < HELD; ++slot) {
        if (tableIn(slot) != static_cast<dependency>(EMPTY)) {
            row[tableIn(slot)] = ids[slot];
        }
    }
    SideRows& side = sideRows();
    std::lock_guard<std::mutex> guard(side.lock);
    side.rows[this] = row;
    onSide = true;
    tables = 0xFFFF;  // no slot answers any more
}
