#include "db/OrnQL_Base.h"

#include "db/OrnQL_Exception.h"

namespace {

dependency checkedTable(dependency d) {
    if (!isTable(d)) {
        throw OrnQLException_Base("Fatal OrnQLException: Dependency is out of range!");
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
    if (!relations) {
        return;
    }
    for (auto* trees : {&relations->firstTier, &relations->secondTier}) {
        for (auto& tree : *trees) {
            if (tree) {
                tree->detachAll();
            }
        }
    }
    relations.reset();
}

void OrnQL_Base::setDependency(dependency d, unsigned dependencyId) {
    dependencies[checkedTable(d)] = dependencyId;
    saveRequest();
}

const unsigned& OrnQL_Base::getDependency(dependency d) const {
    return dependencies[checkedTable(d)];
}

OrnQL_Base::RelationTree& OrnQL_Base::treeIn(std::array<std::unique_ptr<RelationTree>, D_ENDTAG>& trees,
                                             dependency d) {
    std::unique_ptr<RelationTree>& tree = trees[checkedTable(d)];
    if (!tree) {
        tree = std::make_unique<RelationTree>(compare, compareID);
    }
    return *tree;
}

OrnQL_Base::RelationTree& OrnQL_Base::fTR(dependency d) {
    if (!relations) {
        relations = std::make_unique<RelationTrees>();
    }
    return treeIn(relations->firstTier, d);
}

OrnQL_Base::RelationTree& OrnQL_Base::sTR(dependency d) {
    if (!relations) {
        relations = std::make_unique<RelationTrees>();
    }
    RelationTree& tree = treeIn(relations->secondTier, d);
    if (d == getOwnTable()) {
        collectSharedPartners(tree);
    }
    return tree;
}

// Every path of two links from this record back into its own table, once per path: over each
// partner p, every record linked to p, and this record itself twice (there and back both ways),
// the counts the associations kept when these paths were maintained link by link.
void OrnQL_Base::collectSharedPartners(RelationTree& tree) {
    tree.detachAll();
    const dependency own = getOwnTable();
    for (auto& partners : relations->firstTier) {
        if (!partners) {
            continue;
        }
        for (auto p = partners->begin(); p != partners->end(); ++p) {
            if (!(*p)->relations || !(*p)->relations->firstTier[own]) {
                continue;
            }
            RelationTree& back = *(*p)->relations->firstTier[own];
            for (auto q = back.begin(); q != back.end(); ++q) {
                tree.insertRelation(*q);
                if (*q == this) {
                    tree.insertRelation(*q);
                }
            }
        }
    }
}

bool OrnQL_Base::hasFirstTierRelations(dependency d) const {
    return relations && relations->firstTier[checkedTable(d)] && !relations->firstTier[d]->empty();
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
        const bool equal = r->dependencies[constraints.conTable[i]] == constraints.conId[i];
        if (allOf ? !equal : equal) {
            return false;
        }
    }
    return true;
}
