#include "program/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "base/FileSystem.h"

namespace {

constexpr std::size_t PROCESS_ID_DIGITS_MAX = 20;

std::string quoted(const std::filesystem::path& path) {
    std::string text("\"");
    text.append(path.string()).append("\"");
    return text;
}

std::string cannotLock(const std::filesystem::path& directory, int error) {
    std::string text("cannot lock the data directory ");
    text.append(quoted(directory)).append(": ").append(std::strerror(error));
    return text;
}

std::string anotherAtWork(const std::filesystem::path& directory, const std::string& holder) {
    std::string text("another Mernolex");
    if (!holder.empty()) {
        text.append(" (process ").append(holder).append(")");
    }
    text.append(" is working on the data directory ").append(quoted(directory)).append("; close it first");
    return text;
}

// The lock file of a directory on a read-only file system: the one a program that could write
// there has made, opened for reading (flock needs no more).
int openOnReadOnlyFileSystem(const std::filesystem::path& file) {
    const int descriptor = fileSystem().open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (descriptor < 0 && errno == ENOENT) {
        errno = EROFS;  // nothing to lock, and nothing can be made: the reason is the file system
    }
    return descriptor;
}

// The process id the holder wrote, or "" when the file does not tell one (an older holder still
// writing it, or a file edited by hand).
std::string holderOf(int descriptor) {
    char text[PROCESS_ID_DIGITS_MAX + 1] = {};
    const ssize_t length = pread(descriptor, text, PROCESS_ID_DIGITS_MAX, 0);
    if (length <= 0) {
        return "";
    }
    std::string_view digits(text, static_cast<std::size_t>(length));
    digits = digits.substr(0, digits.find('\n'));
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return "";
    }
    return std::string(digits);
}

// Replaces the file's contents with this process's id. Only informative: a failure changes
// nothing about the lock itself. The id is written over the old one and the rest cut off after:
// emptying the file first would make ext4 flush it on close, which costs a start milliseconds.
void writeProcessId(int descriptor) {
    const std::string line = std::to_string(getpid()) + "\n";
    if (pwrite(descriptor, line.data(), line.size(), 0) == static_cast<ssize_t>(line.size())) {
        [[maybe_unused]] int cut = ftruncate(descriptor, static_cast<off_t>(line.size()));
    }
}

}  // namespace

std::unique_ptr<InstanceLock> InstanceLock::acquire(const std::filesystem::path& directory, std::string& problem) {
    const std::filesystem::path file = directory / FILE_NAME;
    int descriptor = fileSystem().open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    const bool readOnly = descriptor < 0 && errno == EROFS;
    if (readOnly) {
        descriptor = openOnReadOnlyFileSystem(file);
    }
    if (descriptor < 0) {
        problem = cannotLock(directory, errno);
        return nullptr;
    }
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        problem = error == EWOULDBLOCK ? anotherAtWork(directory, holderOf(descriptor)) : cannotLock(directory, error);
        fileSystem().close(descriptor);
        return nullptr;
    }
    if (!readOnly) {
        writeProcessId(descriptor);
    }
    return std::unique_ptr<InstanceLock>(new InstanceLock(descriptor));
}

InstanceLock::~InstanceLock() {
    fileSystem().close(descriptor_);
}
