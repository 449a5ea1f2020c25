#pragma once

// The full list behind a search field: every entry with its id, the search text it was last
// filtered with, and the entries that contain that text (the matches), cut into pages of ten.
//
// Storage: the texts of appended entries lie in one buffer, each followed by a zero, and an entry
// is the position and length of its text there with its id. A list of a hundred thousand words is
// thus two allocations that grow by doubling, not one per entry, and filtering reads the texts
// one after the other. A renamed or erased entry leaves its old text behind as unused space; once
// that is more than the texts in use, the buffer is rewritten without it.
//
// Deferred texts: an entry may be appended with its id alone (appendDeferred), its text written by
// the list's describer when it is first needed: when the entry is shown, when a search reads it,
// or earlier in slices (describeSome, from the window's idle time). A list of sixty thousand
// meanings then costs the ten rows of its first page to show. A written text goes into blocks
// that never move, so a text handed out stays valid while other entries are written; to the
// caller an entry's text is the same whenever it was written (the describer reads records that
// the screen keeps as they were while the list is up, and writes the same text each time).
//
// Invariants:
//   - an entry matches when its text contains the search text as a substring (exact,
//     case-sensitive); the empty search text matches every entry, and then no index list is kept
//     (the matches are simply all entries), so appending to an unfiltered list costs nothing;
//   - otherwise `matches` holds the indices of the matching entries in ascending order;
//   - every written entry's text ends before its buffer does and is followed by a zero;
//   - `undescribed` counts the entries whose text is not written yet; none of them lies before
//     `firstUndescribed`.
//
// Refiltering with a text that contains the previous one only rescans the previous matches: any
// entry containing the longer text contains the shorter one too. Typing narrows the list that way.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class SearchList {
public:
    static constexpr std::size_t PAGE_SIZE = 10;

    // Writes the text of the entry with that id into `text` (which it may find non-empty).
    using Describer = std::function<void(unsigned id, std::wstring& text)>;

    // Makes room for `entries` entries with `characters` characters of text in all, so that a
    // list built in one go allocates once.
    void reserve(std::size_t entries, std::size_t characters);
    // Appends an entry showing a copy of `text` (up to a zero it may hold) that stands for `id`;
    // it joins the matches when it contains the search text.
    void append(std::wstring_view text, unsigned id = 0);
    // Appends an entry for `id` whose text the describer writes when it is first needed. Only for
    // an unfiltered list.
    void appendDeferred(unsigned id);
    // The describer of deferred entries; set before the first of them is read.
    void describeWith(Describer describer);
    // Writes the texts of up to `count` deferred entries, the first ones first; returns whether
    // any are left.
    bool describeSome(std::size_t count);
    bool fullyDescribed() const { return undescribed == 0; }
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
    // list is next changed (describing entries is no change).
    std::wstring_view text(std::size_t index) const;
    const wchar_t* c_str(std::size_t index) const;
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
    // Where a text lies: in `characters` (MAIN), in a block of `described`, or nowhere yet.
    static constexpr std::uint32_t MAIN = 0;
    static constexpr std::uint32_t UNWRITTEN = 0xFFFFFFFF;

    // Where the text lies may change when a deferred text is first read, on a const list too.
    struct Slot {
        mutable std::size_t offset = 0;  // of the text's first character in its buffer
        mutable std::uint32_t length = 0;
        mutable std::uint32_t buffer = MAIN;  // MAIN, 1 + the block's index, or UNWRITTEN
        unsigned id = 0;
    };

    // Written texts of deferred entries: blocks filled up to their capacity and never grown, so
    // their characters never move.
    struct Blocks {
        std::vector<std::vector<wchar_t>> blocks;
        // Copies `text` and a zero into the last block, or a new one; returns the block's number
        // (1-based) and sets `offset`.
        std::uint32_t store(std::wstring_view text, std::size_t& offset);
    };

    // Copies `text` and its closing zero to the end of the buffer; returns where it starts.
    std::size_t store(std::wstring_view text);
    // Rewrites the buffer without unused space once that outweighs the texts in use.
    void compactIfWasteful();
    bool contains(std::size_t index, std::wstring_view text) const;
    // Writes the text of the deferred entry at `index`.
    void describe(std::size_t index) const;
    const wchar_t* start(const Slot& slot) const;

    std::vector<wchar_t> characters;
    std::vector<Slot> slots;
    std::size_t unusedCharacters = 0;  // of texts replaced or erased, zeros included
    std::wstring searchText;
    bool all = true;
    std::vector<std::size_t> matches;

    // Describing is no change to the list as its users see it, so even a const list writes its
    // texts when they are read.
    Describer describer;
    mutable Blocks described;
    mutable std::wstring scratch;
    mutable std::size_t undescribed = 0;
    mutable std::size_t firstUndescribed = 0;
};
