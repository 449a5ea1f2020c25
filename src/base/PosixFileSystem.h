#pragma once

#include "base/FileSystem.h"

// The real file system: each call is the POSIX call of the same name, retried when a signal
// interrupts it.
class PosixFileSystem : public FileSystem {
public:
    int open(const char* path, int flags, mode_t mode = 0) override;
    int close(int fd) override;
    ssize_t read(int fd, void* into, std::size_t size) override;
    ssize_t write(int fd, const void* bytes, std::size_t size) override;
    off_t seek(int fd, off_t offset, int whence) override;
    int truncate(int fd, off_t size) override;
    int status(int fd, struct stat& into) override;
    int sync(int fd) override;
    int syncData(int fd) override;
    int rename(const char* from, const char* to) override;
    int unlink(const char* path) override;
    int makeDirectory(const char* path, mode_t mode) override;
    int statusOf(const char* path, struct stat& into) override;
    int access(const char* path, int mode) override;
    bool list(const std::string& directory, std::vector<Entry>& entries) override;
};
