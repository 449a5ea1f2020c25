// Replaces the program's operator new and delete. In a file of its own, so the compiler never
// sees a new inlined next to this delete (it would take malloc and free for a mismatch).
#include "FailingAllocations.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// Atomic: a load may allocate on reader threads too (tests that count or fail allocations read
// on the loading thread alone, so that every load makes the same allocations in the same order).
std::atomic<long> untilFailure{0};
std::atomic<bool> hasFailed{false};
std::atomic<long> counted{0};

}  // namespace

namespace failing_allocations {

void failAllocation(long n) {
    untilFailure = n;
    hasFailed = false;
}

bool failed() {
    return hasFailed;
}

long countSinceLastCall() {
    return counted.exchange(0);
}

}  // namespace failing_allocations

namespace {

void* allocate(std::size_t size) {
    ++counted;
    if (untilFailure.load() > 0 && untilFailure.fetch_sub(1) == 1) {
        hasFailed = true;
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

void* allocateOrNull(std::size_t size) noexcept {
    try {
        return allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace

// Every replaceable form that is not over-aligned, so that no allocation meets a release of
// another family.
void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocateOrNull(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocateOrNull(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
