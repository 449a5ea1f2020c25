#include "db/RecordPool.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

constexpr std::size_t ALIGNMENT = alignof(std::max_align_t);
constexpr std::size_t CACHE_LINE = 64;

// A record of up to a cache line gets a place of a power of two, so that it never straddles two
// lines (scans over a link table of 48-byte records in 48-byte places took about half as long
// again); a larger one a multiple of the alignment.
std::size_t placeSizeFor(std::size_t size) {
    size = std::max(size, sizeof(void*));
    if (size <= CACHE_LINE) {
        std::size_t place = ALIGNMENT;
        while (place < size) {
            place *= 2;
        }
        return place;
    }
    return (size + ALIGNMENT - 1) / ALIGNMENT * ALIGNMENT;
}

}  // namespace

RecordPool::RecordPool(std::size_t placeSize)
    : size(placeSizeFor(placeSize)), placesPerBlock(std::max<std::size_t>(1, BLOCK_BYTES / size)) {}

void* RecordPool::take() {
    if (givenBack != nullptr) {
        void* place = givenBack;
        std::memcpy(&givenBack, place, sizeof givenBack);
        return place;
    }
    if (unusedInLastBlock == 0) {
        blocks.reserve(blocks.size() + 1);
        blocks.push_back(std::make_unique_for_overwrite<std::byte[]>(placesPerBlock * size + CACHE_LINE));
        const auto address = reinterpret_cast<std::uintptr_t>(blocks.back().get());
        lastBlockStart = blocks.back().get() + ((CACHE_LINE - address % CACHE_LINE) % CACHE_LINE);
        unusedInLastBlock = placesPerBlock;
    }
    std::byte* place = lastBlockStart + (placesPerBlock - unusedInLastBlock) * size;
    --unusedInLastBlock;
    return place;
}

void RecordPool::give(void* place) noexcept {
    std::memcpy(place, &givenBack, sizeof givenBack);
    givenBack = place;
}
