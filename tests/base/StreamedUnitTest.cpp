// A large unit streamed to a spool as its files are staged, in steps, and committed on a thread of
// its own: the log holds exactly the unit a one-call commit writes, the files are written in
// idle time from the log, a cancel before the commit point leaves nothing, whatever uses the file
// system meanwhile finishes the unit first, and a crash or power loss at any step leaves the old
// files or the new ones.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "base/AtomicFile.h"
#include "base/BackgroundAppend.h"
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
using Outcome = FileTransaction::Outcome;

class StreamedUnitTest : public mernolex::test::UnitFilesTest {
protected:
    void SetUp() override {
        UnitFilesTest::SetUp();
        FileTransaction::setLimits({.deferredFromSteps = 4, .checkpointPastBytes = 4 << 20, .syncWholeFileSystemFrom = 4});
        FileTransaction::setIdleWork([] {});
        BackgroundAppend::runInline(true);  // the calls in one order every run
    }
    void TearDown() override {
        FileTransaction::setIdleWork(nullptr);
        FileTransaction::forgetOpenLog();
        FileTransaction::setLimits({});
        BackgroundAppend::runInline(false);
        window_thread::discardPosted();
        UnitFilesTest::TearDown();
    }

    static Files newState() {
        Files state;
        for (unsigned i = 0; i < FILES; ++i) {
            state[path(i)] = "new " + std::to_string(i) + std::string(i * 300, 'x');
        }
        return state;
    }

    // Stages file `i` (i == FILES: the removal) in a step of its own.
    static void stageStep(FileTransaction& unit, unsigned i) {
        FileTransaction::StagingScope scope(unit);
        if (i < FILES) {
            replaceFile(path(i), newState()[path(i)]);
        } else {
            removeFileIfPresent("Data/B/gone.dat");
        }
    }

    static std::unique_ptr<FileTransaction> begin() {
        std::unique_ptr<FileTransaction> unit = FileTransaction::beginStreamed(JOURNAL, {});
        EXPECT_NE(unit, nullptr);
        return unit;
    }

    // Every file in a step of its own, then the commit on its thread; waits for the outcome.
    static Outcome saveStreamed() {
        std::unique_ptr<FileTransaction> unit = begin();
        for (unsigned i = 0; i <= FILES; ++i) {
            stageStep(*unit, i);
        }
        unit->commitInBackground();
        const std::optional<Outcome> outcome = unit->streamedOutcome();
        return outcome ? *outcome : unit->commit();
    }

    static void writeIdleSlices() {
        while (FileTransaction::writePendingFiles(Clock::now()) || FileTransaction::hasPendingWork()) {
        }
    }
};

TEST_F(StreamedUnitTest, TheLogHoldsTheSameUnitAsAOneCallCommitAndTheFilesComeFromIt) {
    writeOld();
    {
        FileTransaction unit(JOURNAL);
        for (unsigned i = 0; i <= FILES; ++i) {
            if (i < FILES) {
                replaceFile(path(i), newState()[path(i)]);
            } else {
                removeFileIfPresent("Data/B/gone.dat");
            }
        }
        ASSERT_EQ(unit.commit(), Outcome::DONE);
    }
    const std::string oneCall = readFile(JOURNAL);
    FileTransaction::forgetOpenLog();
    writeOld();
    const Files oldState = onDisk();

    ASSERT_EQ(saveStreamed(), Outcome::DONE);
    EXPECT_EQ(readFile(JOURNAL), oneCall);
    EXPECT_FALSE(fs::exists(AtomicFile::temporaryNameFor(JOURNAL))) << "the spool is gone";
    EXPECT_EQ(onDisk(), oldState) << "the files wait for idle time";
    EXPECT_EQ(FileTransaction::pendingFileSteps(), FILES + 1);
    writeIdleSlices();
    EXPECT_EQ(onDisk(), newState());

    // A second unit appended to the open log: its files are read from where it lies.
    ASSERT_TRUE(fs::exists(JOURNAL));
    writeFile(path(4), "changed");
    ASSERT_EQ(saveStreamed(), Outcome::DONE);
    EXPECT_EQ(readFile(JOURNAL).size(), 2 * oneCall.size());
    FileTransaction::finishPendingWork();
    EXPECT_EQ(onDisk(), newState());
}

