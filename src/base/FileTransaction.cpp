#include "base/FileTransaction.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

#include "base/AtomicFile.h"
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
    off_t size = 0;               // the bytes of the whole units appended
    bool needsRecovery = false;   // a unit was logged but not all of it written in place
    std::set<std::string> files;        // written in place
    std::set<std::string> directories;  // where files were created or removed
};

OpenLog openLog;

// The open log is still ours and whole: the file at `path` is the one this process appended to,
// ending with its last whole unit (another process, a restored copy or a torn append leave
// something else, which only recovery may use).
bool isOurs(const std::string& path) {
    if (openLog.path.empty() || openLog.path != path || openLog.needsRecovery) {
        return false;
    }
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 && status.st_dev == openLog.device && status.st_ino == openLog.inode &&
           status.st_size == openLog.size;
}

bool fileExists(const std::string& path) {
    struct stat status;
    return ::stat(path.c_str(), &status) == 0;
}

// A directory removed since (with everything in it) has nothing left to make durable.
bool syncDirectoryIfPresent(const std::string& directory) {
    return syncDirectory(directory) || (!directory.empty() && !fileExists(directory));
}

// A removal that is not itself staged, even while a transaction is active.
bool removeNow(const std::string& path) {
    if (fileFaults::nextStepFails()) {
        fileFaults::crashPoint();
        return false;
    }
    return std::remove(path.c_str()) == 0 || errno == ENOENT;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Writes `contents` over the file open as `fd` (opened for `path` here when -1), from its start,
// and cuts off what the old contents had beyond them. One counted step: a failure leaves the
// file torn, as a crash would, which the log's replay repairs.
bool overwrite(int& fd, const std::string& path, const std::string& contents) {
    if (fd < 0) {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            return false;
        }
    }
    if (fileFaults::nextStepFails()) {
        (void)writeAll(fd, std::string_view(contents).substr(0, contents.size() / 2));
        fileFaults::crashPoint();
        return false;
    }
    struct stat status;
    if (::fstat(fd, &status) != 0 || ::lseek(fd, 0, SEEK_SET) != 0 || !writeAll(fd, contents)) {
        return false;
    }
    const off_t size = static_cast<off_t>(contents.size());
    return status.st_size <= size || ::ftruncate(fd, size) == 0;
}

