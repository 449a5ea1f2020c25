// Several files replaced and removed as one unit: the n-th file step of a commit (writing a
// temporary file, a rename, a removal) fails for n = 1, 2, ... as a crash there would leave it;
// after each, what the next start finds once it has recovered must be all old or all new.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "base/AtomicFile.h"
#include "base/FileTransaction.h"
#include "support/FileFaults.h"
#include "support/SimulatedDisk.h"
#include "support/TempDirTest.h"

namespace {

namespace fs = std::filesystem;

using mernolex::test::SimulatedDisk;

const std::string JOURNAL = "Data/unit.journal";
using Files = std::map<std::string, std::string>;

class FileTransactionTest : public mernolex::test::TempDirTest {
protected:
    void TearDown() override {
        fileFaults::failStep(0);
        fileFaults::failSync(0);
        TempDirTest::TearDown();
    }

    // Every file below Data/ with its bytes.
    static Files files() {
        Files found;
        for (const auto& entry : fs::recursive_directory_iterator("Data")) {
            if (entry.is_regular_file()) {
                found[entry.path().generic_string()] = readFile(entry.path());
            }
        }
        return found;
    }

    static void writeOldState() {
        fs::remove_all("Data");
        writeFile("Data/A/a.dat", "old a");
        writeFile("Data/B/b.dat", "old b");
        writeFile("Data/B/gone.dat", "old gone");
    }

    // a and b replaced, c new, gone removed.
    static FileTransaction::Outcome saveNewState() {
        FileTransaction unit(JOURNAL);
        const bool staged = replaceFile("Data/A/a.dat", "new a") && replaceFile("Data/B/b.dat", "new b") &&
                            replaceFile("Data/B/c.dat", "new c") && removeFileIfPresent("Data/B/gone.dat");
        return staged ? unit.commit() : FileTransaction::Outcome::NOTHING_CHANGED;
    }

