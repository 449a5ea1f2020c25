#include "db/PictureRemovals.h"

#include <set>

#include "base/AtomicFile.h"
#include "base/FileTransaction.h"

namespace pictureRemovals {
namespace {

std::set<std::string>& noted() {
    static std::set<std::string> paths;
    return paths;
}

}  // namespace

void note(const std::string& path) {
    noted().insert(path);
}

void cancel(const std::string& path) {
    noted().erase(path);
}

std::vector<std::string> pending() {
    return {noted().begin(), noted().end()};
}

void stageInActiveTransaction() {
    const std::vector<std::string> paths = pending();
    if (paths.empty()) {
        return;
    }
    FileTransaction* unit = FileTransaction::active();
    for (const std::string& path : paths) {
        removeFileIfPresent(path);
    }
    if (unit == nullptr) {
        clear();
        return;
    }
    // Only the paths staged now: a picture noted later belongs to a later save.
    unit->afterCommit([paths] {
        for (const std::string& path : paths) {
            noted().erase(path);
        }
    });
}

void clear() {
    noted().clear();
}

}  // namespace pictureRemovals
