#include "base/AtomicFile.h"

#include <fcntl.h>

#include <cerrno>
#include <vector>

#include "base/FileDescriptor.h"
#include "base/FileSystem.h"
#include "base/FileTransaction.h"

namespace {

// fsync of the file at `path`; a file that is not there counts as synced when `missingIsFine`.
bool syncFileAt(const std::string& path, bool missingIsFine) {
    FileDescriptor file = FileDescriptor::open(path, O_RDONLY);
    if (!file.isOpen()) {
        return missingIsFine && errno == ENOENT;
    }
    const bool synced = syncDescriptor(file.get());
    return file.close() && synced;
}

// A transaction that could not finish the one before it takes no new files: they would
// overwrite temporary files that the earlier transaction still has to rename.
bool blockedByTransaction() {
    const FileTransaction* unit = FileTransaction::active();
    return unit != nullptr && unit->isBlocked();
}

constexpr std::string_view TEMPORARY_SUFFIX = ".tmp";

}  // namespace

AtomicFile::AtomicFile(std::string targetPath) : target(std::move(targetPath)), blocked(blockedByTransaction()) {}

bool AtomicFile::commit() {
    if (!isOpen()) {
        return false;
    }
    std::string bytes = std::move(contents).str();
    if (FileTransaction::active() != nullptr || FileTransaction::logIsOpen()) {
        return commitStaged(std::move(bytes));
    }
    return commitDirect(bytes);
}

// Nothing is on the disk yet: the transaction writes the contents once its log holds them.
bool AtomicFile::commitStaged(std::string bytes) {
    if (FileTransaction* unit = FileTransaction::active()) {
        unit->stageReplacement(target, std::move(bytes));
        return true;
    }
    FileTransaction unit(FileTransaction::openLogPath());
    if (unit.isBlocked()) {
        return false;
    }
    unit.stageReplacement(target, std::move(bytes));
    return unit.commit() != FileTransaction::Outcome::NOTHING_CHANGED;
}

bool AtomicFile::commitDirect(const std::string& bytes) {
    FileSystem& files = fileSystem();
    const std::string temporary = temporaryNameFor(target);
    FileDescriptor out = FileDescriptor::open(temporary, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (!out.isOpen()) {
        return false;
    }
    const bool written = writeAll(out.get(), bytes) && syncDescriptor(out.get());
    if (!out.close() || !written || !renameTemporaryOver(target)) {
        files.unlink(temporary.c_str());
        return false;
    }
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
    const std::string temporary = AtomicFile::temporaryNameFor(target);
    return fileSystem().rename(temporary.c_str(), target.c_str()) == 0;
}

bool removeFileIfPresent(const std::string& path) {
    if (FileTransaction* unit = FileTransaction::active()) {
        unit->stageRemoval(path);
        return true;
    }
    if (FileTransaction::logIsOpen()) {
        FileTransaction unit(FileTransaction::openLogPath());
        unit.stageRemoval(path);
        return unit.commit() != FileTransaction::Outcome::NOTHING_CHANGED;
    }
    return fileSystem().unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool syncDescriptor(int fd) {
    return fileSystem().sync(fd) == 0;
}

bool syncDataOf(int fd) {
    return fileSystem().syncData(fd) == 0;
}

bool syncFileIfPresent(const std::string& path) {
    return syncFileAt(path, true);
}

bool syncDirectory(const std::string& directory) {
    FileDescriptor dir = FileDescriptor::open(directory.empty() ? "." : directory, O_RDONLY | O_DIRECTORY);
    if (!dir.isOpen()) {
        return false;
    }
    const bool synced = syncDescriptor(dir.get());
    return dir.close() && synced;
}

bool syncDirectoryOf(const std::string& path) {
    return syncDirectory(directoryOf(path));
}

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool pathExists(const std::string& path) {
    struct stat status {};
    return fileSystem().statusOf(path.c_str(), status) == 0;
}

unsigned removeStrayTemporaries(const std::string& directory) {
    const std::string prefix = directory.empty() || directory.back() == '/' ? directory : directory + "/";
    FileSystem& files = fileSystem();
    std::vector<FileSystem::Entry> entries;
    files.list(prefix, entries);
    unsigned removed = 0;
    for (const FileSystem::Entry& entry : entries) {
        const std::string_view name(entry.name);
        if (name.size() > TEMPORARY_SUFFIX.size() && name.ends_with(TEMPORARY_SUFFIX) && !entry.isDirectory) {
            removed += files.unlink((prefix + entry.name).c_str()) == 0 ? 1 : 0;
        }
    }
    return removed;
}
