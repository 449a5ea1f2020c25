#pragma once

#include <string>
#include <string_view>

// An open descriptor of the file system in use (base/FileSystem.h), closed however the code that
// opened it ends.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    ~FileDescriptor();

    // Opens through the file system in use; isOpen() tells whether it worked (errno says why not).
    static FileDescriptor open(const std::string& path, int flags, unsigned mode = 0);

    bool isOpen() const { return fd_ >= 0; }
    int get() const { return fd_; }
    // Closes now; false when the close reported an error (a write the system could not finish).
    bool close();

private:
    int fd_ = -1;
};

// Writes all of `bytes` at the descriptor's position; false when a write failed.
bool writeAll(int fd, std::string_view bytes);

// How reading a whole file ended.
enum class ReadResult { READ, ABSENT, FAILED };

// Reads the whole file into `text` (replacing it); ABSENT when there is no such file, FAILED
// (errno set) when it exists but cannot be opened or read.
ReadResult readWholeFile(const std::string& path, std::string& text);
