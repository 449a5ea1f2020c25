#pragma once

// Test hooks for the file code (AtomicFile, FileTransaction). Production code never arms them.
//
// Steps: writing a temporary file, a rename and a removal are counted, and the step chosen with
// failStep fails as a crash at that moment would leave it: a write leaves a torn temporary file,
// a rename or removal does not happen. With Kind::KILL the process then kills itself (SIGKILL),
// so that a test can check what a real crash leaves behind for the next process.
//
// Syncs: every fsync of a file or a directory is counted, and the one chosen with failSync fails
// as a device error (EIO) would.
namespace fileFaults {

enum class Kind { FAIL, KILL };

// Makes the n-th step from now fail (n >= 1); 0 disarms.
void failStep(unsigned n, Kind kind = Kind::FAIL);
// True when the armed step failure has happened since failStep.
bool fired();
// Counts a step; true when this step is to fail.
bool nextStepFails();
// Called by a failing step once it has left the files as a crash would: with Kind::KILL the
// process ends here, otherwise it returns.
void crashPoint();

// Makes the n-th fsync from now fail (n >= 1); 0 disarms.
void failSync(unsigned n);
// True when the armed sync failure has happened since failSync.
bool syncFired();
// Counts an fsync; true when this one is to fail.
bool nextSyncFails();

// Tests that never look at what survives a power loss (and run hundreds of saves) may leave the
// fsyncs out: they cost most of such a test's time. Every sync then counts as done.
void skipSyncs(bool skip);
bool syncsSkipped();

}  // namespace fileFaults
