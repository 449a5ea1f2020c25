#pragma once

#include "model/Category.h"
#include "model/LinkTable.h"
#include "model/Meaning.h"

// A link between a category and a meaning. Neither side is enforced: a category left without
// meanings stays, and so does a meaning left without categories.
class C_M : public LinkTable<C_M, Category, Meaning> {
public:
    static constexpr bool ENFORCE_FROM = false;
    static constexpr bool ENFORCE_TO = false;

    C_M() = default;
    C_M(unsigned categoryId, unsigned meaningId) : LinkTable(categoryId, meaningId) {}
    C_M& operator=(const C_M&) override { return *this; }
};
