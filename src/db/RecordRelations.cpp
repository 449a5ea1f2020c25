#include "db/RecordRelations.h"

#include <algorithm>

#include "db/OrnQL_Base.h"

// The trees list records that their own tables own: they go without touching them.
RecordRelations::Views::~Views() {
    for (Trees* trees : {&firstTier, &secondTier}) {
        for (auto& [table, tree] : *trees) {
            tree->detachAll();
        }
    }
}

RecordRelations::~RecordRelations() = default;

void RecordRelations::clear() {
    views.reset();
    std::vector<Partner>().swap(partners);
}

bool RecordRelations::before(const Partner& a, const Partner& b) {
    return a.table != b.table ? a.table < b.table : a.record->getId() < b.record->getId();
}

void RecordRelations::add(const Partner& partner) {
    partners.insert(std::upper_bound(partners.begin(), partners.end(), partner, before), partner);
    if (views) {
        if (RelationTree* tree = find(views->firstTier, partner.table)) {
            tree->insertRelation(partner.record);
        }
    }
}

void RecordRelations::remove(const Partner& partner) {
    auto [first, last] = std::equal_range(partners.begin(), partners.end(), partner, before);
    auto found = std::find_if(first, last, [&](const Partner& p) { return p.record == partner.record; });
    if (found == last) {
        return;
    }
    partners.erase(found);
    if (views) {
        if (RelationTree* tree = find(views->firstTier, partner.table)) {
            tree->deleteRelation(partner.record);
        }
    }
}

void RecordRelations::restoreOrder() {
    if (!std::is_sorted(partners.begin(), partners.end(), before)) {
        std::sort(partners.begin(), partners.end(), before);  // equal keys are the same record
    }
}

std::span<const RecordRelations::Partner> RecordRelations::of(dependency d) const {
    auto first = std::lower_bound(partners.begin(), partners.end(), d,
                                  [](const Partner& p, dependency table) { return p.table < table; });
    auto last = std::upper_bound(first, partners.end(), d,
                                 [](dependency table, const Partner& p) { return table < p.table; });
    return {first, last};
}

RecordRelations::RelationTree* RecordRelations::find(Trees& trees, dependency d) {
    for (auto& [table, tree] : trees) {
        if (table == d) {
            return tree.get();
        }
    }
    return nullptr;
}

RecordRelations::RelationTree& RecordRelations::make(Trees& trees, dependency d) {
    if (RelationTree* tree = find(trees, d)) {
        return *tree;
    }
    trees.emplace_back(d, std::make_unique<RelationTree>(OrnQL_Base::compare, OrnQL_Base::compareID));
    return *trees.back().second;
}

RecordRelations::RelationTree& RecordRelations::firstTier(dependency d) {
    if (!views) {
        views = std::make_unique<Views>();
    }
    if (RelationTree* tree = find(views->firstTier, d)) {
        return *tree;
    }
    std::vector<OrnQL_Base*> linked;
    for (const Partner& p : of(d)) {
        linked.push_back(p.record);
    }
    views->firstTier.reserve(views->firstTier.size() + 1);  // the filled tree is stored without a throw
    auto tree = std::make_unique<RelationTree>(OrnQL_Base::compare, OrnQL_Base::compareID);
    tree->assignSorted(linked);
    views->firstTier.emplace_back(d, std::move(tree));
    return *views->firstTier.back().second;
}

RecordRelations::RelationTree& RecordRelations::emptiedSecondTier(dependency d) {
    if (!views) {
        views = std::make_unique<Views>();
    }
    RelationTree& tree = make(views->secondTier, d);
    tree.detachAll();
    return tree;
}
