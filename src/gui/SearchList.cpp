#include "gui/SearchList.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace {

// Below this much unused space the buffer is never rewritten: a few renames in a short list are
// not worth a copy of it.
constexpr std::size_t LEAST_WORTH_COMPACTING = 4096;

// Characters of a block of written deferred texts (a longer text gets a block of its own size).
constexpr std::size_t BLOCK_CHARACTERS = 32768;

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

std::uint32_t SearchList::Blocks::store(std::wstring_view text, std::size_t& offset) {
    const std::size_t needed = text.size() + 1;
    if (blocks.empty() || blocks.back().capacity() - blocks.back().size() < needed) {
        blocks.emplace_back().reserve(std::max(BLOCK_CHARACTERS, needed));
    }
    std::vector<wchar_t>& block = blocks.back();
    offset = block.size();
    block.insert(block.end(), text.begin(), text.end());
    block.push_back(L'\0');
    return static_cast<std::uint32_t>(blocks.size());
}

void SearchList::append(std::wstring_view text, unsigned id) {
    text = upToZero(text);
    slots.push_back({store(text), static_cast<std::uint32_t>(text.size()), MAIN, id});
    if (!all && contains(slots.size() - 1, searchText)) {
        matches.push_back(slots.size() - 1);
    }
}

void SearchList::appendDeferred(unsigned id) {
    slots.push_back({0, 0, UNWRITTEN, id});
    ++undescribed;
    if (!all && contains(slots.size() - 1, searchText)) {
        matches.push_back(slots.size() - 1);
    }
}

void SearchList::describeWith(Describer newDescriber) { describer = std::move(newDescriber); }

bool SearchList::describeSome(std::size_t count) {
    std::size_t index = firstUndescribed;
    for (; index < slots.size() && count > 0; ++index) {
        if (slots[index].buffer == UNWRITTEN) {
            describe(index);
            --count;
        }
    }
    while (index < slots.size() && slots[index].buffer != UNWRITTEN) {
        ++index;
    }
    firstUndescribed = index;
    return undescribed > 0;
}

void SearchList::describe(std::size_t index) const {
    const Slot& slot = slots[index];
    scratch.clear();
    if (describer) {
        describer(slot.id, scratch);
    }
    const std::wstring_view text = upToZero(scratch);
    slot.buffer = described.store(text, slot.offset);
    slot.length = static_cast<std::uint32_t>(text.size());
    --undescribed;
}

void SearchList::setLastId(unsigned id) {
    if (!slots.empty()) {
        slots.back().id = id;
    }
}

void SearchList::setText(std::size_t index, std::wstring_view text) {
    text = upToZero(text);
    Slot& slot = slots[index];
    if (slot.buffer == MAIN) {
        unusedCharacters += slot.length + 1;
    } else if (slot.buffer == UNWRITTEN) {
        --undescribed;
    }
    slot.offset = store(text);
    slot.length = static_cast<std::uint32_t>(text.size());
    slot.buffer = MAIN;
    compactIfWasteful();
}

void SearchList::erase(std::size_t index) {
    if (index >= slots.size()) {
        return;
    }
    const Slot& slot = slots[index];
    if (slot.buffer == MAIN) {
        unusedCharacters += slot.length + 1;
    } else if (slot.buffer == UNWRITTEN) {
        --undescribed;
    }
    slots.erase(slots.begin() + static_cast<std::ptrdiff_t>(index));
    if (index < firstUndescribed) {
        --firstUndescribed;
    }
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
    describer = nullptr;
    described.blocks.clear();
    undescribed = 0;
    firstUndescribed = 0;
}

const wchar_t* SearchList::start(const Slot& slot) const {
    return slot.buffer == MAIN ? characters.data() + slot.offset : described.blocks[slot.buffer - 1].data() + slot.offset;
}

std::wstring_view SearchList::text(std::size_t index) const {
    if (slots[index].buffer == UNWRITTEN) {
        describe(index);
    }
    const Slot& slot = slots[index];
    return {start(slot), slot.length};
}

const wchar_t* SearchList::c_str(std::size_t index) const {
    if (slots[index].buffer == UNWRITTEN) {
        describe(index);
    }
    return start(slots[index]);
}

void SearchList::compactIfWasteful() {
    if (unusedCharacters < LEAST_WORTH_COMPACTING || unusedCharacters <= characters.size() - unusedCharacters) {
        return;
    }
    std::vector<wchar_t> kept;
    kept.reserve(characters.size() - unusedCharacters);
    for (Slot& slot : slots) {
        if (slot.buffer != MAIN) {
            continue;
        }
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
