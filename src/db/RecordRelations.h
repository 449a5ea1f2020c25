#pragma once

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
// Loading links many records at once: partners are appended in any order and put in order once.
class RecordRelations {
public:
    using RelationTree = AVLtree<OrnQL_Base*>;
    struct Partner {
        OrnQL_Base* record;
        dependency table;
    };

    RecordRelations() = default;
    RecordRelations(const RecordRelations&) = delete;
    RecordRelations& operator=(const RecordRelations&) = delete;
    ~RecordRelations();

    // Forgets every link and tree (without touching the records they list).
    void clear();

    // One link more (or fewer) to the partner; keeps the order and any first-tier tree of its table.
    void add(const Partner& partner);
    // Nothing happens when the partner is not listed.
    void remove(const Partner& partner);
    // For a load: room for `count` more, append them, restoreOrder once every link is in.
    void reserveMore(std::size_t count) { partners.reserve(partners.size() + count); }
    void append(const Partner& partner) { partners.push_back(partner); }
    void restoreOrder();

    // The partners of table d, by id.
    std::span<const Partner> of(dependency d) const;
    const std::vector<Partner>& all() const { return partners; }

    // The first-tier tree of table d, made from the array when first asked for.
    RelationTree& firstTier(dependency d);
    // The second-tier tree of table d, emptied for the caller to fill.
    RelationTree& emptiedSecondTier(dependency d);

private:
    static bool before(const Partner& a, const Partner& b);
    using Trees = std::vector<std::pair<dependency, std::unique_ptr<RelationTree>>>;
    static RelationTree* find(Trees& trees, dependency d);
    static RelationTree& make(Trees& trees, dependency d);

    std::vector<Partner> partners;
    struct Views {
        Trees firstTier;
        Trees secondTier;
        ~Views();
    };
    std::unique_ptr<Views> views;  // most records are never asked for a tree
};
