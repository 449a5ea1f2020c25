#pragma once

// Building a benchmark's database is no part of any measurement, and tens of thousands of fsyncs
// made it take minutes on a busy disk: while syncs are skipped, the real file system is used with
// every sync counted as done.

#include "base/FileSystem.h"
#include "base/PosixFileSystem.h"

namespace bench {

class UnsyncedFileSystem : public PosixFileSystem {
public:
    int sync(int) override { return 0; }
    int syncData(int) override { return 0; }
    int syncFileSystem(int) override { return 0; }
};

inline UnsyncedFileSystem unsyncedFileSystem;

inline bool syncsSkipped() {
    return &fileSystem() == &unsyncedFileSystem;
}

inline void skipSyncs(bool skip) {
    useFileSystem(skip ? &unsyncedFileSystem : nullptr);
}

}  // namespace bench
