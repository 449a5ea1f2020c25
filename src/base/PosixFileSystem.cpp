#include "base/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <thread>

namespace {

template <typename Call>
auto retried(Call call) {
    for (;;) {
        const auto result = call();
        if (result >= 0 || errno != EINTR) {
            return result;
        }
    }
}

// A file system may not say what an entry is; then the entry itself is asked.
bool isDirectoryEntry(const std::string& directory, const dirent& entry) {
    if (entry.d_type != DT_UNKNOWN) {
        return entry.d_type == DT_DIR;
    }
    struct stat status {};
    const std::string path = (directory.empty() ? std::string() : directory + "/") + entry.d_name;
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

PosixFileSystem realFileSystem;
std::atomic<FileSystem*> inUse{&realFileSystem};

// Set and read on the thread that settles; other threads only see that it is not theirs.
std::atomic<void (*)()> settleFirst{nullptr};
std::atomic<std::thread::id> settlingThread{};

}  // namespace

FileSystem& fileSystem() {
    if (settleFirst.load(std::memory_order_acquire) != nullptr &&
        settlingThread.load(std::memory_order_relaxed) == std::this_thread::get_id()) {
        if (void (*settle)() = settleFirst.load(std::memory_order_relaxed)) {
            settle();
        }
    }
    return *inUse.load(std::memory_order_acquire);
}

void settleBeforeFileAccess(void (*settle)()) {
    settlingThread.store(std::this_thread::get_id(), std::memory_order_relaxed);
    settleFirst.store(settle, std::memory_order_release);
}

FileSystem& posixFileSystem() {
    return realFileSystem;
}

void useFileSystem(FileSystem* replacement) {
    inUse.store(replacement != nullptr ? replacement : &realFileSystem, std::memory_order_release);
}

int PosixFileSystem::open(const char* path, int flags, mode_t mode) {
    return retried([&] { return ::open(path, flags, mode); });
}

// Not retried: after EINTR the descriptor is closed on Linux, and it may already belong to
// another file of another thread.
int PosixFileSystem::close(int fd) {
    return ::close(fd);
}

ssize_t PosixFileSystem::read(int fd, void* into, std::size_t size) {
    return retried([&] { return ::read(fd, into, size); });
}

ssize_t PosixFileSystem::write(int fd, const void* bytes, std::size_t size) {
    return retried([&] { return ::write(fd, bytes, size); });
}

off_t PosixFileSystem::seek(int fd, off_t offset, int whence) {
    return ::lseek(fd, offset, whence);
}

int PosixFileSystem::truncate(int fd, off_t size) {
    return retried([&] { return ::ftruncate(fd, size); });
}

int PosixFileSystem::status(int fd, struct stat& into) {
    return ::fstat(fd, &into);
}

int PosixFileSystem::sync(int fd) {
    return retried([&] { return ::fsync(fd); });
}

int PosixFileSystem::syncData(int fd) {
    return retried([&] { return ::fdatasync(fd); });
}

int PosixFileSystem::syncFileSystem(int fd) {
    return retried([&] { return ::syncfs(fd); });
}

int PosixFileSystem::rename(const char* from, const char* to) {
    return std::rename(from, to);
}

int PosixFileSystem::unlink(const char* path) {
    return ::unlink(path);
}

int PosixFileSystem::makeDirectory(const char* path, mode_t mode) {
    return ::mkdir(path, mode);
}

int PosixFileSystem::statusOf(const char* path, struct stat& into) {
    return ::stat(path, &into);
}

int PosixFileSystem::access(const char* path, int mode) {
    return ::access(path, mode);
}

bool PosixFileSystem::list(const std::string& directory, std::vector<Entry>& entries) {
    // Closed however the listing ends: growing the list can fail.
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory.empty() ? "." : directory.c_str()), ::closedir);
    if (dir == nullptr) {
        return false;
    }
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (entry == nullptr) {
            return errno == 0;
        }
        const std::string_view name(entry->d_name);
        if (name != "." && name != "..") {
            entries.push_back(Entry{std::string(name), isDirectoryEntry(directory, *entry)});
        }
    }
}
