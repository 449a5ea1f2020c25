#pragma once

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

class FileSystem;

// The one slow step of a checkpoint, a syncfs of each file system the log wrote to (tens to
// hundreds of milliseconds after a large import), run on a thread of its own so that the window
// keeps painting. The thread touches nothing but the file system and the descriptors it is given
// (opened and closed by the caller); everything before and after the sync stays on the caller's
// thread.
class BackgroundSync {
public:
    BackgroundSync() = default;
    BackgroundSync(const BackgroundSync&) = delete;
    BackgroundSync& operator=(const BackgroundSync&) = delete;
    ~BackgroundSync();  // waits for a sync still running

    // Tests: the syncs run on the caller's thread within start(), so that a simulated disk sees
    // its calls in one order every run.
    static void runInline(bool inline_);

    // Syncs the file system of each of `descriptors` (each stays open until join() returned).
    // `whenDone` runs on the sync's thread once the syncs returned (not when they run inline).
    void start(FileSystem& files, std::vector<int> descriptors, std::function<void()> whenDone);
    bool started() const { return thread.joinable() || ranInline; }
    bool finished() const { return done.load(std::memory_order_acquire); }
    // Waits for the syncs; true when every one succeeded. Afterwards nothing is started.
    bool join();

private:
    std::thread thread;
    std::atomic<bool> done{false};
    bool succeeded = false;
    bool ranInline = false;
};
