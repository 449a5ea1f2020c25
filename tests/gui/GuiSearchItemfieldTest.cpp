#include <chrono>
#include <random>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "gui/GuiSearchItemfield.h"
#include "gui/IdleWork.h"
#include "gui/State.h"
#include "gui/SearchList.h"
#include "gui/support/ScreenDriver.h"

using mernolex::test::ScreenTest;

namespace {

// The list screen's search list: outer rectangle (143, 119, 408, 343). The search box covers
// y 119..169, the list part 169..412 (rows of 24), the page bar 412..462 with "<" at x 143..279,
// the page label 279..415 and ">" 415..551.
constexpr int PrevX = 200;
constexpr int NextX = 480;
constexpr int BarY = 437;
constexpr int BoxY = 140;

class SearchItemfieldTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        screen = createEmptyState(L"Words");
        list = addElementToState(screen, new GuiSearchItemfield(143, 119, 408, 343));
    }

    void fill(const std::vector<std::wstring>& texts) {
        unsigned id = 1;
        for (const std::wstring& text : texts) {
            list->addItem(text.c_str());
            list->setLastId(id++);
        }
    }
    std::vector<std::wstring> page() const {
        std::vector<std::wstring> shown;
        for (int i = 0; i < list->getNumberOfCurrentElements(); ++i) {
            shown.emplace_back(list->getEntry(i));
        }
        return shown;
    }
    static std::vector<std::wstring> numbered(int from, int to) {
        std::vector<std::wstring> texts;
        for (int i = from; i <= to; ++i) {
            texts.push_back(L"w" + std::to_wstring(i));
        }
        return texts;
    }

    State* screen = nullptr;
    GuiSearchItemfield* list = nullptr;
};

}  // namespace

TEST_F(SearchItemfieldTest, PagesOfTenWithButtonsOnlyWhereAnotherPageExists) {
    fill(numbered(1, 25));
    show(screen);
    EXPECT_EQ(numbered(1, 10), page());
    EXPECT_TRUE(painted(L"1/3"));
    EXPECT_TRUE(painted(L">"));
    EXPECT_FALSE(painted(L"<"));

    click(PrevX, BarY);  // not drawn on page 1, and does nothing
    EXPECT_EQ(1u, list->getCurPage());
    click(NextX, BarY);
    EXPECT_EQ(numbered(11, 20), page());
    EXPECT_EQ(11u, list->getActiveId());
    paint();
    EXPECT_TRUE(painted(L"2/3"));
    click(NextX, BarY);
    EXPECT_EQ(numbered(21, 25), page());
    click(NextX, BarY);  // no fourth page
    EXPECT_EQ(3u, list->getCurPage());
    repaintAll();
    EXPECT_TRUE(painted(L"3/3"));
    EXPECT_TRUE(painted(L"<"));
    EXPECT_FALSE(painted(L">"));
    click(PrevX, BarY);
    EXPECT_EQ(numbered(11, 20), page());

    // Typing refilters at once and returns to page 1: "w2" is in w2 and w20 .. w25.
    click(300, BoxY);
    EXPECT_TRUE(list->getFocus());
    type(L"w2");
    EXPECT_EQ(1u, list->getCurPage());
    EXPECT_EQ(1u, list->getPageCount());
    EXPECT_EQ((std::vector<std::wstring>{L"w2", L"w20", L"w21", L"w22", L"w23", L"w24", L"w25"}), page());
    type(L"x");
    EXPECT_TRUE(page().empty());
    EXPECT_EQ(0u, list->getPageCount());
    repaintAll();
    EXPECT_TRUE(painted(L"1/1"));
    type(L"\b\b");  // widening again
    EXPECT_EQ(numbered(1, 10), page());
    EXPECT_EQ(3u, list->getPageCount());
}

TEST_F(SearchItemfieldTest, UpAndDownStayOnThePageAndClicksChooseFromIt) {
    fill(numbered(1, 25));
    show(screen);
    click(NextX, BarY);
    key(platform::key::Down);
    key(platform::key::Down);
    EXPECT_EQ(2u, list->getCurPage());
    EXPECT_EQ(13u, list->getActiveId());
    EXPECT_EQ(L"w13", list->fullList().text(list->activeIndex().value()));
    click(300, 169 + 24 * 5 + 10);
    EXPECT_EQ(16u, list->getActiveId());
    EXPECT_EQ(2u, list->getCurPage());
}

