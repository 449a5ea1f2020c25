#pragma once

// A large save (an import's ten thousand files) is done at its commit point; its files are then
// written in place in the window's idle time, in slices short enough for the window to keep
// painting, and the checkpoint after it syncs on a thread of its own (base/FileTransaction.h).
// Whatever reads or writes a file meanwhile finishes that work first, so nothing depends on idle
// time having come.

// From now on (the start of the program), on the window's thread.
void writeSavedFilesInIdleTime();
// At the end: every file is written at once again (the caller checkpoints).
void stopWritingSavedFilesInIdleTime();
