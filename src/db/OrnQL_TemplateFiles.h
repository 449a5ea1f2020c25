#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
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
// Saving never leaves a torn file: each changed bound is written whole through an AtomicFile, the
// index is replaced last (and only when the list of bounds changed), and files of bounds that
// became empty are removed only after the new index is in place. Inside a FileTransaction (as the
// catalogue saves) the whole table changes as one unit, through the transaction's log. A table
// without changes writes nothing.
//
// Loading trusts nothing it reads. Damage is thrown as Damaged<...> (db/OrnQL_Exception.h):
// - an index entry cut short, a bound file in the table's directory that the index does not
//   list, a listed bound file without records;
// - a record id that is 0, above LARGEST_RECORD_ID or outside its file's bound, an id twice, a
//   dependency on the record's own table;
// - a record cut short by the end of its file (its id, dependencies or own fields; a text that
//   runs past the end, OrnQL_Base::loadText).
// A file cut exactly between two records cannot be told from one that holds fewer records: the
// format has no counts.

namespace table_files {

inline std::string indexName(const char* path) { return std::string(path) + ".dat"; }

inline std::string boundName(const char* path, unsigned bound) {
    return std::string(path) + std::to_string(bound) + ".dat";
}

// The bound numbers an index file lists, in the stored order. False when the index cannot be
// opened; `whole` is false when it ends in an entry cut short. Every save of a table reads its
// index (tens of thousands of entries for the link tables): the entries are copied, not streamed.
inline bool readIndex(const char* path, std::vector<unsigned>& bounds, bool& whole) {
    std::vector<char> bytes;
    std::size_t length = 0;
    if (!FileContent::readInto(indexName(path), bytes, length)) {
        return false;
    }
    const std::size_t first = bounds.size();
    bounds.resize(first + length / sizeof(std::uint32_t));
    static_assert(sizeof(unsigned) == sizeof(std::uint32_t));
    if (length >= sizeof(std::uint32_t)) {
        std::memcpy(bounds.data() + first, bytes.data(), (length / sizeof(std::uint32_t)) * sizeof(std::uint32_t));
    }
    whole = length % sizeof(std::uint32_t) == 0;
    return true;
}

// Ascending, each once (a damaged index may repeat or disorder them; a saved one never does, and
// is taken as it is).
inline std::vector<unsigned> sortedBounds(std::vector<unsigned> bounds) {
    if (std::adjacent_find(bounds.begin(), bounds.end(), std::greater_equal<unsigned>()) == bounds.end()) {
        return bounds;
    }
    std::sort(bounds.begin(), bounds.end());
    bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
    return bounds;
}

// Files of the table's directory that begin with the prefix's last component and are neither
// the index nor one of the listed bound files (left by a table saved before, or by a crash).
// With `staleBounds`, it receives for each of them its bound number, or NO_BOUND for a file
// that is not named as a bound file.
std::vector<std::string> staleFiles(const char* path, const std::vector<unsigned>& bounds,
                                    std::vector<unsigned>* staleBounds = nullptr);
inline constexpr unsigned NO_BOUND = 0xFFFFFFFFu;

// The first bound file of the table's directory (prefix + decimal number + ".dat") that the
// sorted list does not hold, or "" when there is none.
std::string unlistedBoundFile(const char* path, const std::vector<unsigned>& sortedListed);

// While one exists, each directory is listed once and the listing shared by every table that
// lives there (the three link tables share one directory of tens of thousands of files). With
// `ahead`, the directories of the tables named are listed at once on a thread of their own, in
// the order named, while the first tables load. For a load of many tables, during which no table
// file changes; one at a time.
class SharedListings {
public:
    explicit SharedListings(const std::vector<const char*>& tablePaths = {}, bool ahead = false);
    ~SharedListings();
    SharedListings(const SharedListings&) = delete;
    SharedListings& operator=(const SharedListings&) = delete;
};

// While one exists, the bound files of the tables it names (in the order they load) are read
// ahead by one reader across tables: the files of the next table are read while the loading
// thread links or indexes the one before. A table takes its files from it only when they are
// exactly the ones it will read next; otherwise it reads its own. For a load of many tables,
// during which no table file changes; one at a time.
class SharedReadAhead {
public:
    explicit SharedReadAhead(const std::vector<const char*>& tablePaths);
    ~SharedReadAhead();
    SharedReadAhead(const SharedReadAhead&) = delete;
    SharedReadAhead& operator=(const SharedReadAhead&) = delete;

