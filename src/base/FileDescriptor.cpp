#include "base/FileDescriptor.h"

#include <fcntl.h>

#include <cerrno>

#include "base/FileSystem.h"

FileDescriptor::~FileDescriptor() {
    close();
}

FileDescriptor FileDescriptor::open(const std::string& path, int flags, unsigned mode) {
    return FileDescriptor(fileSystem().open(path.c_str(), flags | O_CLOEXEC, static_cast<mode_t>(mode)));
}

bool FileDescriptor::close() {
    if (fd_ < 0) {
        return true;
    }
    const int fd = fd_;
    fd_ = -1;
    return fileSystem().close(fd) == 0;
}

bool writeAll(int fd, std::string_view bytes) {
    FileSystem& files = fileSystem();
    while (!bytes.empty()) {
        const ssize_t written = files.write(fd, bytes.data(), bytes.size());
        if (written <= 0) {
            if (written == 0) {
                errno = EIO;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Reads until read() reports the end: a short read is not the end on every file system (network
// and user-space file systems return them).
ReadResult readWholeFile(const std::string& path, std::string& text) {
    text.clear();
    FileDescriptor file = FileDescriptor::open(path, O_RDONLY);
    if (!file.isOpen()) {
        return errno == ENOENT ? ReadResult::ABSENT : ReadResult::FAILED;
    }
    struct stat status {};
    if (fileSystem().status(file.get(), status) == 0 && status.st_size > 0) {
        text.reserve(static_cast<std::size_t>(status.st_size));
    }
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t got = fileSystem().read(file.get(), chunk, sizeof chunk);
        if (got < 0) {
            text.clear();
            return ReadResult::FAILED;
        }
        if (got == 0) {
            return ReadResult::READ;
        }
        text.append(chunk, static_cast<std::size_t>(got));
    }
}
