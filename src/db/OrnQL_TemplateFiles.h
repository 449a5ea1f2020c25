#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "base/FileTransaction.h"
#include "db/OrnQL_Stream.h"

// Member definitions of OrnQL_Template: the table files; included by OrnQL_Template.h.
//
// A table lives under a path prefix such as "Data/Language/languages". Records are grouped in
// bounds of RECORDS_PER_BOUND consecutive ids; bound b holds ids 10b .. 10b+9 in its own file.
// All numbers are little-endian; there are no headers, counts or checksums.
//
// Index file, prefix + ".dat":
//   offset 4k   size 4   the k-th bound that has a file, ascending; read to the end of the file
//
// Bound file, prefix + bound in decimal + ".dat" (bound 12 of the languages: languages12.dat),
// a sequence of records in ascending id order, read to the end of the file:
//   offset 0    size 4   record id; id / 10 is the bound number
//   offset 4    size 60  15 dependency ids in `dependency` order; 0 = none
//   offset 64   ...      the record's own fields (its save / load)
//
// Saving never leaves a torn file: each changed bound is written to a temporary file and renamed
// over the old one, the index is replaced last, and files of bounds that became empty are
// removed only after the new index is in place. Interrupted anywhere, the next load finds each
// bound as it was or as it became; inside a FileTransaction (as the catalogue saves), the whole
// table as it was or as it became.

namespace table_files {

inline std::string indexName(const char* path) { return std::string(path) + ".dat"; }

inline std::string boundName(const char* path, unsigned bound) {
    return std::string(path) + std::to_string(bound) + ".dat";
}

// The bound numbers an index file lists, ascending and each once (a damaged index may repeat
// or disorder them). False when the index cannot be opened.
inline bool readIndex(const char* path, std::vector<unsigned>& bounds) {
    std::ifstream index(indexName(path), std::ios::binary);
    if (!index) {
        return false;
    }
    unsigned bound;
    while (loadValue(index, bound)) {
        bounds.push_back(bound);
    }
    std::sort(bounds.begin(), bounds.end());
    bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
    return true;
}

// Files of the table's directory that begin with the prefix's last component and are neither
// the index nor one of the listed bound files (left by a table saved before, or by a crash).
std::vector<std::string> staleFiles(const char* path, const std::vector<unsigned>& bounds);

}  // namespace table_files

template <typename T>
void OrnQL_Template<T>::loadAll(const char* path, dependency d) {
    if (d != D_ENDTAG && d != ownEntry) {
        return;
    }
    std::ifstream index(table_files::indexName(path), std::ios::binary);
    if (!index) {
        throw InvalidFileException(table_files::indexName(path), ownEntry);
    }
    emptyTable();
    try {
        std::ifstream boundFile;  // one stream for all bound files: constructing one is not free
        unsigned bound;
        while (loadValue(index, bound)) {
            readBound(boundFile, path, bound);
        }
    } catch (...) {
        restartGapScan();  // the records read so far stay, and so does id reuse among them
        throw;
    }
    restartGapScan();
}

// Deletes every record (with cascades) and forgets freed ids, which the coming load would
// otherwise hand out a second time.
template <typename T>
void OrnQL_Template<T>::emptyTable() {
    for (dataIterator it = begin(); it != end();) {
        it = deleteEntry((*it)->getId());
    }
    idPool().clear();
    gapScanFrom = gapScanLimit = 0;
}

template <typename T>
unsigned OrnQL_Template<T>::loadBound(const char* path, unsigned bound) {
    std::ifstream in;
    return readBound(in, path, bound);
}

template <typename T>
unsigned OrnQL_Template<T>::readBound(std::ifstream& in, const char* path, unsigned bound) {
    const std::string name = table_files::boundName(path, bound);
    in.close();
    in.clear();
    in.open(name, std::ios::binary);
    if (!in) {
        throw InvalidFileException(name, ownEntry);
    }
    unsigned count = 0;
    std::uint32_t recordId;
    while (loadValue(in, recordId)) {
        ++count;
        if (recordId / RECORDS_PER_BOUND != bound || recordId > LARGEST_RECORD_ID) {
            throw Damaged<OrnQLException_Template>("Fatal OrnQLException: Found an out of range id in file while loading!");
        }
        auto record = std::make_unique<T>();
        record->id = recordId;
        for (int d = 0; d < D_ENDTAG; ++d) {
            if (!loadValue(in, record->dependencies[d])) {
                break;  // cut short: the record keeps what the file held
            }
            if (record->dependencies[d] != 0) {
                dependencyTruthTable[d] = true;
            }
        }
        record->load(in);
        if (!elementTree().insert(record.get())) {
            throw Damaged<OrnQLException>("OrnQLException: Hit illegal duplicate entry while loading OrnQL database!");
        }
        record.release();  // the element tree owns it now
    }
    return count;
}

