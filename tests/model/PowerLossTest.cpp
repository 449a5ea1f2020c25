// What a run of the program leaves when it is cut off at any step of its storage, on a disk that
// keeps only what a successful sync made durable (support/SimulatedDisk.h). For every call that
// writes, truncates, renames, removes, makes a directory or syncs, n = 1, 2, ... until the run
// passes through, the run is
// - killed there (the files stay as the page cache held them),
// - cut off by a power loss there (only what was synced stays),
// - or given a failing call there, after which it goes on to its end, and the power goes only
//   then (so a save reported done must have been made durable by then, whatever failed).
// Then the next start loads. It must find every save reported done and no save reported failed,
// with nothing mixed or retargeted (the files are exactly those of one state the run passed
// through), and every file that was there before the run either in Data/ or in a backup.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>

#include "StorageTestSupport.h"
#include "base/BackgroundAppend.h"
#include "base/BackgroundSync.h"
#include "base/FileTransaction.h"
#include "db/FileReadAhead.h"
#include "model/DatabaseSaveInSteps.h"
#include "support/SimulatedDisk.h"

namespace modeltest {
namespace {

namespace fs = std::filesystem;
using mernolex::test::SimulatedDisk;

enum class Cut { KILL, POWER_LOSS, FAILED_CALL };
constexpr Cut ALL_CUTS[] = {Cut::KILL, Cut::POWER_LOSS, Cut::FAILED_CALL};

const char* nameOf(Cut cut) {
    return cut == Cut::KILL ? "kill" : cut == Cut::POWER_LOSS ? "power loss" : "failed call";
}

// Deletes words 1 and 13 (meaning 1 loses both its words and goes, with its category link) and
// the lessons of bound 1, renames a language, then adds a word, a meaning, links and a card that
// take the freed ids; saves every table (with `save`).
bool changeManyTablesSavedBy(const std::function<bool()>& save);

bool changeManyTables() {
    return changeManyTablesSavedBy([] { return saveDatabaseExternal(0) == 0; });
}

// The save an import makes: the tables walked into the unit a bound file per step (the
// deadline passed at once), the unit committed by its thread (inline in these tests). With
// `cancelAfter`, Cancel is pressed after that many steps.
bool saveInSteps(unsigned cancelAfter = ~0u) {
    DatabaseSaveInSteps save;
    std::optional<SaveResult> result;
    for (unsigned step = 0; !(result = save.step(std::chrono::steady_clock::now())); ++step) {
        if (step == cancelAfter) {
            save.cancel();
        }
    }
    return *result != SaveResult::NOTHING_SAVED;
}

bool changeManyTablesSavedBy(const std::function<bool()>& save) {
    Word::deleteEntry(1u);
    Word::deleteEntry(13u);
    for (unsigned lesson : {10u, 11u, 12u}) {
        Lesson::deleteEntry(lesson);
    }
    Language::getById(2)->set_name(L"Renamed", true);
    const unsigned word = addWord(3, L"newcomer");
    const unsigned meaning = Meaning::add(new Meaning(4));
    M_W::add(new M_W(meaning, word));
    M_W::add(new M_W(meaning, 5));
    C_M::add(new C_M(2, meaning));
    auto* card = new Flashcard(true, 0);
    card->setDependency(D_WORD, word);
    card->setDependency(D_LESSON, 3);
    F_W::add(new F_W(Flashcard::add(card), 7));
    return save();
}

// Renames two languages of the first bound again and moves a card to another lesson; saves every
// table, so that what a failed save before it left marked goes with it (as a screen's retry).
bool changeAgain(unsigned round) {
    Language::getById(2)->set_name((L"Again " + std::to_wstring(round)).c_str(), true);
    Language::getById(3)->set_name((L"Also " + std::to_wstring(round)).c_str(), true);
    Flashcard::getById(4)->setDependency(D_LESSON, 5 + round);
    return saveDatabaseExternal(0) == 0;
}

// One thing a run does after its start: a save (reported done or not) or something else.
struct Step {
    std::function<bool()> act;
    bool isSave = true;
};

// The paths whose bytes differ between two sets of files, for a message.
std::string differences(const Files& found, const Files& expected) {
    std::string listed;
    for (const auto& [path, bytes] : found) {
        const auto other = expected.find(path);
        if (other == expected.end()) {
            listed += " +" + path;
        } else if (other->second != bytes) {
            listed += " ~" + path;
        }
    }
    for (const auto& [path, bytes] : expected) {
        if (found.count(path) == 0) {
            listed += " -" + path;
        }
    }
    return listed;
}

// What a run reported, and whether the disk still heard the run when it did.
struct Report {
    bool done;
    bool heard;
};

// What a start-up reported (its load status), and whether the disk still heard it then.
struct StartReport {
    int status;
    bool heard;
};

class PowerLossTest : public StorageTest {
protected:
    // The data files as a start reads them: the log left out (the backups are left out already).
    static Files dataState() {
        Files state = dataFiles();
        state.erase(TRANSACTION_JOURNAL);
        return state;
    }

