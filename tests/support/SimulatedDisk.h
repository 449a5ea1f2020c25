#pragma once

#include <atomic>
#include <cerrno>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "base/FileSystem.h"

namespace mernolex::test {

// A file system for tests over the real one (base/FileSystem.h), put in place for as long as it
// lives. Every call goes to the real file system, and the disk can
// - fail a chosen call: the n-th call (counted from arm()) of the chosen kinds, optionally only
//   on paths that contain a given text, fails with a chosen errno (and, if lasting, every such
//   call after it). A failing write writes half of its bytes first, as a write cut off by a full
//   disk or a crash leaves them;
// - stop there instead: the chosen call and every call after it fail with EIO and change
//   nothing, as if the machine had stopped (the process goes on, but the disk no longer hears
//   it). The files are then as a killed process leaves them; powerLoss() makes them what a power
//   loss leaves;
// - kill the process there (SIGKILL), for tests that check in a child what a real crash leaves;
// - remember, below one directory (the tracked root, which must exist), what a successful sync
//   made durable, as the strictest file system would: a file's data and size only through its
//   own fsync/fdatasync, a directory's entries (files created, renamed, removed, directories
//   made) only through the directory's fsync. A failed sync loses the data it was to write for
//   good: a later successful sync of the same file writes only what was written after the
//   failure. powerLoss() puts the tracked root in the state this describes;
// - skip the real syncs (they still count as done in the model), for tests that run thousands of
//   saves; and return short reads, as network and user-space file systems do.
// Thread-safe: loads read files on threads of their own.
class SimulatedDisk : public FileSystem {
public:
    enum Call : unsigned {
        OPEN = 1u << 0,
        CLOSE = 1u << 1,
        READ = 1u << 2,
        WRITE = 1u << 3,
        TRUNCATE = 1u << 4,
        SYNC = 1u << 5,  // fsync and fdatasync, of files and directories
        RENAME = 1u << 6,
        UNLINK = 1u << 7,
        MAKE_DIRECTORY = 1u << 8,
        LIST = 1u << 9,
        STATUS = 1u << 10,  // status, statusOf, access
        SEEK = 1u << 11,
    };
    // The calls that change what is on the disk, syncs aside: the steps of a save.
    static constexpr unsigned CHANGES = WRITE | TRUNCATE | RENAME | UNLINK | MAKE_DIRECTORY;
    // Every call after which a stop or a power loss can leave something new.
    static constexpr unsigned STEPS = CHANGES | SYNC;

    enum class Effect { FAIL, STOP, KILL };
    struct Fault {
        unsigned calls;       // a mask of Call
        unsigned nth;         // the n-th such call from arm() (n >= 1)
        Effect effect = Effect::FAIL;
        int error = EIO;
        std::string pathPart = "";  // when not empty: only calls on paths containing it count
        bool lasting = false;       // every later such call fails too (a file that stays unreadable)
    };

    // Tracks nothing with an empty root.
    explicit SimulatedDisk(std::string trackedRoot = "");
    ~SimulatedDisk() override;
    SimulatedDisk(const SimulatedDisk&) = delete;
    SimulatedDisk& operator=(const SimulatedDisk&) = delete;

    // Arms a fault (faults armed together count independently); returns its handle.
    std::size_t arm(const Fault& fault);
    // True when the fault has struck.
    bool fired(std::size_t handle) const;
    void disarm(std::size_t handle);
    void disarmAll();

    bool stopped() const { return isStopped.load(); }
    // Goes on after a stop with the files as the stop left them (a kill, then a new process).
    void resume();
    // Puts the tracked root in the state the last successful syncs made durable and goes on from
    // there (tracking it afresh).
    void powerLoss();

    // The calls of the kinds in `calls` made since the disk was put in place.
    unsigned count(unsigned calls) const;
    void skipSyncs(bool skip) { syncsSkipped.store(skip); }
    // Every read returns at most `bytes` (0: as many as asked).
    void limitReads(std::size_t bytes) { readLimit.store(bytes); }

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

private:
    using Ranges = std::vector<std::pair<off_t, off_t>>;  // [begin, end), sorted, apart
    struct Node {
        bool directory = false;
        std::string durable;  // a file's bytes as last synced
        Ranges dirty;         // written since, not yet synced
        std::map<std::string, unsigned> entries;         // a directory's, now
        std::map<std::string, unsigned> durableEntries;  // as last synced
    };
    struct OpenFile {
        std::string path;
        unsigned node = 0;  // 0: not below the tracked root
    };
    struct Armed {
        Fault fault;
        unsigned left;
        bool hasFired = false;
    };
    enum class Verdict { GO, FAIL, STOP, STOPPED, KILL };  // STOP: the call that stops

    Verdict judge(Call call, const std::string& path);
    void snapshot();
    unsigned snapshotNode(const std::string& path, bool directory);
    unsigned newNode(bool directory);
    // The node of the directory that holds `path` and the last component, when `path` lies
    // below the tracked root; {0, ""} otherwise.
    std::pair<unsigned, std::string> parentOf(const std::string& path) const;
    unsigned nodeAt(const std::string& path) const;
    std::string pathOf(int fd) const;
    void noteWrite(int fd, off_t end, off_t length);
    void syncNode(int fd, unsigned node);
    void restore(const std::string& path, unsigned node) const;
    int refuse(int error);
    int syncCall(int fd, bool dataOnly);

    std::string root;
    mutable std::mutex lock;
    std::map<unsigned, Node> nodes;
    unsigned rootNode = 0;
    unsigned nextNode = 1;
    std::map<int, OpenFile> openFiles;
    std::vector<Armed> faults;
    std::map<unsigned, unsigned> counts;  // by call
    std::atomic<bool> isStopped{false};
    std::atomic<bool> syncsSkipped{false};
    std::atomic<std::size_t> readLimit{0};
    FileSystem* previous;
};

}  // namespace mernolex::test
