// Every kind of table file (the index, the first and the last bound file of each of the fifteen
// tables) damaged in every way we know of: deleted, emptied, cut short at several points, a byte
// flipped at several points, a number made huge. Whatever the damage, the load must not crash or
// give up, must never report success with fewer records than were stored, must keep every file
// it changes or moves in the backup, and must leave a database that loads cleanly again with no
// reference to a missing record.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>

#include "StorageTestSupport.h"
#include "base/AtomicFile.h"
#include "support/FileFaults.h"

namespace modeltest {
namespace {

namespace fs = std::filesystem;

struct Damage {
    const char* name;
    std::function<void(const std::string& file)> apply;
};

std::string bytesOf(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void rewrite(const std::string& file, const std::function<void(std::string&)>& change) {
    std::string bytes = bytesOf(file);
    change(bytes);
    std::FILE* out = std::fopen(file.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
}

void cutTo(const std::string& file, std::size_t size) {
    fs::resize_file(file, std::min<std::uintmax_t>(size, fs::file_size(file)));
}

void flipAt(const std::string& file, std::size_t at) {
    rewrite(file, [at](std::string& bytes) {
        if (!bytes.empty()) {
            bytes[std::min(at, bytes.size() - 1)] ^= 0x5A;
        }
    });
}

void hugeAt(const std::string& file, std::size_t at) {
    rewrite(file, [at](std::string& bytes) {
        if (bytes.size() >= at + 4) {
            bytes.replace(at, 4, u32(0xFFFFFFFF));
        }
    });
}

const std::vector<Damage>& damages() {
    static const std::vector<Damage> all{
        {"deleted", [](const std::string& f) { fs::remove(f); }},
        {"zero length", [](const std::string& f) { cutTo(f, 0); }},
        {"cut inside its first id", [](const std::string& f) { cutTo(f, 3); }},
        {"cut past the middle", [](const std::string& f) { cutTo(f, fs::file_size(f) / 2 + 1); }},
        {"last byte cut", [](const std::string& f) { cutTo(f, fs::file_size(f) - 1); }},
        {"first byte flipped", [](const std::string& f) { flipAt(f, 0); }},
        {"a dependency byte flipped", [](const std::string& f) { flipAt(f, 4); }},
        {"middle byte flipped", [](const std::string& f) { flipAt(f, fs::file_size(f) / 2); }},
        {"last byte flipped", [](const std::string& f) { flipAt(f, fs::file_size(f) - 1); }},
        {"huge dependency", [](const std::string& f) { hugeAt(f, 4); }},
        {"huge first own field", [](const std::string& f) { hugeAt(f, 64); }},
        {"huge text length of a language", [](const std::string& f) { hugeAt(f, 73); }},
    };
    return all;
}

// The index, the first and the last bound file of every table.
std::vector<std::string> damageableFiles() {
    std::vector<std::string> files;
    for (int d = 0; d < D_ENDTAG; ++d) {
        const std::string prefix = tablePath(static_cast<dependency>(d));
        const std::string index = bytesOf(prefix + ".dat");
        files.push_back(prefix + ".dat");
        EXPECT_GE(index.size(), 8u) << prefix << " must have two bound files";
        for (std::size_t at : {std::size_t{0}, index.size() - 4}) {
            std::uint32_t bound = 0;
            std::memcpy(&bound, index.data() + at, 4);
            files.push_back(prefix + std::to_string(bound) + ".dat");
        }
    }
    return files;
}

class DamageLoopTest : public StorageTest {
protected:
    // Hundreds of recoveries, each some hundred file operations: in memory (where the machine
    // has a tmpfs) they take seconds, on disk more than a minute. What survives a power loss is
    // not the question here, so the fsyncs are left out as well.
    void SetUp() override {
        std::error_code error;
        if (fs::is_directory("/dev/shm", error)) {
            setenv("TMPDIR", "/dev/shm", 1);  // this test runs in a process of its own
        }
        StorageTest::SetUp();
        fileFaults::skipSyncs(true);
    }
    void TearDown() override {
        fileFaults::skipSyncs(false);
        StorageTest::TearDown();
    }

    // Every file the load changed or removed must be in a backup, as it was before the load.
    static void expectKeptInBackup(const Files& beforeLoad, const std::string& label) {
        std::vector<fs::path> backups;
        if (fs::exists(BACKUP_DIR)) {
            for (const auto& entry : fs::directory_iterator(BACKUP_DIR)) {
                backups.push_back(entry.path());
            }
        }
        for (const auto& [path, bytes] : beforeLoad) {
            if (fs::exists(path) && readFile(path) == bytes) {
                continue;
            }
            bool kept = false;
            for (const fs::path& backup : backups) {
                const fs::path copy = backup / fs::path(path).lexically_relative(DATA_DIR);
                kept = kept || (fs::exists(copy) && readFile(copy) == bytes);
            }
            EXPECT_TRUE(kept) << label << ": " << path << " changed without a backup";
        }
    }
};

TEST_F(DamageLoopTest, NoDamageCrashesLosesRecordsSilentlyOrTouchesAFileWithoutABackup) {
    buildRichSample();
    fs::copy(DATA_DIR, "Pristine", fs::copy_options::recursive);
    ASSERT_EQ(restart(), LOAD_DONE);
    const auto stored = tableSizes();
    const std::vector<std::string> files = damageableFiles();

    unsigned cases = 0, loadedAsStored = 0, recovered = 0;
    for (const std::string& file : files) {
        for (const Damage& damage : damages()) {
            const std::string label = file + " " + damage.name;
            restoreData("Pristine");
            damage.apply(file);
            const Files beforeLoad = dataFiles();
            ++cases;

            const int status = loadDatabase(D_ENDTAG);
            ASSERT_NE(status, LOAD_FATAL) << label;
            if (status == LOAD_DONE) {
                ++loadedAsStored;
                const auto sizes = tableSizes();
                for (int d = 0; d < D_ENDTAG; ++d) {
                    EXPECT_GE(sizes[d], stored[d]) << label << ": table " << d << " lost records silently";
                }
                EXPECT_EQ(dataFiles(), beforeLoad) << label << ": a clean load wrote files";
            } else {
                ++recovered;
            }
            expectKeptInBackup(beforeLoad, label);
            EXPECT_EQ(danglingReferences(), std::vector<std::string>{}) << label;
            ASSERT_EQ(restart(), LOAD_DONE) << label << ": the repaired database does not load cleanly";
        }
    }
    std::printf("damage loop: %u cases over %zu files, %u loaded with every record (damage the format cannot "
                "show), %u recovered with a backup\n",
                cases, files.size(), loadedAsStored, recovered);
}

}  // namespace
}  // namespace modeltest