    // Hundreds of runs: in memory where the machine has a tmpfs, and without the real fsyncs
    // (the simulated disk decides what a sync makes durable).
    void SetUp() override {
        std::error_code error;
        if (fs::is_directory("/dev/shm", error)) {
            setenv("TMPDIR", "/dev/shm", 1);  // this test runs in a process of its own
        }
        StorageTest::SetUp();
        // The loads read on this thread alone, so that the calls come in the same order each run.
        FileReadAhead::setPolicyForLoading({0, false});
    }

    // A start, the steps, the program's end; `afterSave` runs after each save.
    static std::vector<Report> runProgram(SimulatedDisk& disk, const std::vector<Step>& steps,
                                          const std::function<void()>& afterSave = {}) {
        std::vector<Report> reports;
        if (loadDatabase(D_ENDTAG) != LOAD_DONE) {
            ADD_FAILURE() << "the run's start failed";
        }
        for (const Step& step : steps) {
            const bool done = step.act();
            if (step.isSave) {
                reports.push_back({done, !disk.stopped()});
                if (afterSave) {
                    afterSave();
                }
            }
        }
        (void)checkpointDatabase();
        return reports;
    }

    // Runs `run` on a simulated disk from the files of `start`, cut off as `cut` says at the n-th
    // step (0: never); then the machine (or the process) starts again. `cutOff` tells whether
    // the cut came; `steps` receives the number of steps the run made.
    template <typename Result>
    static Result cutRun(const std::string& start, const std::function<Result(SimulatedDisk&)>& run, Cut cut,
                         unsigned n, bool& cutOff, unsigned& steps) {
        restoreData(start);
        SimulatedDisk disk(DATA_DIR);
        disk.skipSyncs(true);
        const std::size_t fault =
            disk.arm({SimulatedDisk::STEPS, n,
                      cut == Cut::FAILED_CALL ? SimulatedDisk::Effect::FAIL : SimulatedDisk::Effect::STOP});
        const Result result = run(disk);
        cutOff = disk.fired(fault);
        steps = disk.count(SimulatedDisk::STEPS);
        if (cut == Cut::KILL) {
            disk.resume();
        } else {
            disk.powerLoss();
        }
        FileTransaction::forgetOpenLog();  // a new process
        resetDatabase();
        return result;
    }

    // A start-up and the program's end.
    static std::function<StartReport(SimulatedDisk&)> startUp() {
        return [](SimulatedDisk& disk) {
            const int status = loadDatabase(D_ENDTAG);
            const bool heard = !disk.stopped();
            (void)checkpointDatabase();
            return StartReport{status, heard};
        };
    }

    // Every file of `before` is still in Data/ as it was, or in a backup.
    static void expectKept(const Files& before, const std::string& label) {
        std::vector<fs::path> backups;
        if (fs::exists(BACKUP_DIR)) {
            for (const auto& entry : fs::directory_iterator(BACKUP_DIR)) {
                backups.push_back(entry.path());
            }
        }
        for (const auto& [path, bytes] : before) {
            bool kept = fs::exists(path) && readFile(path) == bytes;
            for (const fs::path& backup : backups) {
                const fs::path copy = backup / fs::path(path).lexically_relative(DATA_DIR);
                kept = kept || (fs::exists(copy) && readFile(copy) == bytes);
            }
            EXPECT_TRUE(kept) << label << ": " << path << " is neither in Data/ nor in a backup";
        }
    }

