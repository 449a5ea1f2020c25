#include "base/UnitSpool.h"

#include <fcntl.h>

#include "base/FileDescriptor.h"
#include "base/FileSystem.h"
#include "base/InPlaceFiles.h"
#include "base/TransactionLog.h"

namespace {

// Big enough that an import's thousands of small files cost few writes.
constexpr std::size_t BUFFER = 1 << 20;

}  // namespace

UnitSpool::~UnitSpool() {
    discard();
}

bool UnitSpool::open(std::string at) {
    discard();
    path = std::move(at);
    fd = fileSystem().open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0666);
    failed = fd < 0;
    written = 0;
    buffer.clear();
    buffer.reserve(BUFFER);
    files.clear();
    return !failed;
}

bool UnitSpool::add(const std::string& target, std::string_view contents, bool targetIsNew) {
    if (failed) {
        return false;
    }
    const std::string line = transaction_log::entryLine(target, contents.size());
    if (buffer.size() + line.size() + contents.size() > BUFFER && !flush()) {
        return false;
    }
    buffer += line;
    files.push_back({target, size(), contents.size(), targetIsNew});
    if (contents.size() >= BUFFER) {
        if (!flush() || !writeAll(fd, contents)) {
            failed = true;
            return false;
        }
        written += static_cast<off_t>(contents.size());
        return true;
    }
    buffer += contents;
    return true;
}

bool UnitSpool::flush() {
    if (!failed && !buffer.empty()) {
        failed = !writeAll(fd, buffer);
        written += static_cast<off_t>(buffer.size());
        buffer.clear();
    }
    return !failed;
}

void UnitSpool::discard() {
    if (fd >= 0) {
        fileSystem().close(fd);
        fd = -1;
        removeFileNow(path);
    }
    buffer = std::string();
    files = std::vector<Entry>();
}
