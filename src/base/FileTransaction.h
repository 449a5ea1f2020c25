#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// Makes the replacements and removals of several files one unit: after a crash or a power loss at
// any moment the next start sees all of them or none.
//
// While a transaction is active, every AtomicFile commit hands its contents to it and
// removeFileIfPresent only notes the removal. commit() then
//   1. appends the unit, with the whole new contents of its files, to the transaction log
//      (base/TransactionLog.h) and syncs the log: the commit point, one fdatasync (a new log's
//      directory entry is synced before the unit is written into it);
//   2. writes the files in place and makes the removals, without syncing them.
// The log stays open: the files written since it was opened are made durable together, at a
// checkpoint (their fsyncs, their directories' fsyncs, then the log removed and its directory
// synced), once the log has grown past a limit, when a recovery runs and when the program ends
// (checkpoint()). A crash or power loss before that leaves the log, and recover() (run before
// anything reads the files) writes every unit in it again, in order, before its own checkpoint.
// While the log is open, every AtomicFile and removeFileIfPresent of this process goes through it
// (as a unit of its own when no transaction is active): a file written around the log could be
// put back to an older state by a replay.
//
// A failed fsync loses the data it was to make durable, and a later fsync of the same file may
// succeed without writing it (the system has already let go of it). So once a checkpoint's sync
// fails, the files are written again from the log (recover()) and synced before the log may go;
// until then the log stays and every unit goes through recovery first.
//
// A journal of the earlier form (first line "MERNOLEX FILE TRANSACTION 1", renames of
// temporary files) left by a crash is still finished by recover().
//
// Every file operation goes through the file system in use (base/FileSystem.h). Used from the
// window's thread only, like the rest of the program's saving (a streamed unit's append alone
// runs on a thread of its own, see beginStreamed). A transaction begun while another is active joins it:
// its files and actions go to the active one, and its own commit reports DONE and leaves the
// outcome to the active one.
class FileTransaction {
public:
    enum class Outcome {
        NOTHING_CHANGED,  // the commit point was not reached: nothing of the unit is in the log,
                          // every file is as before
        DONE,             // every file is replaced or removed (or, for a unit left to idle time,
                          // will be before anything can see it), and the unit is durable
        PENDING           // the unit is durable in the log, but a later step failed: the files
                          // may not all be new yet. The unit counts as done (a replay brings the
                          // files up to date: the next transaction, checkpoint or start).
    };

    // Begins a transaction whose log is `journalPath`, after finishing whatever a crash left
    // there. If that cannot be finished the transaction is blocked: it takes no files and its
    // commit changes nothing.
    explicit FileTransaction(std::string journalPath);
    FileTransaction(const FileTransaction&) = delete;
    FileTransaction& operator=(const FileTransaction&) = delete;
    // Without a commit nothing changes (nothing is on the disk before it).
    ~FileTransaction();

    Outcome commit();

    // Runs `action` once the unit is committed (DONE or PENDING): for bookkeeping that must not
    // change when nothing was committed, such as clearing the marks of what still needs saving.
    void afterCommit(std::function<void()> action);

    bool isBlocked() const { return blocked; }

    // The active transaction (the outermost one begun and not yet destroyed), or null.
    static FileTransaction* active();

    // How a recovery ended.
    enum class Recovery {
        DONE,         // no log is left (also when there was none)
        DAMAGE_KEPT,  // the log was damaged: it and the files the replay overwrote were kept
                      // first, only what could not put an older file over a newer one was
                      // replayed, and no log is left
        FAILED        // the log (or its replay) could not be read, written or synced: it stays
    };
    // Receives the paths of files a recovery is about to overwrite or remove (the log first) and
    // copies them somewhere durable; false when it could not.
    using KeepCopies = std::function<bool(const std::vector<std::string>& paths)>;

    // Finishes whatever a crash left in the log at `journalPath` (base/TransactionLog.h: whole
    // units are written again in order, a unit cut short at the end is ignored) and makes every
    // file written through it durable. A damaged log is handed to `keep` with the files its
    // replay would overwrite, then replayed from the first whole unit after the damage; without
    // `keep` a damaged log fails and stays.
    static Recovery recover(const std::string& journalPath, const KeepCopies& keep);
    // The same without a place to keep a damaged log; true when no log is left.
    static bool recover(const std::string& journalPath);

    // True while this process has a log open: a file written since the last checkpoint may not
    // be durable yet. Its path is openLogPath().
    static bool logIsOpen();
    static const std::string& openLogPath();
    // Makes every file written through the open log durable and removes the log (for the end of
    // the program); true when no log is left open.
    static bool checkpoint();
    // Forgets the open log without a checkpoint, as the end of the process would: for tests that
    // stop a run (as a crash or a power loss would) and start the next one in the same process.
    static void forgetOpenLog();

