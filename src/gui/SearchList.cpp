#include "gui/SearchList.h"

#include <utility>

void SearchList::append(std::wstring text) {
    entries.push_back({std::move(text), 0});
    if (!all && contains(entries.size() - 1, searchText)) {
        matches.push_back(entries.size() - 1);
    }
}

void SearchList::setLastId(unsigned id) {
    if (!entries.empty()) {
        entries.back().id = id;
    }
}

void SearchList::erase(std::size_t index) {
    if (index >= entries.size()) {
        return;
    }
    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(index));
    const std::wstring text = searchText;
    searchText.clear();  // a full rescan: the indices behind the erased entry have moved
    all = true;
    filter(text);
}

void SearchList::clear() {
    entries.clear();
    matches.clear();
}

void SearchList::assign(std::vector<Entry> newEntries) {
    entries = std::move(newEntries);
    searchText.clear();
    all = true;
    matches.clear();
}

void SearchList::filter(const std::wstring& text) {
    if (text.empty()) {
        all = true;
        matches.clear();
        searchText.clear();
        return;
    }
    std::vector<std::size_t> narrowed;
    if (!all && text.find(searchText) != std::wstring::npos) {
        for (std::size_t index : matches) {
            if (contains(index, text)) {
                narrowed.push_back(index);
            }
        }
    } else {
        for (std::size_t index = 0; index < entries.size(); ++index) {
            if (contains(index, text)) {
                narrowed.push_back(index);
            }
        }
    }
    matches.swap(narrowed);
    all = false;
    searchText = text;
}

unsigned SearchList::pageCount() const {
    const std::size_t count = matchCount();
    return count == 0 ? 0 : static_cast<unsigned>((count - 1) / PAGE_SIZE + 1);
}

bool SearchList::contains(std::size_t index, const std::wstring& text) const {
    return entries[index].text.find(text) != std::wstring::npos;
}
