#include "db/RecordRelations.h"

#include <algorithm>
#include <new>

#include "db/OrnQL_Base.h"

// The trees list records that their own tables own: they go without touching them.
RecordRelations::Views::~Views() {
    for (Trees* trees : {&firstTier, &secondTier}) {
        for (auto& [table, tree] : *trees) {
            tree->detachAll();
        }
    }
}

void RecordRelations::clear() {
    if (store != nullptr) {
        store->~Store();
        ::operator delete(store);
        store = nullptr;
    }
}

void RecordRelations::grow(std::size_t capacity) {
    const std::size_t size = store == nullptr ? 0 : store->size;
    if (store != nullptr && capacity <= store->capacity) {
        return;
    }
    void* block = ::operator new(sizeof(Store) + capacity * sizeof(OrnQL_Base*));
    Store* grown = new (block) Store;
    grown->capacity = static_cast<std::uint32_t>(capacity);
    grown->size = static_cast<std::uint32_t>(size);
    if (store != nullptr) {
        std::copy(store->partners(), store->partners() + size, grown->partners());
        grown->views = std::move(store->views);
        clear();
    }
    store = grown;
}

bool RecordRelations::before(const OrnQL_Base* a, const OrnQL_Base* b) {
    const dependency tableOfA = a->getOwnTable();
    const dependency tableOfB = b->getOwnTable();
    return tableOfA != tableOfB ? tableOfA < tableOfB : a->getId() < b->getId();
}

RecordRelations::Partners RecordRelations::all() const {
    return store == nullptr ? Partners() : Partners(store->partners(), store->size);
}

void RecordRelations::reserveMore(std::size_t count) {
    grow((store == nullptr ? 0 : store->size) + count);
}

void RecordRelations::append(OrnQL_Base* partner) {
    if (store == nullptr || store->size == store->capacity) {
        grow(std::max<std::size_t>(2, store == nullptr ? 0 : 2 * static_cast<std::size_t>(store->capacity)));
    }
    store->partners()[store->size++] = partner;
}

void RecordRelations::add(OrnQL_Base* partner) {
    append(partner);
    OrnQL_Base** first = store->partners();
    std::rotate(std::upper_bound(first, first + store->size - 1, partner, before), first + store->size - 1,
                first + store->size);
    if (store->views) {
        if (RelationTree* tree = find(store->views->firstTier, partner->getOwnTable())) {
            tree->insertRelation(partner);
        }
    }
}

void RecordRelations::remove(OrnQL_Base* partner) {
    if (store == nullptr) {
        return;
    }
    OrnQL_Base** first = store->partners();
    OrnQL_Base** last = first + store->size;
    OrnQL_Base** found = std::lower_bound(first, last, partner, before);
    if (found == last || *found != partner) {
        return;
    }
    std::copy(found + 1, last, found);
    --store->size;
    if (store->views) {
        if (RelationTree* tree = find(store->views->firstTier, partner->getOwnTable())) {
            tree->deleteRelation(partner);
        }
    }
}

// The partners listed before hold other tables, or the same one when two link tables join the
// same pair of tables (then the whole array is sorted). Otherwise the appended block goes before
// the first partner of a later table.
void RecordRelations::placeAppended(std::size_t count) {
    if (store == nullptr || count == 0 || count > store->size) {
        return;
    }
    OrnQL_Base** first = store->partners();
    OrnQL_Base** appended = first + (store->size - count);
    OrnQL_Base** last = first + store->size;
    if (appended == first || before(appended[-1], *appended)) {
        return;
    }
    const dependency table = (*appended)->getOwnTable();
    OrnQL_Base** at = std::upper_bound(first, appended, table, [](dependency t, const OrnQL_Base* p) {
        return t < p->getOwnTable();
    });
    if (at != first && at[-1]->getOwnTable() == table) {
        std::sort(first, last, before);  // equal keys: the same record
        return;
    }
    std::rotate(at, appended, last);
}

RecordRelations::Partners RecordRelations::of(dependency d) const {
    const Partners linked = all();
    auto first = std::lower_bound(linked.begin(), linked.end(), d,
                                  [](const OrnQL_Base* p, dependency table) { return p->getOwnTable() < table; });
    auto last = std::upper_bound(first, linked.end(), d,
                                 [](dependency table, const OrnQL_Base* p) { return table < p->getOwnTable(); });
    return Partners(first, last);
}

RecordRelations::RelationTree* RecordRelations::find(Trees& trees, dependency d) {
    for (auto& [table, tree] : trees) {
        if (table == d) {
            return tree.get();
        }
    }
    return nullptr;
}

RecordRelations::Views& RecordRelations::views() {
    if (store == nullptr) {
        grow(0);
    }
    if (!store->views) {
        store->views = std::make_unique<Views>();
    }
    return *store->views;
}

RecordRelations::RelationTree& RecordRelations::firstTier(dependency d) {
    Views& trees = views();
    if (RelationTree* tree = find(trees.firstTier, d)) {
        return *tree;
    }
    const Partners linked = of(d);
    const std::vector<OrnQL_Base*> records(linked.begin(), linked.end());
    trees.firstTier.reserve(trees.firstTier.size() + 1);  // the filled tree is stored without a throw
    auto tree = std::make_unique<RelationTree>(OrnQL_Base::compare, OrnQL_Base::compareID);
    tree->assignSorted(records);
    trees.firstTier.emplace_back(d, std::move(tree));
    return *trees.firstTier.back().second;
}

RecordRelations::RelationTree& RecordRelations::emptiedSecondTier(dependency d) {
    Views& trees = views();
    RelationTree* tree = find(trees.secondTier, d);
    if (tree == nullptr) {
        trees.secondTier.emplace_back(d, std::make_unique<RelationTree>(OrnQL_Base::compare, OrnQL_Base::compareID));
        tree = trees.secondTier.back().second.get();
    }
    tree->detachAll();
    return *tree;
}