TEST_F(StreamedUnitTest, ACancelBeforeTheCommitPointOrAFailedTargetLeavesNothing) {
    writeOld();
    const Files oldState = onDisk();
    {
        std::unique_ptr<FileTransaction> unit = begin();
        stageStep(*unit, 0);
        stageStep(*unit, 1);
        unit->cancelStreamed();
        EXPECT_EQ(unit->streamedOutcome(), Outcome::NOTHING_CHANGED);
    }
    EXPECT_FALSE(fs::exists(JOURNAL));
    EXPECT_FALSE(fs::exists(AtomicFile::temporaryNameFor(JOURNAL)));
    EXPECT_EQ(onDisk(), oldState);
    EXPECT_FALSE(FileTransaction::hasPendingWork());

    // A unit dropped without its commit is a cancel.
    begin()->commitInBackground();  // nothing staged: nothing to commit
    { std::unique_ptr<FileTransaction> dropped = begin(); stageStep(*dropped, 2); }
    EXPECT_FALSE(fs::exists(JOURNAL));
    EXPECT_EQ(onDisk(), oldState);

    // A target whose directory cannot be written fails the unit before anything reaches the log.
    fs::create_directories("Data/C");
    fs::permissions("Data/C", fs::perms::owner_read | fs::perms::owner_exec);
    if (::access("Data/C", W_OK) != 0) {  // not as root
        std::unique_ptr<FileTransaction> unit = begin();
        stageStep(*unit, 0);
        {
            FileTransaction::StagingScope scope(*unit);
            replaceFile("Data/C/new.dat", "x");
        }
        unit->commitInBackground();
        EXPECT_EQ(unit->streamedOutcome(), Outcome::NOTHING_CHANGED);
        EXPECT_EQ(onDisk(), oldState);
    }
    fs::permissions("Data/C", fs::perms::owner_all);
}

// Between the steps nothing sees a transaction; anything that uses the file system finishes the
// unit first (its owner stages the rest), and sees the committed unit.
TEST_F(StreamedUnitTest, AnyUseOfTheFilesWhileTheUnitIsInFlightFinishesItFirst) {
    writeOld();
    std::unique_ptr<FileTransaction> unit;
    unsigned next = 0;
    unit = FileTransaction::beginStreamed(JOURNAL, [&] {
        while (next <= FILES) {
            stageStep(*unit, next++);
        }
        unit->commitInBackground();
    });
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(FileTransaction::beginStreamed(JOURNAL, {}), nullptr) << "one in flight at a time";
    stageStep(*unit, next++);
    EXPECT_EQ(FileTransaction::active(), nullptr);
    EXPECT_FALSE(unit->streamedOutcome());
    std::string text;
    ASSERT_EQ(readWholeFile(path(3), text), ReadResult::READ);
    EXPECT_EQ(text, newState()[path(3)]);
    EXPECT_EQ(unit->streamedOutcome(), Outcome::DONE);
    EXPECT_EQ(onDisk(), newState());
}

TEST_F(StreamedUnitTest, ACutAtAnyStepLeavesTheOldFilesOrTheNewOnes) {
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
                committed = saveStreamed() == Outcome::DONE && !disk.stopped();
                writeIdleSlices();
                cutOff = disk.fired(fault);
                powerLoss ? disk.powerLoss() : disk.resume();
                FileTransaction::forgetOpenLog();  // the process ends
            }
            ++cases;
            removeStrayTemporaries("Data");  // as the next start does
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

    // A failed call at any step: the unit is reported failed exactly when the log lacks it.
    for (unsigned n = 1;; ++n) {
        writeOld();
        fs::remove(JOURNAL);
        bool failed = false;
        Outcome outcome = Outcome::NOTHING_CHANGED;
        {
            SimulatedDisk disk("Data");
            const std::size_t fault = disk.arm({SimulatedDisk::STEPS, n, SimulatedDisk::Effect::FAIL});
            outcome = saveStreamed();
            writeIdleSlices();
            failed = disk.fired(fault);
        }
        const std::string label = "failed call " + std::to_string(n);
        ASSERT_TRUE(FileTransaction::checkpoint()) << label;
        FileTransaction::forgetOpenLog();
        ASSERT_TRUE(FileTransaction::recover(JOURNAL)) << label;
        removeStrayTemporaries("Data");
        EXPECT_EQ(onDisk(), outcome == Outcome::NOTHING_CHANGED ? oldState : newState()) << label;
        if (!failed) {
            break;
        }
        ASSERT_LT(n, 200u);
    }
}

}  // namespace