    // The reader that hands out the files `names` of the table at `path` next, in this order, or
    // null when there is none.
    static FileReadAhead* positionedFor(const char* path, const std::vector<std::string>& names);
};

// Replaces the index with the list of bounds; false when it could not be written.
bool writeIndex(const char* path, const std::vector<unsigned>& bounds);

// Removes the files (inside a transaction: notes their removal for its commit). False when one
// could not be removed; `unremoved` receives the bound numbers of those (NO_BOUND left out).
bool removeFiles(const std::vector<std::string>& files, const std::vector<unsigned>& boundsOfFiles,
                 std::vector<unsigned>& unremoved);

// Throws the damage found while loading a table, as Damaged<OrnQLException_Template>.
[[noreturn]] void throwDamage(const char* message);

bool fileExists(const std::string& file);

inline constexpr const char* OUT_OF_RANGE_ID = "Fatal OrnQLException: Found an out of range id in file while loading!";
inline constexpr const char* DUPLICATE_ID = "OrnQLException: Hit illegal duplicate entry while loading OrnQL database!";
inline constexpr const char* RECORD_CUT_SHORT = "Fatal OrnQLException: Found a record cut short in file while loading!";
inline constexpr const char* INDEX_CUT_SHORT = "Fatal OrnQLException: Found an index entry cut short while loading!";
inline constexpr const char* UNLISTED_BOUND =
    "Fatal OrnQLException: Found a table file that its index does not list while loading!";
inline constexpr const char* OWN_TABLE_DEPENDENCY =
    "Fatal OrnQLException: Found a record depending on its own table while loading!";
inline constexpr const char* EMPTY_BOUND =
    "Fatal OrnQLException: Found a listed table file without records while loading!";

}  // namespace table_files

template <typename T>
void OrnQL_Template<T>::loadAll(const char* path, dependency d) {
    if (d != D_ENDTAG && d != ownEntry) {
        return;
    }
    std::vector<unsigned> listed;
    bool whole = true;
    if (!table_files::readIndex(path, listed, whole)) {
        throw InvalidFileException(table_files::indexName(path), ownEntry);
    }
    emptyTable();
    LoadedRecords loaded;
    try {
        if (!whole) {
            table_files::throwDamage(table_files::INDEX_CUT_SHORT);
        }
        // A bound file the index does not list holds records the load would lose without a word,
        // and the next new record of that bound would overwrite them.
        if (!table_files::unlistedBoundFile(path, table_files::sortedBounds(listed)).empty()) {
            table_files::throwDamage(table_files::UNLISTED_BOUND);
        }
        std::vector<std::string> names;
        names.reserve(listed.size());
        for (unsigned bound : listed) {
            names.push_back(table_files::boundName(path, bound));
        }
        std::optional<FileReadAhead> ownFiles;
        FileReadAhead* files = table_files::SharedReadAhead::positionedFor(path, names);
        if (files == nullptr) {
            const FileReadAhead::Policy policy = FileReadAhead::policyForLoading();
            files = &ownFiles.emplace(names, policy.threads, policy.always);
        }
        FileContent file;
        for (std::size_t i = 0; i < listed.size(); ++i) {
            if (!files->next(file)) {
                throw InvalidFileException(names[i], ownEntry);
            }
            // A save never lists a bound without records: it removes the file instead.
            if (parseBound(file, listed[i], loaded) == 0) {
                table_files::throwDamage(table_files::EMPTY_BOUND);
            }
        }
    } catch (...) {
        adoptLoaded(loaded);  // the records read so far stay, and so does id reuse among them
        restartGapScan();
        throw;
    }
    adoptLoaded(loaded);
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
    FileContent file;
    LoadedRecords loaded;
    unsigned count = 0;
    try {
        const std::string name = table_files::boundName(path, bound);
        if (!file.read(name)) {
            throw InvalidFileException(name, ownEntry);
        }
        count = parseBound(file, bound, loaded);
    } catch (...) {
        adoptLoaded(loaded);
        throw;
    }
    adoptLoaded(loaded);
    return count;
}

