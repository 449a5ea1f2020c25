#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>
#include <vector>

// The storage code's one way to the file system. Every open, read, write, sync, rename, removal,
// directory creation and listing of base/ and of the table loader and saver goes through the
// FileSystem in use, so that a test can put one in its place that fails any chosen call, or that
// keeps track of what a successful fsync made durable and, for a simulated power loss, drops
// everything else (tests/support/SimulatedDisk.h).
//
// The calls mirror POSIX: a failure returns -1 (or false) with errno set, and a descriptor is the
// system's. The file system in use is process-wide; it may be exchanged only while no other
// thread uses it (a test, before and after its loads).
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual int open(const char* path, int flags, mode_t mode = 0) = 0;
    virtual int close(int fd) = 0;
    virtual ssize_t read(int fd, void* into, std::size_t size) = 0;
    virtual ssize_t write(int fd, const void* bytes, std::size_t size) = 0;
    virtual off_t seek(int fd, off_t offset, int whence) = 0;
    virtual int truncate(int fd, off_t size) = 0;
    virtual int status(int fd, struct stat& into) = 0;
    // fsync: the file's (or directory's) data and metadata; for a directory, its entries.
    virtual int sync(int fd) = 0;
    // fdatasync: the file's data and size, not its times.
    virtual int syncData(int fd) = 0;
    // syncfs: everything written on the file system that holds the open `fd`.
    virtual int syncFileSystem(int fd) = 0;

    virtual int rename(const char* from, const char* to) = 0;
    virtual int unlink(const char* path) = 0;
    virtual int makeDirectory(const char* path, mode_t mode) = 0;
    virtual int statusOf(const char* path, struct stat& into) = 0;
    virtual int access(const char* path, int mode) = 0;

    struct Entry {
        std::string name;
        bool isDirectory;
    };
    // Appends the entries of a directory ("" is the working directory), "." and ".." left out,
    // in the order the system gives them; false (with errno set) when it cannot be listed.
    virtual bool list(const std::string& directory, std::vector<Entry>& entries) = 0;
};

// The file system in use: the real one unless a test has put another in its place.
FileSystem& fileSystem();
// The real one (POSIX calls on the local system).
FileSystem& posixFileSystem();
// Puts `replacement` in place of the file system in use (null: the real one again); not owned.
void useFileSystem(FileSystem* replacement);

// Work that must be finished before anything sees or changes the files again: the in-place
// writes a large save left for idle time (base/FileTransaction.h). While it is set, every
// fileSystem() on the thread that set it calls `settle` first, which finishes the work (and may
// use the file system itself) and clears it. Other threads (a load's readers, a worker reading an
// outside file) are not held up. Null: nothing to finish.
void settleBeforeFileAccess(void (*settle)());
