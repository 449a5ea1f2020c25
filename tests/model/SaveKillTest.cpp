// A real process saving several tables at once is killed before its n-th file step (handing a
// file to the transaction, appending to the log, writing a file in place, a removal), for n = 1,
// 2, ... until
// the save runs through. After each kill a fresh load must give exactly the old database or
// exactly the new one: status 0, every file as before or as after, no reference to a missing
// record, no temporary file left. The save reuses freed ids across tables, which is how a mixture
// of old and new tables made links point at the wrong records.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "StorageTestSupport.h"
#include "base/AtomicFile.h"
#include "support/FileFaults.h"

namespace modeltest {
namespace {

namespace fs = std::filesystem;

// Deletes words 1 and 13 (so meaning 1 loses both its words and goes, with its category link)
// and the lessons of bound 1 (ids 10 to 12, clearing their cards' lesson), renames a language,
// then adds a word, a meaning, links and a card that take the freed ids. Saves all tables.
int changeAndSave() {
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
    return saveDatabaseExternal(0);
}

enum class ChildEnd { KILLED, SAVED, FAILED };

// Runs the change in a child process, killed at file step `step` (0: never).
ChildEnd saveInChild(unsigned step) {
    const pid_t child = fork();
    if (child == 0) {
        if (loadDatabase(D_ENDTAG) != LOAD_DONE) {
            _exit(2);
        }
        fileFaults::failStep(step, fileFaults::Kind::KILL);
        _exit(changeAndSave() == 0 && checkpointDatabase() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) {
        return ChildEnd::KILLED;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ChildEnd::SAVED : ChildEnd::FAILED;
}

class SaveKillTest : public StorageTest {};

TEST_F(SaveKillTest, AProcessKilledAtAnyFileStepOfASaveLeavesTheOldOrTheNewDatabase) {
    buildRichSample();
    fs::copy(DATA_DIR, "Before", fs::copy_options::recursive);
    const Files oldFiles = dataFiles();
    ASSERT_EQ(saveInChild(0), ChildEnd::SAVED);
    const Files newFiles = dataFiles();
    ASSERT_NE(newFiles, oldFiles);

    unsigned kills = 0, endedOld = 0, endedNew = 0;
    for (unsigned step = 1;; ++step) {
        restoreData("Before");
        const ChildEnd end = saveInChild(step);
        ASSERT_NE(end, ChildEnd::FAILED) << "step " << step;

        resetDatabase();
        ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE) << "the start after the kill before step " << step;
        const Files files = dataFiles();
        EXPECT_TRUE(files == oldFiles || files == newFiles) << "a mixture after the kill before step " << step;
        EXPECT_EQ(danglingReferences(), std::vector<std::string>{}) << "step " << step;
        if (end == ChildEnd::SAVED) {
            EXPECT_EQ(files, newFiles);
            break;
        }
        ++kills;
        (files == oldFiles ? endedOld : endedNew) += 1;
        ASSERT_LT(step, 200u) << "the save never ran through";
    }
    // The log's append is among them: some kills come after the commit point.
    EXPECT_GT(endedOld, 0u);
    EXPECT_GT(endedNew, 0u);
    std::printf("kill loop: %u kills, %u left the old database, %u the new one\n", kills, endedOld, endedNew);
}

// A save killed before its commit point leaves a log cut short (and, from a save of an earlier
// version, temporary files); the next start removes both and loads the old database.
TEST_F(SaveKillTest, TheNextStartRemovesWhatAnInterruptedSaveLeft) {
    buildRichSample();
    const Files oldFiles = dataFiles();
    writeFile(std::string(DATA_DIR) + "/Word/words0.dat.tmp", "left by a crash");
    fs::copy(DATA_DIR, "Before", fs::copy_options::recursive);
    for (unsigned step = 1; !fs::exists(TRANSACTION_JOURNAL); ++step) {
        restoreData("Before");
        ASSERT_EQ(saveInChild(step), ChildEnd::KILLED) << "the save ran through without a log";
        ASSERT_LT(step, 100u);
    }
    ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
    EXPECT_FALSE(fs::exists(TRANSACTION_JOURNAL));
    for (const auto& entry : fs::recursive_directory_iterator(DATA_DIR)) {
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
    }
    EXPECT_EQ(dataFiles(), oldFiles) << "a unit cut short is not repeated";
}

}  // namespace
}  // namespace modeltest
