#pragma once

#include <cstddef>
#include <memory>
#include <vector>

// Memory for the records of one table, all of one size: places handed out from blocks of many,
// and the places of destroyed records handed out again.
//
// An import makes tens of thousands of records of each kind in a row. One general allocation
// each cost a call into a heap fragmented by the load (most of the time of making a record), and
// left the records of a table scattered, so that the save, which walks them in id order, met a
// cache miss at nearly every record. From a pool they lie side by side in the order they were
// made.
//
// Blocks are kept for the whole run: a table that lost records gets its next ones in their
// places. For the window's thread only, as the records themselves.
class RecordPool {
public:
    explicit RecordPool(std::size_t placeSize);
    RecordPool(const RecordPool&) = delete;
    RecordPool& operator=(const RecordPool&) = delete;

    // A place of the pool's size, aligned for any record; throws std::bad_alloc when no memory is left.
    void* take();
    // Gives back a place that take handed out (its bytes are the pool's from now on).
    void give(void* place) noexcept;

    std::size_t placeSize() const { return size; }

private:
    static constexpr std::size_t BLOCK_BYTES = 64 * 1024;

    std::size_t size;
    std::size_t placesPerBlock;
    std::vector<std::unique_ptr<std::byte[]>> blocks;
    std::byte* lastBlockStart = nullptr;  // its first place, on a cache line's start
    std::size_t unusedInLastBlock = 0;
    // The places given back, each holding the address of the one given back before it.
    void* givenBack = nullptr;
};

// Record classes take their memory from the pool of their own size unless the address sanitizer
// watches: it tells a use after destruction only of memory that went back to the general heap.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool POOLED_RECORDS = false;
#else
inline constexpr bool POOLED_RECORDS = true;
#endif
