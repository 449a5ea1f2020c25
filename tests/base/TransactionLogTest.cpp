// What reading a transaction log makes of it: a log cut anywhere (a process that stopped while
// appending) is its whole units and nothing else, never damage; a log with any byte changed after
// it was written is damage, never a log cut short, and the whole units after the damage are still
// found; a log of the earlier form still reads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/TransactionLog.h"

namespace {

LogUnit unitOf(std::vector<std::pair<std::string, std::string>> written, std::vector<std::string> removed = {}) {
    LogUnit unit;
    unit.written = std::move(written);
    unit.removed = std::move(removed);
    return unit;
}

bool sameUnits(const std::vector<LogUnit>& a, const std::vector<LogUnit>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].written != b[i].written || a[i].removed != b[i].removed) {
            return false;
        }
    }
    return true;
}

class TransactionLogTest : public ::testing::Test {
protected:
    // Three units, the second with binary contents that hold line ends and digits.
    std::vector<LogUnit> units{
        unitOf({{"Data/A/a.dat", "first a"}}),
        unitOf({{"Data/B/b.dat", std::string("\n12 \0\xff W 3 x\n", 13)}, {"Data/A/a.dat", "second a"}},
               {"Data/B/gone.dat"}),
        unitOf({}, {"Data/A/a.dat"}),
    };
    std::vector<std::size_t> ends;  // where each unit ends in the log
    std::string log;

    void SetUp() override {
        for (const LogUnit& unit : units) {
            log += transaction_log::encode(unit);
            ends.push_back(log.size());
        }
    }

    std::size_t unitAt(std::size_t offset) const {
        std::size_t unit = 0;
        while (offset >= ends[unit]) {
            ++unit;
        }
        return unit;
    }
};

TEST_F(TransactionLogTest, ALogReadsBackAsItsUnits) {
    const LogContents read = transaction_log::read(log);
    EXPECT_FALSE(read.damaged);
    EXPECT_TRUE(sameUnits(read.units, units));
}

TEST_F(TransactionLogTest, ALogCutAnywhereIsItsWholeUnitsAndNeverDamage) {
    for (std::size_t length = 0; length < log.size(); ++length) {
        const LogContents read = transaction_log::read(std::string_view(log).substr(0, length));
        const std::size_t whole = length == 0 ? 0 : unitAt(length);
        EXPECT_FALSE(read.damaged) << "cut at " << length;
        EXPECT_TRUE(sameUnits(read.units, std::vector<LogUnit>(units.begin(), units.begin() + whole)))
            << "cut at " << length;
    }
}

TEST_F(TransactionLogTest, AnyChangedBitIsDamageAndTheUnitsAfterItStillRead) {
    for (std::size_t at = 0; at < log.size(); ++at) {
        for (unsigned bit : {0u, 3u, 6u}) {
            std::string changed = log;
            changed[at] = static_cast<char>(changed[at] ^ (1 << bit));
            const LogContents read = transaction_log::read(changed);
            const std::size_t damaged = unitAt(at);
            ASSERT_TRUE(read.damaged) << "byte " << at << " bit " << bit;
            std::vector<LogUnit> expected(units.begin(), units.begin() + damaged);
            expected.insert(expected.end(), units.begin() + damaged + 1, units.end());
            EXPECT_TRUE(sameUnits(read.units, expected)) << "byte " << at << " bit " << bit;
            EXPECT_EQ(read.replayFrom, damaged) << "byte " << at << " bit " << bit;
        }
    }
}

TEST_F(TransactionLogTest, ALogOfTheEarlierFormStillReads) {
    // A unit as logs were written before units carried their length.
    const std::string body = "MERNOLEX FILE UNIT 2\nW 5 Data/A/a.dat\nolderD Data/B/gone.dat\n";
    const std::string legacy = body + "END 2 " + [&] {
        std::uint64_t hash = 0xcbf29ce484222325ull;
        for (unsigned char byte : body) {
            hash = (hash ^ byte) * 0x100000001b3ull;
        }
        char digits[17];
        std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
        return std::string(digits);
    }() + "\n";
    const LogContents read = transaction_log::read(legacy + log);
    EXPECT_FALSE(read.damaged);
    ASSERT_EQ(read.units.size(), 4u);
    EXPECT_EQ(read.units[0].written, (std::vector<std::pair<std::string, std::string>>{{"Data/A/a.dat", "older"}}));
    EXPECT_EQ(read.units[0].removed, std::vector<std::string>{"Data/B/gone.dat"});
}

}  // namespace
