#include "base/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "base/FileTransaction.h"

namespace {

// fsync of the file at `path`; a file that is not there counts as synced when `missingIsFine`.
bool syncFileAt(const std::string& path, bool missingIsFine) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return missingIsFine && errno == ENOENT;
    }
    bool synced = syncDescriptor(fd);
    return ::close(fd) == 0 && synced;
}

// Cuts the temporary file to half its length, as a crash during the write could leave it.
void tearFile(const std::string& path) {
    std::error_code ignored;
    auto size = std::filesystem::file_size(path, ignored);
    if (!ignored) {
        std::filesystem::resize_file(path, size / 2, ignored);
    }
}

// A transaction that could not finish the one before it takes no new files: they would
// overwrite temporary files that the earlier transaction still has to rename.
bool blockedByTransaction() {
    const FileTransaction* unit = FileTransaction::active();
    return unit != nullptr && unit->isBlocked();
}

constexpr std::string_view TEMPORARY_SUFFIX = ".tmp";

}  // namespace

AtomicFile::AtomicFile(std::string targetPath) : target(std::move(targetPath)), temporary(temporaryNameFor(target)) {
    if (blockedByTransaction()) {
        blocked = true;
    } else if (FileTransaction::active() != nullptr || FileTransaction::logIsOpen()) {
        staged = std::make_unique<std::ostringstream>(std::ios::binary);
    } else {
        out.open(temporary, std::ios::binary | std::ios::trunc);
    }
}

AtomicFile::~AtomicFile() {
    if (!keepTemporary && out.is_open()) {
        out.close();
        std::remove(temporary.c_str());
    }
}

bool AtomicFile::isOpen() const {
    if (staged != nullptr) {
        return staged->good();
    }
    return out.is_open() && out.good();
}

std::ostream& AtomicFile::stream() {
    if (staged != nullptr) {
        return *staged;
    }
    return out;
}

bool AtomicFile::commit() {
    if (blocked) {
        return false;
    }
    return staged != nullptr ? commitStaged() : commitDirect();
}

// Nothing is on the disk yet: the transaction writes the contents once its log holds them.
bool AtomicFile::commitStaged() {
    if (!staged->good()) {
        return false;
    }
    if (fileFaults::nextStepFails()) {
        fileFaults::crashPoint();
        return false;
    }
    std::string contents = std::move(*staged).str();
    staged.reset();
    if (FileTransaction* unit = FileTransaction::active()) {
        unit->stageReplacement(target, std::move(contents));
        return true;
    }
    FileTransaction unit(FileTransaction::openLogPath());
    if (unit.isBlocked()) {
        return false;
    }
    unit.stageReplacement(target, std::move(contents));
    return unit.commit() == FileTransaction::Outcome::DONE;
}

bool AtomicFile::commitDirect() {
    if (!out.is_open()) {
        return false;
    }
    out.flush();
    const bool written = out.good();
    out.close();
    if (fileFaults::nextStepFails()) {
        tearFile(temporary);
        keepTemporary = true;
        fileFaults::crashPoint();
        return false;
    }
    if (!written || out.fail() || !syncFileAt(temporary, false)) {
        std::remove(temporary.c_str());
        return false;
    }
    if (!renameTemporaryOver(target)) {
        std::remove(temporary.c_str());
        return false;
    }
    keepTemporary = true;  // renamed: there is no temporary file left to remove
    return syncDirectoryOf(target);
}

bool replaceFile(const std::string& path, std::string_view contents) {
    AtomicFile file(path);
    if (!file.isOpen()) {
        return false;
    }
    file.stream().write(contents.data(), static_cast<std::streamsize>(contents.size()));
    return file.commit();
}

bool renameTemporaryOver(const std::string& target) {
    if (fileFaults::nextStepFails()) {
        fileFaults::crashPoint();
        return false;
    }
    const std::string temporary = AtomicFile::temporaryNameFor(target);
    return std::rename(temporary.c_str(), target.c_str()) == 0;
}

bool removeFileIfPresent(const std::string& path) {
    if (FileTransaction* unit = FileTransaction::active()) {
        unit->stageRemoval(path);
        return true;
    }
    if (FileTransaction::logIsOpen()) {
        FileTransaction unit(FileTransaction::openLogPath());
        unit.stageRemoval(path);
        return unit.commit() == FileTransaction::Outcome::DONE;
    }
    if (fileFaults::nextStepFails()) {
        fileFaults::crashPoint();
        return false;
    }
    return std::remove(path.c_str()) == 0 || errno == ENOENT;
}

bool syncDescriptor(int fd) {
    if (fileFaults::nextSyncFails()) {
        return false;
    }
    return fileFaults::syncsSkipped() || ::fsync(fd) == 0;
}

bool syncDataOf(int fd) {
    if (fileFaults::nextSyncFails()) {
        return false;
    }
    return fileFaults::syncsSkipped() || ::fdatasync(fd) == 0;
}

bool syncFileIfPresent(const std::string& path) {
    return syncFileAt(path, true);
}

bool syncDirectory(const std::string& directory) {
    int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = syncDescriptor(fd);
    return ::close(fd) == 0 && synced;
}

bool syncDirectoryOf(const std::string& path) {
    return syncDirectory(directoryOf(path));
}

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

unsigned removeStrayTemporaries(const std::string& directory) {
    const std::string prefix = directory.empty() || directory.back() == '/' ? directory : directory + "/";
    std::vector<std::string> stray;
    // Closed however the walk ends: collecting the names can fail.
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(prefix.empty() ? "." : prefix.c_str()), closedir);
    while (dir != nullptr) {
        const dirent* entry = readdir(dir.get());
        if (entry == nullptr) {
            break;
        }
        const std::string_view name(entry->d_name);
        if (name.size() > TEMPORARY_SUFFIX.size() && name.ends_with(TEMPORARY_SUFFIX) && entry->d_type != DT_DIR) {
            stray.push_back(prefix + std::string(name));
        }
    }
    unsigned removed = 0;
    for (const std::string& file : stray) {
        removed += std::remove(file.c_str()) == 0 ? 1 : 0;
    }
    return removed;
}
