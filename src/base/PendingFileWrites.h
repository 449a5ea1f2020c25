#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <string>
#include <utility>
#include <vector>

// The in-place writes of logged units that were left for the window's idle time: the whole new
// contents of each file (the only copy besides the log) and the removals, in the order the units
// were committed, each unit's removals after its writes.
class PendingFileWrites {
public:
    using Clock = std::chrono::steady_clock;

    void add(std::vector<std::pair<std::string, std::string>> written, const std::vector<std::string>& removed);
    bool empty() const { return steps.empty(); }
    std::size_t size() const { return steps.size(); }
    void clear() { steps.clear(); }

    enum class Progress { ALL_DONE, MORE_LEFT, FAILED };
    // Writes and removes, oldest first, until `deadline` has passed (at least one step each
    // call). A failed step stops there and keeps what is left (the caller decides what to drop).
    Progress writeUntil(Clock::time_point deadline);

private:
    struct Step {
        std::string path;
        std::string contents;
        bool removal;
    };
    std::deque<Step> steps;
};
