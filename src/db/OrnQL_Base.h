#pragma once

#include <array>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "db/AVLtree.h"
#include "db/OrnQL_Types.h"
#include "db/RecordDependencies.h"
#include "db/RecordRelations.h"

// The constraint list of a table: |num| pairs (table, id); num > 0 selects the records matching
// all pairs, num < 0 those matching none of them, 0 selects everything.
struct Constrainer {
    int num = 0;
    std::vector<dependency> conTable;
    std::vector<unsigned> conId;
};

// What every record has: its id, the ids of the records it depends on, and its relation trees.
// Records are made by their class, handed to their table's add and owned by the table from then
// on (OrnQL_Template).
class OrnQL_Base {
public:
    using RelationTree = AVLtree<OrnQL_Base*>;

    virtual ~OrnQL_Base();
    OrnQL_Base(const OrnQL_Base&) = delete;

    // Stores id as the record's dependency on table d and marks the record for saving.
    virtual void setDependency(dependency d, unsigned id);
    // Read and write the record's own fields (after id and dependencies) in their stored order.
    virtual void load(std::istream& in) = 0;
    virtual void save(std::ostream& out) = 0;
    // Marks the record's bound for the next save of its table.
    virtual void saveRequest() = 0;
    // The current constraint, filter and ordering state of the record's own table.
    virtual const Constrainer& getConstraints() const = 0;
    virtual const QueryType& getQueryType() const = 0;
    virtual const int& getQueryId() const = 0;
    virtual const void* getQueryElement() const = 0;
    virtual const int& getQueryComparison() const = 0;
    virtual const QueryType& getCompareQueryType() const = 0;
    virtual const int& getCompareQueryId() const = 0;
    virtual bool getCompareQueryDesc() const = 0;
    // The attribute with that query id, as described with QueryType; null for unknown ids.
    virtual const void* getData(int queryId) = 0;
    // The table the record belongs to.
    virtual dependency getOwnTable() const = 0;

    const unsigned& getId() const { return id; }
    // The exception for a table number that names no table (OrnQLException_Base).
    [[noreturn]] static void throwNoTable();
    // Throws for a d that names no table. Inline: queues and queries ask every record.
    const unsigned& getDependency(dependency d) const {
        if (!isTable(d)) {
            throwNoTable();
        }
        return dependencies.get(d);
    }
    // The records of table d linked to this one directly (first tier) or through two links
    // (second tier), by id, as trees for walks and queries; a record reached along several paths
    // has that many in its node's relationCount, and a record reaches itself twice over each of
    // its links. They never own the records they list. The links themselves are a flat array
    // (RecordRelations); the first-tier tree is made from it when first asked for and kept up to
    // date from then on. The second tier is worked out from the first tiers on every call: kept
    // up to date on every link, it grew with the square of a partner's links and made loading a
    // large database slow and huge. The tree returned for it is valid until the next call of sTR
    // for that table.
    RelationTree& fTR(dependency d);
    RelationTree& sTR(dependency d);
    // True when a record of table d is linked to this one (without making a tree).
    bool hasFirstTierRelations(dependency d) const;
    // The records of table d linked to this one directly, by id, straight from the link array
    // (no tree is made): a record linked twice is listed twice, side by side. Valid until the
    // record's links change.
    RecordRelations::Partners linkedRecords(dependency d) const;
    // True when the record of table d with that id is linked to this one (without making a tree).
    bool isLinkedTo(dependency d, unsigned partnerId) const;
    // The records of table d linked to this one directly, by id, without making a tree (a pair
    // linked twice is listed twice); valid until the record's links next change.
    RecordRelations::Partners partnersOf(dependency d) const;

    // The link bookkeeping of the associations: one link more or fewer to `partner`. Loading
    // appends (in any order) and then restores the order once.
    void addPartner(OrnQL_Base* partner);
    void removePartner(OrnQL_Base* partner);
    void reservePartners(std::size_t count) { relations.reserveMore(count); }
    void appendPartner(OrnQL_Base* partner) { relations.append(partner); }
    void placeAppendedPartners(std::size_t count) { relations.placeAppended(count); }

    // Orders by id, as unsigned numbers: -1, 0 or 1.
    static int compare(OrnQL_Base* const& a, OrnQL_Base* const& b);
    static int compareID(const unsigned& id, OrnQL_Base* const& b);
    static int compareUI(const unsigned& x, const unsigned& y);

    // Selection predicates over the state of the record's own table.
    static bool applyConstraints(OrnQL_Base* const& r);
    static bool fullSelect(OrnQL_Base* const& r);
    static bool applyQuery(OrnQL_Base* const& r);
    static int applyCompareQuery(OrnQL_Base* const& a, OrnQL_Base* const& b);

    // Wide text on disk: a 4-byte count L of UTF-16 code units including the terminating zero,
    // then L little-endian units. loadText replaces `text`; a lone surrogate becomes U+FFFD. An
    // unreadable count gives the empty text and leaves the stream failed; a text that does not
    // end with its terminator inside the file (L of 0, or past the end) is damage and throws
    // Damaged<OrnQLException_Template>, never an allocation of L units.
    static void loadText(std::wstring& text, std::istream& in);
    static void saveText(const std::wstring& text, std::ostream& out);
    static void saveText(const wchar_t* text, std::ostream& out);

    // Removes files: with fullClear every file of the directory `path`; otherwise `path` is a
    // table's path prefix and only files of its directory whose names begin with the prefix's
    // last component go. Throws OrnQLException_Base when the directory cannot be read or a file
    // cannot be removed.
    static void clearUpDir(const char* path, bool fullClear);
    // Removes directory + id + ".bmp" with the next save (a missing file is not an error).
    void deleteImageFile(const char* directory) const;

    // Drops every link and relation tree without touching the records they list (table reset).
    void releaseRelations();

protected:
    explicit OrnQL_Base(unsigned recordId);

    unsigned id;
    RecordDependencies dependencies;

private:
    RecordRelations relations;
};
