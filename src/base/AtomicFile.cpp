#include "base/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

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

}  // namespace

AtomicFile::AtomicFile(std::string targetPath)
    : target(std::move(targetPath)),
      temporary(temporaryNameFor(target)),
      out(temporary, std::ios::binary | std::ios::trunc) {}

AtomicFile::~AtomicFile() {
    if (!committed && !tornByFault) {
        out.close();
        std::remove(temporary.c_str());
    }
}

bool AtomicFile::commit() {
    out.flush();
    const bool written = out.good();
    out.close();
    if (fileFaults::nextStepFails()) {
        tearFile(temporary);
        tornByFault = true;
        return false;
    }
    if (!written || out.fail() || !fsyncFile(temporary)) {
        return false;
    }
    if (fileFaults::nextStepFails() || std::rename(temporary.c_str(), target.c_str()) != 0) {
        return false;
    }
    committed = true;
    return true;
}

bool removeFileIfPresent(const std::string& path) {
    if (fileFaults::nextStepFails()) {
        return false;
    }
    return std::remove(path.c_str()) == 0 || errno == ENOENT;
}

void syncDirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
