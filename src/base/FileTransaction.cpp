#include "base/FileTransaction.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <optional>
#include <set>
#include <sstream>

#include "base/AtomicFile.h"
#include "base/BackgroundAppend.h"
#include "base/BackgroundSync.h"
#include "base/FileDescriptor.h"
#include "base/FileSystem.h"
#include "base/InPlaceFiles.h"
#include "base/PendingFileWrites.h"
#include "base/TransactionLog.h"
#include "base/UnitSpool.h"
#include "base/WindowThreadTasks.h"

namespace {

FileTransaction* activeTransaction = nullptr;

// The streamed unit between its begin and its outcome (FileTransaction::beginStreamed), and how
// a settling finishes it.
FileTransaction* streamedInFlight = nullptr;
void (*settleStreamedUnit)() = nullptr;

// A log grown past this is checkpointed after the commit that grew it: recovery then has little
// to write again, and the fsyncs of the files written meanwhile are paid once for many units.
off_t checkpointPast = FileTransaction::Limits{}.checkpointPastBytes;

// The log this process appends to, and what it has written in place since the log was opened.
struct OpenLog {
    std::string path;  // empty: none open
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;  // the bytes of the whole units appended
    // A unit was logged but not all of it written in place, or a sync of a checkpoint failed:
    // the files must be written again from the log (recover) before the log may go.
    bool needsRecovery = false;
    // The log may hold bytes past `size` that no commit reported (an append whose sync failed
    // and that could not be cut off again): a replay in this process stops at `size`.
    bool replayOnlyToSize = false;
    // The log is removed, but its directory could not be synced: the removal may not survive a
    // power loss, and until it does no other file may be written around the log.
    bool removalUnsynced = false;
    std::set<std::string> files;        // written in place
    std::set<std::string> directories;  // where files were created or removed
};

OpenLog openLog;

OpenLog logAt(const std::string& path, dev_t device = 0, ino_t inode = 0) {
    OpenLog log;
    log.path = path;
    log.device = device;
    log.inode = inode;
    return log;
}

bool sameFile(const std::string& path, const OpenLog& log) {
    struct stat status {};
    return fileSystem().statusOf(path.c_str(), status) == 0 && status.st_dev == log.device &&
           status.st_ino == log.inode;
}

// The open log is still ours and whole: the file at `path` is the one this process appended to,
// ending with its last whole unit (another process, a restored copy or a torn append leave
// something else, which only recovery may use).
bool isOurs(const std::string& path) {
    if (openLog.path.empty() || openLog.path != path || openLog.needsRecovery || openLog.removalUnsynced) {
        return false;
    }
    struct stat status {};
    return fileSystem().statusOf(path.c_str(), status) == 0 && status.st_dev == openLog.device &&
           status.st_ino == openLog.inode && status.st_size == openLog.size;
}

// A directory removed since (with everything in it) has nothing left to make durable.
bool syncDirectoryIfPresent(const std::string& directory) {
    return syncDirectory(directory) || (!directory.empty() && !pathExists(directory));
}

// From this many files on, a checkpoint makes them durable with one syncfs per file system: an
// fsync each costs a journal commit each, and a large save (an import of ten thousand rows writes
// ten thousand files) then waited tens of seconds for them.
std::size_t wholeFileSystemFrom = FileTransaction::Limits{}.syncWholeFileSystemFrom;

// Opens one directory on every file system holding a directory of the files written or of the
// directories changed (a directory that is gone holds nothing to make durable): a syncfs of each
// makes all of them durable.
bool holdFileSystemsOfOpenLog(std::vector<FileDescriptor>& held) {
    std::set<std::string> directories = openLog.directories;
    for (const std::string& file : openLog.files) {
        directories.insert(directoryOf(file));
    }
    std::set<dev_t> devices;
    for (const std::string& directory : directories) {
        FileDescriptor opened = FileDescriptor::open(directory.empty() ? "." : directory, O_RDONLY | O_DIRECTORY);
        if (!opened.isOpen()) {
            if (errno == ENOENT) {
                continue;
            }
            return false;
        }
        struct stat status {};
        if (fileSystem().status(opened.get(), status) != 0) {
            return false;
        }
        if (devices.insert(status.st_dev).second) {
            held.push_back(std::move(opened));
        }
    }
    return true;
}

bool syncFileSystemsOfOpenLog() {
    std::vector<FileDescriptor> held;
    return holdFileSystemsOfOpenLog(held) && std::all_of(held.begin(), held.end(), [](const FileDescriptor& fd) {
               return fileSystem().syncFileSystem(fd.get()) == 0;
           });
}

bool syncFilesOfOpenLog() {
    if (openLog.files.size() >= wholeFileSystemFrom) {
        return syncFileSystemsOfOpenLog();
    }
    return std::all_of(openLog.files.begin(), openLog.files.end(), syncFileIfPresent) &&
           std::all_of(openLog.directories.begin(), openLog.directories.end(), syncDirectoryIfPresent);
}

// Fsyncs what the open log wrote in place and removes the log. Nothing is forgotten on failure:
// the log still repeats every unit. After a failed sync the files are written again from the log
// before the log may go (the next checkpoint, transaction or start recovers it).
bool checkpointOpenLog() {
    if (openLog.path.empty()) {
        return true;
    }
    if (openLog.removalUnsynced) {
        if (!syncDirectoryOf(openLog.path)) {
            return false;
        }
        openLog = OpenLog{};
        return true;
    }
    if (!syncFilesOfOpenLog()) {
        openLog.needsRecovery = true;
        return false;
    }
    if (!removeFileNow(openLog.path)) {
        return false;
    }
    if (!syncDirectoryOf(openLog.path)) {
        openLog.removalUnsynced = true;
        return false;
    }
    openLog = OpenLog{};
    return true;
}

// --- the journal of the earlier form, which renamed temporary files -----------------------------

constexpr const char* LEGACY_HEADER = "MERNOLEX FILE TRANSACTION 1";

struct LegacySteps {
    std::vector<std::string> replaced;
    std::vector<std::string> removed;
};

bool parseLegacyJournal(const std::string& text, LegacySteps& steps) {
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || line != LEGACY_HEADER) {
        return false;
    }
    while (std::getline(lines, line)) {
        if (line.rfind("END ", 0) == 0) {
            std::string rest;
            const std::size_t count = steps.replaced.size() + steps.removed.size();
            return line == "END " + std::to_string(count) && !std::getline(lines, rest);
        }
        if (line.size() < 3 || (line[0] != 'R' && line[0] != 'D') || line[1] != ' ') {
            return false;
        }
        (line[0] == 'R' ? steps.replaced : steps.removed).push_back(line.substr(2));
    }
    return false;
}

