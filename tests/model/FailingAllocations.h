#pragma once

// The test program's operator new can be told to fail: allocations are counted, and the n-th one
// from now throws std::bad_alloc, as an exhausted machine would. Only tests that arm it see any
// difference.
namespace failing_allocations {

// Makes the n-th allocation from now fail (n >= 1); 0 disarms.
void failAllocation(long n);
// True when the armed failure has happened since failAllocation.
bool failed();
// Allocations made since the last call.
long countSinceLastCall();

}  // namespace failing_allocations
