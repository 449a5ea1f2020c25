#pragma once

#include <climits>
#include <vector>

#include "db/OrnQL_Association.h"

// An association table of the program (C_M, M_W, F_W). A is the link record class; it declares
// its enforced sides as ENFORCE_FROM and ENFORCE_TO, which the catalogue sets it up with.
//
// Loading differs from the plain association in one point: a link naming a record that does not
// exist, or a record of a third table (damage), is dropped on its own and its bound marked for
// saving, instead of stopping the load of every link after it; the catalogue then backs up the
// file and saves the repair.
template <typename A, typename From, typename To>
class LinkTable : public OrnQL_Association<A, From, To> {
public:
    using Association = OrnQL_Association<A, From, To>;
    using Table = OrnQL_Template<A>;

    LinkTable() = default;
    LinkTable(unsigned fromId, unsigned toId) : Association(fromId, toId) {}

    // Loads the links (d is D_ENDTAG or the table's own entry; otherwise nothing happens) and
    // connects every linked pair. Links without both of their records, or naming a record of a
    // third table, are dropped and counted (droppedOnLoad). When the table cannot be read whole,
    // the links read before the failure are connected, the records of the enforced sides left
    // without links are deleted, and the error is rethrown.
    static void loadAll(const char* path, dependency d) {
        if (d != D_ENDTAG && d != Table::getOwnEntry()) {
            return;
        }
        dropped = 0;
        // Links already in memory are unlinked first, or loading them again would count them twice.
        for (auto it = Table::begin(); it != Table::end(); ++it) {
            if (linksTwoRecords(*it)) {
                Association::seperate(fromIdOf(*it), toIdOf(*it));
            }
        }
        try {
            Table::loadAll(path, d);
        } catch (...) {
            connectLoadedLinks();
            enforceSides();
            throw;
        }
        connectLoadedLinks();
    }

    // How many dangling links the last load dropped.
    static unsigned droppedOnLoad() { return dropped; }

private:
    static unsigned fromIdOf(const OrnQL_Base* link) { return link->getDependency(From::getOwnEntry()); }
    static unsigned toIdOf(const OrnQL_Base* link) { return link->getDependency(To::getOwnEntry()); }
    static bool linksTwoRecords(const OrnQL_Base* link) {
        return From::getById(fromIdOf(link)) != nullptr && To::getById(toIdOf(link)) != nullptr;
    }
    // The tables other than its two ends that some loaded link names: none, unless a link file
    // is damaged, so sound files pay one look at the table's bookkeeping, not one per link.
    static std::vector<dependency> foreignReferences() {
        std::vector<dependency> foreign;
        for (int d = 0; d < D_ENDTAG; ++d) {
            const auto table = static_cast<dependency>(d);
            if (table != From::getOwnEntry() && table != To::getOwnEntry() && Table::hasHeldDependency(table)) {
                foreign.push_back(table);
            }
        }
        return foreign;
    }
    // A link refers to its two records and to nothing else; one that names a record of a third
    // table is damaged.
    static bool isSoundLink(const OrnQL_Base* link, const std::vector<dependency>& foreign) {
        for (dependency table : foreign) {
            if (link->getDependency(table) != 0) {
                return false;
            }
        }
        return linksTwoRecords(link);
    }

    // The plain table deletion: the link table is weak, so nothing depends on a dropped link, and
    // the id is freed and its bound marked for saving.
    static void connectLoadedLinks() {
        const std::vector<dependency> foreign = foreignReferences();
        for (auto it = Table::begin(); it != Table::end();) {
            const unsigned linkId = (*it)->getId();
            if (isSoundLink(*it, foreign)) {
                Association::associate(fromIdOf(*it), toIdOf(*it));
                ++it;
                continue;
            }
            Table::deleteEntry(linkId);
            ++dropped;
            if (linkId == UINT_MAX) {
                break;
            }
            it = typename Table::dataIterator(Table::elementTree().lowerBoundID(linkId + 1));
        }
    }

    static void enforceSides() {
        if (A::ENFORCE_FROM) {
            From::enforceRelation(To::getOwnEntry());
        }
        if (A::ENFORCE_TO) {
            To::enforceRelation(From::getOwnEntry());
        }
    }

    static inline unsigned dropped = 0;
};
