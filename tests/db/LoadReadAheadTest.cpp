#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "support/ExceptionMessage.h"
#include "FileTestSupport.h"
#include "db/FileReadAhead.h"

namespace dbtest {
namespace {

using mernolex::test::messageOf;

// Everything a load gives of a record that its file holds.
using Loaded = std::tuple<unsigned, std::wstring, std::int32_t, unsigned>;

std::vector<Loaded> everyItem() {
    std::vector<Loaded> items;
    for (auto it = Item::begin(); it != Item::end(); ++it) {
        items.emplace_back((*it)->getId(), (*it)->name, (*it)->level, (*it)->getDependency(D_LANGUAGE));
    }
    return items;
}

// What a load of the item table gives: the records, the error text (empty when none) and the
// id the next new record gets.
struct Outcome {
    std::vector<Loaded> items;
    std::string error;
    unsigned nextId = 0;
    std::string integrity;
    bool operator==(const Outcome&) const = default;
};

// Loads the table one by one on the loading thread, and with reader threads from the first file.
class ReadAheadTest : public FileTest {
protected:
    void TearDown() override {
        FileReadAhead::setPolicyForLoading(defaultPolicy);
        FileTest::TearDown();
    }

    static Outcome loadWith(FileReadAhead::Policy policy, const char* path = ITEMS) {
        FileReadAhead::setPolicyForLoading(policy);
        resetDatabaseTables();
        Item::setup(D_WORD, false);
        Outcome outcome;
        try {
            Item::loadAll(path, D_ENDTAG);
        } catch (const std::exception& e) {
            outcome.error = e.what();
        }
        outcome.items = everyItem();
        outcome.integrity = Item::elementTree().checkIntegrity();
        outcome.nextId = Item::add(new Item(L"new"));
        return outcome;
    }

    // Every way of reading gives what reading on the loading thread alone gives.
    static void expectTheSameLoadEveryWay(const char* what) {
        const Outcome alone = loadWith({0, false});
        for (FileReadAhead::Policy policy : {FileReadAhead::Policy{1, true}, FileReadAhead::Policy{3, true},
                                             FileReadAhead::Policy{4, false}}) {
            EXPECT_EQ(loadWith(policy), alone) << what << ", " << policy.threads << " threads";
        }
        EXPECT_EQ(alone.integrity, "") << what;
    }

