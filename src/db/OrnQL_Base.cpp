#include "db/OrnQL_Base.h"

#include <algorithm>

#include "db/OrnQL_Exception.h"

namespace {

dependency checkedTable(dependency d) {
    if (!isTable(d)) {
        OrnQL_Base::throwNoTable();
    }
    return d;
}

}  // namespace

OrnQL_Base::OrnQL_Base(unsigned recordId) : id(recordId) {}

// Relation trees list records that their own tables own, so they are dropped without touching
// them, even if a record goes while still linked.
OrnQL_Base::~OrnQL_Base() {
    releaseRelations();
}

void OrnQL_Base::releaseRelations() {
    relations.clear();
}

void OrnQL_Base::setDependency(dependency d, unsigned dependencyId) {
    if (!isDependencyTable(d)) {
        throwNoTable();
    }
    dependencies.set(d, dependencyId);
    saveRequest();
}

void OrnQL_Base::throwNoTable() {
    throw OrnQLException_Base("Fatal OrnQLException: Dependency is out of range!");
}

OrnQL_Base::RelationTree& OrnQL_Base::fTR(dependency d) {
    return relations.firstTier(checkedTable(d));
}

// Every path of two links from this record into table d, once per path: over each partner p,
// every record of d linked to p; this record itself (reached when d is its own table) twice per
// partner, there and back both ways, the counts the associations kept when these paths were
// maintained link by link.
OrnQL_Base::RelationTree& OrnQL_Base::sTR(dependency d) {
    RelationTree& tree = relations.emptiedSecondTier(checkedTable(d));
    std::vector<OrnQL_Base*> reached;
    for (OrnQL_Base* p : relations.all()) {
        for (OrnQL_Base* q : p->relations.of(d)) {
            reached.push_back(q);
            if (q == this) {
                reached.push_back(q);
            }
        }
    }
    std::sort(reached.begin(), reached.end(), [](const OrnQL_Base* a, const OrnQL_Base* b) { return a->id < b->id; });
    tree.assignSorted(reached);
    return tree;
}

RecordRelations::Partners OrnQL_Base::linkedRecords(dependency d) const { return relations.of(checkedTable(d)); }

bool OrnQL_Base::hasFirstTierRelations(dependency d) const {
    return !relations.of(checkedTable(d)).empty();
}

bool OrnQL_Base::isLinkedTo(dependency d, unsigned partnerId) const {
    const RecordRelations::Partners linked = relations.of(checkedTable(d));
    auto found = std::lower_bound(linked.begin(), linked.end(), partnerId,
                                  [](const OrnQL_Base* p, unsigned key) { return p->id < key; });
    return found != linked.end() && (*found)->id == partnerId;
}

RecordRelations::Partners OrnQL_Base::partnersOf(dependency d) const { return relations.of(checkedTable(d)); }

void OrnQL_Base::addPartner(OrnQL_Base* partner) {
    relations.add(partner);
}

void OrnQL_Base::removePartner(OrnQL_Base* partner) {
    relations.remove(partner);
}

int OrnQL_Base::compareUI(const unsigned& x, const unsigned& y) {
    return x < y ? -1 : (x > y ? 1 : 0);
}

int OrnQL_Base::compare(OrnQL_Base* const& a, OrnQL_Base* const& b) {
    return compareUI(a->id, b->id);
}

int OrnQL_Base::compareID(const unsigned& recordId, OrnQL_Base* const& b) {
    return compareUI(recordId, b->id);
}

bool OrnQL_Base::fullSelect(OrnQL_Base* const& /*r*/) {
    return true;
}

bool OrnQL_Base::applyConstraints(OrnQL_Base* const& r) {
    const Constrainer& constraints = r->getConstraints();
    const bool allOf = constraints.num > 0;
    for (std::size_t i = 0; i < constraints.conTable.size(); ++i) {
        const bool equal = r->dependencies.get(constraints.conTable[i]) == constraints.conId[i];
        if (allOf ? !equal : equal) {
            return false;
        }
    }
    return true;
}
