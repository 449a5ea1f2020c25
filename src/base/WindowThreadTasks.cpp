#include "base/WindowThreadTasks.h"

#include <deque>
#include <mutex>
#include <utility>

namespace window_thread {
namespace {

std::mutex& lock() {
    static std::mutex mutex;
    return mutex;
}

std::deque<std::function<void()>>& queue() {
    static std::deque<std::function<void()>> tasks;
    return tasks;
}

std::function<void()>& wakeFunction() {
    static std::function<void()> wake;
    return wake;
}

}  // namespace

void post(std::function<void()> task) {
    std::lock_guard<std::mutex> guard(lock());
    queue().push_back(std::move(task));
    if (wakeFunction()) {
        wakeFunction()();
    }
}

void runPosted() {
    std::deque<std::function<void()>> ready;
    {
        std::lock_guard<std::mutex> guard(lock());
        ready.swap(queue());
    }
    for (std::function<void()>& task : ready) {
        task();
    }
}

void setWake(std::function<void()> wake) {
    std::lock_guard<std::mutex> guard(lock());
    wakeFunction() = std::move(wake);
}

void discardPosted() {
    std::deque<std::function<void()>> dropped;
    std::lock_guard<std::mutex> guard(lock());
    dropped.swap(queue());
}

}  // namespace window_thread
