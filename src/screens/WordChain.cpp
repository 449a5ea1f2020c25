#include "screens/WordChain.h"

#include <algorithm>

const WordChainLink* WordChain::get(int pos) const {
    if (pos < 0 || static_cast<std::size_t>(pos) >= chain.size()) {
        return nullptr;
    }
    return &chain[static_cast<std::size_t>(pos)];
}

void WordChain::addAtEnd(const WordChainLink& link) { chain.push_back(link); }

std::optional<WordChainLink> WordChain::getAndCut(int pos) {
    const WordChainLink* found = get(pos);
    if (found == nullptr) {
        return std::nullopt;
    }
    const WordChainLink cut = *found;
    chain.erase(chain.begin() + pos);
    return cut;
}

bool WordChain::checkExistence(unsigned wordId) const {
    return std::any_of(chain.begin(), chain.end(), [wordId](const WordChainLink& link) { return link.wordId == wordId; });
}

void WordChain::keepAll() {
    for (WordChainLink& link : chain) {
        link.newCreated = false;
    }
}

std::vector<unsigned> WordChain::createdWords() const {
    std::vector<unsigned> ids;
    for (const WordChainLink& link : chain) {
        if (link.newCreated) {
            ids.push_back(link.wordId);
        }
    }
    return ids;
}