// Renames, then removals, then the directory syncs that make them durable; a temporary file that
// is gone was renamed before.
bool applyLegacySteps(const LegacySteps& steps) {
    std::set<std::string> directories;
    for (const std::string& target : steps.replaced) {
        if (pathExists(AtomicFile::temporaryNameFor(target)) && !renameTemporaryOver(target)) {
            return false;
        }
        directories.insert(directoryOf(target));
    }
    for (const std::string& path : steps.removed) {
        if (!removeFileNow(path)) {
            return false;
        }
        directories.insert(directoryOf(path));
    }
    return std::all_of(directories.begin(), directories.end(), syncDirectory);
}

// --- replay -------------------------------------------------------------------------------------

// Writes every unit from `first` on again, in order, and syncs what it wrote: each file whole,
// so that no data a failed sync let go of is left to a later sync.
bool replay(const std::vector<LogUnit>& units, std::size_t first) {
    std::set<std::string> files;
    std::set<std::string> directories;
    for (std::size_t u = first; u < units.size(); ++u) {
        for (const auto& [path, contents] : units[u].written) {
            if (!overwriteFile(path, contents)) {
                return false;
            }
            files.insert(path);
            directories.insert(directoryOf(path));
        }
        for (const std::string& path : units[u].removed) {
            if (!removeFileNow(path)) {
                return false;
            }
            directories.insert(directoryOf(path));
        }
    }
    return std::all_of(files.begin(), files.end(), syncFileIfPresent) &&
           std::all_of(directories.begin(), directories.end(), syncDirectoryIfPresent);
}

// The log itself and every existing file that replaying units[first...] overwrites or removes.
std::vector<std::string> filesTouchedByReplay(const std::string& journalPath, const LogContents& contents) {
    std::vector<std::string> paths{journalPath};
    std::set<std::string> seen;
    const auto add = [&](const std::string& path) {
        if (seen.insert(path).second && pathExists(path)) {
            paths.push_back(path);
        }
    };
    for (std::size_t u = contents.replayFrom; u < contents.units.size(); ++u) {
        for (const auto& entry : contents.units[u].written) {
            add(entry.first);
        }
        for (const std::string& path : contents.units[u].removed) {
            add(path);
        }
    }
    return paths;
}

FileTransaction::Recovery replayLog(const std::string& journalPath, const std::string& text,
                                    const FileTransaction::KeepCopies& keep) {
    using Recovery = FileTransaction::Recovery;
    if (text.rfind(LEGACY_HEADER, 0) == 0) {
        LegacySteps steps;
        // The journal must be durable before any of its renames is: a commit whose directory
        // sync failed left it in place without that.
        if (parseLegacyJournal(text, steps) && (!syncDirectoryOf(journalPath) || !applyLegacySteps(steps))) {
            return Recovery::FAILED;
        }
        return Recovery::DONE;
    }
    const LogContents contents = transaction_log::read(text);
    if (contents.damaged && (!keep || !keep(filesTouchedByReplay(journalPath, contents)))) {
        return Recovery::FAILED;
    }
    if (!replay(contents.units, contents.damaged ? contents.replayFrom : 0)) {
        return Recovery::FAILED;
    }
    return contents.damaged ? Recovery::DAMAGE_KEPT : Recovery::DONE;
}

}  // namespace

