#include <gtest/gtest.h>

#include <new>
#include <sstream>

#include "FileTestSupport.h"
#include "support/ExceptionMessage.h"
#include "support/SimulatedDisk.h"

namespace dbtest {
namespace {

using std::filesystem::exists;

using mernolex::test::messageOf;

TEST_F(FileTest, RecordsSurviveASaveAndALoadAtTheEdgesOfBounds) {
    for (unsigned id = 1; id <= 21; ++id) {
        addItem(L"item " + std::to_wstring(id), static_cast<std::int32_t>(id) * -3);
    }
    for (unsigned id = 1; id <= 21; ++id) {
        if (id != 9 && id != 10 && id != 11 && id != 19 && id != 20) {
            Item::deleteEntry(id);
        }
    }
    Item* edge = Item::getById(19);
    edge->flag = true;
    edge->weight = -2.5;
    edge->setCode("00000407");
    edge->name = L"Stra\u00DFe \U0001F600 \u05D0";  // a character beyond the basic plane, and Hebrew
    edge->setDependency(D_LANGUAGE, 4);
    const std::wstring edgeName = edge->name;
    Item::saveAll(ITEMS, D_ENDTAG);

    reload();
    EXPECT_EQ(contents(), (std::map<unsigned, std::wstring>{
                              {9, L"item 9"}, {10, L"item 10"}, {11, L"item 11"}, {19, edgeName}, {20, L"item 20"}}));
    Item* loaded = Item::getById(19);
    EXPECT_TRUE(loaded->flag);
    EXPECT_EQ(loaded->weight, -2.5);
    EXPECT_STREQ(loaded->code, "00000407");
    EXPECT_EQ(loaded->level, -57);
    EXPECT_EQ(loaded->getDependency(D_LANGUAGE), 4u);
    EXPECT_TRUE(Item::hasHeldDependency(D_LANGUAGE));
    EXPECT_EQ(readFile("Data/Item/items.dat"), index({0, 1, 2}));

    // A file system that hands out a few bytes per read (network and user-space ones do) gives the
    // same table.
    const auto whole = contents();
    mernolex::test::SimulatedDisk trickling;
    trickling.limitReads(7);
    reload();
    EXPECT_EQ(contents(), whole);
    EXPECT_EQ(Item::getById(19)->level, -57);
}

TEST_F(FileTest, TheStoredLayoutIsByteExact) {
    Item* item = new Item(L"", 7);
    item->setDependency(D_ASSO_F_W, 3);
    Item::add(item);  // id 1
    Item::saveAll(ITEMS, D_ENDTAG);
    EXPECT_EQ(readFile("Data/Item/items0.dat"), recordHeader(1, {{D_ASSO_F_W, 3}}) + itemFields(u"", 7))
        << "the empty text is a length of 1 and one zero unit";
    EXPECT_EQ(readFile("Data/Item/items.dat"), index({0}));
}

TEST_F(FileTest, ASaveRewritesOnlyTheChangedBoundsAndTheIndex) {
    for (unsigned id = 1; id <= 19; ++id) addItem(L"x");
    Item::saveAll(ITEMS, D_ENDTAG);
    const ino_t bound0 = inodeOf("Data/Item/items0.dat");
    const ino_t bound1 = inodeOf("Data/Item/items1.dat");

    for (unsigned id = 20; id <= 25; ++id) addItem(L"y");  // ids 20..25: bound 2 only
    Item::requestTree().clear();
    Item::saveRequest(25);
    Item::saveAll(ITEMS, D_ENDTAG);
    EXPECT_EQ(inodeOf("Data/Item/items0.dat"), bound0);
    EXPECT_EQ(inodeOf("Data/Item/items1.dat"), bound1);
    EXPECT_EQ(readFile("Data/Item/items.dat"), index({0, 1, 2}));
    EXPECT_TRUE(Item::requestTree().empty());
}

// A save walks the marked bounds in one pass when they follow each other (an import marks
// thousands in a row): bounds written that way, around gaps, emptied and unmarked bounds, hold
// exactly what a save that writes every bound on its own holds.
TEST_F(FileTest, BoundsSavedInARunHoldWhatBoundsSavedOneByOneHold) {
    for (unsigned id = 1; id <= 45; ++id) addItem(L"first " + std::to_wstring(id), static_cast<std::int32_t>(id));
    Item::saveAll(ITEMS, D_ENDTAG);
    Item::getById(15)->name = L"changed";
    Item::saveRequest(15);
    for (unsigned id = 20; id <= 29; ++id) Item::deleteEntry(id);  // bound 2 empties
    Item::getById(41)->level = -41;
    Item::saveRequest(41);
    for (unsigned id = 0; id < 17; ++id) addItem(L"added " + std::to_wstring(id));  // ids 20..29, 46..52
    Item::deleteEntry(23u);
    Item::saveAll(ITEMS, D_ENDTAG);
    std::map<unsigned, std::string> inRun;
    for (unsigned bound = 0; bound <= 6; ++bound) {
        const std::string name = "Data/Item/items" + std::to_string(bound) + ".dat";
        inRun[bound] = exists(name) ? readFile(name) : "(none)";
    }

    std::filesystem::remove_all("Data/Item");
    std::filesystem::create_directories("Data/Item");
    Item::saveAll(ITEMS, D_ENDTAG);  // no index: every bound on its own
    for (const auto& [bound, bytes] : inRun) {
        const std::string name = "Data/Item/items" + std::to_string(bound) + ".dat";
        EXPECT_EQ(exists(name) ? readFile(name) : "(none)", bytes) << "bound " << bound;
    }
    EXPECT_EQ(inRun[5], recordHeader(50) + itemFields(u"added 14") + recordHeader(51) + itemFields(u"added 15") +
                            recordHeader(52) + itemFields(u"added 16"));
    EXPECT_EQ(inRun[6], "(none)");
}

TEST_F(FileTest, EmptiedBoundsLoseTheirFilesAndTheirIndexEntries) {
    for (unsigned id = 1; id <= 12; ++id) addItem(L"x");
    for (unsigned id = 3; id <= 9; ++id) Item::deleteEntry(id);
    Item::saveAll(ITEMS, D_ENDTAG);
    ASSERT_TRUE(exists("Data/Item/items1.dat"));

    Item::deleteEntry(10u);
    Item::deleteEntry(11u);
    Item::deleteEntry(12u);
    Item::saveAll(ITEMS, D_ENDTAG);
    EXPECT_FALSE(exists("Data/Item/items1.dat"));
    EXPECT_EQ(readFile("Data/Item/items.dat"), index({0}));

    Item::deleteEntry(1u);
    Item::deleteEntry(2u);
    Item::saveAll(ITEMS, D_ENDTAG);
    EXPECT_FALSE(exists("Data/Item/items0.dat"));
    EXPECT_TRUE(exists("Data/Item/items.dat"));
    EXPECT_EQ(readFile("Data/Item/items.dat"), "");
}

TEST_F(FileTest, WithoutAnIndexEveryBoundIsWrittenAndStrayFilesGo) {
    for (unsigned id = 1; id <= 31; ++id) addItem(L"x");
    for (unsigned id = 10; id <= 29; ++id) Item::deleteEntry(id);
    writeFile("Data/Item/items1.dat", "stale");
    writeFile("Data/Item/items7.dat", "stale");
    writeFile("Data/Item/items3.dat.tmp", "left by a crash");
    writeFile("Data/Item/other0.dat", "another table");
    Item::requestTree().clear();  // nothing requested: the missing index alone forces the rewrite

    Item::saveAll(ITEMS, D_ENDTAG);
    EXPECT_EQ(readFile("Data/Item/items.dat"), index({0, 3}));
    EXPECT_FALSE(exists("Data/Item/items1.dat"));
    EXPECT_FALSE(exists("Data/Item/items7.dat"));
    EXPECT_FALSE(exists("Data/Item/items3.dat.tmp"));
    EXPECT_EQ(readFile("Data/Item/other0.dat"), "another table");
    reload();
    EXPECT_EQ(contents().size(), 11u);
}

TEST_F(FileTest, AnIndexOutOfOrderLoadsAndIsWrittenBackInOrder) {
    writeFile("Data/Item/items0.dat", recordHeader(3) + itemFields(u"a"));
    writeFile("Data/Item/items2.dat", recordHeader(21) + itemFields(u"b"));
    writeFile("Data/Item/items.dat", index({2, 0}));
    Item::loadAll(ITEMS, D_ENDTAG);
    EXPECT_EQ(contents(), (std::map<unsigned, std::wstring>{{3, L"a"}, {21, L"b"}}));
    addItem(L"c");
    Item::saveAll(ITEMS, D_ENDTAG);
    EXPECT_EQ(readFile("Data/Item/items.dat"), index({0, 2}));
}

// Each of these loses records without a word if it is loaded as far as it goes: the records of a
// bound the index does not list (the next record of that bound would overwrite them), of an index
// entry cut short, or a listed bound that no save would leave empty.
TEST_F(FileTest, IndexesThatDoNotMatchTheirBoundFilesAreDamage) {
    const std::string bound0 = recordHeader(3) + itemFields(u"a");
    const std::string bound1 = recordHeader(12) + itemFields(u"b");
    struct Case {
        std::string index, bound1, message;
    };
    const Case cases[] = {
        {"", bound1, "Fatal OrnQLException: Found a table file that its index does not list while loading!"},
        {index({0}), bound1, "Fatal OrnQLException: Found a table file that its index does not list while loading!"},
        {index({0, 1}).substr(0, 6), bound1, "Fatal OrnQLException: Found an index entry cut short while loading!"},
        {index({0, 1}), "", "Fatal OrnQLException: Found a listed table file without records while loading!"},
    };
    for (const Case& c : cases) {
        writeFile("Data/Item/items.dat", c.index);
        writeFile("Data/Item/items0.dat", bound0);
        writeFile("Data/Item/items1.dat", c.bound1);
        bool damage = false;
        try {
            Item::loadAll(ITEMS, D_ENDTAG);
        } catch (const FileDamage& e) {
            damage = true;
            EXPECT_EQ(dynamic_cast<const std::exception&>(e).what(), c.message);
        }
        EXPECT_TRUE(damage) << c.message;
    }
    std::filesystem::remove("Data/Item/items1.dat");
    writeFile("Data/Item/items.dat", index({0}));
    writeFile("Data/Item/items1.dat.tmp", "a temporary file is nobody's bound");
    writeFile("Data/Item/items01.dat", "nor is a name the writer never gives");
    Item::loadAll(ITEMS, D_ENDTAG);
    EXPECT_EQ(contents(), (std::map<unsigned, std::wstring>{{3, L"a"}}));
}

TEST_F(FileTest, LoadingReportsMissingFilesByNameAndTable) {
    try {
        Item::loadAll(ITEMS, D_ENDTAG);
        FAIL() << "no index";
    } catch (const InvalidFileException& e) {
        EXPECT_STREQ(e.what(), "Data/Item/items.dat");
        EXPECT_EQ(e.who(), D_WORD);
    }
    writeFile("Data/Item/items.dat", index({4}));
    try {
        Item::loadAll(ITEMS, D_ENDTAG);
        FAIL() << "no bound file";
    } catch (const InvalidFileException& e) {
        EXPECT_STREQ(e.what(), "Data/Item/items4.dat");
    }
    Item::loadAll(ITEMS, D_LANGUAGE);  // another table's load: nothing happens, nothing thrown
}

TEST_F(FileTest, IdsOutsideTheirBoundAndDuplicatesAreRefused) {
    writeFile("Data/Item/items.dat", index({0, 2}));
    writeFile("Data/Item/items0.dat", recordHeader(4) + itemFields(u"kept"));
    writeFile("Data/Item/items2.dat", recordHeader(35) + itemFields(u"wrong bound"));
    EXPECT_EQ(messageOf([] { Item::loadAll(ITEMS, D_ENDTAG); }),
              "Fatal OrnQLException: Found an out of range id in file while loading!");
    EXPECT_EQ(contents(), (std::map<unsigned, std::wstring>{{4, L"kept"}})) << "records read before stay";

    writeFile("Data/Item/items2.dat", recordHeader(21) + itemFields(u"a") + recordHeader(21) + itemFields(u"b"));
    EXPECT_EQ(messageOf([] { Item::loadAll(ITEMS, D_ENDTAG); }),
              "OrnQLException: Hit illegal duplicate entry while loading OrnQL database!");
}

// A record object made and destroyed outside any table (between a reset and the next set-up)
// marks its bound; the set-up forgets that, or the next load would rewrite the whole table.
TEST_F(FileTest, ASetUpTableStartsWithNothingMarked) {
    addItem(L"kept");
    Item::saveAll(ITEMS, D_ENDTAG);
    resetDatabaseTables();
    auto* loose = new Item(L"loose");
    Item::insertWithId(loose, 35);
    Item::elementTree().detachAll();
    delete loose;
    ASSERT_FALSE(Item::requestTree().empty());

    Item::setup(D_WORD, false);
    EXPECT_TRUE(Item::requestTree().empty());
    Item::loadAll(ITEMS, D_ENDTAG);
    EXPECT_TRUE(Item::requestTree().empty()) << "a clean load marks nothing";
}

TEST_F(FileTest, FreeIdsAfterALoadAreReusedSmallestFirst) {
    writeFile("Data/Item/items.dat", index({0}));
    writeFile("Data/Item/items0.dat",
              recordHeader(1) + itemFields(u"a") + recordHeader(2) + itemFields(u"b") + recordHeader(5) + itemFields(u"c"));
    Item::loadAll(ITEMS, D_ENDTAG);
    EXPECT_EQ(addItem(L"n"), 3u);
    EXPECT_EQ(addItem(L"n"), 4u);
    Item::deleteEntry(2u);
    EXPECT_EQ(addItem(L"n"), 2u);
    EXPECT_EQ(addItem(L"n"), 6u);
}

// No record is ever stored with id 0 or with a dependency on its own table; loaded, id 0 became
// a link that later crashed its cascade.
TEST_F(FileTest, AStoredIdOfZeroOrASelfDependencyIsDamage) {
    writeFile("Data/Item/items.dat", index({0}));
    writeFile("Data/Item/items0.dat", recordHeader(3) + itemFields(u"three") + recordHeader(0) + itemFields(u"zero"));
    EXPECT_EQ(messageOf([] { Item::loadAll(ITEMS, D_ENDTAG); }),
              "Fatal OrnQLException: Found an out of range id in file while loading!");
    EXPECT_EQ(contents(), (std::map<unsigned, std::wstring>{{3, L"three"}})) << "records read before stay";

    writeFile("Data/Item/items0.dat", recordHeader(3, {{D_WORD, 4}}) + itemFields(u"own"));
    EXPECT_EQ(messageOf([] { Item::loadAll(ITEMS, D_ENDTAG); }),
              "Fatal OrnQLException: Found a record depending on its own table while loading!");
}

// A record keeps a handful of dependencies in place and the rest on the side: a record naming
// every other table, and one whose count crosses that line both ways, keep every id through a
// load, an edit, a cascade and a save, byte for byte.
TEST_F(FileTest, RecordsDependingOnManyTablesKeepEveryId) {
    std::map<int, std::uint32_t> everyTable;
    for (int d = 0; d < STORED_DEPENDENCIES; ++d) {
        if (d != D_WORD) {  // the items' own table
            everyTable[d] = 100 + static_cast<std::uint32_t>(d);
        }
    }
    const std::map<int, std::uint32_t> four{{D_LANGUAGE, 1}, {D_ARTICLE, 2}, {D_TENSE, 3}, {D_LEVEL, 4}};
    writeFile("Data/Item/items.dat", index({0}));
    writeFile("Data/Item/items0.dat", recordHeader(1, everyTable) + itemFields(u"all") + recordHeader(2, four) +
                                          itemFields(u"four"));
    Item::loadAll(ITEMS, D_ENDTAG);
    for (const auto& [table, id] : everyTable) {
        EXPECT_EQ(Item::getById(1)->getDependency(static_cast<dependency>(table)), id) << "table " << table;
    }

    Item* second = Item::getById(2);
    second->setDependency(D_PERSON, 5);  // a fifth
    second->setDependency(D_ARTICLE, 0);
    second->setDependency(D_LESSON, 6);
    Item::updateEntriesWithDependency(D_LESSON, 110, 111);  // the first item's lesson
    Item::deleteEntriesWithDependency(D_PERSON, 5);         // the second item goes
    EXPECT_EQ(Item::getById(2), nullptr);
    everyTable[D_LESSON] = 111;
    Item::saveAll(ITEMS, D_ENDTAG);
    EXPECT_EQ(readFile("Data/Item/items0.dat"), recordHeader(1, everyTable) + itemFields(u"all"));

    Item* fresh = new Item(L"back to four");
    for (const auto& [table, id] : four) {
        fresh->setDependency(static_cast<dependency>(table), id);
    }
    fresh->setDependency(D_PERSON, 7);
    fresh->setDependency(D_PERSON, 0);
    Item::insertWithId(fresh, 2);
    Item::saveAll(ITEMS, D_ENDTAG);
    EXPECT_EQ(readFile("Data/Item/items0.dat"),
              recordHeader(1, everyTable) + itemFields(u"all") + recordHeader(2, four) + itemFields(u"back to four"));
}

TEST_F(FileTest, AHugeStoredIdCostsNoMemoryAndIdsAboveTheAddressableRangeAreRefused) {
    writeFile("Data/Item/items.dat", index({200000000}));
    writeFile("Data/Item/items200000000.dat", recordHeader(2000000005) + itemFields(u"far"));
    Item::loadAll(ITEMS, D_ENDTAG);
    EXPECT_EQ(addItem(L"n"), 1u) << "the gap below the far id is free, handed out lazily";

    std::filesystem::remove("Data/Item/items200000000.dat");
    writeFile("Data/Item/items.dat", index({300000000}));
    writeFile("Data/Item/items300000000.dat", recordHeader(3000000001u) + itemFields(u"beyond"));
    EXPECT_EQ(messageOf([] { Item::loadAll(ITEMS, D_ENDTAG); }),
              "Fatal OrnQLException: Found an out of range id in file while loading!");
}

TEST_F(FileTest, ReloadingATableDoesNotHandOutIdsTwice) {
    addItem(L"a");
    addItem(L"b");
    Item::saveAll(ITEMS, D_ENDTAG);
    Item::loadAll(ITEMS, D_ENDTAG);  // over the table in memory
    EXPECT_EQ(contents().size(), 2u);
    EXPECT_EQ(addItem(L"c"), 3u);
}

// A record cut short anywhere is damage: read as far as it goes, it hid the loss of everything
// after it (a text length of 0xFFFFFFFF made three languages load as one).
TEST_F(FileTest, RecordsCutShortAreDamageAndTheRecordsBeforeThemStay) {
    const std::string whole = recordHeader(1) + itemFields(u"whole");
    const std::string cuts[] = {
        recordHeader(2) + u32(0xFFFFFFFF) + units(u"cut") + std::string(2, '\0') + recordHeader(3) + itemFields(u"c"),
        recordHeader(2) + u32(6) + units(u"cut"),           // the text ends inside its terminator
        recordHeader(2) + u32(4) + units(u"cuts"),          // a length that stops short of it
        recordHeader(2) + u32(0) + itemFields(u"").substr(4),  // no terminator at all
        recordHeader(2) + itemFields(u"x").substr(0, 12),   // inside the own fields
        recordHeader(2, {{D_LANGUAGE, 6}}).substr(0, 10),   // inside the dependencies
        u32(2).substr(0, 3),                                // inside the id
    };
    writeFile("Data/Item/items.dat", index({0}));
    for (const std::string& cut : cuts) {
        writeFile("Data/Item/items0.dat", whole + cut);
        bool damage = false;
        try {
            Item::loadAll(ITEMS, D_ENDTAG);
        } catch (const FileDamage&) {
            damage = true;
        }
        EXPECT_TRUE(damage) << "cut " << (&cut - cuts);
        EXPECT_EQ(contents(), (std::map<unsigned, std::wstring>{{1, L"whole"}})) << "cut " << (&cut - cuts);
    }
}

TEST_F(FileTest, TextsOnDiskAreDecodedSafely) {
    std::u16string loneSurrogates = u"a";
    loneSurrogates += static_cast<char16_t>(0xD800);
    loneSurrogates += u"b";
    loneSurrogates += static_cast<char16_t>(0xDC00);
    std::u16string earlyTerminator = u"ab";
    earlyTerminator += u'\0';
    earlyTerminator += u"hidden";
    writeFile("Data/Item/items.dat", index({0}));
    writeFile("Data/Item/items0.dat",
              recordHeader(1) + itemFields(loneSurrogates) + recordHeader(2) + itemFields(earlyTerminator));
    Item::loadAll(ITEMS, D_ENDTAG);
    EXPECT_EQ(Item::getById(1)->name, L"a\uFFFDb\uFFFD");
    EXPECT_EQ(Item::getById(2)->name, L"ab");
}

TEST_F(FileTest, TextsAreStoredAsTheirUtf16UnitsWhateverTheirLengthAndCharacters) {
    std::wstring outOfRange = L"a";
    outOfRange += static_cast<wchar_t>(0xD800);  // a lone surrogate held in memory
    outOfRange += static_cast<wchar_t>(0x110000);
    outOfRange += static_cast<wchar_t>(-1);
    std::wstring astral;
    std::u16string astralUnits;
    for (int i = 0; i < 400; ++i) {
        astral += L"x\U0001F600";
        astralUnits += u"x\xD83D\xDE00";
    }
    // Texts are written in slices of 256 units: a pair split across two, a text filling one
    // exactly (its terminator starts the next), one of many slices.
    const std::vector<std::pair<std::wstring, std::u16string>> cases = {
        {L"", u""},
        {L"Stra\u00DFe \u05D0", u"Stra\u00DFe \u05D0"},
        {std::wstring(255, L'a') + L"\U0001F600", std::u16string(255, u'a') + u"\xD83D\xDE00"},
        {std::wstring(256, L'b'), std::u16string(256, u'b')},
        {astral, astralUnits},
        {outOfRange, u"a\xFFFD\xFFFD\xFFFD"},
        {std::wstring(L"ab\0hidden", 9), u"ab"},  // a reader sees the text up to its first zero
    };
    std::string expected;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        addItem(cases[i].first);
        expected += recordHeader(static_cast<std::uint32_t>(i + 1)) + itemFields(cases[i].second);
    }
    Item::saveAll(ITEMS, D_ENDTAG);
    EXPECT_EQ(readFile("Data/Item/items0.dat"), expected);

