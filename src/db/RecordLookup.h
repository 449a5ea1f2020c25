#pragma once

#include <vector>

#include "db/AVLtree.h"

class OrnQL_Base;

// Finds the records of a whole table by id while many ids are looked up at once (linking a
// loaded link table): one array access per id when the ids are dense, as tables without many
// deletions are, otherwise a binary search over one contiguous array; both beat a walk down the
// table's tree. A snapshot: valid while the table neither gains nor loses records.
class RecordLookup {
public:
    explicit RecordLookup(const AVLtree<OrnQL_Base*>& records);

    // The record with that id, or null.
    OrnQL_Base* find(unsigned id) const;
    // The slot of the record with that id (below slotCount()), or NO_SLOT; for counting per record.
    std::size_t slotOf(unsigned id) const;
    std::size_t slotCount() const { return slots.size(); }
    OrnQL_Base* at(std::size_t slot) const { return slots[slot]; }
    static constexpr std::size_t NO_SLOT = static_cast<std::size_t>(-1);

private:
    unsigned firstId = 0;
    bool dense = false;
    std::vector<OrnQL_Base*> slots;  // dense: slot id - firstId (null for a gap); else in id order
};
