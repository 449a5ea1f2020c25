#pragma once

// The full list behind a search field: every entry with its id, the search text it was last
// filtered with, and the entries that contain that text (the matches), cut into pages of ten.
//
// Storage: the texts of all entries lie in one buffer, each followed by a zero, and an entry is
// the position and length of its text there with its id. A list of a hundred thousand words is
// thus two allocations that grow by doubling, not one per entry, and filtering reads the texts
// one after the other. A renamed or erased entry leaves its old text behind as unused space; once
// that is more than the texts in use, the buffer is rewritten without it.
//
// Invariants:
//   - an entry matches when its text contains the search text as a substring (exact,
//     case-sensitive); the empty search text matches every entry, and then no index list is kept
//     (the matches are simply all entries), so appending to an unfiltered list costs nothing;
//   - otherwise `matches` holds the indices of the matching entries in ascending order;
//   - every entry's text ends before the buffer does and is followed by a zero.
//
// Refiltering with a text that contains the previous one only rescans the previous matches: any
// entry containing the longer text contains the shorter one too. Typing narrows the list that way.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class SearchList {
public:
    static constexpr std::size_t PAGE_SIZE = 10;

    // Makes room for `entries` entries with `characters` characters of text in all, so that a
    // list built in one go allocates once.
    void reserve(std::size_t entries, std::size_t characters);
    // Appends an entry showing a copy of `text` (up to a zero it may hold) that stands for `id`;
    // it joins the matches when it contains the search text.
    void append(std::wstring_view text, unsigned id = 0);
    // Sets the id of the last entry; nothing on an empty list.
    void setLastId(unsigned id);
    // Replaces the text of the entry at `index` (which must exist). The matches stay as they are
    // until the next filter, as the page on screen does.
    void setText(std::size_t index, std::wstring_view text);
    // Removes the entry at `index` (nothing when it does not exist) and recomputes the matches.
    void erase(std::size_t index);
    void clear();

    std::size_t size() const { return slots.size(); }
    bool empty() const { return slots.empty(); }
    // The text and id of the entry at `index` (which must exist). The text stays valid until the
    // list is next changed.
    std::wstring_view text(std::size_t index) const;
    const wchar_t* c_str(std::size_t index) const { return characters.data() + slots[index].offset; }
    unsigned id(std::size_t index) const { return slots[index].id; }

    // Recomputes the matches for `text`.
    void filter(const std::wstring& text);
    const std::wstring& filterText() const { return searchText; }
    std::size_t matchCount() const { return all ? slots.size() : matches.size(); }
    // The index in the full list of the `k`-th match (which must exist).
    std::size_t matchAt(std::size_t k) const { return all ? k : matches[k]; }
    // (matches - 1) / 10 + 1, or 0 without matches.
    unsigned pageCount() const;

private:
    struct Slot {
        std::size_t offset = 0;  // of the text's first character in `characters`
        std::size_t length = 0;
        unsigned id = 0;
    };

    // Copies `text` and its closing zero to the end of the buffer; returns where it starts.
    std::size_t store(std::wstring_view text);
    // Rewrites the buffer without unused space once that outweighs the texts in use.
    void compactIfWasteful();
    bool contains(std::size_t index, std::wstring_view text) const;

    std::vector<wchar_t> characters;
    std::vector<Slot> slots;
    std::size_t unusedCharacters = 0;  // of texts replaced or erased, zeros included
    std::wstring searchText;
    bool all = true;
    std::vector<std::size_t> matches;
};
