#pragma once

#include <climits>
#include <cstdint>
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
    // record for all its new partners, which are appended in ascending id order (so that no
    // record's array needs sorting). Unsound links go by the plain table deletion: the link table
    // is weak, so nothing depends on a dropped link, and the id is freed and its bound marked for
    // saving.
    static void connectLoadedLinks() {
        const std::vector<dependency> foreign = foreignReferences();
        const RecordLookup fromRecords(From::elementTree());
        const RecordLookup toRecords(To::elementTree());
        std::vector<std::uint32_t> fromSlots;  // of each sound link's two ends
        std::vector<std::uint32_t> toSlots;
        std::vector<unsigned> unsound;
        fromSlots.reserve(Table::elementTree().size());
        toSlots.reserve(Table::elementTree().size());
        for (auto it = Table::begin(); it != Table::end(); ++it) {
            const std::size_t from = fromRecords.slotOf(fromIdOf(*it));
            const std::size_t to = toRecords.slotOf(toIdOf(*it));
            if (from == RecordLookup::NO_SLOT || to == RecordLookup::NO_SLOT || namesThirdTable(*it, foreign)) {
                unsound.push_back((*it)->getId());
                continue;
            }
            fromSlots.push_back(static_cast<std::uint32_t>(from));
            toSlots.push_back(static_cast<std::uint32_t>(to));
        }
        appendPartners(fromRecords, fromSlots, toRecords, toSlots);
        appendPartners(toRecords, toSlots, fromRecords, fromSlots);
        for (unsigned linkId : unsound) {
            Table::deleteEntry(linkId);
            ++dropped;
        }
    }

    // Gives each record of `owners` its partners among `partners` (link i joins owner slot
    // ownerSlots[i] and partner slot partnerSlots[i]), in ascending id order: the links are
    // sorted by partner slot (slots ascend with ids) by counting, then appended in that order.
    static void appendPartners(const RecordLookup& owners, const std::vector<std::uint32_t>& ownerSlots,
                               const RecordLookup& partners, const std::vector<std::uint32_t>& partnerSlots) {
        std::vector<std::uint32_t> bucketEnd(partners.slotCount() + 1);  // first a count per partner
        std::vector<std::uint32_t> newPartners(owners.slotCount());
        for (std::size_t link = 0; link < ownerSlots.size(); ++link) {
            ++bucketEnd[partnerSlots[link] + 1];
            ++newPartners[ownerSlots[link]];
        }
        for (std::size_t slot = 1; slot < bucketEnd.size(); ++slot) {
            bucketEnd[slot] += bucketEnd[slot - 1];  // now where each partner's bucket starts
        }
        std::vector<std::uint32_t> ownersByPartner(ownerSlots.size());
        for (std::size_t link = 0; link < ownerSlots.size(); ++link) {
            ownersByPartner[bucketEnd[partnerSlots[link]]++] = ownerSlots[link];
        }
        for (std::size_t slot = 0; slot < newPartners.size(); ++slot) {
            if (newPartners[slot] != 0) {
                owners.at(slot)->reservePartners(newPartners[slot]);
            }
        }
        std::size_t next = 0;
        for (std::size_t partner = 0; partner < partners.slotCount(); ++partner) {
            for (; next < bucketEnd[partner]; ++next) {
                owners.at(ownersByPartner[next])->appendPartner(partners.at(partner));
            }
        }
        for (std::size_t slot = 0; slot < newPartners.size(); ++slot) {
            if (newPartners[slot] != 0) {
                owners.at(slot)->placeAppendedPartners(newPartners[slot]);
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