TEST_F(SearchItemfieldTest, ChangesReachTheFullListBehindTheFilteredPage) {
    fill(numbered(1, 25));
    show(screen);
    click(300, BoxY);
    type(L"1");  // w1, w10 .. w19, w21: twelve matches
    EXPECT_EQ(2u, list->getPageCount());
    click(NextX, BarY);
    EXPECT_EQ((std::vector<std::wstring>{L"w19", L"w21"}), page());
    list->setActivePosition(1);
    list->changeItem(L"w21 renamed");
    EXPECT_STREQ(L"w21 renamed", list->getEntry(1));
    EXPECT_EQ(L"w21 renamed", list->fullList().text(20));

    // Deleting from the full list takes the entry shown as active and clears the search.
    list->deleteItem(false);
    EXPECT_EQ(24u, list->getNumberOfEntries());
    EXPECT_EQ(L"w22", list->fullList().text(20));
    EXPECT_STREQ(L"", list->getSearchBox().getText());
    EXPECT_EQ(1u, list->getCurPage());
    EXPECT_EQ(3u, list->getPageCount());

    // The inherited deleteItem() only takes the entry off the page.
    list->deleteItem();
    EXPECT_EQ(9, list->getNumberOfCurrentElements());
    EXPECT_EQ(24u, list->getNumberOfEntries());
    list->deleteLastItem();
    EXPECT_EQ(L"w24", list->fullList().text(22));
    list->clearField();
    EXPECT_EQ(0u, list->getNumberOfEntries());
    EXPECT_TRUE(page().empty());
    list->deleteLastItem();  // on an empty list: nothing
}

TEST_F(SearchItemfieldTest, AddingAnEntryClearsTheSearchAndReturnsToPageOne) {
    fill(numbered(1, 25));
    show(screen);
    click(300, BoxY);
    type(L"2");
    list->addItem(L"new");
    EXPECT_STREQ(L"", list->getSearchBox().getText());
    EXPECT_EQ(numbered(1, 10), page());
    EXPECT_EQ(3u, list->getPageCount());
    list->setLastId(99);
    EXPECT_EQ(99u, list->fullList().id(25));
}

TEST_F(SearchItemfieldTest, ReplacingAllEntriesAtOnceDropsTheSearchAndTheOldEntries) {
    fill(numbered(1, 25));
    show(screen);
    click(300, BoxY);
    type(L"2");
    SearchList entries;
    entries.append(L"x1", 41);
    entries.append(L"w2", 42);
    entries.append(L"x3", 43);
    list->setEntries(std::move(entries));
    EXPECT_STREQ(L"", list->getSearchBox().getText());
    EXPECT_EQ((std::vector<std::wstring>{L"x1", L"w2", L"x3"}), page());
    EXPECT_EQ(41u, list->getActiveId());
    EXPECT_EQ(1u, list->getPageCount());
    type(L"x");  // the box still holds the focus
    EXPECT_EQ((std::vector<std::wstring>{L"x1", L"x3"}), page());
    EXPECT_EQ(43u, list->getEntryId(1));
}

// The filter against a plain scan of every entry, over random appends, erasures, renames and
// search texts that narrow, widen and jump (typing narrows from the previous matches only).
TEST(SearchListTest, MatchesAlwaysEqualAPlainScan) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const std::wstring letters = L"abc";
    auto word = [&](int length) {
        std::wstring w;
        for (int i = 0; i < length; ++i) {
            w += letters[random() % letters.size()];
        }
        return w;
    };

    SearchList list;
    std::wstring search;
    for (int step = 0; step < 3000; ++step) {
        switch (random() % 6) {
        case 0:
        case 1:
            list.append(word(1 + random() % 5));
            break;
        case 2:
            if (!list.empty()) {
                list.erase(random() % list.size());
            }
            break;
        case 3:
            if (list.matchCount() > 0) {  // a rename of a shown entry, as changeItem does
                list.setText(list.matchAt(random() % list.matchCount()), word(1 + random() % 5));
            }
            break;
        case 4:
            search += letters[random() % letters.size()];
            list.filter(search);
            break;
        default:
            search = search.empty() ? word(1) : search.substr(0, random() % search.size());
            list.filter(search);
            break;
        }
        if (random() % 2 == 0) {
            list.filter(search);  // what a refilter would find now
            std::vector<std::size_t> expected;
            for (std::size_t i = 0; i < list.size(); ++i) {
                if (list.text(i).find(search) != std::wstring_view::npos) {
                    expected.push_back(i);
                }
            }
            std::vector<std::size_t> actual;
            for (std::size_t k = 0; k < list.matchCount(); ++k) {
                actual.push_back(list.matchAt(k));
            }
            ASSERT_EQ(expected, actual) << "step " << step;
            ASSERT_EQ(expected.empty() ? 0u : (expected.size() - 1) / 10 + 1, list.pageCount());
        }
    }
}

