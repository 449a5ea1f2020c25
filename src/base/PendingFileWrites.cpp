#include "base/PendingFileWrites.h"

#include "base/InPlaceFiles.h"

void PendingFileWrites::add(std::vector<std::pair<std::string, std::string>> written,
                            const std::vector<std::string>& removed) {
    for (auto& [path, contents] : written) {
        steps.push_back({std::move(path), std::move(contents), false});
    }
    for (const std::string& path : removed) {
        steps.push_back({path, {}, true});
    }
}

PendingFileWrites::Progress PendingFileWrites::writeUntil(Clock::time_point deadline) {
    for (bool first = true; !steps.empty() && (first || Clock::now() < deadline); first = false) {
        const Step& step = steps.front();
        if (!(step.removal ? removeFileNow(step.path) : overwriteFile(step.path, step.contents))) {
            return Progress::FAILED;
        }
        steps.pop_front();
    }
    return steps.empty() ? Progress::ALL_DONE : Progress::MORE_LEFT;
}