namespace {

// Makes the open log durable and removes it: a checkpoint while it is whole and ours, a recovery
// (its files written again from it) once a step or sync after its commit failed.
bool closeOpenLog() {
    if (openLog.path.empty()) {
        return true;
    }
    if (isOurs(openLog.path) || openLog.removalUnsynced) {
        return checkpointOpenLog();
    }
    const std::string path = openLog.path;  // recovery resets openLog
    return FileTransaction::recover(path);
}

}  // namespace

namespace {

// --- in-place writes and checkpoints left for idle time ------------------------------------------

// From this many files and removals on, a unit's in-place writes wait for idle time (when the
// program gives it): an import's ten thousand files took over a second to create, and the window
// stood still for all of it although the save was done at its commit point.
std::size_t deferredFrom = FileTransaction::Limits{}.deferredFromSteps;

using Clock = std::chrono::steady_clock;

// The window's thread only (the sync's thread touches none of it).
struct IdleWork {
    std::function<void()> askForIdleTime;  // empty: every unit is written in place at once
    PendingFileWrites queue;
    bool checkpointDue = false;  // the log is past its limit: a checkpoint once the queue is empty
    BackgroundSync sync;
    std::vector<FileDescriptor> held;  // what the sync syncs the file systems of
    off_t logSizeAtSync = 0;
    bool busy = false;  // inside a slice or a settling: the file system lets its own calls through
};

IdleWork idle;

void settlePendingWork();

// While files may be behind the log, or a sync runs that could still decide its removal, every
// use of the file system finishes that first.
void updateFileAccessGate() {
    const bool inFlight = !idle.queue.empty() || idle.sync.started() || streamedInFlight != nullptr;
    settleBeforeFileAccess(inFlight ? settlePendingWork : nullptr);
}

void dropPendingWrites() {
    idle.queue.clear();
    idle.checkpointDue = false;
    openLog.needsRecovery = true;  // the next transaction, checkpoint or start writes them again
}

// The sync of a background checkpoint has returned (or is waited for here). The log goes only if
// it made every file durable and no unit was appended since it began (whose files it may have
// missed); otherwise the log stays for the next checkpoint, or for a recovery after a failure.
void finishBackgroundCheckpoint() {
    if (!idle.sync.started()) {
        return;
    }
    const bool synced = idle.sync.join();
    idle.held.clear();
    if (!synced) {
        openLog.needsRecovery = true;
        return;
    }
    if (openLog.size != idle.logSizeAtSync || !isOurs(openLog.path)) {
        return;
    }
    if (!removeFileNow(openLog.path)) {
        return;
    }
    if (!syncDirectoryOf(openLog.path)) {
        openLog.removalUnsynced = true;
        return;
    }
    openLog = OpenLog{};
}

void askForIdleTimeIfSyncWaits() {
    if (idle.sync.started() && idle.askForIdleTime) {
        idle.askForIdleTime();
    }
}

// A checkpoint of the open log whose syncfs runs on a thread of its own; one with few files to
// fsync (or only a removal to make durable) is done at once.
void startCheckpoint() {
    if (!isOurs(openLog.path) && !openLog.removalUnsynced) {
        return;  // a failed step or a changed log: the next transaction or start recovers it
    }
    if (openLog.removalUnsynced || openLog.files.size() < wholeFileSystemFrom) {
        (void)checkpointOpenLog();
        return;
    }
    if (!holdFileSystemsOfOpenLog(idle.held)) {
        idle.held.clear();
        openLog.needsRecovery = true;
        return;
    }
    std::vector<int> descriptors;
    for (const FileDescriptor& held : idle.held) {
        descriptors.push_back(held.get());
    }
    idle.logSizeAtSync = openLog.size;
    idle.sync.start(fileSystem(), std::move(descriptors),
                    [] { window_thread::post(askForIdleTimeIfSyncWaits); });
}

// One slice of idle work; true when the next slice has something to do at once.
bool runIdleSlice(Clock::time_point deadline) {
    if (!idle.queue.empty()) {
        switch (idle.queue.writeUntil(deadline)) {
        case PendingFileWrites::Progress::MORE_LEFT:
            return true;
        case PendingFileWrites::Progress::FAILED:
            dropPendingWrites();
            return false;
        case PendingFileWrites::Progress::ALL_DONE:
            break;
        }
        if (Clock::now() >= deadline) {
            return idle.checkpointDue;
        }
    }
    if (idle.sync.started()) {
        if (!idle.sync.finished()) {
            return false;  // its thread asks for idle time again once it has returned
        }
        finishBackgroundCheckpoint();
        return false;
    }
    if (idle.checkpointDue) {
        idle.checkpointDue = false;
        startCheckpoint();
        return idle.sync.started() && idle.sync.finished();  // ran inline: finished next slice
    }
    return false;
}

// Finishes at once what idle time has not done yet: every pending in-place write, and a
// background checkpoint's sync (waited for) with the log's removal. A checkpoint that is due but
// not begun stays due.
void settlePendingWork() {
    if (idle.busy) {
        return;
    }
    idle.busy = true;
    if (streamedInFlight != nullptr) {
        settleStreamedUnit();
    }
    if (!idle.queue.empty() && idle.queue.writeUntil(Clock::time_point::max()) == PendingFileWrites::Progress::FAILED) {
        dropPendingWrites();
    }
    finishBackgroundCheckpoint();
    idle.busy = false;
    updateFileAccessGate();
}

// The file system's own calls of a step of this file's work pass the gate (which would otherwise
// settle the very work that makes them).
class BusyWhile {
public:
    BusyWhile() : was(idle.busy) { idle.busy = true; }
    ~BusyWhile() {
        idle.busy = was;
        updateFileAccessGate();
    }
    BusyWhile(const BusyWhile&) = delete;
    BusyWhile& operator=(const BusyWhile&) = delete;

private:
    bool was;
};

}  // namespace

