#pragma once

#include <string>

namespace exchange {

// A row whose foreign word already has a card in the collection: add to that card (its level
// and due date stay), or leave it alone. Rows repeating a foreign word within the file are always
// merged into one card.
enum class DuplicateRule { Update, Skip };

struct ImportOptions {
    DuplicateRule duplicates = DuplicateRule::Update;
    // "der Tisch" -> article der, word Tisch, when the foreign language has that article.
    bool splitLeadingArticle = false;
    // Where a known-words field holds several words; a line break always separates them.
    std::wstring knownSeparator = L";";
    // Every card into this lesson (made when missing); empty: the lessons the rows name.
    std::wstring lesson;
    // New cards are practised in both directions, as the flashcard editor's box starts.
    bool useInverted = true;
};

}  // namespace exchange
