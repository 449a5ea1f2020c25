#pragma once

#include <climits>
#include <vector>

#include "db/OrnQL_Association.h"
#include "db/RecordLookup.h"

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
    static bool namesThirdTable(const OrnQL_Base* link, const std::vector<dependency>& foreign) {
        for (dependency table : foreign) {
            if (link->getDependency(table) != 0) {
                return true;
            }
        }
        return false;
    }

    // Links every sound link's two records at once: one lookup per link end, room made once per
    // record for all its new partners, which are appended and then put in order once. Unsound
    // links go by the plain table deletion: the link table is weak, so nothing depends on a
    // dropped link, and the id is freed and its bound marked for saving.
    static void connectLoadedLinks() {
        const std::vector<dependency> foreign = foreignReferences();
        const RecordLookup fromRecords(From::elementTree());
        const RecordLookup toRecords(To::elementTree());
        std::vector<std::pair<std::size_t, std::size_t>> sound;  // slots of the two ends
        std::vector<unsigned> fromCounts(fromRecords.slotCount());
        std::vector<unsigned> toCounts(toRecords.slotCount());
        std::vector<unsigned> unsound;
        sound.reserve(Table::elementTree().size());
        for (auto it = Table::begin(); it != Table::end(); ++it) {
            const std::size_t from = fromRecords.slotOf(fromIdOf(*it));
            const std::size_t to = toRecords.slotOf(toIdOf(*it));
            if (from == RecordLookup::NO_SLOT || to == RecordLookup::NO_SLOT || namesThirdTable(*it, foreign)) {
                unsound.push_back((*it)->getId());
                continue;
            }
            sound.emplace_back(from, to);
            ++fromCounts[from];
            ++toCounts[to];
        }
        reserveFor(fromRecords, fromCounts);
        reserveFor(toRecords, toCounts);
        for (const auto& [from, to] : sound) {
            fromRecords.at(from)->appendPartner(toRecords.at(to));
            toRecords.at(to)->appendPartner(fromRecords.at(from));
        }
        for (auto* records : {&fromRecords, &toRecords}) {
            for (std::size_t slot = 0; slot < records->slotCount(); ++slot) {
                if (OrnQL_Base* r = records->at(slot)) {
                    r->restorePartnerOrder();
                }
            }
        }
        for (unsigned linkId : unsound) {
            Table::deleteEntry(linkId);
            ++dropped;
        }
    }

    static void reserveFor(const RecordLookup& records, const std::vector<unsigned>& counts) {
        for (std::size_t slot = 0; slot < counts.size(); ++slot) {
            if (counts[slot] != 0) {
                records.at(slot)->reservePartners(counts[slot]);
            }
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
