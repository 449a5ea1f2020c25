#pragma once

// A table of text shown a page at a time: a header row, then as many rows as fit, and a page bar
// with "<", "page / pages" and ">" under them. The statistics screen shows the numbers of a plot
// in it.
//
//   input                                   effect
//   click on "<" / ">"                      previous / next page
//   click on a row                          that row selected; a row that names a card opens it
//   Up / Down                               previous / next row (turning the page at its edge)
//   Page Up / Page Down, Left / Right       previous / next page
//   Home / End                              first / last row
//   Enter or Space                          opens the card of the selected row, if it names one

#include <cstdint>

#include "gui/FocusElement.h"
#include "statistics/PlotTables.h"
#include "statistics/PlotView.h"

class TableView : public FocusElement {
public:
    static constexpr int HEADER_HEIGHT = 30;
    static constexpr int ROW_HEIGHT = 26;
    static constexpr int PAGER_HEIGHT = 32;

    // Top-left based; empty.
    TableView(int x, int y, int width, int height, long conditions);

    // Shows the table from its first page, the first row selected.
    void setTable(TableData data);
    const TableData& table() const { return data; }
    void setOpenCard(OpenCardFunc open) { openCard = open; }

    std::size_t rowsPerPage() const;
    std::size_t page() const { return selected / rowsPerPage(); }
    std::size_t pageCount() const;
    std::size_t selectedRow() const { return selected; }
    // The texts of the rows on the page shown, for the program's trace and the tests.
    std::vector<std::vector<std::wstring>> visibleRows() const;

    void render(const RECT& rc) override;
    bool click(int x, int y) override;
    bool unclick(int x, int y) override;
    void unicode(wchar_t key) override;
    void sysKey(unsigned key, bool shiftDown, bool ctrlDown) override;

private:
    void select(std::size_t row);
    void turnPage(int by);
    void openSelected();
    void paintRow(int top, const std::vector<std::wstring>& cells, COLORREF background, COLORREF text) const;
    RECT previousButton() const;
    RECT nextButton() const;

    TableData data;
    std::size_t selected = 0;
    OpenCardFunc openCard = nullptr;
};
