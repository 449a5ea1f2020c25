#include "gui/GuiSearchItemfield.h"

#include <algorithm>
#include <cstdio>

#include "gui/IdleWork.h"
#include "shell/frameworkPainter.h"

namespace {

constexpr int Bar = GuiSearchItemfield::BAR_HEIGHT;

std::unique_ptr<GuiButton> pageButton(const wchar_t* caption) {
    auto button = std::make_unique<GuiButton>(BUTTON3, 0, 0, caption, static_cast<NoTagFunc>(nullptr));
    button->setSupervised(true);  // it reports clicks; the search list turns the page
    button->setManagedFocus(true);
    return button;
}

}  // namespace

GuiSearchItemfield::GuiSearchItemfield(int x, int y, int width, int height)
    : GuiItemfield(x, y + Bar, width, height - 2 * Bar),
      searchBox(std::make_unique<GuiTextfield>(x + width / 2, y + Bar / 2, L"", false, width, Bar)),
      nextBtn(pageButton(L">")),
      prevBtn(pageButton(L"<")),
      pageDisplay(std::make_unique<GuiText>("", 0, 0, 0, 0, FONT1, TEXT_CENTRE)) {
    searchBox->setManagedFocus(true);
    layoutChildren();
    fillItemfield();
}

void GuiSearchItemfield::layoutChildren() {
    const int outerY = y - Bar;
    const int barY = y + height;
    searchBox->place(x, outerY, width, Bar);
    prevBtn->place(x, barY, width / 3, Bar);
    pageDisplay->place(x + width / 3, barY, width / 3, Bar);
    nextBtn->place(x + 2 * width / 3, barY, width / 3, Bar);
}

void GuiSearchItemfield::repositionElement(int newX, int newY, int newWidth, int newHeight) {
    framewRepaint(x, y - Bar, width, height + 2 * Bar, true, false);
    GuiItemfield::repositionElement(newX, newY + Bar, newWidth, newHeight - 2 * Bar);
    layoutChildren();
    framewRepaint(x, y - Bar, width, height + 2 * Bar, true, false);
}

void GuiSearchItemfield::render(const RECT& rc) {
    GuiItemfield::render(rc);
    searchBox->render(rc);
    if (curPage > 1) {
        prevBtn->render(rc);
    }
    if (curPage < nPage) {
        nextBtn->render(rc);
    }
    pageDisplay->render(rc);
}

bool GuiSearchItemfield::click(int posX, int posY) {
    const bool hit = searchBox->click(posX, posY) || nextBtn->click(posX, posY) || prevBtn->click(posX, posY) ||
                     clickPos(posX, posY) || pageDisplay->click(posX, posY);
    // A page button takes the focus on a press; here the search list holds it for them.
    nextBtn->setFocus(false);
    prevBtn->setFocus(false);
    return hit;
}

bool GuiSearchItemfield::unclick(int posX, int posY) {
    // Both buttons hear every release, so neither keeps its pressed look.
    const bool prevHit = prevBtn->unclick(posX, posY);
    const bool nextHit = nextBtn->unclick(posX, posY);
    if (prevHit && curPage > 1) {
        prevPressed();
    } else if (nextHit && curPage < nPage) {
        nextPressed();
    }
    const bool boxHit = searchBox->unclick(posX, posY);
    const bool listHit = GuiItemfield::unclick(posX, posY);
    const bool labelHit = pageDisplay->unclick(posX, posY);
    if (!(prevHit || nextHit || boxHit || listHit || labelHit)) {
        return false;
    }
    requireFocus();
    return true;
}

bool GuiSearchItemfield::hover(int posX, int posY) {
    // Every child hears the move, so a button the pointer left loses its hovered look.
    const bool boxHit = searchBox->hover(posX, posY);
    const bool nextHit = nextBtn->hover(posX, posY);
    const bool prevHit = prevBtn->hover(posX, posY);
    const bool listHit = hoverPos(posX, posY);
    const bool labelHit = pageDisplay->hover(posX, posY);
    return boxHit || nextHit || prevHit || listHit || labelHit;
}

void GuiSearchItemfield::changeFocus(bool newFocus) {
    GuiItemfield::changeFocus(newFocus);
    searchBox->changeFocus(newFocus);
}

void GuiSearchItemfield::unicode(wchar_t key) {
    searchBox->unicode(key);
    updateContent(false);
}

void GuiSearchItemfield::sysKey(unsigned key, bool shiftDown, bool ctrlDown) {
    GuiItemfield::sysKey(key, shiftDown, ctrlDown);
    searchBox->sysKey(key, shiftDown, ctrlDown);
    updateContent(false);
}

GuiSearchItemfield::~GuiSearchItemfield() { idleWork::cancel(this); }

// A list filled entry by entry shows page 1 of the whole list after every one; once that page is
// full, a further entry changes no row of it, only the page count. Rebuilding (or comparing) the
// ten rows every time made filling fifty thousand entries cost a dozen times their copying.
void GuiSearchItemfield::addItem(const wchar_t* nStr) {
    full.append(nStr != nullptr ? nStr : L"");
    if (full.size() > SearchList::PAGE_SIZE && showsFirstPageOfAll()) {
        keepFirstPage();
    } else {
        updateContent(true);
    }
}

