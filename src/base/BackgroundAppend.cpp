#include "base/BackgroundAppend.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/FileSystem.h"
#include "base/TransactionLog.h"

namespace {

bool appendsInline = false;

constexpr std::size_t CHUNK = 1 << 20;

bool writeAllThrough(FileSystem& files, int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t wrote = files.write(fd, bytes.data(), bytes.size());
        if (wrote <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(wrote));
    }
    return true;
}

}  // namespace

BackgroundAppend::~BackgroundAppend() {
    if (thread.joinable()) {
        thread.join();
    }
}

void BackgroundAppend::runInline(bool inline_) {
    appendsInline = inline_;
}

void BackgroundAppend::start(FileSystem& files, const Unit& unit, std::function<void()> whenDone) {
    done.store(false, std::memory_order_relaxed);
    if (appendsInline) {
        ranInline = true;
        result = append(files, unit);
        done.store(true, std::memory_order_release);
        return;
    }
    thread = std::thread([this, &files, unit, whenDone = std::move(whenDone)] {
        result = append(files, unit);
        done.store(true, std::memory_order_release);
        if (whenDone) {
            whenDone();
        }
    });
}

BackgroundAppend::Result BackgroundAppend::join(off_t& logSize) {
    if (thread.joinable()) {
        thread.join();
    }
    ranInline = false;
    cancelled.store(false, std::memory_order_relaxed);
    logSize = sizeAfter;
    return result;
}

// The spool's entries behind the header, summed as they go.
bool BackgroundAppend::copySpool(FileSystem& files, const Unit& unit, std::uint64_t& sum) {
    if (files.seek(unit.spool, 0, SEEK_SET) != 0) {
        return false;
    }
    std::vector<char> chunk(CHUNK);
    for (off_t left = unit.spoolSize; left > 0;) {
        if (cancelled.load(std::memory_order_acquire)) {
            return false;
        }
        const std::size_t want = static_cast<std::size_t>(std::min<off_t>(left, static_cast<off_t>(CHUNK)));
        const ssize_t got = files.read(unit.spool, chunk.data(), want);
        if (got <= 0) {
            return false;
        }
        const std::string_view bytes(chunk.data(), static_cast<std::size_t>(got));
        sum = transaction_log::continueSum(bytes, sum);
        if (!writeAllThrough(files, unit.log, bytes)) {
            return false;
        }
        left -= got;
    }
    return true;
}

BackgroundAppend::Result BackgroundAppend::append(FileSystem& files, const Unit& unit) {
    const std::size_t body = static_cast<std::size_t>(unit.spoolSize) + unit.removals.size();
    const std::string header = transaction_log::headerLine(body, unit.entries);
    std::uint64_t sum = transaction_log::continueSum(header, transaction_log::SUM_START);
    bool appended = writeAllThrough(files, unit.log, header) && copySpool(files, unit, sum);
    if (appended) {
        sum = transaction_log::continueSum(unit.removals, sum);
        appended = writeAllThrough(files, unit.log, unit.removals) &&
                   writeAllThrough(files, unit.log, transaction_log::endLine(unit.entries, sum)) &&
                   !cancelled.load(std::memory_order_acquire);
    }
    struct stat status {};
    if (appended && files.syncData(unit.log) == 0 && files.status(unit.log, status) == 0) {
        sizeAfter = status.st_size;
        return Result::COMMITTED;
    }
    // Not durably in the log: no later recovery may repeat it either.
    return files.truncate(unit.log, unit.logSize) == 0 ? Result::NOT_COMMITTED : Result::TAIL_LEFT;
}