template <typename T>
void OrnQL_Template<T>::adoptLoaded(LoadedRecords& loaded) {
    ELEMENTTREE& tree = elementTree();
    const bool ascending = std::adjacent_find(loaded.begin(), loaded.end(), [](const auto& a, const auto& b) {
                               return a->id >= b->id;
                           }) == loaded.end();
    if (tree.empty() && ascending) {
        std::vector<OrnQL_Base*> records;
        records.reserve(loaded.size());
        for (const auto& record : loaded) {
            records.push_back(record.get());
        }
        tree.assignSorted(records);  // owns none of them if it throws
        for (auto& record : loaded) {
            record.release();  // the element tree owns it now
        }
        loaded.clear();
        return;
    }
    LoadedRecords pending;
    pending.swap(loaded);  // whatever is not adopted goes with `pending`
    for (auto& record : pending) {
        if (!tree.insert(record.get())) {
            throw Damaged<OrnQLException>(table_files::DUPLICATE_ID);
        }
        record.release();
    }
}

template <typename T>
unsigned OrnQL_Template<T>::parseBound(FileContent& file, unsigned bound, LoadedRecords& loaded) {
    std::istream& in = file.stream();
    unsigned count = 0;
    while (file.remaining() > 0) {
        std::uint32_t recordId;
        if (!loadValue(in, recordId)) {
            table_files::throwDamage(table_files::RECORD_CUT_SHORT);  // a few bytes where an id should start
        }
        ++count;
        if (recordId == 0 || recordId / RECORDS_PER_BOUND != bound || recordId > LARGEST_RECORD_ID) {
            table_files::throwDamage(table_files::OUT_OF_RANGE_ID);
        }
        auto record = std::make_unique<T>();
        record->id = recordId;
        for (int d = 0; d < STORED_DEPENDENCIES; ++d) {
            std::uint32_t dependencyId;
            if (!loadValue(in, dependencyId)) {
                table_files::throwDamage(table_files::RECORD_CUT_SHORT);
            }
            if (dependencyId != 0) {
                record->dependencies.set(static_cast<dependency>(d), dependencyId);
                dependencyTruthTable[d] = true;
            }
        }
        // No setter stores a dependency on the record's own table; the cascades would not clear it.
        if (isTable(ownEntry) && record->dependencies.get(ownEntry) != 0) {
            table_files::throwDamage(table_files::OWN_TABLE_DEPENDENCY);
        }
        record->load(in);
        if (!in) {
            table_files::throwDamage(table_files::RECORD_CUT_SHORT);
        }
        loaded.push_back(std::move(record));
    }
    return count;
}

template <typename T>
unsigned OrnQL_Template<T>::saveBound(const char* path, unsigned bound) {
    typename ELEMENTTREE::treeIterator from = elementTree().lowerBoundID(bound * RECORDS_PER_BOUND);
    return saveBoundFrom(path, bound, from);
}

