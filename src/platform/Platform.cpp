#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {
Platform* currentPlatform = nullptr;
}

Platform& current() {
    if (currentPlatform == nullptr) {
        // Using the framework before a platform is chosen is a programming error; continuing
        // would dereference null.
        std::fputs("mernolex: no platform has been set up\n", stderr);
        std::abort();
    }
    return *currentPlatform;
}

bool hasCurrent() { return currentPlatform != nullptr; }

void setCurrent(Platform* platform) { currentPlatform = platform; }

}  // namespace platform
