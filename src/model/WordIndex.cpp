#include "model/WordIndex.h"

#include <algorithm>
#include <functional>

namespace {

// Below these amounts tombstones and unused characters are kept: rewriting a small index after
// every few changes would only cost time.
constexpr std::size_t LEAST_ROWS_WORTH_COMPACTING = 1024;
constexpr std::size_t LEAST_CHARACTERS_WORTH_COMPACTING = 4096;

// The hash table starts this long and grows by doubling once more than half full.
constexpr std::size_t FIRST_TEXT_SLOTS = 64;

}  // namespace

std::uint32_t WordIndex::hashOf(unsigned language, std::wstring_view text) {
    std::size_t hash = std::hash<std::wstring_view>{}(text);
    hash ^= std::hash<unsigned>{}(language) + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
    return static_cast<std::uint32_t>(hash ^ (hash >> 32));
}

void WordIndex::growTextSlots(std::size_t slots) {
    std::size_t size = byText.empty() ? FIRST_TEXT_SLOTS : byText.size();
    while (size < slots) {
        size *= 2;
    }
    if (size == byText.size()) {
        return;
    }
    std::vector<TextSlot> old(size);
    old.swap(byText);
    for (const TextSlot& slot : old) {
        if (slot.id != 0) {
            std::size_t at = homeOf(slot.hash);
            while (byText[at].id != 0) {
                at = nextSlot(at);
            }
            byText[at] = slot;
        }
    }
}

// Called before liveRows counts the new word.
void WordIndex::addText(std::uint32_t hash, unsigned id) {
    growTextSlots(2 * (liveRows + 1));
    std::size_t at = homeOf(hash);
    while (byText[at].id != 0) {
        at = nextSlot(at);
    }
    byText[at] = TextSlot{hash, id};
}

// Empties the word's slot and moves later slots of the same run back into the hole, so that no
// lookup stops early at it (deletion without tombstones under linear probing).
void WordIndex::removeText(std::uint32_t hash, unsigned id) {
    if (byText.empty()) {
        return;
    }
    std::size_t hole = homeOf(hash);
    while (byText[hole].id != id || byText[hole].hash != hash) {
        if (byText[hole].id == 0) {
            return;
        }
        hole = nextSlot(hole);
    }
    for (std::size_t next = nextSlot(hole); byText[next].id != 0; next = nextSlot(next)) {
        const std::size_t home = homeOf(byText[next].hash);
        // The entry may move into the hole unless its home lies cyclically in (hole, next].
        const bool homeAfterHole = hole <= next ? (home > hole && home <= next) : (home > hole || home <= next);
        if (!homeAfterHole) {
            byText[hole] = byText[next];
            hole = next;
        }
    }
    byText[hole] = TextSlot{};
}

void WordIndex::reserve(std::size_t words, std::size_t textCharacters) {
    rows.reserve(words);
    characters.reserve(textCharacters);
    growTextSlots(2 * words);
}

WordIndex::Row* WordIndex::rowOf(unsigned id) {
    return const_cast<Row*>(static_cast<const WordIndex*>(this)->rowOf(id));
}

const WordIndex::Row* WordIndex::rowOf(unsigned id) const {
    const auto at = std::lower_bound(rows.begin(), rows.end(), id, [](const Row& row, unsigned wanted) {
        return row.id < wanted;
    });
    return at != rows.end() && at->id == id ? &*at : nullptr;
}

bool WordIndex::contains(unsigned id) const {
    const Row* row = rowOf(id);
    return row != nullptr && row->live;
}

void WordIndex::insert(unsigned id, unsigned language, std::wstring_view text) {
    addText(hashOf(language, text), id);  // first: it may fail for want of memory
    Row* row = nullptr;
    if (rows.empty() || rows.back().id < id) {
        row = &rows.emplace_back(Row{id, 0, 0, 0, 0});  // a load, a new word: the largest id yet
        ++liveRows;
    } else if ((row = rowOf(id)) != nullptr && row->live) {
        forgetText(*row);
    } else {
        if (row == nullptr) {
            const auto at = std::lower_bound(rows.begin(), rows.end(), id, [](const Row& r, unsigned wanted) {
                return r.id < wanted;
            });
            row = &*rows.insert(at, Row{id, 0, 0, 0, 0});
        }
        ++liveRows;
    }
    row->language = language;
    row->live = true;
    row->offset = static_cast<std::uint32_t>(characters.size());
    row->length = static_cast<std::uint32_t>(text.size());
    characters.insert(characters.end(), text.begin(), text.end());
    compactIfWasteful();
}

void WordIndex::erase(unsigned id) {
    Row* row = rowOf(id);
    if (row == nullptr || !row->live) {
        return;
    }
    forgetText(*row);
    row->live = false;
    --liveRows;
    compactIfWasteful();
}

void WordIndex::clear() {
    rows.clear();
    characters.clear();
    byText.clear();
    byText.shrink_to_fit();
    liveRows = 0;
    unusedCharacters = 0;
}

unsigned WordIndex::find(unsigned language, std::wstring_view text, unsigned exceptId) const {
    unsigned least = 0;
    if (byText.empty()) {
        return 0;
    }
    const std::uint32_t hash = hashOf(language, text);
    for (std::size_t at = homeOf(hash); byText[at].id != 0; at = nextSlot(at)) {
        const unsigned id = byText[at].id;
        if (byText[at].hash != hash || id == exceptId || (least != 0 && id > least)) {
            continue;
        }
        const Row* row = rowOf(id);
        if (row != nullptr && row->live && row->language == language && textOf(*row) == text) {
            least = id;
        }
    }
    return least;
}

void WordIndex::forgetText(const Row& row) {
    removeText(hashOf(row.language, textOf(row)), row.id);
    unusedCharacters += row.length;
}

void WordIndex::compactIfWasteful() {
    const std::size_t deadRows = rows.size() - liveRows;
    const bool wastefulRows = deadRows >= LEAST_ROWS_WORTH_COMPACTING && deadRows > liveRows;
    const bool wastefulCharacters = unusedCharacters >= LEAST_CHARACTERS_WORTH_COMPACTING &&
                                    unusedCharacters > characters.size() - unusedCharacters;
    if (!wastefulRows && !wastefulCharacters) {
        return;
    }
    std::vector<Row> keptRows;
    keptRows.reserve(liveRows);
    std::vector<wchar_t> keptCharacters;
    keptCharacters.reserve(characters.size() - unusedCharacters);
    for (const Row& row : rows) {
        if (row.live) {
            const std::wstring_view text = textOf(row);
            keptRows.push_back(row);
            keptRows.back().offset = static_cast<std::uint32_t>(keptCharacters.size());
            keptCharacters.insert(keptCharacters.end(), text.begin(), text.end());
        }
    }
    rows.swap(keptRows);
    characters.swap(keptCharacters);
    unusedCharacters = 0;
}