struct FileTransaction::Streaming {
    UnitSpool spool;
    BackgroundAppend append;
    std::optional<FileDescriptor> log;  // open while the append runs
    bool created = false;               // the append made the log
    dev_t device = 0;
    ino_t inode = 0;
    off_t before = 0;  // the log's size before the unit
    std::size_t headerSize = 0;
    std::function<void()> finishStaging;
    bool staged = false;  // commitInBackground was called
    bool failed = false;  // a target could not be checked or spooled: nothing will be committed
    std::optional<Outcome> outcome;
};

bool FileTransaction::writePendingFiles(std::chrono::steady_clock::time_point deadline) {
    if (idle.busy) {
        return false;
    }
    idle.busy = true;
    const bool more = runIdleSlice(deadline);
    idle.busy = false;
    updateFileAccessGate();
    return more;
}

void FileTransaction::setLimits(const Limits& limits) {
    deferredFrom = limits.deferredFromSteps;
    checkpointPast = limits.checkpointPastBytes;
    wholeFileSystemFrom = limits.syncWholeFileSystemFrom;
}

std::size_t FileTransaction::pendingFileSteps() {
    return idle.queue.size();
}

bool FileTransaction::hasPendingWork() {
    return !idle.queue.empty() || idle.checkpointDue || idle.sync.started();
}

// The file system's gate does it, on the thread that has work pending only (a reader on another
// thread reads no file of the log's).
void FileTransaction::finishPendingWork() {
    (void)fileSystem();
}

void FileTransaction::setIdleWork(std::function<void()> askForIdleTime) {
    settlePendingWork();
    idle.askForIdleTime = std::move(askForIdleTime);
}

FileTransaction::FileTransaction(std::string journalPath) : journal(std::move(journalPath)) {
    if (activeTransaction != nullptr) {
        joined = true;
        return;
    }
    beginTransaction();
    activeTransaction = this;
}

void FileTransaction::beginTransaction() {
    settlePendingWork();
    if (!isOurs(journal)) {
        // One log at a time: another one open is made durable and closed first.
        blocked = (openLog.path != journal && !closeOpenLog()) || !recover(journal);
    }
}

FileTransaction::~FileTransaction() {
    if (streaming) {
        if (!streaming->outcome) {
            cancelStreamed();
        }
        if (!streaming->outcome) {
            completeStreamed();  // the append had begun: it may have passed its commit point
        }
        return;
    }
    if (joined) {
        return;
    }
    activeTransaction = nullptr;
}

FileTransaction* FileTransaction::active() {
    return activeTransaction;
}

// A target staged twice is written twice, in order, by the commit and by a replay alike: the
// later contents win either way.
// A file staged twice (a table saved twice in one unit, as the answer history is with the cards)
// is written once, with the later contents.
void FileTransaction::stageReplacement(const std::string& target, std::string contents) {
    if (streaming) {
        stageStreamed(target, contents);
        return;
    }
    const auto [at, isNew] = replacedAt.try_emplace(target, replaced.size());
    if (!isNew) {
        replaced[at->second].second = std::move(contents);
        return;
    }
    replaced.emplace_back(target, std::move(contents));
}

// A removal noted twice (by several tables of one save) is one removal.
void FileTransaction::stageRemoval(const std::string& path) {
    if (std::find(removed.begin(), removed.end(), path) == removed.end()) {
        removed.push_back(path);
    }
}

