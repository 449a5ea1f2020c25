#include "base/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "base/FileTransaction.h"

namespace fileFaults {

namespace {
unsigned stepsLeft = 0;
bool hasFired = false;
}  // namespace

void failStep(unsigned n) {
    stepsLeft = n;
    hasFired = false;
}

bool fired() {
    return hasFired;
}

bool nextStepFails() {
    if (stepsLeft == 0) {
        return false;
    }
    if (--stepsLeft == 0) {
        hasFired = true;
        return true;
    }
    return false;
}

}  // namespace fileFaults

namespace {

bool fsyncFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool synced = ::fsync(fd) == 0;
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

}  // namespace

AtomicFile::AtomicFile(std::string targetPath) : target(std::move(targetPath)), temporary(temporaryNameFor(target)) {
    if (!blockedByTransaction()) {
        out.open(temporary, std::ios::binary | std::ios::trunc);
    }
}

AtomicFile::~AtomicFile() {
    if (!keepTemporary && out.is_open()) {
        out.close();
        std::remove(temporary.c_str());
    }
}

bool AtomicFile::commit() {
    if (!out.is_open()) {
        return false;
    }
    out.flush();
    const bool written = out.good();
    out.close();
    if (fileFaults::nextStepFails()) {
        tearFile(temporary);
        keepTemporary = true;
        return false;
    }
    if (!written || out.fail() || !fsyncFile(temporary)) {
        std::remove(temporary.c_str());
        return false;
    }
    if (FileTransaction* unit = FileTransaction::active()) {
        unit->stageReplacement(target);
        keepTemporary = true;
        return true;
    }
    if (!renameTemporaryOver(target, true)) {
        std::remove(temporary.c_str());
        return false;
    }
    keepTemporary = true;  // renamed: there is no temporary file left to remove
    return true;
}

bool replaceFile(const std::string& path, std::string_view contents) {
    AtomicFile file(path);
    if (!file.isOpen()) {
        return false;
    }
    file.stream().write(contents.data(), static_cast<std::streamsize>(contents.size()));
    return file.commit();
}

bool renameTemporaryOver(const std::string& target, bool syncDirectory) {
    if (fileFaults::nextStepFails()) {
        return false;
    }
    const std::string temporary = AtomicFile::temporaryNameFor(target);
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        return false;
    }
    if (syncDirectory) {
        syncDirectoryOf(target);
    }
    return true;
}

bool removeFileIfPresent(const std::string& path) {
    if (FileTransaction* unit = FileTransaction::active()) {
        unit->stageRemoval(path);
        return true;
    }
    if (fileFaults::nextStepFails()) {
        return false;
    }
    return std::remove(path.c_str()) == 0 || errno == ENOENT;
}

void syncDirectory(const std::string& directory) {
    int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void syncDirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    syncDirectory(slash == std::string::npos ? std::string() : path.substr(0, slash + 1));
}