    // Idle time. With `askForIdleTime` set (by the program, on the window's thread), a unit of
    // many files is written in place after its commit point in idle slices (writePendingFiles)
    // instead of at once, and a checkpoint the log's size calls for runs there too, its sync on a
    // thread of its own. Anything that uses the file system on the window's thread meanwhile (a
    // load, a save, a reader of any file, a checkpoint) first finishes the writes and waits for
    // the sync (base/FileSystem.h, settleBeforeFileAccess). `askForIdleTime` is called whenever
    // such work appears. Empty (the default; the command line): every unit is written at once.
    static void setIdleWork(std::function<void()> askForIdleTime);
    // One slice: writes pending files until `deadline` (at least one) and then, once none is
    // left, a due checkpoint; true when the next slice has work to do at once (false also while
    // a sync runs: its thread asks for idle time again when it has returned).
    static bool writePendingFiles(std::chrono::steady_clock::time_point deadline);
    // The sizes that decide the above (tests make small saves take the paths of large ones).
    struct Limits {
        std::size_t deferredFromSteps = 256;         // files and removals of a unit left to idle time
        long long checkpointPastBytes = 4 << 20;     // a log past this is checkpointed
        std::size_t syncWholeFileSystemFrom = 64;    // files a checkpoint syncs with one syncfs
    };
    static void setLimits(const Limits& limits);
    // Files not yet written in place, a checkpoint due, or a sync running.
    static bool hasPendingWork();
    // The writes and removals not yet made in place.
    static std::size_t pendingFileSteps();
    // Writes every pending file and waits for a running sync (and finishes its checkpoint) now.
    static void finishPendingWork();

    // --- a large unit saved in steps the window paints between ---------------------------------
    // A unit whose staged files go straight to a spool beside the log (base/UnitSpool.h) instead
    // of memory, and whose commit (the append and the log's sync) runs on a thread of its own
    // (base/BackgroundAppend.h); what follows its commit point is done on the window's thread as
    // commit() does it. It is the active transaction only inside a StagingScope: between its
    // steps no other code sees it. While it is in flight, anything that uses the file system on
    // the window's thread (settleBeforeFileAccess) first calls `finishStaging` (which stages the
    // rest at once and calls commitInBackground()) and waits for the commit. Null while another
    // transaction is active or another such unit is in flight.
    static std::unique_ptr<FileTransaction> beginStreamed(std::string journalPath, std::function<void()> finishStaging);
    // Makes a streamed unit the active transaction for one step of staging.
    class StagingScope {
    public:
        explicit StagingScope(FileTransaction& unit);
        ~StagingScope();
        StagingScope(const StagingScope&) = delete;
        StagingScope& operator=(const StagingScope&) = delete;

    private:
        FileTransaction* previous;
        bool wasBusy;
    };
    // Everything is staged: the commit begins on its thread (inline in tests, see
    // BackgroundAppend::runInline).
    void commitInBackground();
    // The outcome once the commit's thread has returned (and what follows the commit point is
    // done); empty while staging or appending.
    std::optional<Outcome> streamedOutcome();
    // Stops the unit before its commit point: at once while staging; while appending, the
    // thread is asked to stop, and streamedOutcome() tells whether the commit point had passed.
    void cancelStreamed();

    // For AtomicFile and removeFileIfPresent.
    void stageReplacement(const std::string& target, std::string contents);
    void stageRemoval(const std::string& path);

private:
    struct Streaming;
    FileTransaction(std::string journalPath, std::function<void()> finishStaging);
    void beginTransaction();
    bool checkTarget(const std::string& target, bool& isNew);
    void stageStreamed(const std::string& target, const std::string& contents);
    bool startBackgroundAppend();
    void completeStreamed();
    void endStreamed(Outcome outcome);
    void finishCommit(Outcome& outcome);
    static void settleStreamed();
    static void abandonStreamed();

    bool checkTargets();
    Outcome appendToLog();
    bool appendUnit(int fd);
    bool writeFiles();
    void deferWrites();
    void runActions();

    std::string journal;
    bool joined = false;  // begun while another was active: everything goes to that one
    std::vector<std::pair<std::string, std::string>> replaced;  // target, new contents
    std::unordered_map<std::string, std::size_t> replacedAt;   // target -> its place in `replaced`
    std::vector<std::string> removed;
    std::vector<bool> targetIsNew;  // for each replaced target: it did not exist at the commit
    std::unordered_map<std::string, bool> directoryWritable;  // checked once per directory
    std::unique_ptr<Streaming> streaming;  // a streamed unit's state; null for the others
    off_t unitStart = 0;                   // where the unit begins in the log, once appended
    std::vector<std::function<void()>> actions;
    bool blocked = false;
    bool finished = false;
};
