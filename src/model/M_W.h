#pragma once

#include "model/LinkTable.h"
#include "model/Meaning.h"
#include "model/Word.h"

// A link between a meaning and a word. A meaning left without words is deleted; a word left
// without meanings stays.
class M_W : public LinkTable<M_W, Meaning, Word> {
public:
    static constexpr bool ENFORCE_FROM = true;
    static constexpr bool ENFORCE_TO = false;

    M_W() = default;
    M_W(unsigned meaningId, unsigned wordId) : LinkTable(meaningId, wordId) {}
    M_W& operator=(const M_W&) override { return *this; }
};
