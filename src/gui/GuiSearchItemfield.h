#pragma once

// A list with a search box above it and page buttons below: it keeps the full list of entries
// (SearchList) and shows only those whose text contains the search text, ten per page.
//
//   outer rectangle (x, y, width, height):
//     search box      (x, y, width, 50)
//     list part       (x, y + 50, width, height - 100)   <- this element's own rectangle
//     "<"  page label  ">"   (thirds of the last 50 units)
//
//   input                      effect
//   typing into the box        refilters at once: page 1 of the matches
//   ">" / "<"                  next / previous page (only drawn, and only acting, where one exists)
//   Up / Down                  move the active entry on the page; the page stays
//   addItem / setLastId / deleting from the full list
//                              clears the search box and returns to page 1
//
// The inherited part holds only the entries of the current page, so getActiveId, getActiveEntry
// and the inherited deleteItem() work on the page; deleteItem(bool) removes from the full list.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "gui/GuiButton.h"
#include "gui/GuiItemfield.h"
#include "gui/GuiText.h"
#include "gui/GuiTextfield.h"
#include "gui/SearchList.h"

class GuiSearchItemfield : public GuiItemfield {
public:
    static constexpr int BAR_HEIGHT = 50;  // the search box above, the page bar below

    // The outer rectangle, top-left based; an empty list on page 1 of 0.
    GuiSearchItemfield(int x, int y, int width, int height);
    ~GuiSearchItemfield() override;

    // Lays out the outer rectangle (x, y, width, height) as the constructor does.
    void repositionElement(int x, int y, int width, int height) override;
    void render(const RECT& rc) override;
    bool click(int x, int y) override;
    bool unclick(int x, int y) override;
    bool hover(int x, int y) override;
    void changeFocus(bool newFocus) override;
    void unicode(wchar_t key) override;
    void sysKey(unsigned key, bool shiftDown, bool ctrlDown) override;

    // Appends to the full list (id 0) and shows page 1 of the whole list.
    void addItem(const wchar_t* nStr) override;
    // Changes the text of the active entry both in the full list and on the page.
    void changeItem(const wchar_t* text) override;
    // The inherited deleteItem() removes the active entry from the shown page only.
    using GuiItemfield::deleteItem;
    // Removes from the full list the entry shown as active, or with `delLast` the last entry, and
    // shows page 1 of the whole list.
    void deleteItem(bool delLast);
    void deleteLastItem() override;
    void clearField() override;
    // Sets the id of the last entry of the full list and shows page 1 of the whole list.
    void setLastId(unsigned i) override;
    // Replaces the full list by `entries` in one step, clears the search box and shows page 1 of
    // the whole list. Deferred entries (SearchList::appendDeferred) are written as they are shown,
    // and the rest in the window's idle time, a slice at a time.
    void setEntries(SearchList entries);
    // Deferred texts written per slice of idle time.
    static constexpr std::size_t DESCRIBED_PER_SLICE = 128;

    // The index in the full list of the entry shown at the active position; none when the page
    // is empty.
    std::optional<std::size_t> activeIndex() const;
    // Filters by the search box's text; unless `force`d nothing happens while that text is the one
    // the page was computed for. Forcing clears the search box first.
    void updateContent(bool force);

    unsigned getCurPage() const { return curPage; }
    unsigned getPageCount() const { return nPage; }
    std::size_t getNumberOfEntries() const { return full.size(); }
    const SearchList& fullList() const { return full; }
    GuiTextfield& getSearchBox() { return *searchBox; }

private:
    void layoutChildren();
    void nextPressed();
    void prevPressed();
    // Shows the page that starts at match number `offset`.
    void fillItemfield();
    void showPageLabel();
    bool pageShows(std::size_t from, std::size_t count) const;
    // Whether the page is still page 1 of the unfiltered list, as this list last built it.
    bool showsFirstPageOfAll() const;
    void keepFirstPage();

    SearchList full;
    std::wstring cachedText;
    std::unique_ptr<GuiTextfield> searchBox;
    std::unique_ptr<GuiButton> nextBtn;
    std::unique_ptr<GuiButton> prevBtn;
    std::unique_ptr<GuiText> pageDisplay;
    std::size_t offset = 0;  // the match number the current page starts with
    unsigned curPage = 1;
    unsigned nPage = 0;
    std::optional<unsigned long> shownVersion;  // the inherited part's content when this list filled it
};
