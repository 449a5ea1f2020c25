#include "base/FileFaults.h"

#include <signal.h>
#include <unistd.h>

namespace fileFaults {

namespace {

// A countdown to the armed event; 0 = disarmed.
struct Countdown {
    unsigned left = 0;
    bool hasFired = false;

    void arm(unsigned n) {
        left = n;
        hasFired = false;
    }
    bool next() {
        if (left == 0 || --left != 0) {
            return false;
        }
        hasFired = true;
        return true;
    }
};

Countdown steps;
Countdown syncs;
Kind stepKind = Kind::FAIL;
bool skippingSyncs = false;

}  // namespace

void failStep(unsigned n, Kind kind) {
    steps.arm(n);
    stepKind = kind;
}

bool fired() {
    return steps.hasFired;
}

bool nextStepFails() {
    return steps.next();
}

void crashPoint() {
    if (stepKind == Kind::KILL) {
        ::kill(::getpid(), SIGKILL);
    }
}

void failSync(unsigned n) {
    syncs.arm(n);
}

bool syncFired() {
    return syncs.hasFired;
}

bool nextSyncFails() {
    return syncs.next();
}

void skipSyncs(bool skip) {
    skippingSyncs = skip;
}

bool syncsSkipped() {
    return skippingSyncs;
}

}  // namespace fileFaults