    const FileReadAhead::Policy defaultPolicy = FileReadAhead::policyForLoading();
};

TEST_F(ReadAheadTest, ATableLoadsTheSameOnOneThreadAndOnSeveral) {
    for (unsigned id = 1; id <= 600; ++id) {
        const unsigned item = addItem(L"item \U0001F600 " + std::to_wstring(id), static_cast<std::int32_t>(id) - 300);
        Item::getById(item)->setDependency(D_LANGUAGE, id % 7);
    }
    for (unsigned id = 5; id <= 600; id += 13) {
        Item::deleteEntry(id);  // gaps, and ids reused after the load
    }
    Item::saveAll(ITEMS, D_ENDTAG);
    expectTheSameLoadEveryWay("a sound table");
    EXPECT_EQ(loadWith({2, true}).items.size(), 554u);
}

TEST_F(ReadAheadTest, DamageAndMissingFilesStopTheLoadAtTheSamePlaceOnEveryThread) {
    for (unsigned id = 1; id <= 300; ++id) {
        addItem(L"item " + std::to_wstring(id));
    }
    Item::saveAll(ITEMS, D_ENDTAG);
    const std::string bound = readFile("Data/Item/items17.dat");
    writeFile("Data/Item/items17.dat", bound.substr(0, bound.size() / 2));
    expectTheSameLoadEveryWay("a bound file cut short");

    writeFile("Data/Item/items17.dat", bound);
    std::filesystem::remove("Data/Item/items23.dat");
    const Outcome missing = loadWith({3, true});
    EXPECT_EQ(missing.error, "Data/Item/items23.dat");
    expectTheSameLoadEveryWay("a listed bound file missing");
}

// Under one reader running ahead across tables, each table loads as it does alone: after a
// table stopped at a missing file, the next one takes its files from where they lie in the
// shared list, and a table loaded a second time reads its own.
TEST_F(ReadAheadTest, TablesSharingOneReaderLoadAsEachAlone) {
    const char* const others = "Data/Other/items";
    for (unsigned id = 1; id <= 300; ++id) {
        addItem(L"first " + std::to_wstring(id));
    }
    Item::saveAll(ITEMS, D_ENDTAG);
    std::filesystem::create_directories("Data/Other");
    for (auto it = Item::begin(); it != Item::end(); ++it) {
        (*it)->name = L"second " + std::to_wstring((*it)->getId());
    }
    Item::saveAll(others, D_ENDTAG);  // no index there yet: every bound is written
    std::filesystem::remove("Data/Item/items17.dat");

    const Outcome firstAlone = loadWith({0, false}, ITEMS);
    const Outcome secondAlone = loadWith({0, false}, others);
    EXPECT_EQ(firstAlone.error, "Data/Item/items17.dat");
    EXPECT_EQ(secondAlone.items.size(), 300u);
    for (FileReadAhead::Policy policy : {FileReadAhead::Policy{1, true}, FileReadAhead::Policy{3, true},
                                         FileReadAhead::Policy{4, false}}) {
        FileReadAhead::setPolicyForLoading(policy);
        table_files::SharedReadAhead shared({ITEMS, others});
        EXPECT_EQ(loadWith(policy, ITEMS), firstAlone) << policy.threads << " threads";
        EXPECT_EQ(loadWith(policy, others), secondAlone) << policy.threads << " threads";
        EXPECT_EQ(loadWith(policy, ITEMS), firstAlone) << policy.threads << " threads, again";
    }
}

// Directories listed ahead on a thread of their own show each table what its own listing shows:
// every table of a shared directory, and one that asks again after the listing went.
TEST_F(ReadAheadTest, DirectoriesListedAheadShowWhatATableFindsAlone) {
    const char* const more = "Data/Item/more";
    const char* const others = "Data/Other/items";
    for (unsigned id = 1; id <= 30; ++id) {
        addItem(L"item " + std::to_wstring(id));
    }
    std::filesystem::create_directories("Data/Other");
    for (const char* path : {ITEMS, more, others}) {
        Item::saveAll(path, D_ENDTAG);
    }
    writeFile("Data/Item/more9.dat", readFile("Data/Item/more1.dat"));  // a bound its index does not list
    std::vector<Outcome> alone;
    for (const char* path : {ITEMS, more, others}) {
        alone.push_back(loadWith({0, false}, path));
    }
    EXPECT_EQ(alone[1].error, "Fatal OrnQLException: Found a table file that its index does not list while loading!");
    EXPECT_EQ(alone[0].items.size(), 30u);
    for (bool ahead : {false, true}) {
        table_files::SharedListings listings({ITEMS, more, others}, ahead);
        EXPECT_EQ(loadWith({1, true}, ITEMS), alone[0]) << "ahead " << ahead;
        EXPECT_EQ(loadWith({1, true}, more), alone[1]) << "ahead " << ahead;
        EXPECT_EQ(loadWith({1, true}, others), alone[2]) << "ahead " << ahead;
        EXPECT_EQ(loadWith({1, true}, more), alone[1]) << "ahead " << ahead << ", listed again";
    }
}

// A damaged file may hold its ids out of order or twice: such records go in one by one, as they
// are read, and a repeated id stops the load with the records before it kept.
TEST_F(ReadAheadTest, IdsOutOfOrderLoadAndARepeatedIdKeepsTheRecordsBeforeIt) {
    writeFile("Data/Item/items.dat", index({1, 0}));
    writeFile("Data/Item/items0.dat", recordHeader(7) + itemFields(u"seven") + recordHeader(2) + itemFields(u"two"));
    writeFile("Data/Item/items1.dat", recordHeader(12) + itemFields(u"twelve"));
    Item::loadAll(ITEMS, D_ENDTAG);
    EXPECT_EQ(contents(), (std::map<unsigned, std::wstring>{{2, L"two"}, {7, L"seven"}, {12, L"twelve"}}));
    EXPECT_EQ(Item::elementTree().checkIntegrity(), "");

    std::filesystem::remove("Data/Item/items1.dat");
    writeFile("Data/Item/items.dat", index({0}));
    writeFile("Data/Item/items0.dat", recordHeader(3) + itemFields(u"a") + recordHeader(1) + itemFields(u"b") +
                                          recordHeader(3) + itemFields(u"again") + recordHeader(4) + itemFields(u"c"));
    EXPECT_EQ(messageOf([] { Item::loadAll(ITEMS, D_ENDTAG); }),
              "OrnQLException: Hit illegal duplicate entry while loading OrnQL database!");
    EXPECT_EQ(contents(), (std::map<unsigned, std::wstring>{{1, L"b"}, {3, L"a"}}));
}

}  // namespace
}  // namespace dbtest
