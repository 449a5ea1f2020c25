#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "db/RecordPool.h"

namespace {

// Places across several blocks are distinct, aligned for any record and wholly usable: filling
// each with its own bytes leaves every other as it was.
TEST(RecordPool, PlacesDoNotOverlapAndAreAligned) {
    RecordPool pool(52);
    EXPECT_EQ(pool.placeSize() % alignof(std::max_align_t), 0u);
    EXPECT_GE(pool.placeSize(), 52u);
    std::vector<unsigned char*> places;
    for (int i = 0; i < 5000; ++i) {  // several blocks of 64 KiB
        auto* place = static_cast<unsigned char*>(pool.take());
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(place) % alignof(std::max_align_t), 0u);
        std::memset(place, i & 0xFF, 52);
        places.push_back(place);
    }
    for (std::size_t i = 0; i < places.size(); ++i) {
        for (std::size_t b = 0; b < 52; ++b) {
            ASSERT_EQ(places[i][b], i & 0xFF) << "place " << i << " byte " << b;
        }
    }
    EXPECT_EQ(std::set<unsigned char*>(places.begin(), places.end()).size(), places.size());
    // A record of up to a cache line never straddles two.
    RecordPool links(48);
    for (int i = 0; i < 100; ++i) {
        const auto address = reinterpret_cast<std::uintptr_t>(links.take());
        EXPECT_EQ(address / 64, (address + 47) / 64) << "place " << i;
    }
    for (unsigned char* place : places) {
        pool.give(place);
    }
}

// Places given back are handed out again before new memory is taken, each once.
TEST(RecordPool, GivenBackPlacesAreReusedEachOnce) {
    RecordPool pool(sizeof(void*));
    std::vector<void*> first;
    for (int i = 0; i < 10; ++i) {
        first.push_back(pool.take());
    }
    pool.give(first[3]);
    pool.give(first[7]);
    std::set<void*> again{pool.take(), pool.take()};
    EXPECT_EQ(again, (std::set<void*>{first[3], first[7]}));
    void* fresh = pool.take();
    EXPECT_EQ(std::count(first.begin(), first.end(), fresh), 0);
}

}  // namespace
