// A load that fails for another reason than the files (here: an allocation that fails) must not
// be mistaken for damage: it reports 2 and leaves every file where it is, and until the next load
// nothing half-loaded is saved over them.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "DatabaseTestSupport.h"
#include "FailingAllocations.h"
#include "base/FileTransaction.h"
#include "db/FileReadAhead.h"
#include "support/SimulatedDisk.h"

namespace modeltest {
namespace {

namespace fs = std::filesystem;

// The allocations are counted on the loading thread alone: files are read there too, so every
// load makes the same allocations in the same order. (A reader thread whose allocation fails
// leaves its file to the loading thread, tests/db/LoadReadAheadTest.)
class LoadFailureTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        FileReadAhead::setPolicyForLoading({0, false});
    }

    static std::map<std::string, std::string> allFiles() {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator("Data")) {
            if (entry.is_regular_file()) {
                files[entry.path().generic_string()] = readFile(entry.path());
            }
        }
        return files;
    }

    void TearDown() override {
        failing_allocations::failAllocation(0);
        FileReadAhead::setPolicyForLoading(defaultPolicy);
        DatabaseTest::TearDown();
    }

    const FileReadAhead::Policy defaultPolicy = FileReadAhead::policyForLoading();
};

// A log that is there but cannot be opened (no permission, an I/O error) may hold saves whose
// files are torn: the load reads nothing, changes nothing, and saving is refused.
TEST_F(LoadFailureTest, ALogThatIsThereButCannotBeReadStopsTheLoadAndTheSaves) {
    const Sample s = buildSample();
    ASSERT_TRUE(fs::exists(TRANSACTION_JOURNAL));
    FileTransaction::forgetOpenLog();  // the program ended before its checkpoint
    const std::string words = std::string(WORD_PATH) + "0.dat";
    writeFile(words, readFile(words).substr(0, 70));  // a file torn by the crash
    const auto files = allFiles();
    {
        mernolex::test::SimulatedDisk unreadable;
        unreadable.arm({mernolex::test::SimulatedDisk::OPEN, 1, mernolex::test::SimulatedDisk::Effect::FAIL, EACCES,
                        "transaction.journal", true});
        EXPECT_EQ(loadDatabase(D_ENDTAG), LOAD_FATAL);
        EXPECT_TRUE(Word::elementTree().empty()) << "nothing is read";
        EXPECT_EQ(saveDatabaseExternal(0), 1);
        EXPECT_EQ(allFiles(), files);
    }
    ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE) << "once the log reads, it is replayed";
    EXPECT_STREQ(Word::getById(s.chien)->get_text(), L"chien");
}

TEST_F(LoadFailureTest, AFailedAllocationWhileLoadingLeavesEveryFileAndRefusesToSave) {
    const Sample s = buildSample();
    ASSERT_TRUE(checkpointDatabase());  // as the program ends: the next load finds no log
    const auto files = allFiles();

    failing_allocations::countSinceLastCall();
    ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
    const long allocations = failing_allocations::countSinceLastCall();
    ASSERT_GT(allocations, 100);

    // Every allocation of the load fails once.
    int failed = 0;
    for (long n = 1; n <= allocations; ++n) {
        resetDatabase();
        failing_allocations::failAllocation(n);
        const int status = loadDatabase(D_ENDTAG);
        const bool fired = failing_allocations::failed();
        failing_allocations::failAllocation(0);
        ASSERT_TRUE(fired) << "allocation " << n;

        ASSERT_NE(status, LOAD_RESET) << "allocation " << n << " was taken for damage";
        EXPECT_FALSE(fs::exists(BACKUP_DIR)) << "allocation " << n;
        ASSERT_EQ(allFiles(), files) << "allocation " << n;
        if (status == LOAD_FATAL) {
            ++failed;
            if (Word* dog = Word::getById(s.dog)) {
                dog->set_text(L"hound", true);
            }
            EXPECT_EQ(saveDatabaseExternal(0), 1) << "allocation " << n;
            ASSERT_EQ(allFiles(), files) << "allocation " << n << ": a half-loaded database was saved";
        } else {
            EXPECT_EQ(status, LOAD_DONE);
            EXPECT_STREQ(Meaning::getById(s.meaning)->get_description(), L"chien, dog") << "allocation " << n;
        }
    }
    EXPECT_GT(failed, 0);

    ASSERT_EQ(restart(), LOAD_DONE);
    EXPECT_EQ(saveDatabaseExternal(0), 0) << "a good load allows saving again";
}

}  // namespace
}  // namespace modeltest