template <typename T>
unsigned OrnQL_Template<T>::saveBoundFrom(const char* path, unsigned bound, typename ELEMENTTREE::treeIterator& from) {
    ELEMENTTREE& tree = elementTree();
    const unsigned first = bound * RECORDS_PER_BOUND;
    const unsigned last = first + (RECORDS_PER_BOUND - 1);
    if (from == tree.end() || (*from)->getId() > last || bound > LARGEST_RECORD_ID / RECORDS_PER_BOUND) {
        return 0;
    }
    AtomicFile file(table_files::boundName(path, bound));
    if (!file.isOpen()) {
        throw InvalidFileException(path, ownEntry);
    }
    unsigned count = 0;
    for (; from != tree.end() && (*from)->getId() <= last; ++from) {
        OrnQL_Base* r = *from;
        // The id and the dependencies go out as one write: most records have few fields of their own.
        std::uint32_t head[1 + STORED_DEPENDENCIES];
        head[0] = r->getId();
        for (int d = 0; d < STORED_DEPENDENCIES; ++d) {
            head[1 + d] = r->getDependency(static_cast<dependency>(d));
        }
        saveBytes(file.stream(), reinterpret_cast<const char*>(head), sizeof head);
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
    std::vector<unsigned> storedBounds;
    bool indexWhole = true;
    const bool indexPresent = table_files::readIndex(path, storedBounds, indexWhole);
    std::vector<unsigned> newBounds;
    std::vector<std::string> toRemove;
    std::vector<unsigned> boundsToRemove;
    if (indexPresent) {
        // Merge the old index with the requested bounds: unchanged bounds are listed again as
        // they are, requested ones are rewritten (or, when empty, dropped).
        const std::vector<unsigned> oldBounds = table_files::sortedBounds(storedBounds);
        std::vector<unsigned>::const_iterator oldIt = oldBounds.begin();
        typename AVLtree<unsigned>::treeIterator requested = requestTree().begin();
        // Where the last bound written ended: the start of the next bound, which an import marks
        // next (its records were added in a row), without a search from the root.
        typename ELEMENTTREE::treeIterator following = elementTree().end();
        unsigned followingBound = 0;
        bool followingKnown = false;
        while (oldIt != oldBounds.end() || requested != requestTree().end()) {
            const bool takeOld = requested == requestTree().end() || (oldIt != oldBounds.end() && *oldIt < *requested);
            if (takeOld) {
                newBounds.push_back(*oldIt++);
                continue;
            }
            const unsigned bound = *requested++;
            const bool listed = oldIt != oldBounds.end() && *oldIt == bound;
            typename ELEMENTTREE::treeIterator from = followingKnown && followingBound == bound
                                                          ? following
                                                          : elementTree().lowerBoundID(bound * RECORDS_PER_BOUND);
            const unsigned written = saveBoundFrom(path, bound, from);
            following = from;
            followingBound = bound + 1;
            followingKnown = bound < LARGEST_RECORD_ID / RECORDS_PER_BOUND;
            if (written > 0) {
                newBounds.push_back(bound);
            } else if (listed || table_files::fileExists(table_files::boundName(path, bound))) {
                toRemove.push_back(table_files::boundName(path, bound));
                boundsToRemove.push_back(bound);
            }
            if (listed) {
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

    finishSave(path, indexPresent, indexWhole, storedBounds, newBounds, std::move(toRemove), std::move(boundsToRemove));
}

template <typename T>
void OrnQL_Template<T>::finishSave(const char* path, bool indexPresent, bool indexWhole,
                                   const std::vector<unsigned>& storedBounds, const std::vector<unsigned>& newBounds,
                                   std::vector<std::string> toRemove, std::vector<unsigned> boundsToRemove) {
    // An index that already lists exactly these bounds stays as it is: rewriting it would cost a
    // file, its fsync and, inside a transaction, the journal.
    if ((!indexPresent || !indexWhole || newBounds != storedBounds) && !table_files::writeIndex(path, newBounds)) {
        throw InvalidFileException(table_files::indexName(path), ownEntry);
    }
    if (!indexPresent) {
        toRemove = table_files::staleFiles(path, newBounds, &boundsToRemove);
    }
    // The new index no longer lists these. Outside a transaction a removal that fails is
    // reported, and its bound stays marked so that the next save tries again (a file the index
    // does not list is damage to the next load).
    std::vector<unsigned> unremoved;
    const bool removedAll = table_files::removeFiles(toRemove, boundsToRemove, unremoved);
    // Inside a transaction the files are in place only once it commits; until then the bounds
    // stay marked, so that a failed commit can be repeated by the next save.
    if (FileTransaction* unit = FileTransaction::active()) {
        unit->afterCommit([] { requestTree().clear(); });
    } else {
        requestTree().clear();
        for (unsigned bound : unremoved) {
            requestTree().insert(bound);
        }
    }
    if (!removedAll) {
        throw InvalidFileException(path, ownEntry);
    }
}
