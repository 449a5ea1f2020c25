#include <chrono>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "gui/IdleWork.h"

using ::testing::ElementsAre;

namespace {

class IdleWorkTest : public ::testing::Test {
protected:
    void TearDown() override { idleWork::reset(); }

    // Work of `owner` that logs each slice and is done after `slices` of them.
    idleWork::Slice counted(const char* owner, int slices) {
        auto left = std::make_shared<int>(slices);
        return [this, owner, left] {
            log.push_back(owner);
            return --*left > 0;
        };
    }

    std::vector<std::string> log;
    const int a = 0;
    const int b = 0;
};

}  // namespace

// Work runs in the order it was posted, each owner's until it is done; one run always runs at
// least one slice, however short its budget.
TEST_F(IdleWorkTest, SlicesRunEarliestWorkFirstUntilEachIsDone) {
    idleWork::post(&a, counted("a", 2));
    idleWork::post(&b, counted("b", 1));
    EXPECT_TRUE(idleWork::run(std::chrono::microseconds(0)));
    EXPECT_THAT(log, ElementsAre("a"));
    EXPECT_FALSE(idleWork::run(std::chrono::seconds(10)));
    EXPECT_THAT(log, ElementsAre("a", "a", "b"));
    EXPECT_FALSE(idleWork::pending());
}

// Posting again replaces an owner's work; cancelling drops it; a slice may post its owner's next
// work from inside, which then stays although the slice reports itself done.
TEST_F(IdleWorkTest, ReplacingCancellingAndPostingFromInsideASlice) {
    idleWork::post(&a, counted("old", 5));
    idleWork::post(&a, counted("new", 1));
    idleWork::post(&b, counted("b", 3));
    idleWork::cancel(&b);
    EXPECT_FALSE(idleWork::pendingFor(&b));
    idleWork::run(std::chrono::seconds(10));
    EXPECT_THAT(log, ElementsAre("new"));

    log.clear();
    idleWork::post(&a, [this] {
        log.push_back("first");
        idleWork::post(&a, counted("second", 1));
        return false;
    });
    idleWork::run(std::chrono::microseconds(0));
    EXPECT_TRUE(idleWork::pendingFor(&a));
    idleWork::run(std::chrono::seconds(10));
    EXPECT_THAT(log, ElementsAre("first", "second"));
    EXPECT_FALSE(idleWork::pending());
}
