#pragma once

// Keeps a second Mernolex off a data directory that one is working on. Two processes on one
// collection would each save from their own memory and overwrite each other's saves.
//
// The lock is an advisory flock(2) on the file ".mernolex.lock" beside Data/, held for as long
// as the InstanceLock lives. The kernel releases it when the process ends in any way, SIGKILL and
// a crash included, so a lock file left behind never blocks the next start: only a living holder
// does. The holder writes its process id into the file, so that the refusal can name it.
//
// On a read-only file system the lock file is opened for reading and locked all the same: the same
// directory may be writable to a program that reaches it another way (a read-only bind mount) or
// once the file system is mounted writable again, and that program must see this one at work.
// Where no lock file can be opened there, and on every other failure to lock, the start is
// refused, since the program could not tell whether another one is at work.

#include <filesystem>
#include <memory>
#include <string>

class InstanceLock {
public:
    static constexpr const char* FILE_NAME = ".mernolex.lock";

    // Takes the lock of `directory`. Returns nothing, with a one-line reason in `problem`, when
    // another process holds it (the reason names its process id when the file tells it) or the
    // lock file cannot be made. The caller owns the result and holds the lock while it lives.
    static std::unique_ptr<InstanceLock> acquire(const std::filesystem::path& directory, std::string& problem);

    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    // Releases the lock; the file stays, for it blocks nobody.
    ~InstanceLock();

private:
    explicit InstanceLock(int descriptor) : descriptor_(descriptor) {}

    int descriptor_;
};
