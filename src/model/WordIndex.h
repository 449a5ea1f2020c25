#pragma once

// The words of the word table by language and text, and their texts in id order, kept beside
// the table by the Word class (model/Word.h) so that neither a lookup nor a list of every word
// has to walk the table's records, which lie scattered over the heap.
//
// Storage: one row per word, ordered by id, with its language and the place of its text in one
// shared buffer; and a hash of (language, text) to ids for the lookups. A list of a hundred
// thousand words reads two arrays from front to back instead of a hundred thousand records.
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
#include <string_view>
#include <unordered_map>
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
        bool live = false;
        std::size_t offset = 0;  // of the text's first character in `characters`
        std::size_t length = 0;
    };

    static std::size_t hashOf(unsigned language, std::wstring_view text);
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
    std::unordered_multimap<std::size_t, unsigned> byText;  // hash of language and text -> id
    std::size_t liveRows = 0;
    std::size_t unusedCharacters = 0;
};
