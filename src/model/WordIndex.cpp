#include "model/WordIndex.h"

#include <algorithm>
#include <functional>

namespace {

// Below these amounts tombstones and unused characters are kept: rewriting a small index after
// every few changes would only cost time.
constexpr std::size_t LEAST_ROWS_WORTH_COMPACTING = 1024;
constexpr std::size_t LEAST_CHARACTERS_WORTH_COMPACTING = 4096;

}  // namespace

std::size_t WordIndex::hashOf(unsigned language, std::wstring_view text) {
    std::size_t hash = std::hash<std::wstring_view>{}(text);
    hash ^= std::hash<unsigned>{}(language) + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
    return hash;
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
    Row* row = rowOf(id);
    if (row != nullptr && row->live) {
        forgetText(*row);
    } else {
        if (row == nullptr) {
            // New ids are mostly the largest yet, so this is mostly an append.
            const auto at = std::lower_bound(rows.begin(), rows.end(), id, [](const Row& r, unsigned wanted) {
                return r.id < wanted;
            });
            row = &*rows.insert(at, Row{id, 0, false, 0, 0});
        }
        ++liveRows;
    }
    row->language = language;
    row->live = true;
    row->offset = characters.size();
    row->length = text.size();
    characters.insert(characters.end(), text.begin(), text.end());
    byText.emplace(hashOf(language, text), id);
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
    liveRows = 0;
    unusedCharacters = 0;
}

unsigned WordIndex::find(unsigned language, std::wstring_view text, unsigned exceptId) const {
    unsigned least = 0;
    const auto [from, to] = byText.equal_range(hashOf(language, text));
    for (auto it = from; it != to; ++it) {
        const unsigned id = it->second;
        if (id == exceptId || (least != 0 && id > least)) {
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
    const auto [from, to] = byText.equal_range(hashOf(row.language, textOf(row)));
    for (auto it = from; it != to; ++it) {
        if (it->second == row.id) {
            byText.erase(it);
            break;
        }
    }
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
            keptRows.push_back(Row{row.id, row.language, true, keptCharacters.size(), text.size()});
            keptCharacters.insert(keptCharacters.end(), text.begin(), text.end());
        }
    }
    rows.swap(keptRows);
    characters.swap(keptCharacters);
    unusedCharacters = 0;
}