// Renames and erasures leave old texts in the shared buffer until it is rewritten; every entry
// must keep its own text, its id and the zero after it across those rewrites.
TEST(SearchListTest, TextsAndIdsSurviveRenamesAndErasures) {
    SearchList list;
    std::vector<std::wstring> texts;
    std::vector<unsigned> ids;
    for (unsigned id = 1; id <= 40; ++id) {
        texts.push_back(L"entry " + std::to_wstring(id));
        ids.push_back(id);
        list.append(texts.back(), id);
    }
    for (int round = 0; round < 400; ++round) {  // far more replaced text than text in use
        const std::size_t at = static_cast<std::size_t>(round * 7) % texts.size();
        texts[at] = std::wstring(30 + round % 50, static_cast<wchar_t>(L'a' + round % 26));
        list.setText(at, texts[at]);
        if (round % 40 == 39) {
            list.erase(at);
            texts.erase(texts.begin() + static_cast<std::ptrdiff_t>(at));
            ids.erase(ids.begin() + static_cast<std::ptrdiff_t>(at));
        }
    }
    ASSERT_EQ(texts.size(), list.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i], list.text(i)) << i;
        EXPECT_EQ(texts[i], std::wstring(list.c_str(i))) << i;
        EXPECT_EQ(ids[i], list.id(i)) << i;
    }
    // Its own texts may be handed back, though the buffer grows while they are copied.
    list.append(list.text(0), 100);
    list.setText(1, list.text(0));
    EXPECT_EQ(texts[0], list.text(list.size() - 1));
    EXPECT_EQ(texts[0], list.text(1));
    // A text holding a zero is cut there, as a C string handed to addItem would be.
    list.append(std::wstring(L"cut\0off", 7), 99);
    EXPECT_EQ(L"cut", list.text(list.size() - 1));
}

// A long list filled entry by entry keeps page 1 without rebuilding it; whatever changed the
// page in between (a renamed or recoloured row, a search, another page) makes the next entry
// rebuild it as before.
TEST_F(SearchItemfieldTest, FillingKeepsPageOneOnlyWhileItIsStillTheOneBuilt) {
    fill(numbered(1, 25));
    show(screen);
    list->setActivePosition(3);
    list->changeItem(L"renamed");
    list->addItem(L"w26");
    EXPECT_EQ(L"renamed", list->fullList().text(3));
    EXPECT_STREQ(L"renamed", list->getEntry(3));
    EXPECT_EQ(0, list->getActivePosition());
    list->setColourId(2, colours[INCORRECT_RGB]);
    list->addItem(L"w27");
    EXPECT_EQ(colours[TEXT_RGB], list->getEntryColour(1));
    click(NextX, BarY);
    list->addItem(L"w28");
    EXPECT_EQ(1u, list->getCurPage());
    EXPECT_EQ((std::vector<std::wstring>{L"w1", L"w2", L"w3", L"renamed", L"w5", L"w6", L"w7", L"w8", L"w9", L"w10"}),
              page());
    for (int i = 29; i <= 31; ++i) {
        list->addItem((L"w" + std::to_wstring(i)).c_str());
        list->setLastId(static_cast<unsigned>(i));
    }
    EXPECT_EQ(4u, list->getPageCount());
    repaintAll();
    EXPECT_TRUE(painted(L"1/4"));
    EXPECT_EQ(31u, list->fullList().id(30));
    EXPECT_EQ(1u, list->getActiveId());
}

