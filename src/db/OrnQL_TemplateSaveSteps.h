#pragma once

// OrnQL_Template<T>::saveAllInSteps (db/OrnQL_Template.h): saveAll's walk of the table split at
// bound files, for an import's save, which writes thousands of them and would otherwise stop the
// window for its whole length. Included where the steps are made (model/DatabaseCatalogue).

#include <memory>

#include "db/OrnQL_Template.h"

template <typename T>
std::function<bool(std::chrono::steady_clock::time_point)> OrnQL_Template<T>::saveAllInSteps(const char* path,
                                                                                             dependency d) {
    if (d != D_ENDTAG && d != ownEntry) {
        return [](std::chrono::steady_clock::time_point) { return true; };
    }
    // The bounds in the order saveAll meets them: unchanged ones listed again as they are,
    // requested ones (or, without an index, every bound holding records) saved.
    struct Walk {
        struct Bound {
            unsigned bound;
            bool save;
            bool listed;  // the old index lists it
        };
        const char* path;
        std::vector<unsigned> storedBounds;
        bool indexWhole = true;
        bool indexPresent = false;
        std::vector<Bound> bounds;
        std::size_t next = 0;
        std::vector<unsigned> newBounds;
        std::vector<std::string> toRemove;
        std::vector<unsigned> boundsToRemove;
    };
    auto walk = std::make_shared<Walk>();
    walk->path = path;
    walk->indexPresent = table_files::readIndex(path, walk->storedBounds, walk->indexWhole);
    if (walk->indexPresent) {
        const std::vector<unsigned> oldBounds = table_files::sortedBounds(walk->storedBounds);
        auto oldIt = oldBounds.begin();
        auto requested = requestTree().begin();
        while (oldIt != oldBounds.end() || requested != requestTree().end()) {
            if (requested == requestTree().end() || (oldIt != oldBounds.end() && *oldIt < *requested)) {
                walk->bounds.push_back({*oldIt++, false, true});
                continue;
            }
            const unsigned bound = *requested++;
            const bool listed = oldIt != oldBounds.end() && *oldIt == bound;
            walk->bounds.push_back({bound, true, listed});
            if (listed) {
                ++oldIt;
            }
        }
    } else {
        ELEMENTTREE& tree = elementTree();
        for (auto it = tree.begin(); it != tree.end();) {
            const unsigned bound = (*it)->getId() / RECORDS_PER_BOUND;
            walk->bounds.push_back({bound, true, false});
            it = tree.lowerBoundID((bound + 1) * RECORDS_PER_BOUND);
        }
    }
    return [walk](std::chrono::steady_clock::time_point deadline) {
        Walk& w = *walk;
        bool first = true;
        // Within a step, a bound's records start where the previous bound's ended (an import's
        // bounds follow each other) without a search from the root; each step searches afresh.
        typename ELEMENTTREE::treeIterator following = elementTree().end();
        unsigned followingBound = 0;
        bool followingKnown = false;
        while (w.next < w.bounds.size()) {
            const typename Walk::Bound& at = w.bounds[w.next];
            if (at.save && !first && std::chrono::steady_clock::now() >= deadline) {
                return false;
            }
            ++w.next;
            if (!at.save) {
                w.newBounds.push_back(at.bound);
                continue;
            }
            first = false;
            typename ELEMENTTREE::treeIterator from =
                followingKnown && followingBound == at.bound ? following
                                                             : elementTree().lowerBoundID(at.bound * RECORDS_PER_BOUND);
            const unsigned written = saveBoundFrom(w.path, at.bound, from);
            following = from;
            followingBound = at.bound + 1;
            followingKnown = at.bound < LARGEST_RECORD_ID / RECORDS_PER_BOUND;
            if (written > 0) {
                w.newBounds.push_back(at.bound);
            } else if (at.listed || table_files::fileExists(table_files::boundName(w.path, at.bound))) {
                w.toRemove.push_back(table_files::boundName(w.path, at.bound));
                w.boundsToRemove.push_back(at.bound);
            }
        }
        finishSave(w.path, w.indexPresent, w.indexWhole, w.storedBounds, w.newBounds, std::move(w.toRemove),
                   std::move(w.boundsToRemove));
        return true;
    };
}
