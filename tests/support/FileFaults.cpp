#include "support/FileFaults.h"

#include <limits>

#include "support/SimulatedDisk.h"

namespace fileFaults {

namespace {

using mernolex::test::SimulatedDisk;

constexpr std::size_t NONE = std::numeric_limits<std::size_t>::max();

struct Faults {
    SimulatedDisk disk;  // tracks nothing: only counts and fails
    std::size_t step = NONE;
    std::size_t sync = NONE;
};

Faults& faults() {
    static Faults* kept = new Faults();  // for the whole process, whatever ends it
    return *kept;
}

void rearm(std::size_t& handle, unsigned n, unsigned calls, SimulatedDisk::Effect effect) {
    Faults& all = faults();
    if (handle != NONE) {
        all.disk.disarm(handle);
        handle = NONE;
    }
    if (n > 0) {
        handle = all.disk.arm({calls, n, effect});
    }
}

bool hasFired(std::size_t handle) {
    return handle != NONE && faults().disk.fired(handle);
}

}  // namespace

void failStep(unsigned n, Kind kind) {
    rearm(faults().step, n, SimulatedDisk::CHANGES,
          kind == Kind::KILL ? SimulatedDisk::Effect::KILL : SimulatedDisk::Effect::FAIL);
}

bool fired() {
    return hasFired(faults().step);
}

void failSync(unsigned n) {
    rearm(faults().sync, n, SimulatedDisk::SYNC, SimulatedDisk::Effect::FAIL);
}

bool syncFired() {
    return hasFired(faults().sync);
}

void skipSyncs(bool skip) {
    faults().disk.skipSyncs(skip);
}

}  // namespace fileFaults