// Deferred entries: a row's text is written when the row is shown, the rest in idle time or when
// a search needs them, each exactly once; the list shows and finds what a list of written texts
// would.
TEST_F(SearchItemfieldTest, DeferredTextsAreWrittenWhenShownSearchedOrIdle) {
    std::vector<unsigned> described;
    SearchList entries;
    for (unsigned id = 1; id <= 25; ++id) {
        entries.appendDeferred(id);
    }
    entries.describeWith([&](unsigned id, std::wstring& text) {
        described.push_back(id);
        text = L"m" + std::to_wstring(id);
    });
    list->setEntries(std::move(entries));
    show(screen);
    EXPECT_EQ((std::vector<std::wstring>{L"m1", L"m2", L"m3", L"m4", L"m5", L"m6", L"m7", L"m8", L"m9", L"m10"}),
              page());
    EXPECT_EQ(10u, described.size());
    EXPECT_TRUE(painted(L"m1"));
    EXPECT_TRUE(idleWork::pendingFor(list));

    // A search before idle time came writes the rest on the spot.
    click(300, BoxY);
    type(L"m2");
    EXPECT_EQ((std::vector<std::wstring>{L"m2", L"m20", L"m21", L"m22", L"m23", L"m24", L"m25"}), page());
    EXPECT_EQ(25u, described.size());
    EXPECT_EQ(21u, list->getEntryId(2));
    EXPECT_TRUE(window->deliverIdle());  // asked for at setEntries: the slice finds nothing left
    EXPECT_FALSE(idleWork::pendingFor(list));
    EXPECT_EQ(25u, described.size());
}

TEST_F(SearchItemfieldTest, IdleTimeWritesDeferredTextsInSlicesAndAGoneListTakesItsWorkAlong) {
    unsigned describedCount = 0;
    SearchList entries;
    for (unsigned id = 1; id <= 1000; ++id) {
        entries.appendDeferred(id);
    }
    entries.describeWith([&](unsigned id, std::wstring& text) {
        ++describedCount;
        text = L"m" + std::to_wstring(id);
    });
    list->setEntries(std::move(entries));
    show(screen);
    ASSERT_TRUE(idleWork::pendingFor(list));
    idleWork::run(std::chrono::microseconds(0));  // one slice
    EXPECT_EQ(10u + GuiSearchItemfield::DESCRIBED_PER_SLICE, describedCount);
    while (window->deliverIdle()) {
    }
    EXPECT_EQ(1000u, describedCount);
    EXPECT_FALSE(idleWork::pending());
    EXPECT_EQ(L"m1000", list->fullList().text(999));

    SearchList more;
    more.appendDeferred(7);
    more.appendDeferred(8);
    more.appendDeferred(9);
    more.appendDeferred(10);
    more.appendDeferred(11);
    more.appendDeferred(12);
    more.appendDeferred(13);
    more.appendDeferred(14);
    more.appendDeferred(15);
    more.appendDeferred(16);
    more.appendDeferred(17);
    more.describeWith([](unsigned id, std::wstring& text) { text = std::to_wstring(id); });
    list->setEntries(std::move(more));
    EXPECT_TRUE(idleWork::pendingFor(list));
    const void* gone = list;
    ASSERT_TRUE(releaseElement(screen, list));
    list = nullptr;
    EXPECT_FALSE(idleWork::pendingFor(gone));
}

// Written texts never move: a text handed out stays valid while other entries are written, and
// renames, erasures and the rewriting of the buffer keep every entry's own text and id.
TEST(SearchListTest, DeferredTextsStayPutAndMixWithAppendedOnes) {
    SearchList list;
    list.describeWith([](unsigned id, std::wstring& text) { text = std::wstring(40 + id % 7, L'a' + id % 26); });
    for (unsigned id = 1; id <= 3000; ++id) {
        if (id % 3 == 0) {
            list.append(L"plain " + std::to_wstring(id), id);
        } else {
            list.appendDeferred(id);
        }
    }
    const std::wstring_view first = list.text(0);
    const wchar_t* firstCharacters = first.data();
    EXPECT_FALSE(list.fullyDescribed());
    while (list.describeSome(100)) {
    }
    EXPECT_TRUE(list.fullyDescribed());
    EXPECT_EQ(firstCharacters, list.text(0).data());
    EXPECT_EQ(std::wstring(41, L'b'), first);

    list.setText(1, L"renamed");
    list.erase(0);
    for (int round = 0; round < 300; ++round) {  // enough renames to rewrite the buffer
        list.setText(static_cast<std::size_t>(round % 50) * 3 + 5, std::wstring(60, L'x'));
    }
    EXPECT_EQ(L"renamed", list.text(0));
    EXPECT_EQ(2u, list.id(0));
    EXPECT_EQ(L"plain 3", list.text(1));
    EXPECT_EQ(std::wstring(40 + 4 % 7, L'a' + 4), list.text(2));
    EXPECT_EQ(std::wstring(L"plain 3"), list.c_str(1));
    EXPECT_EQ(std::wstring(60, L'x'), list.text(5));
    EXPECT_EQ(7u, list.id(5));
    list.filter(L"plain 29");
    EXPECT_EQ(36u, list.matchCount());  // 291, 294, 297 and 2901 .. 2997
}
