#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <random>
#include <string>

#include "db/NodePool.h"

namespace {

using Pool = NodePool<40, 8>;

// Objects taken from the pool and given back in a random order: every live object has memory
// of its own (its bytes stay as written until it is given back), aligned, and freed memory is
// used again rather than more blocks being cut.
TEST(NodePoolTest, LiveObjectsNeverShareMemoryAndFreedMemoryIsReused) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::map<void*, unsigned char> live;  // memory -> the byte it was filled with
    auto take = [&] {
        void* memory = Pool::take();
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(memory) % 8, 0u);
        ASSERT_EQ(live.count(memory), 0u) << "handed out twice";
        const auto fill = static_cast<unsigned char>(random());
        std::memset(memory, fill, 40);
        live[memory] = fill;
    };
    for (int step = 0; step < 20000; ++step) {
        if (live.empty() || random() % 3 != 0) {
            take();
        } else {
            auto it = std::next(live.begin(), static_cast<long>(random() % live.size()));
            const unsigned char expected[40] = {};
            unsigned char bytes[40];
            std::memcpy(bytes, it->first, 40);
            for (unsigned char& byte : bytes) {
                byte ^= it->second;
            }
            ASSERT_EQ(std::memcmp(bytes, expected, 40), 0) << "another object wrote into this one";
            Pool::give(it->first);
            live.erase(it);
        }
    }
    const std::size_t before = live.size();
    std::map<void*, unsigned char> given(live);
    for (const auto& [memory, fill] : given) {
        Pool::give(memory);
    }
    live.clear();
    for (std::size_t i = 0; i < before; ++i) {
        take();
    }
    for (const auto& [memory, fill] : live) {
        EXPECT_EQ(given.count(memory), 1u) << "a new block was cut while freed memory waited";
        Pool::give(memory);
    }
}

}  // namespace
