#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// Makes the replacements and removals of several files one unit: after a crash at any moment the
// next start sees all of them or none.
//
// While a transaction is active, every AtomicFile commit hands its contents to it and
// removeFileIfPresent only notes the removal. commit() then
//   1. appends the unit, with the whole new contents of its files, to the transaction log
//      (base/TransactionLog.h) and syncs the log: the commit point, one fdatasync;
//   2. writes the files in place and makes the removals, without syncing them.
// The log stays open: the files written since it was opened are made durable together, at a
// checkpoint (their fsyncs, then the log removed), once the log has grown past a limit, when a
// recovery runs and when the program ends (checkpoint()). A crash or power loss before that
// leaves the log, and recover() (run before anything reads the files) writes every unit in it
// again, in order, before its own checkpoint. While the log is open, every AtomicFile and
// removeFileIfPresent of this process goes through it (as a unit of its own when no transaction
// is active): a file written around the log could be put back to an older state by a replay.
//
// A journal of the earlier form (first line "MERNOLEX FILE TRANSACTION 1", renames of
// temporary files) left by a crash is still finished by recover().
//
// Single-threaded, like the rest of the program. A transaction begun while another is active joins
// it: its files and actions go to the active one, and its own commit reports DONE and leaves the
// outcome to the active one.
class FileTransaction {
public:
    enum class Outcome {
        NOTHING_CHANGED,  // the commit point was not reached: every file is as before
        DONE,             // every file is replaced or removed, and the unit is durable
        PENDING           // the commit point was passed but a later step or sync failed: the
                          // files may be all new already, but not durably; the log stays, and
                          // recover() (at the latest at the next start) finishes the unit
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

    // Runs `action` once the files are all in place (DONE): for bookkeeping that must not change
    // when the commit fails, such as clearing the marks of what still needs saving.
    void afterCommit(std::function<void()> action);

    bool isBlocked() const { return blocked; }

    // The active transaction (the outermost one begun and not yet destroyed), or null.
    static FileTransaction* active();

    // Finishes whatever a crash left in the log at `journalPath` and makes every file written
    // through it durable; true when no log is left (also when there was none). A log whose first
    // unit is damaged (no commit of ours wrote it whole) is removed without touching anything else.
    static bool recover(const std::string& journalPath);

    // True while this process has a log open: a file written since the last checkpoint may not
    // be durable yet. Its path is openLogPath().
    static bool logIsOpen();
    static const std::string& openLogPath();
    // Makes every file written through the open log durable and removes the log (for the end of
    // the program); true when no log is left open.
    static bool checkpoint();

    // For AtomicFile and removeFileIfPresent.
    void stageReplacement(const std::string& target, std::string contents);
    void stageRemoval(const std::string& path);

private:
    bool checkTargets();
    Outcome appendToLog();
    bool writeFiles();

    std::string journal;
    bool joined = false;  // begun while another was active: everything goes to that one
    std::vector<std::pair<std::string, std::string>> replaced;  // target, new contents
    std::unordered_map<std::string, std::size_t> replacedAt;   // target -> its place in `replaced`
    std::vector<std::string> removed;
    std::vector<bool> targetIsNew;  // for each replaced target: it did not exist at the commit
    std::vector<std::function<void()>> actions;
    bool blocked = false;
    bool finished = false;
};
