#include "gui/SearchList.h"

#include <functional>
#include <utility>

namespace {

// Below this much unused space the buffer is never rewritten: a few renames in a short list are
// not worth a copy of it.
constexpr std::size_t LEAST_WORTH_COMPACTING = 4096;

std::wstring_view upToZero(std::wstring_view text) { return text.substr(0, text.find(L'\0')); }

}  // namespace

void SearchList::reserve(std::size_t entries, std::size_t characterCount) {
    slots.reserve(entries);
    characters.reserve(characterCount + entries);  // a zero after every text
}

std::size_t SearchList::store(std::wstring_view text) {
    const std::less<const wchar_t*> before;
    const wchar_t* const from = characters.data();
    if (!text.empty() && !before(text.data(), from) && before(text.data(), from + characters.size())) {
        // A text of this list itself: growing the buffer would move it while it is copied.
        return store(std::wstring(text));
    }
    const std::size_t offset = characters.size();
    characters.insert(characters.end(), text.begin(), text.end());
    characters.push_back(L'\0');
    return offset;
}

void SearchList::append(std::wstring_view text, unsigned id) {
    text = upToZero(text);
    slots.push_back({store(text), text.size(), id});
    if (!all && contains(slots.size() - 1, searchText)) {
        matches.push_back(slots.size() - 1);
    }
}

void SearchList::setLastId(unsigned id) {
    if (!slots.empty()) {
        slots.back().id = id;
    }
}

void SearchList::setText(std::size_t index, std::wstring_view text) {
    text = upToZero(text);
    Slot& slot = slots[index];
    unusedCharacters += slot.length + 1;
    slot.offset = store(text);
    slot.length = text.size();
    compactIfWasteful();
}

void SearchList::erase(std::size_t index) {
    if (index >= slots.size()) {
        return;
    }
    unusedCharacters += slots[index].length + 1;
    slots.erase(slots.begin() + static_cast<std::ptrdiff_t>(index));
    compactIfWasteful();
    const std::wstring text = searchText;
    searchText.clear();  // a full rescan: the indices behind the erased entry have moved
    all = true;
    filter(text);
}

void SearchList::clear() {
    slots.clear();
    characters.clear();
    unusedCharacters = 0;
    matches.clear();
}

std::wstring_view SearchList::text(std::size_t index) const {
    const Slot& slot = slots[index];
    return {characters.data() + slot.offset, slot.length};
}

void SearchList::compactIfWasteful() {
    if (unusedCharacters < LEAST_WORTH_COMPACTING || unusedCharacters <= characters.size() - unusedCharacters) {
        return;
    }
    std::vector<wchar_t> kept;
    kept.reserve(characters.size() - unusedCharacters);
    for (Slot& slot : slots) {
        const std::size_t offset = kept.size();
        const auto from = characters.begin() + static_cast<std::ptrdiff_t>(slot.offset);
        kept.insert(kept.end(), from, from + static_cast<std::ptrdiff_t>(slot.length + 1));
        slot.offset = offset;
    }
    characters.swap(kept);
    unusedCharacters = 0;
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
        for (std::size_t index = 0; index < slots.size(); ++index) {
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

bool SearchList::contains(std::size_t index, std::wstring_view text) const {
    return this->text(index).find(text) != std::wstring_view::npos;
}
