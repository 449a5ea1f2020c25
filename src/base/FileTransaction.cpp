#include "base/FileTransaction.h"

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
        return false;
    }
    return std::remove(path.c_str()) == 0 || errno == ENOENT;
}

void syncDirectoriesOf(const Steps& steps) {
    std::set<std::string> directories;
    for (const std::vector<std::string>* paths : {&steps.replaced, &steps.removed}) {
        for (const std::string& path : *paths) {
            const std::size_t slash = path.rfind('/');
            directories.insert(slash == std::string::npos ? std::string() : path.substr(0, slash + 1));
        }
    }
    for (const std::string& directory : directories) {
        syncDirectory(directory);
    }
}

// Renames, then removals; a temporary file that is gone was renamed before.
bool applySteps(const Steps& steps) {
    for (const std::string& target : steps.replaced) {
        if (fileExists(AtomicFile::temporaryNameFor(target)) && !renameTemporaryOver(target, false)) {
            return false;
        }
    }
    for (const std::string& path : steps.removed) {
        if (!removeNow(path)) {
            return false;
        }
    }
    syncDirectoriesOf(steps);
    return true;
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

void FileTransaction::stageRemoval(const std::string& path) {
    steps.removed.push_back(path);
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
    if (!steps.replaced.empty() || !steps.removed.empty()) {
        if (!writeJournal()) {
            return Outcome::NOTHING_CHANGED;  // the destructor removes the temporary files
        }
        finished = true;  // from here on the temporary files belong to the journal
        // A journal left behind is finished by recovery, which finds every step done already.
        if (!applySteps(steps) || !removeNow(journal)) {
            return Outcome::PENDING;
        }
        syncDirectoryOf(journal);
    }
    finished = true;
    for (const std::function<void()>& action : actions) {
        action();
    }
    return Outcome::DONE;
}

bool FileTransaction::writeJournal() {
    if (holdsLineBreak(steps.replaced) || holdsLineBreak(steps.removed)) {
        return false;
    }
    syncDirectoriesOf(steps);  // the temporary files must be there for the journal to name
    activeTransaction = nullptr;  // the journal itself is replaced at once, not staged
    const bool written = replaceFile(journal, journalText(steps));
    activeTransaction = this;
    return written;
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
    if (parseJournal(text, steps) && !applySteps(steps)) {
        return false;
    }
    if (!removeNow(journalPath)) {
        return false;
    }
    syncDirectoryOf(journalPath);
    return true;
}
