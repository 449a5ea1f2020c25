// Damage that used to load silently, or to be repaired without a backup, and saves that
// reported success when they were not durable.
#include <gtest/gtest.h>

#include <filesystem>

#include "StorageTestSupport.h"
#include "base/AtomicFile.h"
#include "support/FileFaults.h"

namespace modeltest {
namespace {

namespace fs = std::filesystem;

std::string boundFile(dependency d, unsigned bound) {
    return std::string(tablePath(d)) + std::to_string(bound) + ".dat";
}

class LoadDamageTest : public StorageTest {
protected:
    // Loads and expects a recovery that kept the damaged file, then a clean restart without
    // references to missing records.
    void expectRecoveryKeeping(const std::string& damagedFile, const std::string& damagedBytes) {
        ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_RESET);
        EXPECT_EQ(readFile(onlyBackup() / fs::path(damagedFile).lexically_relative(DATA_DIR)), damagedBytes);
        EXPECT_EQ(danglingReferences(), std::vector<std::string>{});
        ASSERT_EQ(restart(), LOAD_DONE);
        EXPECT_EQ(danglingReferences(), std::vector<std::string>{});
    }
};

// Id 0 loaded as a link, and deleting the word it linked then dereferenced a null record.
TEST_F(LoadDamageTest, ALinkStoredWithIdZeroIsDamage) {
    const Sample s = buildSample();
    const std::string links = boundFile(D_ASSO_M_W, 0);
    const std::string damaged = u32(0) + readFile(links).substr(4);
    writeFile(links, damaged);

    expectRecoveryKeeping(links, damaged);
    EXPECT_TRUE(M_W::elementTree().empty());
    Word::deleteEntry(s.dog);
    EXPECT_EQ(saveDatabaseExternal(0), 0);
}

// An emptied language index used to load no languages and 300 words naming none; the next new
// language then overwrote languages0.dat.
TEST_F(LoadDamageTest, BoundFilesTheIndexDoesNotListAreDamage) {
    buildSample();
    const std::string languages = readFile(boundFile(D_LANGUAGE, 0));
    writeFile(std::string(LANGUAGE_PATH) + ".dat", "");

    expectRecoveryKeeping(boundFile(D_LANGUAGE, 0), languages);
    EXPECT_TRUE(Word::elementTree().empty()) << "no word names a language that is gone";
    EXPECT_EQ(addLanguage(L"Spanish"), 1u);
    ASSERT_EQ(saveDatabaseExternal(1, D_LANGUAGE), 0);
    EXPECT_EQ(readFile(onlyBackup() / "Language/languages0.dat"), languages);
}

// A name length of 0xFFFFFFFF made the languages after it vanish with status 0.
TEST_F(LoadDamageTest, ATextRunningPastTheEndOfItsFileIsDamage) {
    buildSample();
    const std::string file = boundFile(D_LANGUAGE, 0);
    std::string damaged = readFile(file);
    const std::size_t nameLength = 4 + 4 * STORED_DEPENDENCIES + 9;  // after the id, dependencies and layout id
    damaged.replace(nameLength, 4, u32(0xFFFFFFFF));
    writeFile(file, damaged);

    expectRecoveryKeeping(file, damaged);
}

// Every record the loader built marked bound 0, so a save after a load rewrote bound 0 of every
// table; together with the faults above that made a silent loss permanent.
TEST_F(LoadDamageTest, ASaveWithNothingChangedWritesNothing) {
    buildRichSample();
    ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_DONE);
    const Files before = dataFiles();
    fileFaults::failStep(1);
    EXPECT_EQ(saveDatabaseExternal(0), 0);
    EXPECT_FALSE(fileFaults::fired()) << "not one file step";
    fileFaults::failStep(0);
    EXPECT_EQ(dataFiles(), before);
}

// Dropping a dangling link rewrote the link file with its old content nowhere (the backup of
// what a repair rewrites is checked in RecoveryTest); a word file cut in half must keep every
// file the recovery touches.
TEST_F(LoadDamageTest, AWordFileCutInHalfKeepsEveryFileTheRecoveryTouches) {
    buildRichSample();
    const std::string words = boundFile(D_WORD, 1);
    const std::string damaged = readFile(words).substr(0, readFile(words).size() / 2);
    writeFile(words, damaged);
    const Files before = dataFiles();

    expectRecoveryKeeping(words, damaged);
    resetDatabase();
    const fs::path backup = onlyBackup();
    for (const auto& [path, bytes] : before) {
        if (!fs::exists(path) || readFile(path) != bytes) {
            EXPECT_EQ(readFile(backup / fs::path(path).lexically_relative(DATA_DIR)), bytes) << path;
        }
    }
}

// Recovery from a missing word file emptied the irregular verbs but left the words of the bounds
// before it naming them; new verbs then reused those ids and attached to the wrong words.
TEST_F(LoadDamageTest, NoRecordNamesARecordThatARecoveryReset) {
    buildRichSample();
    fs::remove(boundFile(D_WORD, 2));
    ASSERT_EQ(loadDatabase(D_ENDTAG), LOAD_RESET);
    EXPECT_EQ(Word::elementTree().size(), 19u) << "the words of bounds 0 and 1 stay";
    EXPECT_TRUE(IrregularVerb::elementTree().empty());
    EXPECT_EQ(danglingReferences(), std::vector<std::string>{});

    const unsigned verb = IrregularVerb::createAndAdd(4, 5)->getId();
    ASSERT_EQ(saveDatabaseExternal(2, D_WORD, D_IRREGULARVERB), 0);
    ASSERT_EQ(restart(), LOAD_DONE);
    for (auto it = Word::begin(); it != Word::end(); ++it) {
        EXPECT_EQ((*it)->getDependency(D_IRREGULARVERB), (*it)->getId() == 5 ? verb : 0u) << (*it)->getId();
    }
}

// A failed fsync of a directory was reported as a successful save.
TEST_F(LoadDamageTest, ASaveWhoseSyncFailsIsReportedAndCanBeRepeated) {
    buildRichSample();
    for (const bool oneFile : {true, false}) {
        bool anyFired = false;
        for (unsigned sync = 1;; ++sync) {
            ASSERT_EQ(restart(), LOAD_DONE);
            Word::getById(4)->set_text((L"edit " + std::to_wstring(sync)).c_str(), true);
            if (!oneFile) {
                Meaning::getById(2)->set_niveau(7);
            }
            fileFaults::failSync(sync);
            const int status = saveDatabaseExternal(2, D_WORD, D_MEANING);
            const bool fired = fileFaults::syncFired();
            fileFaults::failSync(0);
            anyFired = anyFired || fired;
            EXPECT_EQ(status, fired ? 1 : 0) << "sync " << sync << (oneFile ? " of a one-file save" : "");
            if (fired) {
                EXPECT_EQ(saveDatabaseExternal(2, D_WORD, D_MEANING), 0) << "the repeated save";
            }
            ASSERT_EQ(restart(), LOAD_DONE);
            EXPECT_STREQ(Word::getById(4)->get_text(), (L"edit " + std::to_wstring(sync)).c_str());
            if (!fired) {
                break;
            }
            ASSERT_LT(sync, 50u);
        }
        EXPECT_TRUE(anyFired);
    }
}

}  // namespace
}  // namespace modeltest
