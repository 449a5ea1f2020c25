#pragma once

// The words of the word table by language and text, and their texts in id order, kept beside
// the table by the Word class (model/Word.h) so that neither a lookup nor a list of every word
// has to walk the table's records, which lie scattered over the heap.
//
// Storage: one row per word, ordered by id, with its language and the place of its text in one
// shared buffer; and a hash table of (language, text) to ids for the lookups, open addressing in
// one array (no allocation per word). A list of a hundred thousand words reads two arrays from
// front to back instead of a hundred thousand records, and a start-up builds the index with a
// handful of allocations.
//
// Invariants:
//   - row ids are strictly ascending; a row is live or a tombstone (a word erased, its id kept so
//     the order holds until the rows are compacted); no two rows share an id;
//   - every live row, and no tombstone, has exactly one (hash of language and text, id) pair in
//     `byText`;
//   - the text of a live row lies in `characters` at [offset, offset + length).
// Erasing leaves a tombstone and unused characters; once either outweighs what is in use the
// rows and the buffer are rewritten without them, so erasing every word one by one (a table
// reset) costs linear time.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class WordIndex {
public:
    struct Entry {
        unsigned id;
        unsigned language;
        std::wstring_view text;  // valid until the index is next changed
    };

    // Records word `id` of `language` reading `text`, replacing what was recorded for that id.
    // Ids must not be 0.
    void insert(unsigned id, unsigned language, std::wstring_view text);
    // Forgets word `id`; nothing when it is not recorded.
    void erase(unsigned id);
    void clear();
    // Room for this many words of this many characters in all, so that filling the index with
    // a whole table makes no allocation on the way.
    void reserve(std::size_t words, std::size_t textCharacters);
    std::size_t size() const { return liveRows; }
    // The characters of all words' texts together.
    std::size_t textLength() const { return characters.size() - unusedCharacters; }
    bool contains(unsigned id) const;

    // The least id of a word of `language` reading exactly `text` (case-sensitive), other than
    // `exceptId`; 0 when there is none.
    unsigned find(unsigned language, std::wstring_view text, unsigned exceptId = 0) const;

    // Calls visit(const Entry&) for every word in ascending id order.
    template <typename Visit>
    void forEach(Visit&& visit) const {
        for (const Row& row : rows) {
            if (row.live) {
                visit(Entry{row.id, row.language, textOf(row)});
            }
        }
    }

private:
    struct Row {
        unsigned id = 0;
        unsigned language = 0;
        std::uint32_t offset = 0;  // of the text's first character in `characters`
        std::uint32_t length : 31 = 0;
        std::uint32_t live : 1 = 0;
    };
    // A slot of `byText`: the word's id (0: empty) and the hash of its language and text.
    struct TextSlot {
        std::uint32_t hash = 0;
        unsigned id = 0;
    };

    static std::uint32_t hashOf(unsigned language, std::wstring_view text);
    std::size_t homeOf(std::uint32_t hash) const { return hash & (byText.size() - 1); }
    std::size_t nextSlot(std::size_t slot) const { return (slot + 1) & (byText.size() - 1); }
    void addText(std::uint32_t hash, unsigned id);
    void removeText(std::uint32_t hash, unsigned id);
    // Makes `byText` at least `slots` long (a power of two), keeping its entries.
    void growTextSlots(std::size_t slots);
    std::wstring_view textOf(const Row& row) const { return {characters.data() + row.offset, row.length}; }
    // The row with that id, live or not; null when there is none.
    Row* rowOf(unsigned id);
    const Row* rowOf(unsigned id) const;
    void forgetText(const Row& row);
    // Rewrites the rows and the buffer without tombstones and unused characters once those
    // outweigh what is in use.
    void compactIfWasteful();

    std::vector<Row> rows;
    std::vector<wchar_t> characters;
    std::vector<TextSlot> byText;
    std::size_t liveRows = 0;  // also the number of used slots of `byText`
    std::size_t unusedCharacters = 0;
};
