#include "base/FileTransaction.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <set>
#include <sstream>

#include "base/AtomicFile.h"
#include "base/FileDescriptor.h"
#include "base/FileSystem.h"
#include "base/TransactionLog.h"

namespace {

FileTransaction* activeTransaction = nullptr;

// A log grown past this is checkpointed after the commit that grew it: recovery then has little
// to write again, and the fsyncs of the files written meanwhile are paid once for many units.
constexpr off_t CHECKPOINT_BYTES = 4 * 1024 * 1024;

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

bool removeNow(const std::string& path) {
    return fileSystem().unlink(path.c_str()) == 0 || errno == ENOENT;
}

// Writes `contents` over the file at `path` from its start (creating it), and cuts off what the
// old contents had beyond them. A failure leaves the file torn, which the log's replay repairs.
bool overwrite(const std::string& path, const std::string& contents) {
    FileSystem& files = fileSystem();
    FileDescriptor file = FileDescriptor::open(path, O_WRONLY | O_CREAT, 0666);
    if (!file.isOpen()) {
        return false;
    }
    struct stat status {};
    if (files.status(file.get(), status) != 0 || !writeAll(file.get(), contents)) {
        return false;
    }
    const off_t size = static_cast<off_t>(contents.size());
    return (status.st_size <= size || files.truncate(file.get(), size) == 0) && file.close();
}

// From this many files on, a checkpoint makes them durable with one syncfs per file system: an
// fsync each costs a journal commit each, and a large save (an import of ten thousand rows writes
// ten thousand files) then waited tens of seconds for them.
constexpr std::size_t WHOLE_FILE_SYSTEM_FROM = 64;

// One syncfs for every file system holding a directory of the files written or of the
// directories changed (a directory that is gone holds nothing to make durable).
bool syncFileSystemsOfOpenLog() {
    std::set<std::string> directories = openLog.directories;
    for (const std::string& file : openLog.files) {
        directories.insert(directoryOf(file));
    }
    std::set<dev_t> synced;
    for (const std::string& directory : directories) {
        FileDescriptor held = FileDescriptor::open(directory.empty() ? "." : directory, O_RDONLY | O_DIRECTORY);
        if (!held.isOpen()) {
            if (errno == ENOENT) {
                continue;
            }
            return false;
        }
        struct stat status {};
        if (fileSystem().status(held.get(), status) != 0) {
            return false;
        }
        if (!synced.contains(status.st_dev)) {
            if (fileSystem().syncFileSystem(held.get()) != 0) {
                return false;
            }
            synced.insert(status.st_dev);
        }
    }
    return true;
}

bool syncFilesOfOpenLog() {
    if (openLog.files.size() >= WHOLE_FILE_SYSTEM_FROM) {
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
    if (!removeNow(openLog.path)) {
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
        if (!removeNow(path)) {
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
            if (!overwrite(path, contents)) {
                return false;
            }
            files.insert(path);
            directories.insert(directoryOf(path));
        }
        for (const std::string& path : units[u].removed) {
            if (!removeNow(path)) {
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

FileTransaction::FileTransaction(std::string journalPath) : journal(std::move(journalPath)) {
    if (activeTransaction != nullptr) {
        joined = true;
        return;
    }
    if (!isOurs(journal)) {
        // One log at a time: another one open is made durable and closed first.
        blocked = (openLog.path != journal && !closeOpenLog()) || !recover(journal);
    }
    activeTransaction = this;
}

FileTransaction::~FileTransaction() {
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
    return closeOpenLog();
}

void FileTransaction::forgetOpenLog() {
    openLog = OpenLog{};
}

FileTransaction::Outcome FileTransaction::commit() {
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
        if (!writeFiles()) {
            openLog.needsRecovery = true;  // the next transaction repeats the log first
            outcome = Outcome::PENDING;
        }
    }
    finished = true;
    runActions();
    if (outcome == Outcome::DONE && openLog.size > CHECKPOINT_BYTES) {
        (void)checkpointOpenLog();  // the unit is durable in the log either way
    }
    return outcome;
}

void FileTransaction::runActions() {
    for (const std::function<void()>& action : actions) {
        action();
    }
}

// Everything that can be checked before the commit point is: a target that could not be written
// afterwards would leave a logged unit that not even recovery can finish. (The files are opened
// only to be written: a save of every table replaces tens of thousands.)
bool FileTransaction::checkTargets() {
    FileSystem& files = fileSystem();
    targetIsNew.clear();
    for (const auto& [target, contents] : replaced) {
        if (!transaction_log::canHold(target)) {
            return false;
        }
        const bool present = files.access(target.c_str(), F_OK) == 0;
        const std::string directory = directoryOf(target);
        if (present ? files.access(target.c_str(), W_OK) != 0
                    : (errno != ENOENT || files.access(directory.empty() ? "." : directory.c_str(), W_OK) != 0)) {
            return false;
        }
        targetIsNew.push_back(!present);
    }
    return std::all_of(removed.begin(), removed.end(), transaction_log::canHold) && transaction_log::canHold(journal);
}

namespace {

// Opens the log to append to it. A new log's directory entry is made durable before anything is
// written into it: a unit in a log whose entry could vanish in a power loss is not committed.
// (A new log never replaces one: recovery has removed any before.)
FileDescriptor openLogForAppend(const std::string& journal, bool create) {
    FileDescriptor log = FileDescriptor::open(journal, O_WRONLY | O_APPEND | (create ? O_CREAT | O_EXCL : 0), 0666);
    if (log.isOpen() && create && !syncDirectoryOf(journal)) {
        log.close();
        removeNow(journal);
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
    struct stat status {};
    if (!appendUnit(log.get()) || !syncDataOf(log.get()) || files.status(log.get(), status) != 0) {
        // A unit not durably in the log must not be repeated by a later recovery either.
        const bool undone = files.truncate(log.get(), before) == 0;
        log.close();
        if (!undone && !(created && removeNow(journal))) {
            distrustLogTail(journal);
        } else if (created) {
            removeNow(journal);
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

bool FileTransaction::writeFiles() {
    for (std::size_t i = 0; i < replaced.size(); ++i) {
        const std::string& target = replaced[i].first;
        if (targetIsNew[i]) {
            openLog.directories.insert(directoryOf(target));
        }
        openLog.files.insert(target);
        if (!overwrite(target, replaced[i].second)) {
            return false;
        }
    }
    for (const std::string& path : removed) {
        openLog.directories.insert(directoryOf(path));
        if (!removeNow(path)) {
            return false;
        }
    }
    return true;
}

FileTransaction::Recovery FileTransaction::recover(const std::string& journalPath, const KeepCopies& keep) {
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
    if (replayed == Recovery::FAILED || !removeNow(journalPath)) {
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
