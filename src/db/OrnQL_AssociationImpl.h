#pragma once

#include <climits>
#include <memory>

// Member definitions of OrnQL_Association; included by OrnQL_Association.h.

template <typename A, typename From, typename To>
OrnQL_Association<A, From, To>::OrnQL_Association(unsigned fromId, unsigned toId) {
    OrnQL_Association::setDependency(From::getOwnEntry(), fromId);
    OrnQL_Association::setDependency(To::getOwnEntry(), toId);
}

template <typename A, typename From, typename To>
void OrnQL_Association<A, From, To>::setDependency(dependency d, unsigned dependencyId) {
    if (d != From::getOwnEntry() && d != To::getOwnEntry()) {
        throw OrnQLException_Association("OrnQLException: Tried to set a dependency which is not in the association!");
    }
    Table::setDependency(d, dependencyId);
}

template <typename A, typename From, typename To>
void OrnQL_Association<A, From, To>::claimAssociator(std::array<dependency, D_ENDTAG>& associators, dependency other,
                                                      dependency d) {
    if (!isTable(other) || associators[other] != D_ENDTAG) {
        throw OrnQLException_Association(
            "OrnQLException: A first tier associator has already been set. Make sure there is not more than one "
            "association between any two tables and that they have been setup before the association!");
    }
    associators[other] = d;
}

template <typename A, typename From, typename To>
void OrnQL_Association<A, From, To>::setup(dependency d, bool eFrom, bool eTo, bool weak) {
    Table::setup(d, weak);
    fromEntry = From::getOwnEntry();
    toEntry = To::getOwnEntry();
    if (!isTable(fromEntry) || !isTable(toEntry)) {
        claimAssociator(From::firstTierAssociator, D_ENDTAG, d);  // throws: a side is not set up
    }
    claimAssociator(From::firstTierAssociator, toEntry, d);
    claimAssociator(To::firstTierAssociator, fromEntry, d);
    enforceFrom = eFrom;
    enforceTo = eTo;
}

template <typename A, typename From, typename To>
void OrnQL_Association<A, From, To>::associate(unsigned fromId, unsigned toId) {
    From* from = From::getById(fromId);
    if (from == nullptr) {
        throw OrnQLException_Association("OrnQLException: There is no entry with the corresponding from Id!");
    }
    To* to = To::getById(toId);
    if (to == nullptr) {
        throw OrnQLException_Association("OrnQLException: There is no entry with the corresponding to Id!");
    }
    // Paths of two links are worked out when asked for (OrnQL_Base::sTR); only the ends change.
    from->addPartner(to);
    try {
        to->addPartner(from);
    } catch (...) {
        from->removePartner(to);  // both ends or neither
        throw;
    }
}

template <typename A, typename From, typename To>
void OrnQL_Association<A, From, To>::seperate(unsigned fromId, unsigned toId) {
    From* from = From::getById(fromId);
    if (from == nullptr) {
        throw OrnQLException_Association("OrnQLException: There is no entry with the corresponding from Id!");
    }
    To* to = To::getById(toId);
    if (to == nullptr) {
        throw OrnQLException_Association("OrnQLException: There is no entry with the corresponding to Id!");
    }
    from->removePartner(to);
    to->removePartner(from);
}

// A link that lost one of its ends (a reference cleared by a weak table) links nothing any more.
template <typename A, typename From, typename To>
void OrnQL_Association<A, From, To>::seperateLink(const OrnQL_Base* link) {
    const unsigned fromId = link->getDependency(fromEntry);
    const unsigned toId = link->getDependency(toEntry);
    if (fromId != 0 && toId != 0) {
        seperate(fromId, toId);
    }
}

template <typename A, typename From, typename To>
const unsigned& OrnQL_Association<A, From, To>::add(A* link) {
    std::unique_ptr<A> owned(link);
    if (!owned || owned->getDependency(toEntry) == 0 || owned->getDependency(fromEntry) == 0) {
        throw OrnQLException_Association("OrnQLException: From or To dependency is not set for new association!");
    }
    const unsigned fromId = owned->getDependency(fromEntry);
    const unsigned toId = owned->getDependency(toEntry);
    // Every stored link between two existing records is in their link arrays, so the walk over
    // the whole link table (which made adding n links cost n^2) is needed only when the arrays say
    // the pair may be linked, or when the from record is missing (associate reports that below).
    From* from = From::getById(fromId);
    const bool maybeLinked = from == nullptr || from->isLinkedTo(toEntry, toId);
    if (maybeLinked) {
        if (A* existing = Table::getByConstrain(true, 2, fromEntry, fromId, toEntry, toId)) {
            return existing->getId();
        }
    }
    associate(fromId, toId);
    return Table::add(owned.release());
}

