#include "base/BackgroundSync.h"

#include <algorithm>

#include "base/FileSystem.h"

namespace {

bool syncsInline = false;

bool syncAll(FileSystem& files, const std::vector<int>& descriptors) {
    return std::all_of(descriptors.begin(), descriptors.end(),
                       [&files](int fd) { return files.syncFileSystem(fd) == 0; });
}

}  // namespace

BackgroundSync::~BackgroundSync() {
    if (thread.joinable()) {
        thread.join();
    }
}

void BackgroundSync::runInline(bool inline_) {
    syncsInline = inline_;
}

void BackgroundSync::start(FileSystem& files, std::vector<int> descriptors, std::function<void()> whenDone) {
    done.store(false, std::memory_order_relaxed);
    if (syncsInline) {
        ranInline = true;
        succeeded = syncAll(files, descriptors);
        done.store(true, std::memory_order_release);
        return;
    }
    thread = std::thread([this, &files, descriptors = std::move(descriptors), whenDone = std::move(whenDone)] {
        succeeded = syncAll(files, descriptors);
        done.store(true, std::memory_order_release);
        if (whenDone) {
            whenDone();
        }
    });
}

bool BackgroundSync::join() {
    if (thread.joinable()) {
        thread.join();
    }
    ranInline = false;
    return succeeded;
}