void FileTransaction::afterCommit(std::function<void()> action) {
    if (joined && activeTransaction != nullptr) {
        activeTransaction->afterCommit(std::move(action));
        return;
    }
    actions.push_back(std::move(action));
}

bool FileTransaction::logIsOpen() {
    settlePendingWork();
    if (openLog.path.empty()) {
        return false;
    }
    if (!openLog.removalUnsynced && !isOurs(openLog.path) && !pathExists(openLog.path)) {
        openLog = OpenLog{};  // removed under us (a test clearing its directory): nothing to repeat
        return false;
    }
    return true;
}

const std::string& FileTransaction::openLogPath() {
    return openLog.path;
}

bool FileTransaction::checkpoint() {
    settlePendingWork();
    idle.checkpointDue = false;
    return closeOpenLog();
}

void FileTransaction::forgetOpenLog() {
    idle.busy = true;
    abandonStreamed();
    idle.queue.clear();
    idle.busy = false;
    idle.checkpointDue = false;
    if (idle.sync.started()) {
        idle.sync.join();
        idle.held.clear();
    }
    updateFileAccessGate();
    openLog = OpenLog{};
}

FileTransaction::Outcome FileTransaction::commit() {
    if (streaming) {
        commitInBackground();
        if (!streaming->outcome) {
            completeStreamed();
        }
        return *streaming->outcome;
    }
    if (joined) {
        return Outcome::DONE;
    }
    if (finished || blocked) {
        return Outcome::NOTHING_CHANGED;
    }
    Outcome outcome = Outcome::DONE;
    if (!replaced.empty() || !removed.empty()) {
        if (!checkTargets() || appendToLog() == Outcome::NOTHING_CHANGED) {
            return Outcome::NOTHING_CHANGED;
        }
        if (idle.askForIdleTime && replaced.size() + removed.size() >= deferredFrom) {
            deferWrites();
        } else if (!writeFiles()) {
            openLog.needsRecovery = true;  // the next transaction repeats the log first
            outcome = Outcome::PENDING;
        }
    }
    finishCommit(outcome);
    return outcome;
}

// What follows the commit point (or a unit with nothing to commit).
void FileTransaction::finishCommit(Outcome& outcome) {
    finished = true;
    runActions();
    if (outcome == Outcome::DONE && openLog.size > checkpointPast) {
        // The unit is durable in the log either way; the program leaves the sync to idle time.
        if (idle.askForIdleTime) {
            idle.checkpointDue = true;
        } else {
            (void)checkpointOpenLog();
        }
    }
    updateFileAccessGate();
    if (idle.askForIdleTime && hasPendingWork()) {
        idle.askForIdleTime();
    }
}

void FileTransaction::runActions() {
    for (const std::function<void()>& action : actions) {
        action();
    }
}

// Everything that can be checked before the commit point is: a target that could not be written
// afterwards would leave a logged unit that not even recovery can finish. (The files are opened
// only to be written: a save of every table replaces tens of thousands.) One call per target: a
// writable file answers at once, a missing one is checked through its directory, once per
// directory (an import creates ten thousand files in a few).
bool FileTransaction::checkTargets() {
    targetIsNew.clear();
    for (const auto& [target, contents] : replaced) {
        bool isNew = false;
        if (!checkTarget(target, isNew)) {
            return false;
        }
        targetIsNew.push_back(isNew);
    }
    return std::all_of(removed.begin(), removed.end(), transaction_log::canHold) && transaction_log::canHold(journal);
}

bool FileTransaction::checkTarget(const std::string& target, bool& isNew) {
    FileSystem& files = fileSystem();
    if (!transaction_log::canHold(target)) {
        return false;
    }
    isNew = files.access(target.c_str(), W_OK) != 0;
    if (!isNew) {
        return true;
    }
    if (errno != ENOENT) {
        return false;  // there but not writable, or its path is not a directory's
    }
    const std::string directory = directoryOf(target);
    const auto [known, unseen] = directoryWritable.try_emplace(directory, false);
    if (unseen) {
        known->second = files.access(directory.empty() ? "." : directory.c_str(), W_OK) == 0;
    }
    return known->second;
}

namespace {

// Opens the log to append to it. A new log's directory entry is made durable before anything is
// written into it: a unit in a log whose entry could vanish in a power loss is not committed.
// (A new log never replaces one: recovery has removed any before.)
FileDescriptor openLogForAppend(const std::string& journal, bool create) {
    FileDescriptor log = FileDescriptor::open(journal, O_WRONLY | O_APPEND | (create ? O_CREAT | O_EXCL : 0), 0666);
    if (log.isOpen() && create && !syncDirectoryOf(journal)) {
        log.close();
        removeFileNow(journal);
        return FileDescriptor();
    }
    return log;
}

// After an append whose write or sync failed and that could not be cut off again: the bytes past
// the last whole unit were never committed, so no replay of this process may repeat them.
void distrustLogTail(const std::string& journal) {
    if (openLog.path.empty()) {
        struct stat status {};
        fileSystem().statusOf(journal.c_str(), status);
        openLog = logAt(journal, status.st_dev, status.st_ino);
    }
    openLog.needsRecovery = true;
    openLog.replayOnlyToSize = true;
}

}  // namespace

