// An import is one save: cancelled, killed at any file step, or failing at any file step or sync,
// it leaves the collection as it was or holds the whole import, never part of it.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>

#include "ExchangeTestSupport.h"
#include "support/FileFaults.h"
#include "model/DataPaths.h"

namespace exchange::test {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

class AllOrNothingTest : public ExchangeTest {
protected:
    // A collection to import into, and a list that adds to it, updates it and makes a language.
    void SetUp() override {
        ExchangeTest::SetUp();
        importText("#columns:Front\tBack\tLesson\nHaus\thouse\tOld\nBaum\ttree\n");
        fs::copy(DATA_DIR, "Before", fs::copy_options::recursive);
        before = collectionText();
        oldFiles = dataFiles();
        list = "#columns:Front\tBack\tLesson\tTags\nHaus\thome\tNew\tplaces\n";
        for (int i = 0; i < 25; ++i) {
            list += "Wort" + std::to_string(i) + "\tword" + std::to_string(i) + "; term" + std::to_string(i) +
                    "\tLesson " + std::to_string(i % 3) + "\ttag" + std::to_string(i % 4) + "\n";
        }
    }

    static Files dataFiles() {
        Files found;
        for (const auto& entry : fs::recursive_directory_iterator(DATA_DIR)) {
            const std::string path = entry.path().generic_string();
            if (entry.is_regular_file() && path.rfind(std::string(BACKUP_DIR) + "/", 0) != 0 &&
                path != TRANSACTION_JOURNAL) {
                found[path] = readFile(entry.path());
            }
        }
        return found;
    }

    static void restore() {
        resetDatabase();
        fs::remove_all(DATA_DIR);
        fs::copy("Before", DATA_DIR, fs::copy_options::recursive);
    }

    std::unique_ptr<Import> importInMemory() {
        file = open(list);
        ImportChoices choices = defaultChoices(*file);
        choices.foreignLanguage = L"German";
        choices.knownLanguage = L"English";
        return ExchangeTest::importInMemory(*file, choices);
    }

    std::string before;
    Files oldFiles;
    std::string list;
    std::unique_ptr<ImportFile> file;
};

TEST_F(AllOrNothingTest, TakingBackLeavesTheCollectionAsItWas) {
    // Cancelled part-way: the rows stored so far go again.
    file = open(list);
    ImportChoices choices = defaultChoices(*file);
    choices.foreignLanguage = L"German";
    choices.knownLanguage = L"English";
    std::wstring problem;
    std::unique_ptr<Import> import = prepareImport(*file, choices, problem);
    ASSERT_TRUE(import->previewSome(noDeadline()));
    EXPECT_FALSE(import->storeSome(std::chrono::steady_clock::now()));
    EXPECT_GT(import->storedCounts().rows(), 0u);
    import->takeBack();
    EXPECT_EQ(collectionText(), before);
    // Stored whole, then taken back; and a second try after taking back stores it again.
    ASSERT_TRUE(import->storeSome(noDeadline()));
    EXPECT_NE(collectionText(), before);
    import->takeBack();
    EXPECT_EQ(collectionText(), before);
    ASSERT_TRUE(import->storeSome(noDeadline()));
    ASSERT_EQ(saveDatabaseTables({}), 0);
    import->kept();
    const std::string after = collectionText();
    reload();
    EXPECT_EQ(collectionText(), after);
    EXPECT_NE(after.find("card Haus [New] levels 0/0 due 0/0 both -> home house"), std::string::npos) << after;
    EXPECT_EQ(dataFiles().count("Data/Word/words0.dat"), 1u);
}

TEST_F(AllOrNothingTest, ASaveFailingAtAnyFileStepOrSyncLeavesTheOldCollection) {
    ASSERT_NE(importInMemory(), nullptr);
    ASSERT_EQ(saveDatabaseTables({}), 0);
    const std::string after = collectionText();
    reload();
    const Files newFiles = dataFiles();
    unsigned failures = 0;
    for (int kind = 0; kind < 2; ++kind) {
        // The file steps need no real syncs; the syncs are what the second round fails.
        fileFaults::skipSyncs(kind == 0);
        for (unsigned step = 1;; ++step) {
            restore();
            ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
            std::unique_ptr<Import> import = importInMemory();
            if (kind == 0) {
                fileFaults::failStep(step);
            } else {
                fileFaults::failSync(step);
            }
            const bool saved = saveDatabaseTables({}) == 0;
            const bool fired = kind == 0 ? fileFaults::fired() : fileFaults::syncFired();
            fileFaults::failStep(0);
            fileFaults::failSync(0);
            if (!saved) {
                import->takeBack();
                EXPECT_EQ(collectionText(), before) << "in memory, after failing step " << step;
                ++failures;
            }
            reload();
            const Files files = dataFiles();
            EXPECT_TRUE(files == oldFiles || files == newFiles) << "a mixture after failing step " << step;
            EXPECT_EQ(collectionText(), files == oldFiles ? before : after) << step;
            if (!fired) {
                break;
            }
            ASSERT_LT(step, 2000u);
        }
    }
    fileFaults::skipSyncs(false);
    EXPECT_GT(failures, 2u);
}

enum class ChildEnd { Killed, Saved, Failed };

TEST_F(AllOrNothingTest, AProcessKilledAtAnyFileStepLeavesTheOldCollectionOrTheWholeImport) {
    auto importInChild = [&](unsigned step) {
        const pid_t child = fork();
        if (child == 0) {
            if (loadDatabase(D_ENDTAG) != LOAD_DONE || importInMemory() == nullptr) {
                _exit(2);
            }
            fileFaults::failStep(step, fileFaults::Kind::KILL);
            _exit(saveDatabaseTables({}) == 0 && checkpointDatabase() ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) {
            return ChildEnd::Killed;
        }
        return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ChildEnd::Saved : ChildEnd::Failed;
    };
    fileFaults::skipSyncs(true);  // a kill loses no data a sync would keep
    restore();
    ASSERT_EQ(importInChild(0), ChildEnd::Saved);
    const Files newFiles = dataFiles();
    unsigned kills = 0, endedOld = 0, endedNew = 0;
    for (unsigned step = 1;; step += step < 40 ? 1 : 7) {
        restore();
        const ChildEnd end = importInChild(step);
        ASSERT_NE(end, ChildEnd::Failed) << step;
        ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE) << "the start after the kill before step " << step;
        const Files files = dataFiles();
        EXPECT_TRUE(files == oldFiles || files == newFiles) << "a mixture after the kill before step " << step;
        if (end == ChildEnd::Saved) {
            break;
        }
        ++kills;
        (files == oldFiles ? endedOld : endedNew) += 1;
        ASSERT_LT(step, 5000u);
    }
    fileFaults::skipSyncs(false);
    EXPECT_GT(endedOld, 0u);
    EXPECT_GT(endedNew, 0u);
    std::printf("import kill loop: %u kills, %u left the old collection, %u the whole import\n", kills, endedOld,
                endedNew);
}

}  // namespace
}  // namespace exchange::test
