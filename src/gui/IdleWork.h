#pragma once

// Work the program finishes while the window has nothing else to do: the texts of a long list
// beyond its first page, the rest of a practice queue behind its first card. A screen answers an
// input with the part the next frame shows and leaves the rest here; the window runs it in short
// slices between inputs and paints (platform::Platform::requestIdle, the Idle message), on the
// window's own thread, so the database and the elements are never touched from another one.
//
// Work is kept per owner (an element, a run): posting again replaces the owner's work, and an
// owner that goes away cancels its own. Nothing may depend on idle time having come: whoever needs
// a result before its work is done finishes it on the spot (each owner knows how), so what the
// program shows never depends on when the window was idle.

#include <chrono>
#include <functional>

namespace idleWork {

// One slice of the work: does a little (well under a millisecond) and returns whether anything
// is left.
using Slice = std::function<bool()>;

// Keeps `slice` for `owner` until it reports nothing left, replacing what the owner had, and asks
// the window for idle time.
void post(const void* owner, Slice slice);
// Forgets the owner's work; nothing when it has none.
void cancel(const void* owner);
bool pending();
bool pendingFor(const void* owner);

// Runs slices, the earliest posted work first, until `budget` has passed (at least one) or nothing
// is left; returns whether work is left.
bool run(std::chrono::microseconds budget);

// The time one idle message may take: short enough that an input arriving meanwhile still gets
// its frame in time.
inline constexpr std::chrono::microseconds SLICE_BUDGET{3000};

// Forgets all work (tests, the end of the program).
void reset();

}  // namespace idleWork