// Appends the unit and syncs it: DONE at the commit point, NOTHING_CHANGED when the unit is not
// durably in the log (and, as far as this process can see to it, not in it at all).
FileTransaction::Outcome FileTransaction::appendToLog() {
    FileSystem& files = fileSystem();
    const bool created = openLog.path.empty();
    FileDescriptor log = openLogForAppend(journal, created);
    if (!log.isOpen()) {
        return Outcome::NOTHING_CHANGED;
    }
    const off_t before = created ? 0 : openLog.size;
    unitStart = before;
    struct stat status {};
    if (!appendUnit(log.get()) || !syncDataOf(log.get()) || files.status(log.get(), status) != 0) {
        // A unit not durably in the log must not be repeated by a later recovery either.
        const bool undone = files.truncate(log.get(), before) == 0;
        log.close();
        if (!undone && !(created && removeFileNow(journal))) {
            distrustLogTail(journal);
        } else if (created) {
            removeFileNow(journal);
        }
        return Outcome::NOTHING_CHANGED;
    }
    log.close();  // the sync has made the unit durable: what close reports changes nothing
    if (created) {
        openLog = logAt(journal, status.st_dev, status.st_ino);
    }
    openLog.size = status.st_size;
    return Outcome::DONE;
}

// Writes the unit through a buffer of its own size at most: the staged contents are the only
// whole copy of what the unit writes.
bool FileTransaction::appendUnit(int fd) {
    constexpr std::size_t BUFFER = 1 << 20;
    LogUnit unit;
    unit.written = std::move(replaced);
    unit.removed = removed;
    std::string buffer;
    buffer.reserve(BUFFER);
    bool written = true;
    const auto flush = [&] {
        written = written && writeAll(fd, buffer);
        buffer.clear();
    };
    transaction_log::encodeInPieces(unit, [&](std::string_view bytes) {
        if (buffer.size() + bytes.size() > BUFFER) {
            flush();
        }
        if (bytes.size() >= BUFFER) {
            written = written && writeAll(fd, bytes);
        } else {
            buffer += bytes;
        }
    });
    flush();
    replaced = std::move(unit.written);
    return written;
}

// The unit's files are written in idle time (writePendingFiles), or before anything uses the
// file system again: what they replace can be seen by nobody meanwhile.
// Each file is queued as where its contents lie in the log, which idle time reads back: the
// contents themselves are let go at once.
void FileTransaction::deferWrites() {
    std::size_t body = 0;
    for (const auto& [path, contents] : replaced) {
        body += transaction_log::entryLine(path, contents.size()).size() + contents.size();
    }
    for (const std::string& path : removed) {
        body += transaction_log::removalLine(path).size();
    }
    off_t at = unitStart + static_cast<off_t>(transaction_log::headerLine(body, replaced.size() + removed.size()).size());
    std::vector<PendingFileWrites::Logged> logged;
    logged.reserve(replaced.size());
    for (std::size_t i = 0; i < replaced.size(); ++i) {
        const auto& [path, contents] = replaced[i];
        if (targetIsNew[i]) {
            openLog.directories.insert(directoryOf(path));
        }
        openLog.files.insert(path);
        at += static_cast<off_t>(transaction_log::entryLine(path, contents.size()).size());
        logged.push_back({path, at, contents.size()});
        at += static_cast<off_t>(contents.size());
    }
    for (const std::string& path : removed) {
        openLog.directories.insert(directoryOf(path));
    }
    idle.queue.addFromLog(journal, logged, removed);
    replaced = {};
}

bool FileTransaction::writeFiles() {
    for (std::size_t i = 0; i < replaced.size(); ++i) {
        const std::string& target = replaced[i].first;
        if (targetIsNew[i]) {
            openLog.directories.insert(directoryOf(target));
        }
        openLog.files.insert(target);
        if (!overwriteFile(target, replaced[i].second)) {
            return false;
        }
    }
    for (const std::string& path : removed) {
        openLog.directories.insert(directoryOf(path));
        if (!removeFileNow(path)) {
            return false;
        }
    }
    return true;
}

