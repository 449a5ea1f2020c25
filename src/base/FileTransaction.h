#pragma once

#include <functional>
#include <string>
#include <vector>

// Makes the replacements and removals of several files one unit: after a crash at any moment the
// next start sees all of them or none. While a transaction is active, every AtomicFile commit
// only finishes and fsyncs its temporary file and hands it over, and removeFileIfPresent only
// notes the removal. commit() then, for more than one file,
//   1. fsyncs the directories of the temporary files,
//   2. writes the journal (through an AtomicFile, so it is never torn): the commit point,
//   3. renames every temporary file over its target and removes the noted files,
//   4. fsyncs the directories, removes the journal and fsyncs its directory.
// A crash before step 2 leaves only stray temporary files; a crash after it leaves the journal,
// and recover() (run before anything reads the files) finishes steps 3 and 4. Both are safe to
// repeat: a temporary file that is gone was renamed already. A unit of a single file needs no
// journal: its one rename (or removal) is atomic by itself.
//
// Journal, 8-bit text, one entry per line (paths never hold a line break):
//   "MERNOLEX FILE TRANSACTION 1"
//   "R <target>"   rename <target>.tmp over <target>
//   "D <path>"     remove <path>
//   "END <n>"      n = the number of R and D lines; a journal without it is not one of ours
//
// Single-threaded, like the rest of the program. A transaction begun while another is active joins
// it: its files and actions go to the active one, and its own commit reports DONE and leaves the
// outcome to the active one.
class FileTransaction {
public:
    enum class Outcome {
        NOTHING_CHANGED,  // the commit point was not reached: every file is as before
        DONE,             // every file is replaced or removed
        PENDING           // the commit point was passed but a later step or sync failed: the
                          // files may be all new already, but not durably; with a journal left
                          // in place, recover() or the next transaction finishes the unit
    };

    // Begins a transaction whose journal is `journalPath`, after finishing an interrupted one
    // found there. If that cannot be finished the transaction is blocked: it takes no files and
    // its commit changes nothing.
    explicit FileTransaction(std::string journalPath);
    FileTransaction(const FileTransaction&) = delete;
    FileTransaction& operator=(const FileTransaction&) = delete;
    // Without a commit, the temporary files handed over are removed and nothing changes.
    ~FileTransaction();

    Outcome commit();

    // Runs `action` once the files are all in place (DONE): for bookkeeping that must not change
    // when the commit fails, such as clearing the marks of what still needs saving.
    void afterCommit(std::function<void()> action);

    bool isBlocked() const { return blocked; }

    // The active transaction (the outermost one begun and not yet destroyed), or null.
    static FileTransaction* active();

    // Finishes a transaction interrupted after its commit point; true when no journal is left
    // (also when there was none) and its steps and removal are durable. A damaged journal, which
    // no commit of ours writes, is removed without touching anything else.
    static bool recover(const std::string& journalPath);

    // For AtomicFile and removeFileIfPresent.
    void stageReplacement(const std::string& target);
    void stageRemoval(const std::string& path);

    // What a journal lists: the targets to rename into place, then the files to remove.
    struct Steps {
        std::vector<std::string> replaced;
        std::vector<std::string> removed;
    };

private:
    Outcome commitSingleStep();
    Outcome commitThroughJournal();
    void discardTemporaries();

    std::string journal;
    bool joined = false;  // begun while another was active: everything goes to that one
    Steps steps;
    std::vector<std::function<void()>> actions;
    bool blocked = false;
    bool finished = false;
};