    struct Tally {
        unsigned cases = 0;
        unsigned cutOff = 0;
        unsigned newest = 0;   // the start found the state of the last save reported done
        unsigned inFlight = 0;  // ... or that of a save in flight when the disk stopped
        unsigned other = 0;     // ... or a repair made again from what a cut-off one left
        void print(const char* what) const {
            std::printf("%s: %u cases, %u cut off; the next start found the last save reported done %u times, "
                        "a save in flight %u times, a repair made again from what a cut-off one left %u times\n",
                        what, cases, cutOff, newest, inFlight, other);
        }
    };

    // The saves of `steps`, cut off at every step in every way.
    void cutSavesEverywhere(const char* name, const std::vector<Step>& steps) {
        std::vector<Files> states;
        {
            restoreData("Start");
            states.push_back(dataState());
            SimulatedDisk disk(DATA_DIR);
            disk.skipSyncs(true);
            runProgram(disk, steps, [&] {
                FileTransaction::finishPendingWork();  // the state a save leaves once its files are written
                states.push_back(dataState());
            });
            FileTransaction::forgetOpenLog();
            resetDatabase();
        }
        Tally tally;
        for (Cut cut : ALL_CUTS) {
            for (unsigned n = 1;; ++n) {
                const std::string label = std::string(name) + ", " + nameOf(cut) + " at step " + std::to_string(n);
                bool cutOff = false;
                unsigned made = 0;
                const std::function<std::vector<Report>(SimulatedDisk&)> run = [&](SimulatedDisk& disk) {
                    return runProgram(disk, steps);
                };
                const std::vector<Report> reports = cutRun("Start", run, cut, n, cutOff, made);
                ++tally.cases;
                ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE) << label;
                expectFoundWhatWasPromised(reports, states, label, tally);
                EXPECT_EQ(danglingReferences(), std::vector<std::string>{}) << label;
                if (!cutOff) {
                    break;
                }
                ++tally.cutOff;
                ASSERT_LT(n, 2000u) << label;
            }
        }
        tally.print(name);
    }

    // The next start finds the state of the last save reported done before the disk stopped, or
    // that of the save in flight then; never one reported failed.
    static void expectFoundWhatWasPromised(const std::vector<Report>& reports, const std::vector<Files>& states,
                                           const std::string& label, Tally& tally) {
        std::size_t newest = 0;
        std::size_t inFlight = 0;
        for (std::size_t i = 0; i < reports.size() && inFlight == 0; ++i) {
            if (!reports[i].heard) {
                inFlight = i + 1;
            } else if (reports[i].done) {
                newest = i + 1;
            }
        }
        const Files found = dataState();
        if (found == states[newest]) {
            ++tally.newest;
        } else if (inFlight != 0 && found == states[inFlight]) {
            ++tally.inFlight;
        } else {
            std::string which = "neither";
            for (std::size_t i = 0; i < states.size(); ++i) {
                which += found == states[i] ? " (it is state " + std::to_string(i) + ")" : "";
            }
            ADD_FAILURE() << label << ": the start found " << which << " the state of save " << newest
                          << (inFlight != 0 ? " nor that of save " + std::to_string(inFlight) : std::string())
                          << ":" << differences(found, states[newest]);
        }
    }
};

TEST_F(PowerLossTest, ASaveOfManyTables) {
    buildRichSample();
    fs::copy(DATA_DIR, "Start", fs::copy_options::recursive);
    cutSavesEverywhere("a save of many tables", {{changeManyTables}});
}

TEST_F(PowerLossTest, SaveSaveCheckpoint) {
    buildRichSample();
    fs::copy(DATA_DIR, "Start", fs::copy_options::recursive);
    cutSavesEverywhere("save, save, checkpoint", {{changeManyTables}, {[] { return changeAgain(1); }}});
}

// A checkpoint whose fsync fails keeps the log; the next one (here the program's end) must write
// the files again from it before the log may go.
TEST_F(PowerLossTest, ACheckpointBetweenSavesAndAtTheEnd) {
    buildRichSample();
    fs::copy(DATA_DIR, "Start", fs::copy_options::recursive);
    cutSavesEverywhere("a checkpoint between saves", {{changeManyTables},
                                                      {[] { return checkpointDatabase(); }, false},
                                                      {[] { return changeAgain(1); }}});
}

// A damaged word table is moved into a backup with the tables after it, and the reset tables are
// saved; wherever that is cut off, the next start finishes it, and no file is lost.
TEST_F(PowerLossTest, AStartUpRepairOfADamagedTable) {
    buildRichSample();
    const std::string words = std::string(WORD_PATH) + "0.dat";
    writeFile(words, readFile(words) + readFile(words).substr(0, 64));  // a record of an id there already
    fs::copy(DATA_DIR, "Start", fs::copy_options::recursive);
    const Files before = dataFiles();
    bool cutOff = false;
    unsigned made = 0;
    ASSERT_EQ(cutRun("Start", startUp(), Cut::KILL, 0, cutOff, made).status, LOAD_RESET);
    const Files repaired = dataState();
    ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
    resetDatabase();

    Tally tally;
    for (Cut cut : ALL_CUTS) {
        for (unsigned n = 1;; ++n) {
            const std::string label = std::string("repair, ") + nameOf(cut) + " at step " + std::to_string(n);
            const StartReport report = cutRun("Start", startUp(), cut, n, cutOff, made);
            ++tally.cases;
            const bool reportedDone = report.status == LOAD_RESET && report.heard;
            const int next = loadDatabase(D_ENDTAG);
            EXPECT_TRUE(next == LOAD_DONE || (!reportedDone && next == LOAD_RESET)) << label << ": " << next;
            // A repair reported done is there. One cut off is made again by the next start, from
            // what the first attempt left (the tables it had moved into the backup are empty
            // then): a sound database that loads cleanly once more.
            const Files found = dataState();
            if (reportedDone) {
                EXPECT_TRUE(found == repaired) << label << ":" << differences(found, repaired);
                ++tally.newest;
            } else {
                ++(found == repaired ? tally.inFlight : tally.other);
            }
            expectKept(before, label);
            EXPECT_EQ(danglingReferences(), std::vector<std::string>{}) << label;
            if (next == LOAD_RESET) {
                resetDatabase();
                EXPECT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE) << label;
            }
            if (!cutOff) {
                break;
            }
            ++tally.cutOff;
            ASSERT_LT(n, 2000u) << label;
        }
    }
    tally.print("a start-up repair of a damaged table (in flight: the same repair made again by the next start)");
}

