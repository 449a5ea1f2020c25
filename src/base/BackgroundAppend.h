#pragma once

#include <sys/types.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

class FileSystem;

// The commit of a large unit on a thread of its own: the unit's header, the entries of its spool
// (base/UnitSpool.h), its removals and its END line appended to the log, then the log's
// fdatasync, the commit point. An import's unit of tens of megabytes took the window's thread
// over a hundred milliseconds for this. The thread touches nothing but the file system and the
// two descriptors it is given (opened and closed by the caller); the caller's thread learns of
// the result by polling finished() (the thread's `whenDone` wakes it).
//
// Until the sync has begun a cancel() stops the append: the log is cut back to where the unit
// began, as if it had never been written (a unit cut short at the end of the log is ignored by
// every reader anyway, see base/TransactionLog.h).
class BackgroundAppend {
public:
    struct Unit {
        int log = -1;          // opened for appending
        off_t logSize = 0;     // where the unit begins
        int spool = -1;        // opened for reading
        off_t spoolSize = 0;   // the entries' bytes
        std::string removals;  // the "D" lines
        std::size_t entries = 0;
    };
    enum class Result {
        COMMITTED,      // durable in the log
        NOT_COMMITTED,  // failed or cancelled before the commit point; the log is as before
        TAIL_LEFT       // the same, but the log could not be cut back: bytes past logSize are not ours
    };

    BackgroundAppend() = default;
    BackgroundAppend(const BackgroundAppend&) = delete;
    BackgroundAppend& operator=(const BackgroundAppend&) = delete;
    ~BackgroundAppend();  // waits for an append still running

    // Tests: the append runs on the caller's thread within start(), so that a simulated disk
    // sees its calls in one order every run.
    static void runInline(bool inline_);

    // `whenDone` runs on the append's thread once it has finished (not when it runs inline).
    void start(FileSystem& files, const Unit& unit, std::function<void()> whenDone);
    bool started() const { return thread.joinable() || ranInline; }
    bool finished() const { return done.load(std::memory_order_acquire); }
    // Asks a running append to stop before its commit point (it may already have passed it).
    void cancel() { cancelled.store(true, std::memory_order_release); }
    // Waits for the append; afterwards nothing is started. `logSize` receives the log's size
    // after a commit.
    Result join(off_t& logSize);

private:
    Result append(FileSystem& files, const Unit& unit);
    bool copySpool(FileSystem& files, const Unit& unit, std::uint64_t& sum);

    std::thread thread;
    std::atomic<bool> done{false};
    std::atomic<bool> cancelled{false};
    Result result = Result::NOT_COMMITTED;
    off_t sizeAfter = 0;
    bool ranInline = false;
};