FileTransaction::Recovery FileTransaction::recover(const std::string& journalPath, const KeepCopies& keep) {
    settlePendingWork();
    if (isOurs(journalPath)) {
        return checkpointOpenLog() ? Recovery::DONE : Recovery::FAILED;
    }
    const bool ours = openLog.path == journalPath;
    if (ours && openLog.removalUnsynced) {
        return checkpointOpenLog() ? Recovery::DONE : Recovery::FAILED;
    }
    std::string text;
    switch (readWholeFile(journalPath, text)) {
    case ReadResult::ABSENT:
        if (ours) {
            openLog = OpenLog{};
        }
        return Recovery::DONE;
    case ReadResult::FAILED:
        // A log that is there but cannot be read may hold committed units: nothing may read the
        // files it would write again, nor write around it.
        if (openLog.path.empty()) {
            openLog = logAt(journalPath);
        }
        if (openLog.path == journalPath) {
            openLog.needsRecovery = true;
        }
        return Recovery::FAILED;
    case ReadResult::READ:
        break;
    }
    if (ours && openLog.replayOnlyToSize && sameFile(journalPath, openLog) &&
        text.size() > static_cast<std::size_t>(openLog.size)) {
        text.resize(static_cast<std::size_t>(openLog.size));
    }
    const Recovery replayed = replayLog(journalPath, text, keep);
    // A log left in place (or whose removal may not last) still repeats units: while this
    // process knows of no other log, every write goes through it (base/AtomicFile.h).
    const bool track = ours || openLog.path.empty();
    if (replayed == Recovery::FAILED || !removeFileNow(journalPath)) {
        if (track) {
            if (!ours) {
                openLog = logAt(journalPath);
            }
            openLog.needsRecovery = true;
        }
        return Recovery::FAILED;
    }
    if (!syncDirectoryOf(journalPath)) {
        if (track) {
            openLog = logAt(journalPath);
            openLog.removalUnsynced = true;
        }
        return Recovery::FAILED;
    }
    if (ours) {
        openLog = OpenLog{};
    }
    return replayed;
}

bool FileTransaction::recover(const std::string& journalPath) {
    return recover(journalPath, KeepCopies()) != Recovery::FAILED;
}

// --- a large unit streamed into the log, committed on a thread of its own ----------------------


FileTransaction::FileTransaction(std::string journalPath, std::function<void()> finishStaging)
    : journal(std::move(journalPath)), streaming(std::make_unique<Streaming>()) {
    streaming->finishStaging = std::move(finishStaging);
    beginTransaction();
    BusyWhile busy;
    streaming->failed = blocked || !streaming->spool.open(AtomicFile::temporaryNameFor(journal));
    streamedInFlight = this;
    settleStreamedUnit = [] { settleStreamed(); };
}

std::unique_ptr<FileTransaction> FileTransaction::beginStreamed(std::string journalPath,
                                                                std::function<void()> finishStaging) {
    if (activeTransaction != nullptr || streamedInFlight != nullptr) {
        return nullptr;
    }
    return std::unique_ptr<FileTransaction>(new FileTransaction(std::move(journalPath), std::move(finishStaging)));
}

FileTransaction::StagingScope::StagingScope(FileTransaction& unit) : previous(activeTransaction), wasBusy(idle.busy) {
    activeTransaction = &unit;
    idle.busy = true;
}

FileTransaction::StagingScope::~StagingScope() {
    activeTransaction = previous;
    idle.busy = wasBusy;
    updateFileAccessGate();
}

// Checked as each file is staged: a target that could not be written after the commit point
// would leave a unit that not even recovery can finish.
void FileTransaction::stageStreamed(const std::string& target, const std::string& contents) {
    bool isNew = false;
    streaming->failed = streaming->failed || !checkTarget(target, isNew) || !streaming->spool.add(target, contents, isNew);
}

void FileTransaction::commitInBackground() {
    if (!streaming || streaming->staged) {
        return;
    }
    BusyWhile busy;
    streaming->staged = true;
    const bool checked = !blocked && !streaming->failed && transaction_log::canHold(journal) &&
                         std::all_of(removed.begin(), removed.end(), transaction_log::canHold);
    if (checked && streaming->spool.entries().empty() && removed.empty()) {
        endStreamed(Outcome::DONE);
        return;
    }
    if (!checked || !startBackgroundAppend()) {
        endStreamed(Outcome::NOTHING_CHANGED);
    }
}

bool FileTransaction::startBackgroundAppend() {
    Streaming& s = *streaming;
    FileSystem& files = fileSystem();
    if (!s.spool.flush()) {
        return false;
    }
    s.created = openLog.path.empty();
    s.log.emplace(openLogForAppend(journal, s.created));
    struct stat status {};
    if (!s.log->isOpen() || files.status(s.log->get(), status) != 0) {
        s.log.reset();
        return false;
    }
    s.device = status.st_dev;
    s.inode = status.st_ino;
    s.before = s.created ? 0 : openLog.size;
    std::string removals;
    for (const std::string& path : removed) {
        removals += transaction_log::removalLine(path);
    }
    const std::size_t entries = s.spool.entries().size() + removed.size();
    s.headerSize = transaction_log::headerLine(static_cast<std::size_t>(s.spool.size()) + removals.size(), entries).size();
    const BackgroundAppend::Unit unit{s.log->get(), s.before, s.spool.descriptor(), s.spool.size(), std::move(removals),
                                      entries};
    // The window's thread learns of the end at its next message: the wake brings one.
    s.append.start(files, unit, [] { window_thread::post([] {}); });
    return true;
}