    // What the next start reads: stray temporary files and the log are never read as data.
    static Files readable() {
        Files all = files();
        std::erase_if(all, [](const auto& file) { return file.first.ends_with(".tmp") || file.first == JOURNAL; });
        return all;
    }
};

TEST_F(FileTransactionTest, AnInterruptedCommitIsAllOldOrAllNewOnceRecovered) {
    writeOldState();
    const Files oldState = files();
    ASSERT_EQ(saveNewState(), FileTransaction::Outcome::DONE);
    const Files newState = readable();
    ASSERT_EQ(newState.count("Data/B/gone.dat"), 0u);

    bool sawPending = false;
    for (unsigned step = 1;; ++step) {
        writeOldState();
        fileFaults::failStep(step);
        const FileTransaction::Outcome outcome = saveNewState();
        const bool fired = fileFaults::fired();
        fileFaults::failStep(0);
        sawPending = sawPending || outcome == FileTransaction::Outcome::PENDING;

        if (outcome == FileTransaction::Outcome::NOTHING_CHANGED) {
            EXPECT_EQ(readable(), oldState) << "step " << step << " failed before the commit point";
        }
        ASSERT_TRUE(FileTransaction::recover(JOURNAL)) << "step " << step;
        const Files recovered = readable();
        EXPECT_TRUE(recovered == oldState || recovered == newState) << "step " << step;
        EXPECT_EQ(recovered == newState, outcome != FileTransaction::Outcome::NOTHING_CHANGED) << "step " << step;
        EXPECT_FALSE(fs::exists(JOURNAL));
        if (!fired) {
            EXPECT_EQ(outcome, FileTransaction::Outcome::DONE);
            break;
        }
        ASSERT_LT(step, 50u) << "the commit never ran through";
    }
    EXPECT_TRUE(sawPending) << "some step after the commit point must have failed";
}

// A failed fsync means the files may not survive a power loss: no commit whose sync failed may
// report DONE, and whatever it reports, recovery leaves all old or all new.
TEST_F(FileTransactionTest, ACommitWhoseSyncFailsIsNeverDone) {
    writeOldState();
    const Files oldState = files();
    ASSERT_EQ(saveNewState(), FileTransaction::Outcome::DONE);
    const Files newState = readable();

    for (unsigned sync = 1;; ++sync) {
        writeOldState();
        fileFaults::failSync(sync);
        const FileTransaction::Outcome outcome = saveNewState();
        const bool fired = fileFaults::syncFired();
        fileFaults::failSync(0);

        EXPECT_EQ(outcome == FileTransaction::Outcome::DONE, !fired) << "sync " << sync;
        ASSERT_TRUE(FileTransaction::recover(JOURNAL)) << "sync " << sync;
        const Files recovered = readable();
        EXPECT_TRUE(recovered == oldState || recovered == newState) << "sync " << sync;
        if (outcome == FileTransaction::Outcome::NOTHING_CHANGED) {
            EXPECT_EQ(recovered, oldState) << "sync " << sync;
        }
        if (!fired) {
            break;
        }
        ASSERT_LT(sync, 50u) << "the commit never ran through";
    }
}

// The log makes the commit: once it is open, a unit costs one sync (the log's), and the files
// written in place are made durable together at the checkpoint.
TEST_F(FileTransactionTest, OnAnOpenLogAUnitCostsOneSyncAndTheCheckpointMakesItAllDurable) {
    writeOldState();
    const auto replaceA = [](const char* contents) {
        FileTransaction unit(JOURNAL);
        return replaceFile("Data/A/a.dat", contents) ? unit.commit() : FileTransaction::Outcome::NOTHING_CHANGED;
    };
    ASSERT_EQ(replaceA("new a"), FileTransaction::Outcome::DONE);
    ASSERT_TRUE(FileTransaction::logIsOpen());
    fileFaults::failSync(2);
    EXPECT_EQ(replaceA("newer a"), FileTransaction::Outcome::DONE);
    EXPECT_FALSE(fileFaults::syncFired()) << "more than one sync for a unit on an open log";
    EXPECT_EQ(readFile("Data/A/a.dat"), "newer a");

    fileFaults::failSync(1);
    EXPECT_FALSE(FileTransaction::checkpoint()) << "a failed sync keeps the log";
    EXPECT_TRUE(fs::exists(JOURNAL));
    EXPECT_TRUE(FileTransaction::checkpoint());
    EXPECT_FALSE(fs::exists(JOURNAL));
    EXPECT_FALSE(FileTransaction::logIsOpen());
    EXPECT_EQ(readFile("Data/A/a.dat"), "newer a");
}

// A failed fsync loses the data it was to write, and a later fsync of the same file may succeed
// without writing it. So after a checkpoint's sync failed, the next checkpoint (here the
// program's end) writes the files again from the log and syncs them before the log may go: the
// unit survives a power loss.
TEST_F(FileTransactionTest, AfterACheckpointsSyncFailedTheFilesAreWrittenAgainBeforeTheLogGoes) {
    writeOldState();
    SimulatedDisk disk("Data");
    {
        FileTransaction unit(JOURNAL);
        ASSERT_TRUE(replaceFile("Data/A/a.dat", "new a") && replaceFile("Data/B/c.dat", "new c"));
        ASSERT_EQ(unit.commit(), FileTransaction::Outcome::DONE);
    }
    const std::size_t failing = disk.arm({SimulatedDisk::SYNC, 1, SimulatedDisk::Effect::FAIL, EIO, "a.dat"});
    EXPECT_FALSE(FileTransaction::checkpoint());
    ASSERT_TRUE(disk.fired(failing));
    EXPECT_TRUE(fs::exists(JOURNAL)) << "the log keeps the unit";
    EXPECT_TRUE(FileTransaction::checkpoint());
    EXPECT_FALSE(fs::exists(JOURNAL));
    disk.powerLoss();
    EXPECT_EQ(readFile("Data/A/a.dat"), "new a");
    EXPECT_EQ(readFile("Data/B/c.dat"), "new c");
}

// While the log is open, a file written without a transaction goes through it too: a replay
// after a crash must never put back an older version over it.
TEST_F(FileTransactionTest, WhileTheLogIsOpenEveryWriteGoesThroughIt) {
    writeOldState();
    {
        FileTransaction unit(JOURNAL);
        ASSERT_TRUE(replaceFile("Data/A/a.dat", "logged a"));
        ASSERT_EQ(unit.commit(), FileTransaction::Outcome::DONE);
    }
    ASSERT_TRUE(replaceFile("Data/A/a.dat", "direct a"));
    ASSERT_TRUE(removeFileIfPresent("Data/B/b.dat"));
    EXPECT_FALSE(fs::exists("Data/A/a.dat.tmp"));
    const std::string log = readFile(JOURNAL);
    fs::copy_file(JOURNAL, "Data/kept.journal");  // as a crash would leave it
    writeFile("Data/A/a.dat", "torn");
    writeFile("Data/B/b.dat", "old b");
    ASSERT_TRUE(FileTransaction::recover("Data/kept.journal"));
    EXPECT_EQ(readFile("Data/A/a.dat"), "direct a") << log;
    EXPECT_FALSE(fs::exists("Data/B/b.dat"));
}

// A unit cut short at the end of the log (the process stopped while appending it) is not
// repeated; the whole units before it are.
TEST_F(FileTransactionTest, AUnitCutShortEndsTheLog) {
    writeOldState();
    {
        FileTransaction unit(JOURNAL);
        ASSERT_TRUE(replaceFile("Data/A/a.dat", "first a"));
        ASSERT_EQ(unit.commit(), FileTransaction::Outcome::DONE);
    }
    {
        SimulatedDisk disk;
        disk.arm({SimulatedDisk::WRITE, 1, SimulatedDisk::Effect::STOP, EIO, "unit.journal"});
        FileTransaction unit(JOURNAL);
        ASSERT_TRUE(replaceFile("Data/B/b.dat", "second b"));
        EXPECT_EQ(unit.commit(), FileTransaction::Outcome::NOTHING_CHANGED);
        ASSERT_TRUE(disk.stopped());
    }
    FileTransaction::forgetOpenLog();  // the process ended there
    writeFile("Data/A/a.dat", "lost a");  // as a power loss could leave a file not yet synced
    ASSERT_TRUE(FileTransaction::recover(JOURNAL));
    EXPECT_EQ(readFile("Data/A/a.dat"), "first a");
    EXPECT_EQ(readFile("Data/B/b.dat"), "old b");
    EXPECT_FALSE(fs::exists(JOURNAL));
}

// A unit whose bytes changed after it was written (its sum no longer matches) is damage, not the
// end of the log: the log and the files a replay would overwrite are handed over to be kept
// first, and only the units after the damaged one are repeated (one before it could put back an
// older file over one the damaged unit wrote). Without a place to keep them the log stays.
TEST_F(FileTransactionTest, ADamagedUnitIsKeptAndOnlyTheUnitsAfterItAreRepeated) {
    writeOldState();
    for (const auto& [path, contents] : std::vector<std::pair<std::string, std::string>>{
             {"Data/A/a.dat", "first a"}, {"Data/A/a.dat", "second a"}, {"Data/B/b.dat", "third b"}}) {
        FileTransaction unit(JOURNAL);
        ASSERT_TRUE(replaceFile(path, contents));
        ASSERT_EQ(unit.commit(), FileTransaction::Outcome::DONE);
    }
    std::string log = readFile(JOURNAL);
    const std::size_t second = log.find("second a");
    ASSERT_NE(second, std::string::npos);
    log[second] = 'S';
    writeFile("Data/kept.journal", log);
    writeFile("Data/B/b.dat", "lost b");  // as a power loss could leave a file not yet synced

    EXPECT_FALSE(FileTransaction::recover("Data/kept.journal"));
    EXPECT_EQ(readFile("Data/kept.journal"), log) << "nowhere to keep it: the log stays";

    std::vector<std::string> kept;
    const auto keep = [&](const std::vector<std::string>& paths) {
        for (const std::string& path : paths) {
            kept.push_back(path + "=" + readFile(path));
        }
        return true;
    };
    EXPECT_EQ(FileTransaction::recover("Data/kept.journal", keep), FileTransaction::Recovery::DAMAGE_KEPT);
    EXPECT_EQ(kept, (std::vector<std::string>{"Data/kept.journal=" + log, "Data/B/b.dat=lost b"}));
    EXPECT_EQ(readFile("Data/A/a.dat"), "second a") << "the newest contents, left alone";
    EXPECT_EQ(readFile("Data/B/b.dat"), "third b") << "the unit after the damage is repeated";
    EXPECT_FALSE(fs::exists("Data/kept.journal"));
}

// Several tables of one save may note the same removal (a deleted record's picture): it stays one
// step.
TEST_F(FileTransactionTest, TheSameRemovalNotedTwiceIsOneStep) {
    writeOldState();
    FileTransaction unit(JOURNAL);
    EXPECT_TRUE(removeFileIfPresent("Data/A/a.dat"));
    EXPECT_TRUE(removeFileIfPresent("Data/A/a.dat"));
    fileFaults::failStep(3);  // the log, the removal: no third step
    EXPECT_EQ(unit.commit(), FileTransaction::Outcome::DONE);
    EXPECT_FALSE(fileFaults::fired()) << "the removal was made twice";
    EXPECT_FALSE(fs::exists("Data/A/a.dat"));
}

TEST_F(FileTransactionTest, StrayTemporaryFilesAreRemovedAndNothingElse) {
    writeOldState();
    writeFile("Data/A/a.dat.tmp", "left by a crash");
    writeFile("Data/A/b.journal.tmp", "left by a crash");
    fs::create_directories("Data/A/dir.tmp");
    EXPECT_EQ(removeStrayTemporaries("Data/A"), 2u);
    EXPECT_EQ(removeStrayTemporaries("Data/B/"), 0u);
    EXPECT_EQ(removeStrayTemporaries("Data/Missing"), 0u);
    EXPECT_TRUE(fs::is_directory("Data/A/dir.tmp")) << "directories are not ours to remove";
    EXPECT_EQ(files(), (Files{{"Data/A/a.dat", "old a"}, {"Data/B/b.dat", "old b"}, {"Data/B/gone.dat", "old gone"}}));
}

TEST_F(FileTransactionTest, ANewTransactionFinishesThePendingOneFirst) {
    writeOldState();
    fileFaults::failStep(2);  // the log written, then the first file written in place fails
    ASSERT_EQ(saveNewState(), FileTransaction::Outcome::PENDING);
    fileFaults::failStep(0);
    ASSERT_TRUE(fs::exists(JOURNAL));

    FileTransaction next(JOURNAL);
    EXPECT_FALSE(next.isBlocked());
    EXPECT_EQ(readFile("Data/A/a.dat"), "new a");
    EXPECT_FALSE(fs::exists("Data/B/gone.dat"));
    ASSERT_TRUE(replaceFile("Data/A/a.dat", "newer a"));
    EXPECT_EQ(readFile("Data/A/a.dat"), "new a") << "staged until the commit";
    EXPECT_EQ(next.commit(), FileTransaction::Outcome::DONE);
    EXPECT_EQ(readFile("Data/A/a.dat"), "newer a");
}

TEST_F(FileTransactionTest, ATransactionThatCannotFinishTheOneBeforeTakesNoFiles) {
    writeFile(JOURNAL, "MERNOLEX FILE TRANSACTION 1\nR Data/A/a.dat\nEND 1\n");
    writeFile("Data/A/a.dat.tmp", "pending a");
    fs::create_directories("Data/A/a.dat/inside");  // a directory in the way: the rename fails

    FileTransaction unit(JOURNAL);
    EXPECT_TRUE(unit.isBlocked());
    EXPECT_FALSE(replaceFile("Data/B/b.dat", "new b"));
    EXPECT_EQ(readFile("Data/A/a.dat.tmp"), "pending a") << "the pending file is not overwritten";
    EXPECT_EQ(unit.commit(), FileTransaction::Outcome::NOTHING_CHANGED);
    EXPECT_TRUE(fs::exists(JOURNAL));
}

TEST_F(FileTransactionTest, AJournalThatIsNotWholeIsDroppedWithoutTouchingAnything) {
    writeOldState();
    writeFile("Data/A/a.dat.tmp", "stray a");
    writeFile(JOURNAL, "MERNOLEX FILE TRANSACTION 1\nR Data/A/a.dat\nD Data/B/gone.dat\n");
    EXPECT_TRUE(FileTransaction::recover(JOURNAL));
    EXPECT_FALSE(fs::exists(JOURNAL));
    EXPECT_EQ(readFile("Data/A/a.dat"), "old a");
    EXPECT_EQ(readFile("Data/B/gone.dat"), "old gone");
}

TEST_F(FileTransactionTest, AJoinedTransactionLeavesTheOutcomeAndTheActionsToTheActiveOne) {
    writeOldState();
    int cleared = 0;
    {
        FileTransaction outer(JOURNAL);
        {
            FileTransaction inner(JOURNAL);
            ASSERT_TRUE(replaceFile("Data/A/a.dat", "new a"));
            inner.afterCommit([&] { ++cleared; });
            EXPECT_EQ(inner.commit(), FileTransaction::Outcome::DONE);
        }
        EXPECT_EQ(FileTransaction::active(), &outer);
        EXPECT_EQ(readFile("Data/A/a.dat"), "old a");
        EXPECT_EQ(cleared, 0);
        EXPECT_EQ(outer.commit(), FileTransaction::Outcome::DONE);
        EXPECT_EQ(cleared, 1);
    }
    EXPECT_EQ(readFile("Data/A/a.dat"), "new a");
    EXPECT_EQ(FileTransaction::active(), nullptr);
}

TEST_F(FileTransactionTest, AnAbandonedTransactionChangesNothingAndRunsNoActions) {
    writeOldState();
    bool ran = false;
    {
        FileTransaction unit(JOURNAL);
        ASSERT_TRUE(replaceFile("Data/A/a.dat", "new a"));
        ASSERT_TRUE(removeFileIfPresent("Data/B/gone.dat"));
        unit.afterCommit([&] { ran = true; });
    }
    EXPECT_FALSE(ran);
    EXPECT_EQ(files(), (Files{{"Data/A/a.dat", "old a"}, {"Data/B/b.dat", "old b"}, {"Data/B/gone.dat", "old gone"}}));
}

TEST_F(FileTransactionTest, WithoutATransactionAFailedReplaceKeepsTheOldFile) {
    writeFile("Data/A/a.dat", "old a");
    for (unsigned step : {1u, 2u}) {  // the write, then the rename
        fileFaults::failStep(step);
        EXPECT_FALSE(replaceFile("Data/A/a.dat", "new a"));
        EXPECT_TRUE(fileFaults::fired());
        EXPECT_EQ(readFile("Data/A/a.dat"), "old a");
    }
    fileFaults::failStep(0);
    EXPECT_TRUE(replaceFile("Data/A/a.dat", "new a"));
    EXPECT_EQ(readFile("Data/A/a.dat"), "new a");
}

}  // namespace
