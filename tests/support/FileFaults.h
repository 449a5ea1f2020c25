#pragma once

// Shorthands of the tests that fail one file step or one sync of the code under test, on a
// SimulatedDisk (support/SimulatedDisk.h) put in place on first use and kept for the process.
//
// Steps: every write, truncation, rename, removal and directory made is counted, and the step
// chosen with failStep fails as a device error would (a write leaves half of its bytes). With
// Kind::KILL the process kills itself (SIGKILL) at that step instead, so that a test can check
// what a real crash leaves behind for the next process.
//
// Syncs: every fsync and fdatasync of a file or a directory is counted, and the one chosen with
// failSync fails (EIO), losing the data it was to write.
namespace fileFaults {

enum class Kind { FAIL, KILL };

// Makes the n-th step from now fail (n >= 1); 0 disarms.
void failStep(unsigned n, Kind kind = Kind::FAIL);
// True when the armed step failure has happened since failStep.
bool fired();

// Makes the n-th sync from now fail (n >= 1); 0 disarms.
void failSync(unsigned n);
// True when the armed sync failure has happened since failSync.
bool syncFired();

// Tests that never look at what survives a power loss (and run hundreds of saves) may leave the
// real fsyncs out: they cost most of such a test's time. Every sync then counts as done.
void skipSyncs(bool skip);

}  // namespace fileFaults