template <typename T>
unsigned OrnQL_Template<T>::saveBound(const char* path, unsigned bound) {
    ELEMENTTREE& tree = elementTree();
    const unsigned first = bound * RECORDS_PER_BOUND;
    const unsigned last = first + (RECORDS_PER_BOUND - 1);
    typename ELEMENTTREE::treeIterator from = tree.lowerBoundID(first);
    if (from == tree.end() || (*from)->getId() > last || bound > LARGEST_RECORD_ID / RECORDS_PER_BOUND) {
        return 0;
    }
    AtomicFile file(table_files::boundName(path, bound));
    if (!file.isOpen()) {
        throw InvalidFileException(path, ownEntry);
    }
    unsigned count = 0;
    for (typename ELEMENTTREE::treeIterator it = from; it != tree.end() && (*it)->getId() <= last; ++it) {
        OrnQL_Base* r = *it;
        saveValue(file.stream(), static_cast<std::uint32_t>(r->getId()));
        for (int d = 0; d < D_ENDTAG; ++d) {
            saveValue(file.stream(), static_cast<std::uint32_t>(r->getDependency(static_cast<dependency>(d))));
        }
        static_cast<T*>(r)->save(file.stream());
        ++count;
    }
    if (!file.commit()) {
        throw InvalidFileException(path, ownEntry);
    }
    return count;
}

template <typename T>
void OrnQL_Template<T>::saveAll(const char* path, dependency d) {
    if (d != D_ENDTAG && d != ownEntry) {
        return;
    }
    std::vector<unsigned> oldBounds;
    const bool indexPresent = table_files::readIndex(path, oldBounds);
    std::vector<unsigned> newBounds;
    std::vector<std::string> toRemove;
    if (indexPresent) {
        // Merge the old index with the requested bounds: unchanged bounds are listed again as
        // they are, requested ones are rewritten (or, when empty, dropped).
        std::vector<unsigned>::const_iterator oldIt = oldBounds.begin();
        typename AVLtree<unsigned>::treeIterator requested = requestTree().begin();
        while (oldIt != oldBounds.end() || requested != requestTree().end()) {
            const bool takeOld = requested == requestTree().end() || (oldIt != oldBounds.end() && *oldIt < *requested);
            if (takeOld) {
                newBounds.push_back(*oldIt++);
                continue;
            }
            const unsigned bound = *requested++;
            if (saveBound(path, bound) > 0) {
                newBounds.push_back(bound);
            } else {
                toRemove.push_back(table_files::boundName(path, bound));
            }
            if (oldIt != oldBounds.end() && *oldIt == bound) {
                ++oldIt;
            }
        }
    } else {
        // No index (first save, or it was lost): write every bound that holds records, then
        // remove whatever else of the table's files lies in its directory.
        ELEMENTTREE& tree = elementTree();
        for (typename ELEMENTTREE::treeIterator it = tree.begin(); it != tree.end();) {
            const unsigned bound = (*it)->getId() / RECORDS_PER_BOUND;
            if (saveBound(path, bound) > 0) {
                newBounds.push_back(bound);
            }
            it = tree.lowerBoundID((bound + 1) * RECORDS_PER_BOUND);
        }
    }

    AtomicFile index(table_files::indexName(path));
    if (!index.isOpen()) {
        throw InvalidFileException(table_files::indexName(path), ownEntry);
    }
    for (unsigned bound : newBounds) {
        saveValue(index.stream(), static_cast<std::uint32_t>(bound));
    }
    if (!index.commit()) {
        throw InvalidFileException(table_files::indexName(path), ownEntry);
    }
    // Inside a transaction the files are in place only once it commits; until then the bounds
    // stay marked, so that a failed commit can be repeated by the next save.
    if (FileTransaction* unit = FileTransaction::active()) {
        unit->afterCommit([] { requestTree().clear(); });
    } else {
        requestTree().clear();
    }

    if (!indexPresent) {
        toRemove = table_files::staleFiles(path, newBounds);
    }
    // The new index no longer lists these, so a removal that fails leaves only a harmless stray.
    for (const std::string& file : toRemove) {
        removeFileIfPresent(file);
    }
}