void GuiSearchItemfield::changeItem(const wchar_t* text) {
    if (const std::optional<std::size_t> index = activeIndex()) {
        full.setText(*index, text != nullptr ? text : L"");
    }
    GuiItemfield::changeItem(text);
}

void GuiSearchItemfield::deleteItem(bool delLast) {
    if (full.empty()) {
        return;
    }
    if (delLast) {
        full.erase(full.size() - 1);
    } else if (const std::optional<std::size_t> index = activeIndex()) {
        full.erase(*index);
    } else {
        return;  // nothing is shown as active
    }
    updateContent(true);
}

void GuiSearchItemfield::deleteLastItem() { deleteItem(true); }

void GuiSearchItemfield::clearField() {
    full.clear();
    updateContent(true);
}

void GuiSearchItemfield::setLastId(unsigned i) {
    full.setLastId(i);
    if (full.size() > SearchList::PAGE_SIZE && showsFirstPageOfAll()) {
        keepFirstPage();
    } else {
        updateContent(true);
    }
}

void GuiSearchItemfield::setEntries(SearchList entries) {
    full = std::move(entries);
    updateContent(true);
    if (!full.fullyDescribed()) {
        // Searching reads every text: written ahead in idle time, the first key finds them there.
        idleWork::post(this, [this] { return full.describeSome(DESCRIBED_PER_SLICE); });
    }
}

bool GuiSearchItemfield::showsFirstPageOfAll() const {
    return shownVersion && *shownVersion == contentVersion() && offset == 0 && cachedText.empty() &&
           full.filterText().empty() && searchBox->showsNoText();
}

// What updateContent(true) does when the rows of page 1 stay: the first row active, the page
// count up to date; only what changed is repainted.
void GuiSearchItemfield::keepFirstPage() {
    const unsigned pages = full.pageCount();
    const bool countChanged = pages != nPage;
    nPage = pages;
    curPage = 1;
    if (getActivePosition() != 0) {
        GuiItemfield::setActivePosition(0);
    }
    if (countChanged) {
        showPageLabel();
        framewRepaint(x, y - Bar, width, height + 2 * Bar, false, false);
    }
}

std::optional<std::size_t> GuiSearchItemfield::activeIndex() const {
    const int position = getActivePosition();
    if (position < 0) {
        return std::nullopt;
    }
    const std::size_t match = offset + static_cast<std::size_t>(position);
    return match < full.matchCount() ? std::optional<std::size_t>(full.matchAt(match)) : std::nullopt;
}

void GuiSearchItemfield::updateContent(bool force) {
    if (!force && cachedText == searchBox->visibleText()) {
        return;
    }
    if (force) {
        searchBox->setText(L"");
    }
    cachedText = searchBox->visibleText();
    full.filter(cachedText);
    curPage = 1;
    offset = 0;
    nPage = full.pageCount();
    fillItemfield();
}

void GuiSearchItemfield::nextPressed() {
    if (offset + SearchList::PAGE_SIZE >= full.matchCount()) {
        return;
    }
    offset += SearchList::PAGE_SIZE;
    ++curPage;
    fillItemfield();
}

void GuiSearchItemfield::prevPressed() {
    if (offset < SearchList::PAGE_SIZE) {
        return;
    }
    offset -= SearchList::PAGE_SIZE;
    --curPage;
    fillItemfield();
}

void GuiSearchItemfield::showPageLabel() {
    char label[32];
    std::snprintf(label, sizeof label, "%u/%u", curPage, nPage == 0 ? 1u : nPage);
    pageDisplay->setText(label);
}

void GuiSearchItemfield::fillItemfield() {
    showPageLabel();

    const std::size_t matches = full.matchCount();
    const std::size_t count = offset < matches ? std::min(SearchList::PAGE_SIZE, matches - offset) : 0;
    if (pageShows(offset, count)) {
        // Filling a long list refilters after every entry while page 1 stays the same; building
        // the same ten entries again would only cost time. The outcome is the same: the first
        // entry active.
        GuiItemfield::setActivePosition(0);
    } else {
        GuiItemfield::clearField();
        for (std::size_t k = offset; k < offset + count; ++k) {
            const std::size_t index = full.matchAt(k);
            GuiItemfield::addItem(full.c_str(index));
            GuiItemfield::setLastId(full.id(index));
        }
    }
    shownVersion = contentVersion();
    framewRepaint(x, y - Bar, width, height + 2 * Bar, false, false);
}

bool GuiSearchItemfield::pageShows(std::size_t from, std::size_t count) const {
    if (static_cast<std::size_t>(getNumberOfCurrentElements()) != count) {
        return false;
    }
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t index = full.matchAt(from + k);
        const int position = static_cast<int>(k);
        if (full.id(index) != getEntryId(position) || full.text(index) != std::wstring_view(getEntry(position)) ||
            getEntryColour(position) != colours[TEXT_RGB]) {
            return false;
        }
    }
    return true;
}