// Fsyncs what the open log wrote in place and removes the log. Nothing is forgotten on failure:
// the log still repeats every unit.
bool checkpointOpenLog() {
    if (openLog.path.empty()) {
        return true;
    }
    for (const std::string& file : openLog.files) {
        if (!syncFileIfPresent(file)) {
            return false;
        }
    }
    for (const std::string& directory : openLog.directories) {
        if (!syncDirectoryIfPresent(directory)) {
            return false;
        }
    }
    if (!removeNow(openLog.path) || !syncDirectoryOf(openLog.path)) {
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
        if (fileExists(AtomicFile::temporaryNameFor(target)) && !renameTemporaryOver(target)) {
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

// Writes every unit again, in order, and syncs what it wrote.
bool replay(const std::vector<LogUnit>& units) {
    std::set<std::string> files;
    std::set<std::string> directories;
    for (const LogUnit& unit : units) {
        for (const auto& [path, contents] : unit.written) {
            int fd = -1;
            const bool written = overwrite(fd, path, contents);
            if (fd >= 0) {
                ::close(fd);
            }
            if (!written) {
                return false;
            }
            files.insert(path);
            directories.insert(directoryOf(path));
        }
        for (const std::string& path : unit.removed) {
            if (!removeNow(path)) {
                return false;
            }
            directories.insert(directoryOf(path));
        }
    }
    return std::all_of(files.begin(), files.end(), syncFileIfPresent) &&
           std::all_of(directories.begin(), directories.end(), syncDirectoryIfPresent);
}

bool readWholeFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

}  // namespace

FileTransaction::FileTransaction(std::string journalPath) : journal(std::move(journalPath)) {
    if (activeTransaction != nullptr) {
        joined = true;
        return;
    }
    if (!isOurs(journal)) {
        // One log at a time: another one open is made durable and closed first.
        blocked = (openLog.path != journal && !checkpointOpenLog()) || !recover(journal);
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
    if (!isOurs(openLog.path) && !fileExists(openLog.path)) {
        openLog = OpenLog{};  // removed under us (a test clearing its directory): nothing to repeat
        return false;
    }
    return true;
}

const std::string& FileTransaction::openLogPath() {
    return openLog.path;
}

bool FileTransaction::checkpoint() {
    if (openLog.path.empty()) {
        return true;
    }
    return isOurs(openLog.path) ? checkpointOpenLog() : recover(openLog.path);
}

FileTransaction::Outcome FileTransaction::commit() {
    if (joined) {
        return Outcome::DONE;
    }
    if (finished || blocked) {
        return Outcome::NOTHING_CHANGED;
    }
    if (!replaced.empty() || !removed.empty()) {
        if (!checkTargets()) {
            return Outcome::NOTHING_CHANGED;
        }
        const Outcome logged = appendToLog();
        if (logged == Outcome::NOTHING_CHANGED) {
            return logged;
        }
        finished = true;
        if (!writeFiles()) {
            openLog.needsRecovery = true;  // the next transaction repeats the log first
            return Outcome::PENDING;
        }
        if (logged == Outcome::PENDING) {
            return logged;
        }
    }
    finished = true;
    for (const std::function<void()>& action : actions) {
        action();
    }
    if (openLog.size > CHECKPOINT_BYTES) {
        (void)checkpointOpenLog();  // the unit is durable in the log either way
    }
    return Outcome::DONE;
}

// Everything that can be checked before the commit point is: a target that could not be written
// afterwards would leave a logged unit that not even recovery can finish. (The files are opened
// only to be written: a save of every table replaces tens of thousands.)
bool FileTransaction::checkTargets() {
    targetIsNew.clear();
    for (const auto& [target, contents] : replaced) {
        if (!transaction_log::canHold(target)) {
            return false;
        }
        const bool present = ::access(target.c_str(), F_OK) == 0;
        const std::string directory = directoryOf(target);
        if (present ? ::access(target.c_str(), W_OK) != 0
                    : (errno != ENOENT || ::access(directory.empty() ? "." : directory.c_str(), W_OK) != 0)) {
            return false;
        }
        targetIsNew.push_back(!present);
    }
    return std::all_of(removed.begin(), removed.end(), transaction_log::canHold) && transaction_log::canHold(journal);
}

// Appends the unit and syncs it: DONE at the commit point, PENDING when the unit is in the log but
// the log's new directory entry could not be synced, NOTHING_CHANGED when the log is as before.
FileTransaction::Outcome FileTransaction::appendToLog() {
    LogUnit unit;
    unit.written = std::move(replaced);
    unit.removed = removed;
    const std::string bytes = transaction_log::encode(unit);
    replaced = std::move(unit.written);

    const bool created = openLog.path.empty();
    const int fd = ::open(journal.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) {
        return Outcome::NOTHING_CHANGED;
    }
    const off_t before = created ? 0 : openLog.size;
    if (fileFaults::nextStepFails()) {
        (void)writeAll(fd, std::string_view(bytes).substr(0, bytes.size() / 2));  // torn, as by a crash
        ::close(fd);
        openLog.needsRecovery = !created;
        fileFaults::crashPoint();
        return Outcome::NOTHING_CHANGED;
    }
    struct stat status;
    const bool logged = writeAll(fd, bytes) && syncDataOf(fd) && ::fstat(fd, &status) == 0;
    if (!logged) {
        // A unit not durably in the log must not be repeated by a later recovery either.
        const bool undone = ::ftruncate(fd, before) == 0;
        ::close(fd);
        if (created) {
            std::remove(journal.c_str());
        }
        if (undone) {
            return Outcome::NOTHING_CHANGED;
        }
        openLog.needsRecovery = true;
        return Outcome::PENDING;
    }
    ::close(fd);
    if (created) {
        openLog = OpenLog{journal, status.st_dev, status.st_ino, 0, false, {}, {}};
    }
    openLog.size = status.st_size;
    // A new log's directory entry is part of the commit point.
    return !created || syncDirectoryOf(journal) ? Outcome::DONE : Outcome::PENDING;
}

bool FileTransaction::writeFiles() {
    for (std::size_t i = 0; i < replaced.size(); ++i) {
        const std::string& target = replaced[i].first;
        if (targetIsNew[i]) {
            openLog.directories.insert(directoryOf(target));
        }
        openLog.files.insert(target);
        int fd = -1;
        const bool written = overwrite(fd, target, replaced[i].second);
        if (fd >= 0) {
            ::close(fd);
        }
        if (!written) {
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

bool FileTransaction::recover(const std::string& journalPath) {
    if (isOurs(journalPath)) {
        return checkpointOpenLog();
    }
    if (openLog.path == journalPath) {
        // Ours once, but not whole any more (a torn append, a unit not all written in place):
        // replaying it below writes again everything this process wrote through it.
        openLog = OpenLog{};
    }
    std::string text;
    if (!readWholeFile(journalPath, text)) {
        return true;
    }
    if (text.rfind(LEGACY_HEADER, 0) == 0) {
        LegacySteps steps;
        // The journal must be durable before any of its renames is: a commit whose directory
        // sync failed left it in place without that.
        if (parseLegacyJournal(text, steps) && (!syncDirectoryOf(journalPath) || !applyLegacySteps(steps))) {
            return false;
        }
    } else if (!replay(transaction_log::decode(text))) {
        return false;
    }
    return removeNow(journalPath) && syncDirectoryOf(journalPath);
}
