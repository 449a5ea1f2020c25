#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/FileDescriptor.h"

// The in-place writes of logged units that were left for the window's idle time, in the order
// the units were committed, each unit's removals after its writes. A file's new contents are not
// held here but read back from the log when the file is written: the log was just written, so
// the read comes from the page cache, and an import's tens of megabytes are not kept in memory
// until idle time has written them.
class PendingFileWrites {
public:
    using Clock = std::chrono::steady_clock;

    // A file whose new contents lie in the log at `offset`.
    struct Logged {
        std::string path;
        off_t offset;
        std::size_t size;
    };

    // Writes whose contents are read from the log at `logPath` (which stays until the queue has
    // been written: a checkpoint waits for it).
    void addFromLog(const std::string& logPath, const std::vector<Logged>& written,
                    const std::vector<std::string>& removed);
    bool empty() const { return steps.empty(); }
    std::size_t size() const { return steps.size(); }
    void clear();

    enum class Progress { ALL_DONE, MORE_LEFT, FAILED };
    // Writes and removes, oldest first, until `deadline` has passed (at least one step each
    // call). A failed step stops there and keeps what is left (the caller decides what to drop).
    Progress writeUntil(Clock::time_point deadline);

private:
    struct Step {
        std::string path;
        off_t logOffset;
        std::size_t logSize;
        bool removal;
    };
    bool write(const Step& step);
    bool readFromLog(off_t offset, std::size_t size);

    std::deque<Step> steps;
    std::string logPath;
    std::optional<FileDescriptor> log;  // open while a step reads from it
    std::string readBuffer;
};
