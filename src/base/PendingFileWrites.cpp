#include "base/PendingFileWrites.h"

#include <fcntl.h>

#include <utility>

#include "base/FileSystem.h"
#include "base/InPlaceFiles.h"

void PendingFileWrites::addFromLog(const std::string& path, const std::vector<Logged>& written,
                                   const std::vector<std::string>& removed) {
    if (logPath != path) {
        log.reset();
        logPath = path;
    }
    for (const Logged& file : written) {
        steps.push_back({file.path, file.offset, file.size, false});
    }
    for (const std::string& removal : removed) {
        steps.push_back({removal, 0, 0, true});
    }
}

void PendingFileWrites::clear() {
    steps.clear();
    log.reset();
    readBuffer = std::string();
}

bool PendingFileWrites::readFromLog(off_t offset, std::size_t size) {
    FileSystem& files = fileSystem();
    if (!log) {
        log.emplace(FileDescriptor::open(logPath, O_RDONLY));
        if (!log->isOpen()) {
            log.reset();
            return false;
        }
    }
    readBuffer.resize(size);
    if (files.seek(log->get(), offset, SEEK_SET) != offset) {
        return false;
    }
    for (std::size_t at = 0; at < size;) {
        const ssize_t got = files.read(log->get(), readBuffer.data() + at, size - at);
        if (got <= 0) {
            return false;
        }
        at += static_cast<std::size_t>(got);
    }
    return true;
}

bool PendingFileWrites::write(const Step& step) {
    if (step.removal) {
        return removeFileNow(step.path);
    }
    return readFromLog(step.logOffset, step.logSize) && overwriteFile(step.path, readBuffer);
}

PendingFileWrites::Progress PendingFileWrites::writeUntil(Clock::time_point deadline) {
    for (bool first = true; !steps.empty() && (first || Clock::now() < deadline); first = false) {
        if (!write(steps.front())) {
            return Progress::FAILED;
        }
        steps.pop_front();
    }
    if (steps.empty()) {
        log.reset();  // a checkpoint may remove the log now
        return Progress::ALL_DONE;
    }
    return Progress::MORE_LEFT;
}