template <typename A, typename From, typename To>
void OrnQL_Association<A, From, To>::enforce() {
    if (enforceFrom) {
        From::enforceRelation(toEntry);
    }
    if (enforceTo) {
        To::enforceRelation(fromEntry);
    }
}

template <typename A, typename From, typename To>
typename OrnQL_Association<A, From, To>::dataIterator OrnQL_Association<A, From, To>::deleteEntry(unsigned id) {
    A* link = Table::getById(id);
    if (link == nullptr) {
        return Table::deleteEntry(id);  // throws the out-of-range error of an absent id
    }
    seperateLink(link);
    Table::deleteEntry(id);
    enforce();
    // Looked up afresh: enforcing may have deleted further links.
    return id == UINT_MAX ? Table::end() : dataIterator(Table::elementTree().lowerBoundID(id + 1));
}

template <typename A, typename From, typename To>
typename OrnQL_Association<A, From, To>::selIterator OrnQL_Association<A, From, To>::deleteEntry(selIterator it) {
    const unsigned id = (*it)->getId();  // the end iterator throws here
    selIterator following = it;
    ++following;
    const bool hasNext = following != Table::endSel();
    const unsigned nextId = hasNext ? (*following)->getId() : 0;
    deleteEntry(id);
    if (!hasNext) {
        return Table::endSel();
    }
    ELEMENTTREE& tree = Table::elementTree();
    auto* next = tree.findID(nextId).node();
    return tree.isListed(next) ? selIterator(typename ELEMENTTREE::selectIterator(next)) : Table::endSel();
}

// The links whose dependency on d is id, by a plain walk: a cascade must not replace the link
// table's selection, which a caller may be walking while it deletes links.
template <typename A, typename From, typename To>
std::vector<unsigned> OrnQL_Association<A, From, To>::linkIds(dependency d, unsigned id) {
    std::vector<unsigned> ids;
    for (auto it = Table::begin(); it != Table::end(); ++it) {
        if ((*it)->getDependency(d) == id) {
            ids.push_back((*it)->getId());
        }
    }
    return ids;
}

template <typename A, typename From, typename To>
void OrnQL_Association<A, From, To>::deleteEntriesWithDependency(dependency d, unsigned id) {
    if (d == Table::ownEntry || (d != fromEntry && d != toEntry)) {
        return;
    }
    for (unsigned linkId : linkIds(d, id)) {
        seperateLink(Table::getById(linkId));
    }
    Table::deleteEntriesWithDependency(d, id);
    enforce();
}

// Only the links that were re-pointed are linked again (links that already held newId are
// linked already), and a link re-pointed to 0 links nothing.
template <typename A, typename From, typename To>
void OrnQL_Association<A, From, To>::updateEntriesWithDependency(dependency d, unsigned oldId, unsigned newId) {
    if (d == Table::ownEntry || (d != fromEntry && d != toEntry)) {
        return;
    }
    const std::vector<unsigned> moved = linkIds(d, oldId);
    for (unsigned linkId : moved) {
        seperateLink(Table::getById(linkId));
    }
    Table::updateEntriesWithDependency(d, oldId, newId);
    for (unsigned linkId : moved) {
        A* link = Table::getById(linkId);
        if (link != nullptr && link->getDependency(fromEntry) != 0 && link->getDependency(toEntry) != 0) {
            associate(link->getDependency(fromEntry), link->getDependency(toEntry));
        }
    }
}

template <typename A, typename From, typename To>
void OrnQL_Association<A, From, To>::loadAll(const char* path, dependency d) {
    if (d != D_ENDTAG && d != Table::ownEntry) {
        return;
    }
    // Links already in memory are unlinked first, or loading them again would count them twice.
    for (auto it = Table::begin(); it != Table::end(); ++it) {
        seperateLink(*it);
    }
    try {
        Table::loadAll(path, d);
    } catch (const InvalidFileException&) {
        enforce();  // no link is connected now: the enforced sides are purged
        throw;
    }
    for (auto it = Table::begin(); it != Table::end(); ++it) {
        const unsigned fromId = (*it)->getDependency(fromEntry);
        const unsigned toId = (*it)->getDependency(toEntry);
        associate(fromId, toId);
    }
}

template <typename A, typename From, typename To>
void OrnQL_Association<A, From, To>::resetTable() {
    Table::resetTable();
    fromEntry = D_ENDTAG;
    toEntry = D_ENDTAG;
    enforceFrom = false;
    enforceTo = false;
}
