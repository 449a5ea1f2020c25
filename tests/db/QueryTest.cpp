#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "support/ExceptionMessage.h"
#include "TestRecords.h"
#include "db/OrnQL_ConvertToQuery.h"

namespace dbtest {
namespace {

using mernolex::test::messageOf;

std::vector<std::wstring> names(Item::selIterator it) {
    std::vector<std::wstring> result;
    for (; it != Item::endSel(); ++it) {
        result.push_back((*it)->name);
    }
    return result;
}

using Names = std::vector<std::wstring>;

class QueryTest : public ::testing::Test {
protected:
    void SetUp() override { Item::setup(D_WORD, false); }
    void TearDown() override { resetDatabaseTables(); }

    static Item* add(const std::wstring& name, std::int32_t level = 0, bool flag = false, double weight = 0.0) {
        auto* item = new Item(name, level);
        item->flag = flag;
        item->weight = weight;
        Item::add(item);
        return item;
    }
};

TEST_F(QueryTest, ValuesAreTheWholeRestOfTheText) {
    add(L"New");
    add(L"New York");
    add(L"");
    add(L"York");
    EXPECT_EQ(names(Item::query(L"NAME == New York", true)), Names{L"New York"});
    EXPECT_EQ(names(Item::query(L"NAME ==", true)), Names{L""}) << "two words: the empty text";
    EXPECT_EQ(names(Item::query(L"NAME == ", true)), Names{L""});
    EXPECT_EQ(names(Item::query(L"  NAME   ==  York", true)), Names{}) << "only one blank separates the value";
    EXPECT_EQ(names(Item::query(ctq(L"NAME ==", L"New York"), true)), Names{L"New York"});
    EXPECT_EQ(Item::getByQuery(ctq(L"NAME ==", L"York"), true)->name, L"York");
    EXPECT_EQ(Item::getByQuery(L"NAME == Boston", true), nullptr);
}

TEST_F(QueryTest, EveryOperatorOnTexts) {
    add(L"French");
    add(L"German");
    add(L"Frisian");
    EXPECT_EQ(names(Item::query(L"NAME CONTAINS ren", true)), Names{L"French"});
    EXPECT_EQ(names(Item::query(L"NAME !CONTAINS ren", true)), (Names{L"German", L"Frisian"}));
    EXPECT_EQ(names(Item::query(L"NAME < G", true)), (Names{L"French", L"Frisian"}));
    EXPECT_EQ(names(Item::query(L"NAME <= German", true)), (Names{L"French", L"German", L"Frisian"}));
    EXPECT_EQ(names(Item::query(L"NAME > French", true)), (Names{L"German", L"Frisian"}));
    EXPECT_EQ(names(Item::query(L"NAME >= Frisian", true)), (Names{L"German", L"Frisian"}));
    EXPECT_EQ(names(Item::query(L"NAME != German", true)), (Names{L"French", L"Frisian"}));
    EXPECT_EQ(names(Item::query(L"NAME == french", true)), Names{}) << "comparisons are case-sensitive";
    EXPECT_EQ(names(Item::query(L"NAME CONTAINS", true)).size(), 3u) << "every text contains the empty text";
}

TEST_F(QueryTest, NumbersFloatsBoolsAndEightBitTexts) {
    add(L"a", 1, true, 0.5)->setCode("00000407");
    add(L"b", 3, false, 2.5)->setCode("00000419");
    add(L"c", -2, true, 2.5);
    EXPECT_EQ(names(Item::query(L"LEVEL > 0", true)), (Names{L"a", L"b"}));
    EXPECT_EQ(names(Item::query(L"LEVEL >", true)), (Names{L"a", L"b"})) << "no value: compared with 0";
    EXPECT_EQ(names(Item::query(ctq(L"LEVEL <=", -2), true)), Names{L"c"});
    EXPECT_EQ(names(Item::query(L"LEVEL CONTAINS 1", true)), Names{}) << "CONTAINS never matches a number";
    EXPECT_EQ(names(Item::query(ctq(L"WEIGHT >=", 2.5), true)), (Names{L"b", L"c"}));
    EXPECT_EQ(names(Item::query(L"WEIGHT < 1e0", true)), Names{L"a"});
    EXPECT_EQ(names(Item::query(ctq(L"FLAG !=", true), true)), Names{L"b"});
    EXPECT_EQ(names(Item::query(L"FLAG < FALSE", true)), (Names{L"a", L"c"})) << "< on bools matches any difference";
    EXPECT_EQ(names(Item::query(ctq(L"CODE ==", "00000419"), true)), Names{L"b"});
    EXPECT_EQ(names(Item::query(L"CODE CONTAINS 04", true)), (Names{L"a", L"b"}));
    EXPECT_EQ(names(Item::query(L"LEVEL == 99999999999", true)), Names{}) << "saturated, not wrapped around";
}

TEST_F(QueryTest, ParseErrorsCarryTheirMessagesAndLeaveTheSelectionAlone) {
    add(L"kept");
    add(L"other");
    Item::query(L"NAME == kept", true);
    const std::pair<const wchar_t*, const char*> cases[] = {
        {L"NAME", "OrnQLException: Could not fetch all three strings for query!"},
        {L"", "OrnQLException: Could not fetch all three strings for query!"},
        {L"name == kept", "OrnQLException: Query element not found!"},
        {L"NAME contains ep", "OrnQLException: Unable to fetch comparison operator!"},
        {L"LEVEL == abc", "OrnQLException: Unable to fetch long integer from query!"},
        {L"WEIGHT == abc", "OrnQLException: Unable to fetch double from query!"},
        {L"FLAG == yes", "OrnQLException: Unable to fetch boolean value from query!"},
        {L"FLAG ==", "OrnQLException: Unable to fetch boolean value from query!"},
    };
    for (const auto& [text, message] : cases) {
        EXPECT_EQ(messageOf([&] { Item::query(text, true); }), message);
        EXPECT_EQ(names(Item::beginSel()), Names{L"kept"});
    }
    EXPECT_EQ(messageOf([] { Item::orderQuery(L"UP NAME", true); }), "OrnQLException: Order keyword is not ASC or DESC!");
    EXPECT_EQ(messageOf([] { Item::orderQuery(L"ASC", true); }), "OrnQLException: Could not fetch all two strings for query!");
    EXPECT_EQ(messageOf([] { Item::orderQuery(L"ASC name", true); }), "OrnQLException: Query element not found!");
    EXPECT_EQ(messageOf([] { Item::elementTree().reduce(OrnQL_Base::applyQuery, true); }),
              "Fatal OrnQLException: Invalid query type!")
        << "after a failed set-up the table has no filter";
    EXPECT_EQ(Item::elementTree().checkIntegrity(), "");
}

TEST_F(QueryTest, OrderingsSortLazilyAndKeepTiesInIdOrder) {
    add(L"b", 1, false);
    add(L"a", 2, true);
    add(L"c", 3, false);
    add(L"b", 4, true);
    EXPECT_EQ(names(Item::orderQuery(L"DESC NAME", true)), (Names{L"c", L"b", L"b", L"a"}));
    auto it = Item::orderQuery(L"DESC NAME", true);
    ++it;
    EXPECT_EQ((*it)->level, 1) << "equal names keep id order";
    EXPECT_EQ(names(Item::orderQuery(L"ASC FLAG", true)), (Names{L"a", L"b", L"b", L"c"})) << "true first";
    Item::query(L"LEVEL > 1", true);
    EXPECT_EQ(names(Item::orderQuery(L"DESC LEVEL", false)), (Names{L"b", L"c", L"a"})) << "within the filter";
}

TEST_F(QueryTest, LazyOrderingMatchesAStableSort) {
    const unsigned seed = std::random_device{}();
    std::printf("ordering seed: %u\n", seed);
    std::mt19937 rng(seed);
    std::vector<Item*> all;
    for (int i = 0; i < 300; ++i) {
        all.push_back(add(std::wstring(1, static_cast<wchar_t>(L'a' + rng() % 5)), static_cast<std::int32_t>(rng() % 7)));
    }
    for (int round = 0; round < 20; ++round) {
        const bool byName = rng() % 2 == 0;
        const bool descending = rng() % 2 == 0;
        std::vector<Item*> expected = all;
        std::stable_sort(expected.begin(), expected.end(), [&](Item* a, Item* b) {
            int order = byName ? a->name.compare(b->name) : (a->level > b->level) - (a->level < b->level);
            return descending ? order > 0 : order < 0;
        });
        std::wstring text = std::wstring(descending ? L"DESC " : L"ASC ") + (byName ? L"NAME" : L"LEVEL");
        std::vector<Item*> got;
        for (auto it = Item::orderQuery(text.c_str(), true); it != Item::endSel(); ++it) got.push_back(*it);
        ASSERT_EQ(got, expected) << "seed " << seed << ", round " << round;
    }
}

TEST(ConvertToQueryTest, ValuesAreWrittenAfterOneBlank) {
    EXPECT_STREQ(ctq(L"LEVEL >", -3), L"LEVEL > -3");
    EXPECT_STREQ(ctq(L"LEVEL >", 4000000000u), L"LEVEL > 4000000000");
    EXPECT_STREQ(ctq(L"ID ==", 5ul), L"ID == 5");
    EXPECT_STREQ(ctq(L"ID ==", -5l), L"ID == -5");
    EXPECT_STREQ(ctq(L"WEIGHT <", 2.5), L"WEIGHT < 2.500000");
    EXPECT_STREQ(ctq(L"FLAG ==", false), L"FLAG == FALSE");
    EXPECT_STREQ(ctq(L"CODE ==", "00000407"), L"CODE == 00000407");
    const wchar_t* first = ctq(L"NAME ==", L"Old Norse");
    EXPECT_STREQ(first, L"NAME == Old Norse");
    EXPECT_STREQ(ctq(L"NAME ==", L""), L"NAME == ");
}

// ctq keeps one buffer for all its results; queryText returns each text of its own.
TEST(ConvertToQueryTest, QueryTextsCanBeHeldAndComparedSideBySide) {
    const std::wstring first = queryText(L"NAME ==", L"a");
    const std::wstring second = queryText(L"LEVEL >", 3u);
    EXPECT_EQ(first, L"NAME == a");
    EXPECT_EQ(second, L"LEVEL > 3");
    EXPECT_EQ(queryText(L"CODE ==", "caf\xC3\xA9"), L"CODE == caf\u00E9") << "8-bit text is read as UTF-8";
}

}  // namespace
}  // namespace dbtest
