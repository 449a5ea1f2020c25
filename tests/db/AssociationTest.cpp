#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <vector>

#include "support/ExceptionMessage.h"
#include "AssociationTestSupport.h"
#include "support/TempDirTest.h"

namespace dbtest {
namespace {

using Counts = std::map<unsigned, unsigned>;

std::vector<std::wstring> names(Item::selIterator it) {
    std::vector<std::wstring> result;
    for (; it != Item::endSel(); ++it) {
        result.push_back((*it)->name);
    }
    return result;
}

using mernolex::test::messageOf;

class AssociationTest : public mernolex::test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        setupLinkedTables();
    }
    void TearDown() override {
        resetDatabaseTables();
        TempDirTest::TearDown();
    }
};

TEST_F(AssociationTest, FirstAndSecondTierRelationsFollowTheLinks) {
    unsigned m = make<Sense>();
    unsigned w1 = make<Item>(L"dog");
    unsigned w2 = make<Item>(L"hound");
    unsigned c = make<Group>();
    SenseItem::add(new SenseItem(m, w1));
    SenseItem::add(new SenseItem(m, w2));
    Sense* meaning = Sense::getById(m);
    Item* word = Item::getById(w1);

    EXPECT_EQ(counts(meaning->fTR(D_WORD)), (Counts{{w1, 1}, {w2, 1}}));
    EXPECT_EQ(counts(word->sTR(D_WORD)), (Counts{{w1, 2}, {w2, 1}})) << "a word reaches itself both ways";
    EXPECT_EQ(counts(meaning->sTR(D_MEANING)), (Counts{{m, 4}}));

    unsigned link = GroupSense::add(new GroupSense(c, m));
    EXPECT_EQ(counts(word->sTR(D_CATEGORY)), (Counts{{c, 1}}));
    EXPECT_EQ(counts(Group::getById(c)->sTR(D_WORD)), (Counts{{w1, 1}, {w2, 1}}));
    EXPECT_EQ(names(Item::query(L"NAME == hound", true, meaning->fTR(D_WORD))), std::vector<std::wstring>{L"hound"})
        << "relation trees can be queried like tables";

    GroupSense::deleteEntry(link);
    EXPECT_TRUE(counts(word->sTR(D_CATEGORY)).empty());
    EXPECT_TRUE(counts(Group::getById(c)->fTR(D_MEANING)).empty()) << "a group left alone is not enforced";
    EXPECT_NE(Group::getById(c), nullptr);
}

TEST_F(AssociationTest, AddingTheSamePairTwiceStoresOneLink) {
    unsigned m = make<Sense>();
    unsigned w = make<Item>();
    unsigned first = SenseItem::add(new SenseItem(m, w));
    EXPECT_EQ(SenseItem::add(new SenseItem(m, w)), first);
    EXPECT_EQ(SenseItem::elementTree().size(), 1u);
    EXPECT_EQ(counts(Sense::getById(m)->fTR(D_WORD)), (Counts{{w, 1}}));
}

TEST_F(AssociationTest, BadLinksAreRefusedAndNothingChanges) {
    unsigned m = make<Sense>();
    EXPECT_EQ(messageOf([&] { SenseItem::add(new SenseItem(m, 0)); }),
              "OrnQLException: From or To dependency is not set for new association!");
    EXPECT_EQ(messageOf([&] { SenseItem::add(new SenseItem(m, 99)); }),
              "OrnQLException: There is no entry with the corresponding to Id!");
    EXPECT_EQ(messageOf([&] { SenseItem::associate(98, 99); }),
              "OrnQLException: There is no entry with the corresponding from Id!");
    EXPECT_TRUE(SenseItem::elementTree().empty());
    EXPECT_FALSE(Sense::getById(m)->hasFirstTierRelations(D_WORD));

    SenseItem link;
    EXPECT_EQ(messageOf([&] { link.setDependency(D_LANGUAGE, 1); }),
              "OrnQLException: Tried to set a dependency which is not in the association!");
    EXPECT_EQ(messageOf([] { SenseItem::setup(D_ASSO_M_W, true, false, true); }),
              "OrnQLException: A first tier associator has already been set. Make sure there is not more than one "
              "association between any two tables and that they have been setup before the association!");
}

TEST_F(AssociationTest, LosingTheLastLinkDeletesRecordsOfEnforcedSidesWithTheirCascades) {
    unsigned w = make<Item>();
    unsigned other = make<Item>();
    unsigned m = make<Sense>();
    unsigned c = make<Group>();
    unsigned f = make<Card>();
    unsigned toKeep = SenseItem::add(new SenseItem(m, other));
    unsigned meaningLink = SenseItem::add(new SenseItem(m, w));
    GroupSense::add(new GroupSense(c, m));
    unsigned cardLink = CardItem::add(new CardItem(f, w));

    SenseItem::deleteEntry(meaningLink);
    EXPECT_NE(Sense::getById(m), nullptr) << "the meaning still has a word";
    SenseItem::deleteEntry(toKeep);
    EXPECT_EQ(Sense::getById(m), nullptr) << "its last word went";
    EXPECT_TRUE(GroupSense::elementTree().empty()) << "and with it its category link";
    EXPECT_NE(Group::getById(c), nullptr);
    EXPECT_TRUE(counts(Group::getById(c)->sTR(D_WORD)).empty());

    CardItem::deleteEntry(cardLink);
    EXPECT_EQ(Card::getById(f), nullptr);
    EXPECT_NE(Item::getById(w), nullptr) << "the word side is not enforced";
}