    std::ostringstream out;
    OrnQL_Base::saveText(static_cast<const wchar_t*>(nullptr), out);
    OrnQL_Base::saveText(L"z\U0001F600", out);
    EXPECT_EQ(out.str(), u32(1) + std::string(2, '\0') + u32(4) + units(u"z\xD83D\xDE00") + std::string(2, '\0'));
}

// Fields go straight to the stream's buffer; a stream that failed, a buffer that takes no more
// or one that throws must still leave the stream failed, as the file's commit relies on it.
TEST(TableFields, WritesToAFailedFullOrThrowingStreamLeaveItFailed) {
    std::ostringstream failed;
    failed.setstate(std::ios::badbit);
    saveValue(failed, std::uint32_t{7});
    saveBool(failed, true);
    EXPECT_TRUE(failed.fail());
    EXPECT_TRUE(failed.str().empty());

    char room[6];
    struct FixedBuffer : std::streambuf {
        FixedBuffer(char* bytes, std::size_t size) { setp(bytes, bytes + size); }
    } buffer(room, sizeof room);
    std::ostream full(&buffer);
    saveValue(full, std::uint32_t{0x04030201});
    EXPECT_TRUE(full.good());
    saveValue(full, std::uint32_t{5});
    EXPECT_TRUE(full.bad());
    EXPECT_EQ(std::string(room, 4), u32(0x04030201));

    struct ExhaustedBuffer : std::streambuf {
        int_type overflow(int_type) override { throw std::bad_alloc(); }
    } exhausted;
    std::ostream outOfMemory(&exhausted);
    EXPECT_NO_THROW(OrnQL_Base::saveText(L"text", outOfMemory));
    EXPECT_TRUE(outOfMemory.bad());
}

TEST_F(FileTest, SavingIntoAMissingDirectoryReportsTheTable) {
    addItem(L"a");
    try {
        Item::saveAll("Data/Nowhere/items", D_ENDTAG);
        FAIL() << "the directory does not exist";
    } catch (const InvalidFileException& e) {
        EXPECT_STREQ(e.what(), "Data/Nowhere/items") << "a bound file is reported by the table's path prefix";
        EXPECT_EQ(e.who(), D_WORD);
    }
    EXPECT_FALSE(Item::requestTree().empty()) << "a failed save keeps its work for the next one";
}

}  // namespace
}  // namespace dbtest
