#pragma once

// The full list behind a search field: every entry with its id, the search text it was last
// filtered with, and the entries that contain that text (the matches), cut into pages of ten.
//
// Invariants:
//   - an entry matches when its text contains the search text as a substring (exact,
//     case-sensitive); the empty search text matches every entry, and then no index list is kept
//     (the matches are simply all entries), so appending to an unfiltered list costs nothing;
//   - otherwise `matches` holds the indices of the matching entries in ascending order.
//
// Refiltering with a text that contains the previous one only rescans the previous matches: any
// entry containing the longer text contains the shorter one too. Typing narrows the list that way.

#include <cstddef>
#include <string>
#include <vector>

class SearchList {
public:
    struct Entry {
        std::wstring text;
        unsigned id = 0;
    };
    static constexpr std::size_t PAGE_SIZE = 10;

    // Appends an entry with id 0; it joins the matches when it contains the search text.
    void append(std::wstring text);
    // Sets the id of the last entry; nothing on an empty list.
    void setLastId(unsigned id);
    // Removes the entry at `index` (which must exist) and recomputes the matches.
    void erase(std::size_t index);
    void clear();
    // Replaces every entry at once; nothing is filtered any more.
    void assign(std::vector<Entry> newEntries);

    std::size_t size() const { return entries.size(); }
    bool empty() const { return entries.empty(); }
    Entry& entry(std::size_t index) { return entries[index]; }
    const Entry& entry(std::size_t index) const { return entries[index]; }

    // Recomputes the matches for `text`.
    void filter(const std::wstring& text);
    const std::wstring& filterText() const { return searchText; }
    std::size_t matchCount() const { return all ? entries.size() : matches.size(); }
    // The index in the full list of the `k`-th match (which must exist).
    std::size_t matchAt(std::size_t k) const { return all ? k : matches[k]; }
    // (matches - 1) / 10 + 1, or 0 without matches.
    unsigned pageCount() const;

private:
    bool contains(std::size_t index, const std::wstring& text) const;

    std::vector<Entry> entries;
    std::wstring searchText;
    bool all = true;
    std::vector<std::size_t> matches;
};
