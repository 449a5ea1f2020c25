#pragma once

#include <cstdint>

#include "db/OrnQL_Types.h"

// The ids of the records one record depends on, one per table (0: none). Every table is stored
// with every record, but no record class depends on more than four tables and most links on two,
// so up to four non-zero ids are held in place, each with its table number in four bits of
// `tables`. A record given a fifth (a test class, a stored file that says so) keeps the whole
// row in a side table instead, found by the object's address; objects never move.
//
// On a large database this is most of a record's size: the full row of fifteen ids would be
// 60 bytes on each of some 470,000 records.
class RecordDependencies {
public:
    RecordDependencies() = default;
    RecordDependencies(const RecordDependencies&) = delete;
    RecordDependencies& operator=(const RecordDependencies&) = delete;
    ~RecordDependencies();

    // The id for table d (which the caller has checked names a table); a reference to a zero
    // for a table without one.
    // Inline: queries ask every record of a table for its dependencies.
    const unsigned& get(dependency d) const {
        if (!isDependencyTable(d)) {
            return ZERO;  // nothing depends on a table added after the first fifteen
        }
        const int slot = slotOf(d);
        return slot >= 0 ? ids[slot] : getElsewhere(d);
    }
    // d must name one of the tables a record can depend on (isDependencyTable).
    void set(dependency d, unsigned id);

private:
    static constexpr int HELD = 4;
    static constexpr std::uint16_t EMPTY = 0xF;  // no table: STORED_DEPENDENCIES fits in four bits
    static constexpr unsigned ZERO = 0;

    // The slot holding table d, or -1. All four table numbers are compared at once: a nibble of
    // `tables ^ d*0x1111` is zero where d stands, and the lowest zero nibble is found by the
    // borrow trick (a borrow may mark nibbles above a zero one, never below it).
    int slotOf(dependency d) const {
        const unsigned differences = tables ^ (static_cast<unsigned>(d) * 0x1111u);
        const unsigned zeroNibbles = (differences - 0x1111u) & ~differences & 0x8888u;
        return zeroNibbles == 0 ? -1 : __builtin_ctz(zeroNibbles) / 4;
    }
    // A table without a slot here: on the side, or none (a zero).
    const unsigned& getElsewhere(dependency d) const;
    int freeSlot() const;
    dependency tableIn(int slot) const { return static_cast<dependency>((tables >> (4 * slot)) & EMPTY); }
    void setTableIn(int slot, std::uint16_t table);
    void moveToSide();

    unsigned ids[HELD] = {};
    std::uint16_t tables = 0xFFFF;
    bool onSide = false;
};
static_assert(STORED_DEPENDENCIES <= 0xF, "a table number fits in four bits");
