#include "states/ScreenRegistry.h"

#include <array>
#include <cstddef>

namespace {

std::array<StateBuilder, static_cast<std::size_t>(LinkedScreen::LINKED_SCREEN_COUNT)> builders{};
NoTagFunc dailyCheck = nullptr;

std::size_t slot(LinkedScreen screen) { return static_cast<std::size_t>(screen); }

}  // namespace

void linkScreen(LinkedScreen screen, StateBuilder builder) {
    if (slot(screen) < builders.size()) {
        builders[slot(screen)] = builder;
    }
}

StateBuilder linkedScreen(LinkedScreen screen) {
    return slot(screen) < builders.size() ? builders[slot(screen)] : nullptr;
}

void linkDailyCheck(NoTagFunc check) { dailyCheck = check; }

void runDailyCheck() {
    if (dailyCheck != nullptr) {
        dailyCheck();
    }
}

void resetLinkedScreens() {
    builders.fill(nullptr);
    dailyCheck = nullptr;
}
