#include "program/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

namespace {

constexpr std::size_t PROCESS_ID_DIGITS_MAX = 20;

std::string quoted(const std::filesystem::path& path) { return "\"" + path.string() + "\""; }

std::string systemReason(int error) { return std::strerror(error); }

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
    const int descriptor = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (descriptor < 0) {
        if (errno == EROFS) {
            return std::unique_ptr<InstanceLock>(new InstanceLock(-1));
        }
        problem = "cannot lock the data directory " + quoted(directory) + ": " + systemReason(errno);
        return nullptr;
    }
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EWOULDBLOCK) {
            const std::string holder = holderOf(descriptor);
            problem = "another Mernolex" + (holder.empty() ? std::string() : " (process " + holder + ")") +
                      " is working on the data directory " + quoted(directory) + "; close it first";
        } else {
            problem = "cannot lock the data directory " + quoted(directory) + ": " + systemReason(error);
        }
        close(descriptor);
        return nullptr;
    }
    writeProcessId(descriptor);
    return std::unique_ptr<InstanceLock>(new InstanceLock(descriptor));
}

InstanceLock::~InstanceLock() {
    if (descriptor_ >= 0) {
        close(descriptor_);
    }
}
