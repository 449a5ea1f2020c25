#pragma once

// The known words of the flashcard being edited, in the order of the editor's known list: link n
// stands for entry n of that list. A link names its word by record id, so a word that goes while
// the editor is open leaves a link that finds nothing instead of a dangling pointer, and it
// remembers whether the editor created the word (such a word is deleted again unless the card is
// stored).

#include <cstddef>
#include <optional>
#include <vector>

struct WordChainLink {
    unsigned wordId = 0;
    bool newCreated = false;
};

class WordChain {
public:
    // The link at position `pos` (0-based); null when there is none.
    const WordChainLink* get(int pos) const;
    // Appends a link at the end.
    void addAtEnd(const WordChainLink& link);
    // Unlinks the link at `pos` and returns it; nothing when there is none.
    std::optional<WordChainLink> getAndCut(int pos);
    // Whether a link holds that word.
    bool checkExistence(unsigned wordId) const;

    // The card is stored: none of its words counts as created by the editor any more.
    void keepAll();
    // The ids of the words the editor created, in chain order.
    std::vector<unsigned> createdWords() const;
    const std::vector<WordChainLink>& links() const { return chain; }
    std::size_t size() const { return chain.size(); }
    bool empty() const { return chain.empty(); }
    void clear() { chain.clear(); }

private:
    std::vector<WordChainLink> chain;
};