TEST_F(AssociationTest, DeletingAWordDeletesItsLinksAndWhatTheyLeaveEmpty) {
    unsigned w = make<Item>();
    unsigned other = make<Item>();
    unsigned lonelyMeaning = make<Sense>();
    unsigned sharedMeaning = make<Sense>();
    unsigned lonelyCard = make<Card>();
    unsigned sharedCard = make<Card>();
    SenseItem::add(new SenseItem(lonelyMeaning, w));
    SenseItem::add(new SenseItem(sharedMeaning, w));
    SenseItem::add(new SenseItem(sharedMeaning, other));
    CardItem::add(new CardItem(lonelyCard, w));
    CardItem::add(new CardItem(sharedCard, w));
    CardItem::add(new CardItem(sharedCard, other));

    Item::deleteEntry(w);
    EXPECT_EQ(Sense::getById(lonelyMeaning), nullptr);
    EXPECT_EQ(Card::getById(lonelyCard), nullptr);
    ASSERT_NE(Sense::getById(sharedMeaning), nullptr);
    EXPECT_EQ(counts(Sense::getById(sharedMeaning)->fTR(D_WORD)), (Counts{{other, 1}}));
    EXPECT_EQ(counts(Item::getById(other)->sTR(D_WORD)), (Counts{{other, 4}}));
    EXPECT_EQ(SenseItem::elementTree().size(), 1u);
    EXPECT_EQ(CardItem::elementTree().size(), 1u);
}

TEST_F(AssociationTest, DeletingThroughTheSelectionContinuesWithTheNextLink) {
    unsigned w = make<Item>();
    std::vector<unsigned> meanings;
    for (int i = 0; i < 4; ++i) {
        meanings.push_back(make<Sense>());
        SenseItem::add(new SenseItem(meanings.back(), w));
    }
    unsigned kept = make<Item>();
    SenseItem::add(new SenseItem(meanings[0], kept));
    auto it = SenseItem::constrain(true, 1, D_WORD, w);
    int deleted = 0;
    while (it != SenseItem::endSel()) {
        it = SenseItem::deleteEntry(it);
        ++deleted;
    }
    EXPECT_EQ(deleted, 4);
    EXPECT_EQ(SenseItem::elementTree().size(), 1u);
    EXPECT_NE(Sense::getById(meanings[0]), nullptr);
    EXPECT_EQ(Sense::getById(meanings[3]), nullptr);
}

TEST_F(AssociationTest, LoadingReconnectsTheRecords) {
    std::filesystem::create_directories("Data/T");
    unsigned w = make<Item>(L"w");
    unsigned m = make<Sense>(L"m");
    unsigned c = make<Group>(L"c");
    SenseItem::add(new SenseItem(m, w));
    GroupSense::add(new GroupSense(c, m));
    Group::saveAll("Data/T/groups", D_ENDTAG);
    Item::saveAll("Data/T/items", D_ENDTAG);
    Sense::saveAll("Data/T/senses", D_ENDTAG);
    SenseItem::saveAll("Data/T/mw", D_ENDTAG);
    GroupSense::saveAll("Data/T/cm", D_ENDTAG);

    resetDatabaseTables();
    setupLinkedTables();
    Group::loadAll("Data/T/groups", D_ENDTAG);
    Item::loadAll("Data/T/items", D_ENDTAG);
    Sense::loadAll("Data/T/senses", D_ENDTAG);
    SenseItem::loadAll("Data/T/mw", D_ENDTAG);
    GroupSense::loadAll("Data/T/cm", D_ENDTAG);
    EXPECT_EQ(counts(Item::getById(w)->sTR(D_CATEGORY)), (Counts{{c, 1}}));
    EXPECT_EQ(counts(Sense::getById(m)->sTR(D_MEANING)), (Counts{{m, 4}}));

    GroupSense::loadAll("Data/T/cm", D_ENDTAG);  // again, over the links in memory
    EXPECT_EQ(counts(Sense::getById(m)->sTR(D_MEANING)), (Counts{{m, 4}})) << "nothing is counted twice";
}

TEST_F(AssociationTest, AnUnreadableLinkFilePurgesTheEnforcedSide) {
    unsigned m = make<Sense>();
    unsigned w = make<Item>();
    unsigned c = make<Group>();
    (void)w;
    EXPECT_THROW(SenseItem::loadAll("Data/Missing/mw", D_ENDTAG), InvalidFileException);
    EXPECT_EQ(Sense::getById(m), nullptr) << "meanings without words are deleted";
    EXPECT_NE(Group::getById(c), nullptr);
}

}  // namespace
}  // namespace dbtest