// Three saves of the same file are in the log, written in place, when the process ends without a
// checkpoint; then a byte of the middle unit changes. The start keeps the log and the files it
// overwrites, repeats only the unit after the damage (one before it would put back an older
// language file), and reports it.
TEST_F(PowerLossTest, ARecoveryOfADamagedLog) {
    buildRichSample();
    ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
    for (unsigned round = 1; round <= 3; ++round) {
        ASSERT_TRUE(changeAgain(round));
    }
    FileTransaction::forgetOpenLog();  // the process ends here
    resetDatabase();
    const Files newest = dataState();
    std::string log = readFile(TRANSACTION_JOURNAL);
    const std::string again2("A\0g\0a\0i\0n\0 \0" "2", 13);  // as a language name is stored
    const std::size_t middle = log.find(again2);
    ASSERT_NE(middle, std::string::npos);
    ASSERT_EQ(log.find(again2, middle + 1), std::string::npos);
    log[middle + 12] ^= 0x01;  // "Again 2" becomes "Again 3" in the second unit
    writeFile(TRANSACTION_JOURNAL, log);
    fs::copy(DATA_DIR, "Start", fs::copy_options::recursive);
    const Files before = dataFiles();

    Tally tally;
    for (Cut cut : ALL_CUTS) {
        for (unsigned n = 0;; ++n) {
            const std::string label = std::string("damaged log, ") + nameOf(cut) + " at step " + std::to_string(n);
            bool cutOff = false;
            unsigned made = 0;
            const StartReport report = cutRun("Start", startUp(), cut, n, cutOff, made);
            ++tally.cases;
            if (n == 0) {
                EXPECT_EQ(report.status, LOAD_RESET) << "the damage is reported";
            }
            const bool reportedDone = report.status == LOAD_RESET && report.heard;
            const int next = loadDatabase(D_ENDTAG);
            EXPECT_TRUE(next == LOAD_DONE || (!reportedDone && next == LOAD_RESET)) << label << ": " << next;
            const Files found = dataState();
            EXPECT_TRUE(found == newest) << label << ": an older file over a newer one:" << differences(found, newest);
            expectKept(before, label);
            (reportedDone ? tally.newest : tally.inFlight) += 1;
            if (n > 0 && !cutOff) {
                break;
            }
            tally.cutOff += n > 0 ? 1 : 0;
            ASSERT_LT(n, 2000u) << label;
        }
    }
    tally.print("a recovery of a damaged log (in flight: recovered again by the next start)");
}

}  // namespace
}  // namespace modeltest

