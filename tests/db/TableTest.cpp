#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <vector>

#include "support/ExceptionMessage.h"
#include "TestRecords.h"
#include "db/OrnQL_Custom.h"

namespace dbtest {
namespace {

using mernolex::test::messageOf;

template <typename R>
std::vector<unsigned> ids() {
    std::vector<unsigned> result;
    for (auto it = R::begin(); it != R::end(); ++it) {
        result.push_back((*it)->getId());
    }
    return result;
}

template <typename R>
std::vector<unsigned> selectedIds() {
    std::vector<unsigned> result;
    for (auto it = R::beginSel(); it != R::endSel(); ++it) {
        result.push_back((*it)->getId());
    }
    return result;
}

template <typename R>
unsigned addWith(dependency d = D_ENDTAG, unsigned on = 0) {
    auto* r = new R(L"r");
    if (d != D_ENDTAG) {
        r->setDependency(d, on);
    }
    return R::add(r);
}

// Owners are table D_LANGUAGE, items D_WORD (depending on an owner), notes D_ARTICLE.
class TableTest : public ::testing::Test {
protected:
    void SetUp() override { setupTables(false, false); }
    void TearDown() override { resetDatabaseTables(); }

    static void setupTables(bool weakOwners, bool weakNotes) {
        Owner::setup(D_LANGUAGE, weakOwners);
        Item::setup(D_WORD, false);
        Note::setup(D_ARTICLE, weakNotes);
    }
};

TEST_F(TableTest, IdsStartAtOneAndFreedIdsAreReusedSmallestFirst) {
    for (unsigned expected = 1; expected <= 6; ++expected) {
        EXPECT_EQ(addWith<Owner>(), expected);
    }
    Owner::deleteEntry(5u);
    Owner::deleteEntry(2u);
    EXPECT_EQ(addWith<Owner>(), 2u);
    EXPECT_EQ(addWith<Owner>(), 5u);
    EXPECT_EQ(addWith<Owner>(), 7u);
}

TEST_F(TableTest, IdAllocationMatchesAModelUnderRandomAddsAndDeletes) {
    const unsigned seed = std::random_device{}();
    std::printf("id allocation seed: %u\n", seed);
    std::mt19937 rng(seed);
    std::set<unsigned> used;
    std::set<unsigned> freed;
    for (int step = 0; step < 3000; ++step) {
        if (used.empty() || rng() % 3 != 0) {
            unsigned expected = freed.empty() ? (used.empty() ? 1 : *used.rbegin() + 1) : *freed.begin();
            freed.erase(expected);
            used.insert(expected);
            ASSERT_EQ(addWith<Owner>(), expected) << "seed " << seed << " step " << step;
        } else {
            auto victim = std::next(used.begin(), static_cast<long>(rng() % used.size()));
            Owner::deleteEntry(*victim);
            freed.insert(*victim);
            used.erase(victim);
        }
    }
    EXPECT_EQ(ids<Owner>(), std::vector<unsigned>(used.begin(), used.end()));
    EXPECT_EQ(Owner::elementTree().checkIntegrity(), "");
}

TEST_F(TableTest, LookupsOfIdsThatCannotExistGiveNull) {
    addWith<Owner>();
    EXPECT_NE(Owner::getById(1), nullptr);
    EXPECT_EQ(Owner::getById(0), nullptr);
    EXPECT_EQ(Owner::getById(2), nullptr);
    EXPECT_EQ(Owner::getById(0x80000000u), nullptr);
    EXPECT_EQ(Owner::getById(0xFFFFFFFFu), nullptr);
    EXPECT_EQ(messageOf([] { Owner::deleteEntry(9u); }),
              "Fatal OrnQLException: AVL Tree iterator references out of range object!");
}

TEST_F(TableTest, ARecordCannotDependOnItsOwnTable) {
    Item* item = Item::getById(addWith<Item>(D_LANGUAGE, 3));
    EXPECT_EQ(messageOf([&] { item->setDependency(D_WORD, 1); }),
              "OrnQLException: Entry is not allowed to depend on an element of the same class!");
    EXPECT_EQ(item->getDependency(D_WORD), 0u);
    EXPECT_EQ(item->getDependency(D_LANGUAGE), 3u);
}

TEST_F(TableTest, DeletingFromANonWeakTableDeletesDependantsRecursively) {
    unsigned keptOwner = addWith<Owner>();
    unsigned owner = addWith<Owner>();
    unsigned item = addWith<Item>(D_LANGUAGE, owner);
    unsigned otherItem = addWith<Item>(D_LANGUAGE, keptOwner);
    addWith<Note>(D_WORD, item);
    unsigned keptNote = addWith<Note>(D_WORD, otherItem);

    Owner::deleteEntry(owner);
    EXPECT_EQ(ids<Owner>(), std::vector<unsigned>{keptOwner});
    EXPECT_EQ(ids<Item>(), std::vector<unsigned>{otherItem});
    EXPECT_EQ(ids<Note>(), std::vector<unsigned>{keptNote}) << "the item's note goes with the item";
}

TEST_F(TableTest, DeletingFromAWeakTableClearsTheReferences) {
    resetDatabaseTables();
    setupTables(true, false);
    unsigned owner = addWith<Owner>();
    unsigned item = addWith<Item>(D_LANGUAGE, owner);
    Owner::requestTree().clear();
    Item::requestTree().clear();

    Owner::deleteEntry(owner);
    ASSERT_NE(Item::getById(item), nullptr);
    EXPECT_EQ(Item::getById(item)->getDependency(D_LANGUAGE), 0u);
    EXPECT_TRUE(Item::requestTree().containsID(item / RECORDS_PER_BOUND)) << "the cleared reference must be saved";
}

TEST_F(TableTest, ACascadeReachingARecordAlreadyBeingDeletedLeavesItToTheOuterDeletion) {
    // Item and note depend on each other, so each one's cascade reaches the other.
    unsigned item = addWith<Item>();
    unsigned note = addWith<Note>(D_WORD, item);
    Item::getById(item)->setDependency(D_ARTICLE, note);
    const int destroyedBefore = Item::destroyed + Note::destroyed;

    Item::deleteEntry(item);
    EXPECT_TRUE(ids<Item>().empty());
    EXPECT_TRUE(ids<Note>().empty());
    EXPECT_EQ(Item::destroyed + Note::destroyed - destroyedBefore, 2) << "each record destroyed exactly once";
}

TEST_F(TableTest, AWalkStaysValidWhenTheCascadeDeletesTheRecordItWouldVisitNext) {
    unsigned owner = addWith<Owner>();
    unsigned first = addWith<Item>(D_LANGUAGE, owner);
    unsigned note = addWith<Note>(D_WORD, first);
    unsigned second = addWith<Item>(D_LANGUAGE, owner);
    Item::getById(second)->setDependency(D_ARTICLE, note);  // deleting the note deletes the second item
    unsigned third = addWith<Item>(D_LANGUAGE, owner);
    unsigned unrelated = addWith<Item>();
    ASSERT_LT(first, second);
    ASSERT_LT(second, third);

    Owner::deleteEntry(owner);
    EXPECT_EQ(ids<Item>(), std::vector<unsigned>{unrelated});
    EXPECT_TRUE(ids<Note>().empty());
    EXPECT_EQ(Item::elementTree().checkIntegrity(), "");
}

void refuseEveryDeletion(dependency, unsigned) {
    throw OrnQLException_Custom("OrnQLException: refused");
}

TEST_F(TableTest, ARecordWhoseCascadeFailedCanBeDeletedLater) {
    unsigned owner = addWith<Owner>();
    setCascadeHooks(D_WORD, refuseEveryDeletion, Item::updateEntriesWithDependency);
    EXPECT_EQ(messageOf([&] { Owner::deleteEntry(owner); }), "OrnQLException: refused");
    ASSERT_NE(Owner::getById(owner), nullptr);

    setCascadeHooks(D_WORD, Item::deleteEntriesWithDependency, Item::updateEntriesWithDependency);
    Owner::deleteEntry(owner);
    EXPECT_EQ(Owner::getById(owner), nullptr);
}

TEST_F(TableTest, ConstraintsSelectAllOfOrNoneOf) {
    unsigned a = addWith<Item>(D_LANGUAGE, 1);
    unsigned b = addWith<Item>(D_LANGUAGE, 2);
    unsigned c = addWith<Item>();
    Item::getById(b)->setDependency(D_ARTICLE, 7);

    Item::constrain(true, 0);
    EXPECT_EQ(selectedIds<Item>(), (std::vector<unsigned>{a, b, c}));
    Item::constrain(true, 1, D_LANGUAGE, 2u);
    EXPECT_EQ(selectedIds<Item>(), std::vector<unsigned>{b});
    Item::constrain(true, -1, D_LANGUAGE, 0u);
    EXPECT_EQ(selectedIds<Item>(), (std::vector<unsigned>{a, b})) << "records whose dependency is set";
    Item::constrain(false, 2, D_LANGUAGE, 2u, D_ARTICLE, 7u);
    EXPECT_EQ(selectedIds<Item>(), std::vector<unsigned>{b}) << "narrowing the current selection";
    Item::constrain(true, -2, D_LANGUAGE, 1u, D_ARTICLE, 7u);
    EXPECT_EQ(selectedIds<Item>(), std::vector<unsigned>{c});

    EXPECT_EQ(Item::getAsTally(-1, D_LANGUAGE, 0u), 2u);
    EXPECT_EQ(Item::getByConstrain(true, 1, D_LANGUAGE, 2u)->getId(), b);
    EXPECT_EQ(Item::getByConstrain(true, 1, D_LANGUAGE, 9u), nullptr);
    EXPECT_EQ(messageOf([] { Item::constrain(true, 1, 99, 1u); }),
              "Fatal OrnQLException: Constraint names no table!");
}

// Pairs passed with their own types are checked: through a C variadic list a size_t id, a long
// or a pair too few would be read as garbage.
template <typename Table, typename Id>
constexpr bool constrainsWith = requires(Table table, Id id) {
    Item::constrain(true, 1, table, id);
    Item::getByConstrain(true, 1, table, id);
    Item::getAsTally(1, table, id);
};
static_assert(constrainsWith<dependency, unsigned>);
static_assert(constrainsWith<int, std::size_t>);
static_assert(constrainsWith<dependency, long>);
static_assert(!constrainsWith<dependency, double>);
static_assert(!constrainsWith<dependency, const char*>);
static_assert(!constrainsWith<dependency, bool>);
static_assert(!constrainsWith<const char*, unsigned>);

TEST_F(TableTest, TypedConstraintsConvertSafelyOrRefuse) {
    unsigned a = addWith<Item>(D_LANGUAGE, 1);
    unsigned b = addWith<Item>(D_LANGUAGE, 2);

    EXPECT_EQ(Item::getByConstrain(true, 1, D_LANGUAGE, std::size_t{2})->getId(), b);
    EXPECT_EQ(Item::getAsTally(-1, D_LANGUAGE, 2L), 1u);
    Item::constrain(true, 1, D_LANGUAGE, 1);
    EXPECT_EQ(selectedIds<Item>(), std::vector<unsigned>{a});

    const std::size_t beyondAnyId = (std::size_t{1} << 32) + 2;  // read as 2 through a C list
    EXPECT_EQ(messageOf([&] { Item::constrain(true, 1, D_LANGUAGE, beyondAnyId); }),
              "Fatal OrnQLException: Constraint id is out of range!");
    EXPECT_EQ(messageOf([] { Item::getAsTally(1, D_LANGUAGE, -1L); }),
              "Fatal OrnQLException: Constraint id is out of range!");
    EXPECT_EQ(messageOf([] { Item::constrain(true, 2, D_LANGUAGE, 2u); }),
              "Fatal OrnQLException: Constraint count does not match its pairs!");
    EXPECT_EQ(selectedIds<Item>(), std::vector<unsigned>{a}) << "a refused constraint changes nothing";
}

TEST_F(TableTest, DeletingThroughTheSelectionReturnsTheNextSelected) {
    for (unsigned i = 0; i < 5; ++i) {
        addWith<Item>(D_LANGUAGE, i % 2);
    }
    auto it = Item::constrain(true, 1, D_LANGUAGE, 1u);
    while (it != Item::endSel()) {
        it = Item::deleteEntry(it);
    }
    EXPECT_EQ(ids<Item>(), (std::vector<unsigned>{1, 3, 5}));
    EXPECT_EQ(Item::elementTree().checkIntegrity(), "");
}

TEST_F(TableTest, EnforcingARelationNeedsAnAssociation) {
    EXPECT_EQ(messageOf([] { Item::enforceRelation(D_MEANING); }),
              "Fatal OrnQLException: Enforced relation is not coupled with an association!");
}

TEST_F(TableTest, CascadesRunOverTheTablesInSetUpOrder) {
    const auto& tables = registeredTables();
    ASSERT_EQ(tables.size(), 3u);
    EXPECT_EQ(tables[0].table, D_LANGUAGE);
    EXPECT_EQ(tables[1].table, D_WORD);
    EXPECT_EQ(tables[2].table, D_ARTICLE);
    Item::setup(D_WORD, true);  // a second set-up keeps the table's place
    EXPECT_EQ(registeredTables().size(), 3u);
    EXPECT_EQ(registeredTables()[1].table, D_WORD);
}

TEST_F(TableTest, ResetReturnsTablesToTheirStateBeforeSetUp) {
    unsigned owner = addWith<Owner>();
    addWith<Item>(D_LANGUAGE, owner);
    Item::constrain(true, 0);
    resetDatabaseTables();

    EXPECT_TRUE(registeredTables().empty());
    EXPECT_TRUE(Item::elementTree().empty());
    EXPECT_TRUE(Item::requestTree().empty());
    EXPECT_TRUE(Item::idPool().empty());
    EXPECT_EQ(Item::getOwnEntry(), D_ENDTAG);
    EXPECT_FALSE(Item::hasHeldDependency(D_LANGUAGE));
    setupTables(false, false);
    EXPECT_EQ(addWith<Owner>(), 1u);
}

}  // namespace
}  // namespace dbtest
