#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define MERNOLEX_POISON(address, size) ASAN_POISON_MEMORY_REGION(address, size)
#define MERNOLEX_UNPOISON(address, size) ASAN_UNPOISON_MEMORY_REGION(address, size)
#else
#define MERNOLEX_POISON(address, size) ((void)(address), (void)(size))
#define MERNOLEX_UNPOISON(address, size) ((void)(address), (void)(size))
#endif

// Memory for objects of one size and alignment, cut from blocks of many: a large table's tree
// has hundreds of thousands of nodes, and a general allocation for each costs time and a header
// of its own (a tenth of a node). A freed object's memory is kept, linked through its first
// bytes, for the next one; the blocks live as long as the program, so that no tree destroyed
// late in the program's end finds them gone. Under AddressSanitizer the rest of a freed object
// is poisoned, so a use after free is still caught.
template <std::size_t SIZE, std::size_t ALIGNMENT>
class NodePool {
    static_assert(SIZE >= sizeof(void*) && ALIGNMENT >= alignof(void*));

public:
    static void* take() {
        Pool& pool = instance();
        std::lock_guard<std::mutex> guard(pool.lock);
        if (FreeSlot* slot = pool.freed) {
            pool.freed = slot->next;
            MERNOLEX_UNPOISON(slot, SIZE);
            return slot;
        }
        if (pool.unused == 0) {
            pool.blocks.reserve(pool.blocks.size() + 1);  // so that a new block is never lost
            pool.blocks.push_back(std::make_unique<Slot[]>(PER_BLOCK));
            pool.unused = PER_BLOCK;
        }
        return &pool.blocks.back()[PER_BLOCK - pool.unused--];
    }

    static void give(void* memory) noexcept {
        if (memory == nullptr) {
            return;
        }
        Pool& pool = instance();
        std::lock_guard<std::mutex> guard(pool.lock);
        auto* slot = static_cast<FreeSlot*>(memory);
        slot->next = pool.freed;
        pool.freed = slot;
        MERNOLEX_POISON(reinterpret_cast<unsigned char*>(memory) + sizeof(FreeSlot), SIZE - sizeof(FreeSlot));
    }

private:
    struct alignas(ALIGNMENT) Slot {
        unsigned char bytes[SIZE];
    };
    struct FreeSlot {
        FreeSlot* next;
    };
    static constexpr std::size_t PER_BLOCK = 64 * 1024 / sizeof(Slot);
    struct Pool {
        std::mutex lock;
        std::vector<std::unique_ptr<Slot[]>> blocks;
        std::size_t unused = 0;  // slots at the end of the last block never handed out
        FreeSlot* freed = nullptr;
    };
    static Pool& instance() {
        static Pool* pool = new Pool;  // never destroyed: see above
        return *pool;
    }
};