namespace modeltest {
namespace {

// Every save's files written in idle slices after its commit point and every checkpoint's sync
// left to idle time (on the caller's thread, so that the disk sees one order of calls each run).
class IdleTimeWrites {
public:
    IdleTimeWrites() {
        FileTransaction::setLimits({.deferredFromSteps = 1, .checkpointPastBytes = 1, .syncWholeFileSystemFrom = 1});
        BackgroundSync::runInline(true);
        FileTransaction::setIdleWork([] {});
    }
    ~IdleTimeWrites() {
        FileTransaction::setIdleWork(nullptr);
        BackgroundSync::runInline(false);
        FileTransaction::setLimits({});
    }
    IdleTimeWrites(const IdleTimeWrites&) = delete;
    IdleTimeWrites& operator=(const IdleTimeWrites&) = delete;

    // Idle time until nothing is left, a file per slice.
    static bool idle() {
        while (FileTransaction::writePendingFiles(std::chrono::steady_clock::now()) ||
               FileTransaction::hasPendingWork()) {
        }
        return true;
    }
};

TEST_F(PowerLossTest, ASaveWrittenInIdleTimeThenItsCheckpointThenASave) {
    buildRichSample();
    fs::copy(DATA_DIR, "Start", fs::copy_options::recursive);
    IdleTimeWrites deferred;
    cutSavesEverywhere("a save written in idle time", {{changeManyTables},
                                                       {IdleTimeWrites::idle, false},
                                                       {[] { return changeAgain(1); }},
                                                       {IdleTimeWrites::idle, false}});
}

// The second save comes before idle time did anything: it writes the first one's files first.
TEST_F(PowerLossTest, ASaveRightAfterOneWhoseFilesWait) {
    buildRichSample();
    fs::copy(DATA_DIR, "Start", fs::copy_options::recursive);
    IdleTimeWrites deferred;
    cutSavesEverywhere("a save right after a deferred one", {{changeManyTables}, {[] { return changeAgain(1); }}});
}

// The save in steps of an import, whose unit goes to a spool and then to the log on a thread of
// its own, its files read back from the log in idle time; then one cancelled before its commit
// point (it leaves nothing, the changes are saved by the next save).
TEST_F(PowerLossTest, ASaveInStepsThenACancelledOneThenASave) {
    buildRichSample();
    fs::copy(DATA_DIR, "Start", fs::copy_options::recursive);
    IdleTimeWrites deferred;
    BackgroundAppend::runInline(true);
    cutSavesEverywhere("a save in steps", {{[] { return changeManyTablesSavedBy([] { return saveInSteps(); }); }},
                                           {IdleTimeWrites::idle, false},
                                           {[] {
                                                Language::getById(3)->set_name(L"Cancelled", true);
                                                return saveInSteps(3);
                                            }},
                                           {[] { return changeAgain(1); }}});
    BackgroundAppend::runInline(false);
}

// A load in the same process right after a save whose files wait reads the new files.
TEST_F(PowerLossTest, ALoadRightAfterASaveWhoseFilesWaitReadsTheSave) {
    buildRichSample();
    fs::copy(DATA_DIR, "Start", fs::copy_options::recursive);
    ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
    ASSERT_TRUE(changeManyTables());
    ASSERT_TRUE(checkpointDatabase());
    const Files saved = dataState();
    resetDatabase();

    restoreData("Start");
    IdleTimeWrites deferred;
    ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
    ASSERT_TRUE(changeManyTables());
    ASSERT_TRUE(FileTransaction::hasPendingWork());
    resetDatabase();
    ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
    EXPECT_STREQ(Language::getById(2)->get_name(), L"Renamed");
    EXPECT_EQ(danglingReferences(), std::vector<std::string>{});
    ASSERT_TRUE(checkpointDatabase());
    EXPECT_EQ(dataState(), saved);
}

}  // namespace
}  // namespace modeltest
