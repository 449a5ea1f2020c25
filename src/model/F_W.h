#pragma once

#include "model/Flashcard.h"
#include "model/LinkTable.h"
#include "model/Word.h"

// A link between a flashcard and one of its known-language words. A flashcard left without known
// words is deleted; a word left without flashcards stays.
class F_W : public LinkTable<F_W, Flashcard, Word> {
public:
    static constexpr bool ENFORCE_FROM = true;
    static constexpr bool ENFORCE_TO = false;

    F_W() = default;
    F_W(unsigned flashcardId, unsigned wordId) : LinkTable(flashcardId, wordId) {}
    F_W& operator=(const F_W&) override { return *this; }
};
