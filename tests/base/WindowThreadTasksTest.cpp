// Results of other threads handed to the window's thread.
#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "base/WindowThreadTasks.h"

namespace {

class WindowThreadTasksTest : public ::testing::Test {
protected:
    void TearDown() override {
        window_thread::setWake(nullptr);
        window_thread::discardPosted();
    }
};

TEST_F(WindowThreadTasksTest, TasksFromOtherThreadsRunOnlyWhenTheWindowRunsThemAndInOrder) {
    std::atomic<int> wakes{0};
    window_thread::setWake([&] { ++wakes; });
    std::vector<int> ran;  // touched by the window's thread only
    std::thread worker([&] {
        for (int i = 0; i < 100; ++i) {
            window_thread::post([&ran, i] { ran.push_back(i); });
        }
    });
    worker.join();
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(wakes.load(), 100);
    window_thread::runPosted();
    ASSERT_EQ(ran.size(), 100u);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(ran[i], i);
    }
    // A task that posts runs at the next call, not in the same one.
    window_thread::post([&] { window_thread::post([&] { ran.push_back(-1); }); });
    window_thread::runPosted();
    EXPECT_EQ(ran.size(), 100u);
    window_thread::runPosted();
    EXPECT_EQ(ran.back(), -1);
}

TEST_F(WindowThreadTasksTest, WithoutAWakeOrAfterADiscardNothingRunsByItself) {
    int ran = 0;
    window_thread::post([&] { ++ran; });
    window_thread::discardPosted();
    window_thread::runPosted();
    EXPECT_EQ(ran, 0);
}

}  // namespace
