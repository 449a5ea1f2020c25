#pragma once

#include "TestRecords.h"
#include "db/OrnQL_Association.h"

namespace dbtest {

// Test tables shaped like the program's linked tables: groups (categories), senses (meanings),
// items (words) and cards (flashcards), and three link tables between them.
using Group = Record<8>;
using Sense = Record<7>;
using Card = Record<9>;

class CardItem : public OrnQL_Association<CardItem, Card, Item> {
public:
    using OrnQL_Association<CardItem, Card, Item>::OrnQL_Association;
};
class SenseItem : public OrnQL_Association<SenseItem, Sense, Item> {
public:
    using OrnQL_Association<SenseItem, Sense, Item>::OrnQL_Association;
};
class GroupSense : public OrnQL_Association<GroupSense, Group, Sense> {
public:
    using OrnQL_Association<GroupSense, Group, Sense>::OrnQL_Association;
};

// Sets the tables up in the order the program's catalogue uses; cards and senses are deleted
// when they lose their last item, groups are never enforced.
inline void setupLinkedTables() {
    Group::setup(D_CATEGORY, false);
    Item::setup(D_WORD, false);
    Card::setup(D_FLASHCARD, false);
    CardItem::setup(D_ASSO_F_W, true, false, true);
    Sense::setup(D_MEANING, false);
    SenseItem::setup(D_ASSO_M_W, true, false, true);
    GroupSense::setup(D_ASSO_C_M, false, false, true);
}

template <typename R>
unsigned make(const wchar_t* name = L"r") {
    return R::add(new R(name));
}

// id -> relation count of every record in a relation tree.
inline std::map<unsigned, unsigned> counts(OrnQL_Base::RelationTree& tree) {
    std::map<unsigned, unsigned> result;
    for (auto it = tree.begin(); it != tree.end(); ++it) {
        result[(*it)->getId()] = it.node()->relationCount;
    }
    return result;
}

}  // namespace dbtest
