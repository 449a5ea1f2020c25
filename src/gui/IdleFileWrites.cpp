#include "gui/IdleFileWrites.h"

#include <chrono>

#include "base/FileTransaction.h"
#include "gui/IdleWork.h"

namespace {

// Longer than an ordinary slice (gui/IdleWork.h): creating a file costs a tenth of a
// millisecond or more, and a frame still comes well within its time after a few of them.
constexpr std::chrono::milliseconds SLICE{8};

const char owner = 0;

bool writeSome() {
    return FileTransaction::writePendingFiles(std::chrono::steady_clock::now() + SLICE);
}

}  // namespace

void writeSavedFilesInIdleTime() {
    FileTransaction::setIdleWork([] { idleWork::post(&owner, writeSome); });
}

void stopWritingSavedFilesInIdleTime() {
    FileTransaction::setIdleWork(nullptr);
    idleWork::cancel(&owner);
}
