#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "program/InstanceLock.h"
#include "support/SimulatedDisk.h"
#include "support/TempDirTest.h"

namespace {

namespace fs = std::filesystem;
using mernolex::test::SimulatedDisk;
constexpr const char* FILE_NAME = InstanceLock::FILE_NAME;

class InstanceLockTest : public mernolex::test::TempDirTest {
protected:
    std::unique_ptr<InstanceLock> acquire(const fs::path& directory) {
        problem.clear();
        return InstanceLock::acquire(directory, problem);
    }
    std::string problem;
};

// flock belongs to an open file, so a second acquire in this very process meets the first as a
// second process would.
TEST_F(InstanceLockTest, ASecondHolderIsRefusedNamingTheFirstUntilTheFirstLetsGo) {
    fs::create_directory("collection");
    fs::create_directory("elsewhere");
    std::unique_ptr<InstanceLock> first = acquire("collection");
    ASSERT_TRUE(first) << problem;
    EXPECT_EQ(readFile("collection/.mernolex.lock"), std::to_string(getpid()) + "\n");

    EXPECT_FALSE(acquire("collection"));
    EXPECT_EQ(problem, "another Mernolex (process " + std::to_string(getpid()) +
                           ") is working on the data directory \"collection\"; close it first");
    // Another directory is another lock.
    EXPECT_TRUE(acquire("elsewhere")) << problem;

    // A holder that has not written its id yet (or a file edited by hand) is still a holder.
    writeFile("collection/.mernolex.lock", "not a number");
    EXPECT_FALSE(acquire("collection"));
    EXPECT_EQ(problem, "another Mernolex is working on the data directory \"collection\"; close it first");

    first.reset();
    std::unique_ptr<InstanceLock> next = acquire("collection");
    ASSERT_TRUE(next) << problem;
    EXPECT_EQ(readFile("collection/.mernolex.lock"), std::to_string(getpid()) + "\n");
}

TEST_F(InstanceLockTest, ALockFileLeftByAProgramThatDiedBlocksNothing) {
    // What a killed holder leaves: its file, here with an id longer than ours, so that an id
    // written over it without emptying it first would leave digits behind.
    writeFile(".mernolex.lock", "2147483646\n");
    std::unique_ptr<InstanceLock> lock = acquire(".");
    ASSERT_TRUE(lock) << problem;
    EXPECT_EQ(readFile(".mernolex.lock"), std::to_string(getpid()) + "\n");
}

TEST_F(InstanceLockTest, ALockFileThatIsALinkIsNeitherFollowedNorTrusted) {
    // Writing the id through a link planted in a shared folder would overwrite its target.
    writeFile("precious.txt", "keep me");
    fs::create_symlink("precious.txt", ".mernolex.lock");
    EXPECT_FALSE(acquire("."));
    EXPECT_EQ(problem.rfind("cannot lock the data directory \".\": ", 0), 0u) << problem;
    EXPECT_EQ(readFile("precious.txt"), "keep me");
}

TEST_F(InstanceLockTest, ADirectoryThatIsMissingIsRefusedWithTheSystemsReason) {
    EXPECT_FALSE(acquire("missing"));
    EXPECT_EQ(problem, "cannot lock the data directory \"missing\": No such file or directory");
}

// A read-only file system cannot take a new lock file, but the one a program that could write
// there made is locked all the same: the same directory may be writable another way, and two
// programs at work on it would overwrite each other's saves.
TEST_F(InstanceLockTest, OnAReadOnlyFileSystemTheLockFileThereIsHeldAndWithoutOneTheStartIsRefused) {
    fs::create_directory("collection");
    writeFile("collection/.mernolex.lock", "2147483646\n");
    SimulatedDisk readOnly;
    const auto refuseWriting = [&] {
        readOnly.arm({SimulatedDisk::OPEN, 1, SimulatedDisk::Effect::FAIL, EROFS, FILE_NAME});
    };
    refuseWriting();
    std::unique_ptr<InstanceLock> first = acquire("collection");
    ASSERT_TRUE(first) << problem;
    EXPECT_EQ(readFile("collection/.mernolex.lock"), "2147483646\n") << "nothing written";
    refuseWriting();
    EXPECT_FALSE(acquire("collection"));
    EXPECT_EQ(problem.rfind("another Mernolex", 0), 0u) << problem;
    first.reset();

    fs::remove("collection/.mernolex.lock");
    refuseWriting();
    EXPECT_FALSE(acquire("collection"));
    EXPECT_EQ(problem, "cannot lock the data directory \"collection\": Read-only file system");
}

}  // namespace
