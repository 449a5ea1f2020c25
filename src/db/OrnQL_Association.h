#pragma once

#include <vector>

#include "db/OrnQL_Template.h"

// A table of links between a record of From and a record of To (many to many). The link table
// is the stored truth: a link's two ids are its dependencies on the from and the to table, and it
// has no fields of its own. In memory every linked record also carries its links in a flat array
// (RecordRelations), kept up to date by associate and seperate, from which it answers:
// - first tier, fTR(d): the records of table d linked to it directly;
// - second tier, sTR(d): the records of table d reached over two links, once per path (a record
//   reached along several paths has that many in its node's relationCount; a record reaches
//   itself twice over each of its links).
// An association may enforce a side: a record of that side left without any link of this
// association is deleted (with its cascades).
template <typename A, typename From, typename To>
class OrnQL_Association : public OrnQL_Template<A> {
public:
    using Table = OrnQL_Template<A>;
    using typename Table::dataIterator;
    using typename Table::selIterator;
    using typename Table::ELEMENTTREE;
    typedef dataIterator DATAITERATOR;
    typedef selIterator SELITERATOR;

    OrnQL_Association() = default;
    OrnQL_Association(unsigned fromId, unsigned toId);

    // Only the from and the to table may be set.
    void setDependency(dependency d, unsigned dependencyId) override;
    void load(std::istream&) override {}
    void save(std::ostream&) override {}
    const void* getData(int) override { return nullptr; }
    A& operator=(const A&) override { return static_cast<A&>(*this); }
    virtual OrnQL_Association& operator=(const OrnQL_Association&) { return *this; }

    // Table set-up plus the association's own; From and To must have been set up before, and no
    // other association may join the same two tables.
    static void setup(dependency d, bool eFrom, bool eTo, bool weak);
    // Stores the link (or finds the one already joining the same pair) and links the two records.
    // The association owns `link` from this call on, also when it throws or returns the id of an
    // existing link. Returns the id of the stored link.
    static const unsigned& add(A* link);
    // Unlinks and deletes the link, then enforces; returns the next link in id order.
    static dataIterator deleteEntry(unsigned id);
    // As above for the selected link; returns the next selected link (end if that went too).
    static selIterator deleteEntry(selIterator it);
    // Maintain the relation trees of the two records; throw when an id names no record.
    static void associate(unsigned fromId, unsigned toId);
    static void seperate(unsigned fromId, unsigned toId);
    // Loads the links, then connects every linked pair of records.
    static void loadAll(const char* path, dependency d);
    // Link cascades: links of a record that goes are unlinked and deleted, then sides enforced.
    static void deleteEntriesWithDependency(dependency d, unsigned id);
    static void updateEntriesWithDependency(dependency d, unsigned oldId, unsigned newId);
    static void resetTable();

    static dependency getFromEntry() { return fromEntry; }
    static dependency getToEntry() { return toEntry; }

private:
    static void enforce();
    static void seperateLink(const OrnQL_Base* link);
    static std::vector<unsigned> linkIds(dependency d, unsigned id);
    static void claimAssociator(std::array<dependency, D_ENDTAG>& associators, dependency other, dependency d);

    static inline dependency fromEntry = D_ENDTAG;
    static inline dependency toEntry = D_ENDTAG;
    static inline bool enforceFrom = false;
    static inline bool enforceTo = false;
};

#include "db/OrnQL_AssociationImpl.h"
