#include "base/FileTransaction.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

#include "base/AtomicFile.h"

namespace {

using Steps = FileTransaction::Steps;

FileTransaction* activeTransaction = nullptr;

constexpr const char* JOURNAL_HEADER = "MERNOLEX FILE TRANSACTION 1";

bool fileExists(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return static_cast<bool>(in);
}

// A removal that is not itself staged, even while a transaction is active.
bool removeNow(const std::string& path) {
    if (fileFaults::nextStepFails()) {
        fileFaults::crashPoint();
        return false;
    }
    return std::remove(path.c_str()) == 0 || errno == ENOENT;
}

// True when every directory that holds a file of the steps could be synced.
bool syncDirectoriesOf(const Steps& steps) {
    std::set<std::string> directories;
    for (const std::vector<std::string>* paths : {&steps.replaced, &steps.removed}) {
        for (const std::string& path : *paths) {
            directories.insert(directoryOf(path));
        }
    }
    bool synced = true;
    for (const std::string& directory : directories) {
        synced = syncDirectory(directory) && synced;
    }
    return synced;
}

// Renames, then removals, then the directory syncs that make them durable; a temporary file that
// is gone was renamed before. False when a step or a sync failed.
bool applySteps(const Steps& steps) {
    for (const std::string& target : steps.replaced) {
        if (fileExists(AtomicFile::temporaryNameFor(target)) && !renameTemporaryOver(target)) {
            return false;
        }
    }
    for (const std::string& path : steps.removed) {
        if (!removeNow(path)) {
            return false;
        }
    }
    return syncDirectoriesOf(steps);
}

std::string journalText(const Steps& steps) {
    std::string text = std::string(JOURNAL_HEADER) + "\n";
    for (const std::string& target : steps.replaced) {
        text += "R " + target + "\n";
    }
    for (const std::string& path : steps.removed) {
        text += "D " + path + "\n";
    }
    return text + "END " + std::to_string(steps.replaced.size() + steps.removed.size()) + "\n";
}

// The steps of a journal; false when the text is not a whole journal.
bool parseJournal(const std::string& text, Steps& steps) {
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || line != JOURNAL_HEADER) {
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

bool holdsLineBreak(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        if (path.find('\n') != std::string::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace

FileTransaction::FileTransaction(std::string journalPath) : journal(std::move(journalPath)) {
    if (activeTransaction != nullptr) {
        joined = true;
        return;
    }
    blocked = !recover(journal);
    activeTransaction = this;
}

FileTransaction::~FileTransaction() {
    if (joined) {
        return;
    }
    if (!finished) {
        discardTemporaries();
    }
    activeTransaction = nullptr;
}

FileTransaction* FileTransaction::active() {
    return activeTransaction;
}

void FileTransaction::stageReplacement(const std::string& target) {
    steps.replaced.push_back(target);
}

// A removal noted twice (by several tables of one save) is one removal, and a unit of one step
// still needs no journal.
void FileTransaction::stageRemoval(const std::string& path) {
    if (std::find(steps.removed.begin(), steps.removed.end(), path) == steps.removed.end()) {
        steps.removed.push_back(path);
    }
}

void FileTransaction::afterCommit(std::function<void()> action) {
    if (joined && activeTransaction != nullptr) {
        activeTransaction->afterCommit(std::move(action));
        return;
    }
    actions.push_back(std::move(action));
}

FileTransaction::Outcome FileTransaction::commit() {
    if (joined) {
        return Outcome::DONE;
    }
    if (finished || blocked) {
        return Outcome::NOTHING_CHANGED;
    }
    const std::size_t stepCount = steps.replaced.size() + steps.removed.size();
    Outcome outcome = Outcome::DONE;
    if (stepCount == 1) {
        outcome = commitSingleStep();
    } else if (stepCount > 1) {
        outcome = commitThroughJournal();
    }
    if (outcome == Outcome::NOTHING_CHANGED) {
        return outcome;  // the destructor removes the temporary files
    }
    finished = true;  // the temporary files are renamed, or belong to the journal
    if (outcome == Outcome::DONE) {
        for (const std::function<void()>& action : actions) {
            action();
        }
    }
    return outcome;
}

// One rename (or one removal) is atomic by itself: a crash leaves the old file or the new one,
// never a mixture, so a unit of one file needs no journal. Its temporary file is fsynced already
// (AtomicFile::commit); the rename and the sync of its directory are all that is left, as for a
// file replaced outside a transaction. This is the common save of one edited record (its bound
// file, the index unchanged): two fsyncs instead of the journal's six and more.
FileTransaction::Outcome FileTransaction::commitSingleStep() {
    const bool replacing = !steps.replaced.empty();
    const std::string& path = replacing ? steps.replaced.front() : steps.removed.front();
    if (!(replacing ? renameTemporaryOver(path) : removeNow(path))) {
        return Outcome::NOTHING_CHANGED;
    }
    // In place; only a failed sync can still make the change vanish in a power loss.
    return syncDirectoryOf(path) ? Outcome::DONE : Outcome::PENDING;
}

// Each sync orders two things that a power loss could otherwise reorder:
//   - the directories of the temporary files, before the journal: recovery takes a temporary
//     file that is missing for one renamed already, so the journal must never be durable while
//     the files it names are not;
//   - the journal itself (file and directory, inside replaceFile), before the first rename: a
//     rename that survived without its journal would be a mixture of old and new;
//   - the directories of the targets, after the renames and before the journal goes: the journal
//     may go only once every rename it stands for is durable;
//   - the journal's directory after its removal: a removed journal that came back after a power
//     loss would rename temporary files of a later save that never reached its commit point.
FileTransaction::Outcome FileTransaction::commitThroughJournal() {
    if (holdsLineBreak(steps.replaced) || holdsLineBreak(steps.removed) || !syncDirectoriesOf(steps)) {
        return Outcome::NOTHING_CHANGED;
    }
    activeTransaction = nullptr;  // the journal itself is replaced at once, not staged
    const bool written = replaceFile(journal, journalText(steps));
    activeTransaction = this;
    if (!written) {
        // A journal that is there although its directory could not be synced is the commit
        // point all the same; recovery, which syncs it first, finishes the unit.
        return fileExists(journal) ? Outcome::PENDING : Outcome::NOTHING_CHANGED;
    }
    const bool done = applySteps(steps) && removeNow(journal) && syncDirectoryOf(journal);
    return done ? Outcome::DONE : Outcome::PENDING;
}

void FileTransaction::discardTemporaries() {
    for (const std::string& target : steps.replaced) {
        std::remove(AtomicFile::temporaryNameFor(target).c_str());
    }
    steps = Steps{};
}

bool FileTransaction::recover(const std::string& journalPath) {
    std::string text;
    if (!readWholeFile(journalPath, text)) {
        return true;
    }
    Steps steps;
    // The journal must be durable before any of its renames is (see commitThroughJournal): a
    // commit whose directory sync failed left it in place without that.
    if (parseJournal(text, steps) && (!syncDirectoryOf(journalPath) || !applySteps(steps))) {
        return false;
    }
    return removeNow(journalPath) && syncDirectoryOf(journalPath);
}
