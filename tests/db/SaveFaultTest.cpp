// Interrupted saves: the n-th file step of a save (writing a temporary file, a rename, a removal)
// fails for n = 1, 2, ... until a save runs through. After each, the files a crash would have
// left must load with every bound as it was or as it became, and saving again must reach the
// new state.
#include <gtest/gtest.h>

#include <set>

#include "FileTestSupport.h"
#include "base/AtomicFile.h"
#include "db/OrnQL_Extra.h"
#include "support/FileFaults.h"

namespace dbtest {
namespace {

using Bounds = std::map<unsigned, std::map<unsigned, std::wstring>>;

Bounds byBound(const std::map<unsigned, std::wstring>& records) {
    Bounds bounds;
    for (const auto& [id, name] : records) {
        bounds[id / RECORDS_PER_BOUND][id] = name;
    }
    return bounds;
}

class SaveFaultTest : public FileTest {
protected:
    // On disk: bounds 0 (ids 1-9), 1 (id 15) and 2 (ids 20-29).
    void writeOldState() {
        resetDatabaseTables();
        std::filesystem::remove_all("Data");
        std::filesystem::create_directories("Data/Item");
        Item::setup(D_WORD, false);
        for (unsigned id = 1; id <= 29; ++id) addItem(L"old " + std::to_wstring(id));
        for (unsigned id = 10; id <= 19; ++id) {
            if (id != 15) Item::deleteEntry(id);
        }
        Item::saveAll(ITEMS, D_ENDTAG);
        oldState = byBound(contents());
    }

    // In memory: bound 0 and 2 changed, bound 1 emptied, bound 3 new.
    void makeNewState() {
        reload();
        Item::getById(3)->name = L"new 3";
        Item::saveRequest(3);
        Item::getById(22)->name = L"new 22";
        Item::saveRequest(22);
        Item::deleteEntry(15u);
        Item::insertWithId(new Item(L"new 31"), 31);
        newState = byBound(contents());
    }

    void expectEachBoundOldOrNew(const Bounds& loaded, unsigned failedStep) {
        std::set<unsigned> all;
        for (const Bounds* state : std::initializer_list<const Bounds*>{&oldState, &newState, &loaded}) {
            for (const auto& [bound, records] : *state) all.insert(bound);
        }
        for (unsigned bound : all) {
            auto in = [bound](const Bounds& state) {
                auto found = state.find(bound);
                return found == state.end() ? std::map<unsigned, std::wstring>{} : found->second;
            };
            EXPECT_TRUE(in(loaded) == in(oldState) || in(loaded) == in(newState))
                << "bound " << bound << " is neither old nor new after step " << failedStep << " failed";
        }
    }

    // Without a transaction a save is atomic per file only: a removal that failed after the new
    // index was in place leaves a bound file that the index does not list. The load reports that
    // as damage, and only a save that reported its failure may leave it.
    void expectCrashLoadsOldOrNew(unsigned step, bool reported) {
        try {
            reload("Crash/Item/items");
        } catch (const FileDamage&) {
            EXPECT_TRUE(reported) << "damage left by a save that reported success, step " << step;
            std::vector<unsigned> listed;
            bool whole = true;
            ASSERT_TRUE(table_files::readIndex("Crash/Item/items", listed, whole));
            for (const std::string& stray : table_files::staleFiles("Crash/Item/items", listed)) {
                std::filesystem::remove(stray);
            }
            reload("Crash/Item/items");
        }
        expectEachBoundOldOrNew(byBound(contents()), step);
    }

    // Runs the fault loop; with loseIndex the old index is gone before the save.
    void runFaultLoop(bool loseIndex) {
        bool anyFired = false;
        for (unsigned step = 1;; ++step) {
            writeOldState();
            makeNewState();
            if (loseIndex) {
                std::filesystem::remove("Data/Item/items.dat");
            }
            fileFaults::failStep(step);
            bool reported = false;
            try {
                Item::saveAll(ITEMS, D_ENDTAG);
            } catch (const InvalidFileException&) {
                reported = true;
            }
            const bool fired = fileFaults::fired();
            fileFaults::failStep(0);
            anyFired = anyFired || fired;

            std::filesystem::remove_all("Crash");
            std::filesystem::copy("Data", "Crash", std::filesystem::copy_options::recursive);

            Item::saveAll(ITEMS, D_ENDTAG);  // saving again finishes the job
            reload();
            EXPECT_EQ(byBound(contents()), newState) << "after step " << step << " failed and the save was repeated";

            if (loseIndex && !std::filesystem::exists("Crash/Item/items.dat")) {
                EXPECT_THROW(reload("Crash/Item/items"), InvalidFileException) << "as it was: no index";
            } else {
                expectCrashLoadsOldOrNew(step, reported);
            }
            if (!fired) {
                EXPECT_EQ(byBound(contents()), newState);
                break;
            }
            ASSERT_LT(step, 100u) << "the save never ran through";
        }
        EXPECT_TRUE(anyFired);
    }

    Bounds oldState;
    Bounds newState;
};

TEST_F(SaveFaultTest, AnInterruptedSaveLeavesEveryBoundOldOrNew) {
    runFaultLoop(false);
}

TEST_F(SaveFaultTest, AnInterruptedSaveWithoutIndexLeavesNothingHalfDone) {
    runFaultLoop(true);
}

TEST_F(SaveFaultTest, CopyingAPictureOntoItselfKeepsIt) {
    writeFile("Data/Pictures/7.bmp", "BM picture bytes");
    EXPECT_EQ(copyBitmap("Data/Pictures/7.bmp", "Data/Pictures/", 7), 0);
    EXPECT_EQ(readFile("Data/Pictures/7.bmp"), "BM picture bytes");
}

}  // namespace
}  // namespace dbtest
