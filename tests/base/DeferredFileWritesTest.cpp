// A large unit is done at its commit point and its files are written in place in idle slices;
// the checkpoint its log calls for syncs on a thread of its own. Nothing may see the files behind
// the log meanwhile, and a crash or power loss at any step leaves what the commit promised.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>

#include "base/AtomicFile.h"
#include "base/BackgroundSync.h"
#include "base/FileDescriptor.h"
#include "base/FileTransaction.h"
#include "base/WindowThreadTasks.h"
#include "support/SimulatedDisk.h"
#include "support/UnitFilesTest.h"

namespace {

namespace fs = std::filesystem;
using mernolex::test::SimulatedDisk;
using Clock = std::chrono::steady_clock;
using Files = std::map<std::string, std::string>;

class DeferredFileWritesTest : public mernolex::test::UnitFilesTest {
protected:
    void SetUp() override {
        UnitFilesTest::SetUp();
        FileTransaction::setLimits(
            {.deferredFromSteps = 4, .checkpointPastBytes = 4 << 20, .syncWholeFileSystemFrom = 4});
        FileTransaction::setIdleWork([this] { ++asked; });
    }
    void TearDown() override {
        FileTransaction::setIdleWork(nullptr);
        FileTransaction::forgetOpenLog();
        FileTransaction::setLimits({});
        BackgroundSync::runInline(false);
        window_thread::discardPosted();
        UnitFilesTest::TearDown();
    }

    // Every file replaced (the odd ones new), gone removed: seven steps.
    static FileTransaction::Outcome saveNew(const std::string& label = "new ") {
        FileTransaction unit(JOURNAL);
        for (unsigned i = 0; i < FILES; ++i) {
            replaceFile(path(i), label + std::to_string(i));
        }
        removeFileIfPresent("Data/B/gone.dat");
        return unit.commit();
    }

    static Files newState(const std::string& label = "new ") {
        Files state;
        for (unsigned i = 0; i < FILES; ++i) {
            state[path(i)] = label + std::to_string(i);
        }
        return state;
    }

    // Idle slices of one file each until nothing is left; the number of slices.
    static unsigned runSlices() {
        unsigned slices = 0;
        for (;; ++slices) {
            window_thread::runPosted();
            if (!FileTransaction::writePendingFiles(Clock::now()) && !FileTransaction::hasPendingWork()) {
                return slices;
            }
        }
    }

