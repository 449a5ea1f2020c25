#include "statistics/TableView.h"

#include <algorithm>

#include "shell/frameworkPainter.h"
#include "statistics/DayLabels.h"

namespace {

constexpr COLORREF rgb(unsigned red, unsigned green, unsigned blue) { return red | (green << 8) | (blue << 16); }
constexpr int PAGE_BUTTON_WIDTH = 60;
constexpr int CELL_PADDING = 6;

bool inside(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

}  // namespace

TableView::TableView(int x, int y, int width, int height, long conditions) : FocusElement(x, y, width, height, conditions) {}

void TableView::setTable(TableData newData) {
    data = std::move(newData);
    selected = 0;
    inval();
}

std::size_t TableView::rowsPerPage() const {
    return static_cast<std::size_t>(std::max(1, (height - HEADER_HEIGHT - PAGER_HEIGHT) / ROW_HEIGHT));
}

std::size_t TableView::pageCount() const {
    return std::max<std::size_t>(1, (data.rows.size() + rowsPerPage() - 1) / rowsPerPage());
}

std::vector<std::vector<std::wstring>> TableView::visibleRows() const {
    const std::size_t first = page() * rowsPerPage();
    const std::size_t last = std::min(data.rows.size(), first + rowsPerPage());
    return std::vector<std::vector<std::wstring>>(data.rows.begin() + static_cast<std::ptrdiff_t>(std::min(first, last)),
                                                  data.rows.begin() + static_cast<std::ptrdiff_t>(last));
}

RECT TableView::previousButton() const {
    const int top = y + height - PAGER_HEIGHT + 2;
    return {x + 4, top, x + 4 + PAGE_BUTTON_WIDTH, y + height - 2};
}

RECT TableView::nextButton() const {
    const int top = y + height - PAGER_HEIGHT + 2;
    return {x + width - 4 - PAGE_BUTTON_WIDTH, top, x + width - 4, y + height - 2};
}

void TableView::paintRow(int top, const std::vector<std::wstring>& cells, COLORREF background, COLORREF text) const {
    framewPaintRect(x, top, width, ROW_HEIGHT + 1, background, PEN_NULL, 0, 0);
    const std::size_t columns = std::max<std::size_t>(1, data.headers.size());
    for (std::size_t c = 0; c < cells.size() && c < columns; ++c) {
        const int left = x + static_cast<int>(static_cast<std::size_t>(width) * c / columns);
        const int right = x + static_cast<int>(static_cast<std::size_t>(width) * (c + 1) / columns);
        framewPaintTextW(left + CELL_PADDING, top + 3, right - left - 2 * CELL_PADDING, ROW_HEIGHT - 6, FONT1,
                         cells[c].c_str(), c == 0 ? TEXT_LEFT : TEXT_CENTRE, text);
    }
}

void TableView::render(const RECT& rc) {
    if (!confirmRender(rc, false)) {
        return;
    }
    framewPaintRect(x, y, width, height, colours[WHITE_RGB], focused ? PEN_DASHDOTDOT : PEN_SOLID, 1, 0);
    paintRow(y + 1, data.headers, rgb(220, 220, 220), colours[TEXT_RGB]);
    const std::size_t first = page() * rowsPerPage();
    for (std::size_t i = first; i < data.rows.size() && i < first + rowsPerPage(); ++i) {
        const int top = y + HEADER_HEIGHT + static_cast<int>(i - first) * ROW_HEIGHT;
        const bool isSelected = i == selected && focused;
        const COLORREF background = isSelected ? colours[MARKED_RGB] : (i % 2 == 1 ? rgb(242, 242, 242) : colours[WHITE_RGB]);
        const bool opens = i < data.rowCards.size() && data.rowCards[i] != 0;
        paintRow(top, data.rows[i], background, opens ? rgb(20, 60, 160) : colours[TEXT_RGB]);
    }
    const RECT previous = previousButton();
    const RECT next = nextButton();
    if (page() > 0) {
        framewPaintRect(previous.left, previous.top, previous.right - previous.left, previous.bottom - previous.top,
                        colours[BT_RGB], PEN_SOLID, 1, 0);
        framewPaintTextW(previous.left, previous.top, previous.right - previous.left, previous.bottom - previous.top, FONT1,
                         L"<", TEXT_CENTRE, colours[TEXT_RGB]);
    }
    if (page() + 1 < pageCount()) {
        framewPaintRect(next.left, next.top, next.right - next.left, next.bottom - next.top, colours[BT_RGB], PEN_SOLID, 1, 0);
        framewPaintTextW(next.left, next.top, next.right - next.left, next.bottom - next.top, FONT1, L">", TEXT_CENTRE,
                         colours[TEXT_RGB]);
    }
    const std::wstring pages = fillIn(interfaceText2(String2_PAGE), static_cast<unsigned>(page() + 1),
                                      static_cast<unsigned>(pageCount()));
    framewPaintTextW(previous.right + 10, previous.top, next.left - previous.right - 20, previous.bottom - previous.top,
                     FONT1, pages.c_str(), TEXT_CENTRE, colours[TEXT_RGB]);
}

bool TableView::click(int px, int py) {
    const bool hit = clickPos(px, py);
    if (hit) {
        requireFocus();
    }
    return hit;
}

bool TableView::unclick(int px, int py) {
    const bool complete = unclickPos(px, py);
    if (!complete) {
        return false;
    }
    if (inside(previousButton(), px, py)) {
        turnPage(-1);
    } else if (inside(nextButton(), px, py)) {
        turnPage(1);
    } else if (py >= y + HEADER_HEIGHT) {
        const std::size_t row = page() * rowsPerPage() + static_cast<std::size_t>((py - y - HEADER_HEIGHT) / ROW_HEIGHT);
        if (row < data.rows.size() && row < (page() + 1) * rowsPerPage()) {
            select(row);
            openSelected();
        }
    }
    return true;
}

void TableView::unicode(wchar_t key) {
    if (isPressKey(key)) {
        openSelected();
    }
}

void TableView::sysKey(unsigned key, bool, bool) {
    namespace k = platform::key;
    switch (key) {
    case k::Up:
        if (selected > 0) {
            select(selected - 1);
        }
        break;
    case k::Down:
        select(selected + 1);
        break;
    case k::Prior:
    case k::Left:
        turnPage(-1);
        break;
    case k::Next:
    case k::Right:
        turnPage(1);
        break;
    case k::Home:
        select(0);
        break;
    case k::End:
        select(data.rows.empty() ? 0 : data.rows.size() - 1);
        break;
    default:
        break;
    }
}

void TableView::select(std::size_t row) {
    if (row >= data.rows.size() || row == selected) {
        return;
    }
    selected = row;
    inval();
}

void TableView::turnPage(int by) {
    const long target = static_cast<long>(page()) + by;
    if (target < 0 || target >= static_cast<long>(pageCount())) {
        return;
    }
    selected = static_cast<std::size_t>(target) * rowsPerPage();
    inval();
}

void TableView::openSelected() {
    if (openCard != nullptr && selected < data.rowCards.size() && data.rowCards[selected] != 0) {
        openCard(data.rowCards[selected]);
    }
}
