#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "db/AVLtree.h"
#include "db/OrnQL_Types.h"

class OrnQL_Base;

// The links of one record: every record linked to it directly (its partners), in one flat array
// ordered by table and id. A pair linked twice is listed twice. The array is the truth; the
// relation trees that callers walk and query are made from it only when asked for:
// - a first-tier tree, once made, is kept up to date with every link added or removed (a caller
//   may hold it across an edit, as it always could);
// - a second-tier tree is worked out afresh on every request.
// Loading links many records at once: each record's new partners of one table are appended in
// ascending id order and then moved into place in one step.
//
// Every record carries one, and most of a large database's records are links that never have
// partners, so it is one pointer: the partners and the trees live in one block made when the
// record first links or is asked for a tree, holding the record pointers alone (a partner's
// table is its own table).
class RecordRelations {
public:
    using RelationTree = AVLtree<OrnQL_Base*>;
    using Partners = std::span<OrnQL_Base* const>;

    RecordRelations() = default;
    RecordRelations(const RecordRelations&) = delete;
    RecordRelations& operator=(const RecordRelations&) = delete;
    ~RecordRelations() { clear(); }

    // Forgets every link and tree (without touching the records they list).
    void clear();

    // One link more (or fewer) to the partner; keeps the order and any first-tier tree of its table.
    void add(OrnQL_Base* partner);
    // Nothing happens when the partner is not listed.
    void remove(OrnQL_Base* partner);
    // For a load: room for `count` more, append them, then placeAppended(count). The appended
    // partners are of one table and in ascending id order.
    void reserveMore(std::size_t count);
    void append(OrnQL_Base* partner);
    void placeAppended(std::size_t count);

    // The partners of table d, by id.
    Partners of(dependency d) const;
    Partners all() const;

    // The first-tier tree of table d, made from the array when first asked for.
    RelationTree& firstTier(dependency d);
    // The second-tier tree of table d, emptied for the caller to fill.
    RelationTree& emptiedSecondTier(dependency d);

private:
    using Trees = std::vector<std::pair<dependency, std::unique_ptr<RelationTree>>>;
    struct Views {
        Trees firstTier;
        Trees secondTier;
        ~Views();
    };
    // The block: this header, then `capacity` partner pointers.
    struct Store {
        std::uint32_t size = 0;
        std::uint32_t capacity = 0;
        std::unique_ptr<Views> views;
        OrnQL_Base** partners() { return reinterpret_cast<OrnQL_Base**>(this + 1); }
    };
    static_assert(sizeof(Store) % alignof(OrnQL_Base*) == 0, "the partners follow the header aligned");

    static bool before(const OrnQL_Base* a, const OrnQL_Base* b);
    static RelationTree* find(Trees& trees, dependency d);
    void grow(std::size_t capacity);
    Views& views();

    Store* store = nullptr;
};