    unsigned asked = 0;
};

TEST_F(DeferredFileWritesTest, ALargeUnitIsWrittenInSlicesAfterItsCommitPointAndSmallOnesAtOnce) {
    writeOld();
    const Files oldState = onDisk();
    ASSERT_EQ(saveNew(), FileTransaction::Outcome::DONE);
    EXPECT_EQ(asked, 1u);
    EXPECT_TRUE(FileTransaction::hasPendingWork());
    EXPECT_EQ(onDisk(), oldState) << "nothing written in place before idle time";
    // One file per slice; the removal comes after the unit's writes.
    for (unsigned i = 0; i < FILES; ++i) {
        EXPECT_TRUE(FileTransaction::writePendingFiles(Clock::now())) << i;
        EXPECT_EQ(readFile(path(i)), "new " + std::to_string(i));
        EXPECT_TRUE(fs::exists("Data/B/gone.dat"));
    }
    EXPECT_FALSE(FileTransaction::writePendingFiles(Clock::now()));
    EXPECT_FALSE(FileTransaction::hasPendingWork());
    EXPECT_EQ(onDisk(), newState());
    EXPECT_TRUE(fs::exists(JOURNAL)) << "the log is small: no checkpoint yet";

    // Three steps: under the limit, written at once.
    {
        FileTransaction unit(JOURNAL);
        replaceFile(path(0), "small 0");
        replaceFile(path(1), "small 1");
        removeFileIfPresent(path(2));
        ASSERT_EQ(unit.commit(), FileTransaction::Outcome::DONE);
    }
    EXPECT_FALSE(FileTransaction::hasPendingWork());
    EXPECT_EQ(readFile(path(1)), "small 1");
    EXPECT_FALSE(fs::exists(path(2)));

    // Without idle time (the command line) every unit is written at once.
    FileTransaction::setIdleWork(nullptr);
    ASSERT_EQ(saveNew("again "), FileTransaction::Outcome::DONE);
    EXPECT_EQ(onDisk(), newState("again "));
}

// Whatever reads or writes through the file system first finishes the pending writes.
TEST_F(DeferredFileWritesTest, EveryUseOfTheFilesFinishesThePendingWritesFirst) {
    const std::function<bool()> readers[] = {
        [] {
            std::string text;
            return readWholeFile(path(3), text) == ReadResult::READ && text == "new 3";
        },
        [] { return !pathExists("Data/B/gone.dat"); },
        [] { return replaceFile("Data/A/other.dat", "x"); },
        [] { return removeFileIfPresent("Data/A/other.dat"); },
        [] { return saveNew("next ") == FileTransaction::Outcome::DONE; },
        [] { return FileTransaction::checkpoint() && !fs::exists(JOURNAL); },
        [] { return FileTransaction::recover(JOURNAL); },
        [] {
            FileTransaction::finishPendingWork();
            return true;
        },
    };
    for (std::size_t r = 0; r < std::size(readers); ++r) {
        writeOld();
        ASSERT_EQ(saveNew(), FileTransaction::Outcome::DONE);
        ASSERT_TRUE(FileTransaction::writePendingFiles(Clock::now()));  // one of seven written
        EXPECT_TRUE(readers[r]()) << "reader " << r;
        const bool aLargeSave = r == 4;
        if (aLargeSave) {  // its own unit waits in turn, the one before it does not
            EXPECT_EQ(onDisk(), newState()) << "reader " << r;
            FileTransaction::finishPendingWork();
        }
        EXPECT_FALSE(FileTransaction::hasPendingWork()) << "reader " << r;
        Files found = onDisk();
        found.erase("Data/A/other.dat");
        EXPECT_TRUE(found == newState() || found == newState("next ")) << "reader " << r;
        ASSERT_TRUE(FileTransaction::checkpoint());
    }

    // A simulated crash drops the queue; the start's recovery writes the files from the log.
    writeOld();
    ASSERT_EQ(saveNew(), FileTransaction::Outcome::DONE);
    FileTransaction::forgetOpenLog();
    EXPECT_FALSE(FileTransaction::hasPendingWork());
    EXPECT_NE(onDisk(), newState());
    ASSERT_TRUE(FileTransaction::recover(JOURNAL));
    EXPECT_EQ(onDisk(), newState());
}

TEST_F(DeferredFileWritesTest, AFailedWriteDropsTheQueueAndTheNextTransactionWritesItAllAgain) {
    writeOld();
    {
        SimulatedDisk disk("Data");
        disk.arm({SimulatedDisk::WRITE, 1, SimulatedDisk::Effect::FAIL, EIO, "/3.dat"});
        ASSERT_EQ(saveNew(), FileTransaction::Outcome::DONE);
        while (FileTransaction::writePendingFiles(Clock::now())) {
        }
    }
    EXPECT_FALSE(FileTransaction::hasPendingWork());
    EXPECT_EQ(readFile(path(4)), "old 4") << "nothing after the failed write";
    FileTransaction unit(JOURNAL);  // recovers first
    EXPECT_FALSE(unit.isBlocked());
    EXPECT_EQ(onDisk(), newState());
    EXPECT_FALSE(fs::exists(JOURNAL));
}

// The checkpoint of a large log runs its syncfs on a thread; the log goes once it has returned.
TEST_F(DeferredFileWritesTest, TheCheckpointAfterTheWritesSyncsOnAThreadAndRemovesTheLog) {
    FileTransaction::setLimits({.deferredFromSteps = 4, .checkpointPastBytes = 1, .syncWholeFileSystemFrom = 4});
    writeOld();
    ASSERT_EQ(saveNew(), FileTransaction::Outcome::DONE);
    unsigned slices = 0;
    while (FileTransaction::writePendingFiles(Clock::now())) {
        ++slices;
    }
    EXPECT_EQ(slices, FILES + 1) << "a slice for each of the seven steps, then the sync is begun";
    EXPECT_TRUE(FileTransaction::hasPendingWork());
    // The sync's thread asks for idle time again once it has returned.
    const auto giveUp = Clock::now() + std::chrono::seconds(20);
    while (asked < 2 && Clock::now() < giveUp) {
        window_thread::runPosted();
    }
    EXPECT_EQ(asked, 2u);
    EXPECT_TRUE(fs::exists(JOURNAL));
    EXPECT_FALSE(FileTransaction::writePendingFiles(Clock::now()));
    EXPECT_FALSE(FileTransaction::hasPendingWork());
    EXPECT_EQ(onDisk(), newState());
    EXPECT_FALSE(fs::exists(JOURNAL));
    EXPECT_FALSE(FileTransaction::logIsOpen());

    // A transaction begun while the sync runs waits for it: the log goes, the new unit starts a new one.
    writeOld();
    ASSERT_EQ(saveNew(), FileTransaction::Outcome::DONE);
    while (FileTransaction::writePendingFiles(Clock::now())) {
    }
    ASSERT_TRUE(FileTransaction::hasPendingWork()) << "the sync runs";
    ASSERT_EQ(saveNew("next "), FileTransaction::Outcome::DONE);
    EXPECT_TRUE(fs::exists(JOURNAL));
    runSlices();
    EXPECT_EQ(onDisk(), newState("next "));
    EXPECT_FALSE(fs::exists(JOURNAL));
}

// A kill or a power loss at every step of the commit, of the idle writes and of the background
// checkpoint: once the commit was reported, the next start (its recovery) finds the new files;
// before it, the old or the new ones.
TEST_F(DeferredFileWritesTest, ACutAtAnyStepOfTheDeferredWritesOrTheCheckpointLeavesTheCommittedUnit) {
    FileTransaction::setLimits({.deferredFromSteps = 4, .checkpointPastBytes = 1, .syncWholeFileSystemFrom = 4});
    BackgroundSync::runInline(true);  // the calls in one order every run
    writeOld();
    const Files oldState = onDisk();
    unsigned cases = 0;
    for (bool powerLoss : {false, true}) {
        for (unsigned n = 1;; ++n) {
            writeOld();
            fs::remove(JOURNAL);
            bool committed = false;
            bool cutOff = false;
            {
                SimulatedDisk disk("Data");
                disk.skipSyncs(true);
                const std::size_t fault = disk.arm({SimulatedDisk::STEPS, n, SimulatedDisk::Effect::STOP});
                committed = saveNew() == FileTransaction::Outcome::DONE && !disk.stopped();
                runSlices();
                cutOff = disk.fired(fault);
                powerLoss ? disk.powerLoss() : disk.resume();
                FileTransaction::forgetOpenLog();  // the process ends
            }
            ++cases;
            ASSERT_TRUE(FileTransaction::recover(JOURNAL)) << n;
            const Files found = onDisk();
            const std::string label = (powerLoss ? "power loss at step " : "kill at step ") + std::to_string(n);
            if (committed) {
                EXPECT_EQ(found, newState()) << label;
            } else {
                EXPECT_TRUE(found == oldState || found == newState()) << label;
            }
            if (!cutOff) {
                break;
            }
            ASSERT_LT(n, 200u);
        }
    }
    EXPECT_GT(cases, 2u * (FILES + 2));
}

}  // namespace