std::optional<FileTransaction::Outcome> FileTransaction::streamedOutcome() {
    if (!streaming) {
        return std::nullopt;
    }
    if (!streaming->outcome && streaming->staged && streaming->append.finished()) {
        completeStreamed();
    }
    return streaming->outcome;
}

void FileTransaction::cancelStreamed() {
    if (!streaming || streaming->outcome) {
        return;
    }
    if (!streaming->staged) {
        BusyWhile busy;
        streaming->staged = true;
        endStreamed(Outcome::NOTHING_CHANGED);
        return;
    }
    streaming->append.cancel();
}

// Waits for the append (if any), then does what follows the commit point, as commit() does: the
// unit's files are queued for idle time (their contents read back from the log), or written at
// once without it.
void FileTransaction::completeStreamed() {
    Streaming& s = *streaming;
    BusyWhile busy;
    if (!s.append.started()) {
        endStreamed(Outcome::NOTHING_CHANGED);
        return;
    }
    off_t size = 0;
    const BackgroundAppend::Result result = s.append.join(size);
    s.log.reset();
    if (result != BackgroundAppend::Result::COMMITTED) {
        // As appendToLog: a unit not durably in the log must not be repeated by a later recovery.
        const bool undone = result == BackgroundAppend::Result::NOT_COMMITTED;
        if (!undone && !(s.created && removeFileNow(journal))) {
            distrustLogTail(journal);
        } else if (s.created) {
            removeFileNow(journal);
        }
        endStreamed(Outcome::NOTHING_CHANGED);
        return;
    }
    if (s.created) {
        openLog = logAt(journal, s.device, s.inode);
    }
    openLog.size = size;
    const off_t contentsAt = s.before + static_cast<off_t>(s.headerSize);
    std::vector<PendingFileWrites::Logged> logged;
    logged.reserve(s.spool.entries().size());
    for (const UnitSpool::Entry& entry : s.spool.entries()) {
        if (entry.targetIsNew) {
            openLog.directories.insert(directoryOf(entry.path));
        }
        openLog.files.insert(entry.path);
        logged.push_back({entry.path, contentsAt + entry.offset, entry.size});
    }
    for (const std::string& path : removed) {
        openLog.directories.insert(directoryOf(path));
    }
    idle.queue.addFromLog(journal, logged, removed);
    Outcome outcome = Outcome::DONE;
    const bool deferred = idle.askForIdleTime && logged.size() + removed.size() >= deferredFrom;
    if (!deferred && idle.queue.writeUntil(Clock::time_point::max()) == PendingFileWrites::Progress::FAILED) {
        dropPendingWrites();
        outcome = Outcome::PENDING;
    }
    endStreamed(outcome);
}

void FileTransaction::endStreamed(Outcome outcome) {
    streaming->spool.discard();
    streaming->outcome = outcome;
    if (streamedInFlight == this) {
        streamedInFlight = nullptr;
    }
    if (outcome == Outcome::NOTHING_CHANGED) {
        finished = true;
        updateFileAccessGate();
        return;
    }
    finishCommit(outcome);
    streaming->outcome = outcome;
}

// Something on the window's thread needs the file system: the unit in flight is staged whole and
// committed now.
void FileTransaction::settleStreamed() {
    FileTransaction* unit = streamedInFlight;
    if (!unit->streaming->staged && unit->streaming->finishStaging) {
        const std::function<void()> finish = unit->streaming->finishStaging;
        finish();
    }
    if (streamedInFlight != unit) {
        return;
    }
    if (!unit->streaming->staged) {
        unit->cancelStreamed();
    }
    if (!unit->streaming->outcome) {
        unit->completeStreamed();
    }
}

// A simulated end of the process: the unit in flight is dropped as it stands (an append that
// began is waited for, its outcome left unknown to this process, as a crash leaves it).
void FileTransaction::abandonStreamed() {
    if (streamedInFlight == nullptr) {
        return;
    }
    Streaming& s = *streamedInFlight->streaming;
    if (s.append.started()) {
        off_t size = 0;
        s.append.join(size);
    }
    s.log.reset();
    s.staged = true;
    s.outcome = Outcome::NOTHING_CHANGED;
    streamedInFlight->finished = true;
    streamedInFlight = nullptr;
}
