#pragma once

#include <array>
#include <chrono>
#include <functional>
#include <cstdarg>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "db/AVLtree.h"
#include "db/ConstraintArguments.h"
#include "db/FileContent.h"
#include "db/FileReadAhead.h"
#include "db/MinHeap.h"
#include "db/OrnQL_Base.h"
#include "db/OrnQL_Custom.h"
#include "db/OrnQL_Exception.h"
#include "db/RecordPool.h"

template <typename A, typename From, typename To>
class OrnQL_Association;

// Turns the record class T into a table. A table is the set of static members of this template
// for T (there is no table object): its element tree owns every stored record, its id pool and
// request tree drive id reuse and saving, and its settings and query state are shared by all
// users of the table.
//
// Life of a record: made by its class (id 0), handed to add (the table owns it from then on),
// found with getById, iterators, constraints and queries, destroyed only by deleteEntry, which
// first runs the cascades over every table that has been set up (OrnQL_Custom).
//
// What a record class T provides: a default constructor (the loader's), load and save of its own
// fields (OrnQL_Stream.h, loadText/saveText), getData, operator=, and, if it is queried by
// attribute name, `static int type(const wchar_t* name, int* id)` returning the attribute's
// QueryType (0 for unknown names). A class may hide deleteEntriesWithDependency or
// updateEntriesWithDependency with static functions of its own; setup registers those.
template <typename T>
class OrnQL_Template : public OrnQL_Base {
public:
    using ELEMENTTREE = AVLtree<OrnQL_Base*>;
    using RecordCompare = int (*)(OrnQL_Base* const&, OrnQL_Base* const&);

    // Walks a record tree of this class in id order; dereferencing yields T*.
    class dataIterator {
    public:
        dataIterator() = default;
        dataIterator(const ELEMENTTREE::treeIterator& position) : it(position) {}
        dataIterator& operator++() { ++it; return *this; }
        dataIterator operator++(int) { dataIterator previous = *this; ++it; return previous; }
        T* operator*() const { return static_cast<T*>(*it); }
        T* operator->() const { return **this; }
        bool operator==(const dataIterator& other) const { return it == other.it; }
        bool operator!=(const dataIterator& other) const { return it != other.it; }
        const ELEMENTTREE::treeIterator& position() const { return it; }

    private:
        ELEMENTTREE::treeIterator it;
    };

    // Walks the selection of a record tree of this class; dereferencing yields T*.
    class selIterator {
    public:
        selIterator() = default;
        selIterator(const ELEMENTTREE::selectIterator& position) : it(position) {}
        selIterator& operator++() { ++it; return *this; }
        selIterator operator++(int) { selIterator previous = *this; ++it; return previous; }
        T* operator*() const { return static_cast<T*>(*it); }
        T* operator->() const { return **this; }
        bool operator==(const selIterator& other) const { return it == other.it; }
        bool operator!=(const selIterator& other) const { return it != other.it; }
        const ELEMENTTREE::selectIterator& position() const { return it; }

    private:
        ELEMENTTREE::selectIterator it;
    };

    typedef dataIterator DATAITERATOR;
    typedef selIterator SELITERATOR;

    OrnQL_Template();
    ~OrnQL_Template() override;

    // Records of exactly this class live in the table's pool (db/RecordPool.h); those of a class
    // derived from it, and every record under the address sanitizer, in the general heap.
    static void* operator new(std::size_t size) {
        return POOLED_RECORDS && size == sizeof(T) ? recordPool().take() : ::operator new(size);
    }
    static void operator delete(void* place, std::size_t size) noexcept {
        if (POOLED_RECORDS && size == sizeof(T)) {
            recordPool().give(place);
        } else {
            ::operator delete(place, size);
        }
    }

    // Throws OrnQLException_Template for the table's own entry (nothing changes then).
    void setDependency(dependency d, unsigned dependencyId) override;
    void saveRequest() override;
    const Constrainer& getConstraints() const override { return constraintStruct; }
    const QueryType& getQueryType() const override { return queryType; }
    const int& getQueryId() const override { return queryId; }
    const void* getQueryElement() const override;
    const int& getQueryComparison() const override { return queryComparison; }
    const QueryType& getCompareQueryType() const override { return compareQueryType; }
    const int& getCompareQueryId() const override { return compareQueryId; }
    bool getCompareQueryDesc() const override { return compareQueryDesc; }
    dependency getOwnTable() const override { return ownEntry; }
    // Copies the record's own fields (never its id, dependencies or links).
    virtual T& operator=(const T& other) = 0;

    // --- table set-up and records -------------------------------------------------------------

    // Sets the table up as table d (weak: deleting a record clears the references to it instead
    // of deleting the records that depend on it) and registers it for the cascades.
    static void setup(dependency d, bool weak);
    // Stores r under the next free id (smallest reused id first, else largest + 1); the table
    // owns r from now on. Returns the new id.
    static const unsigned& add(T* r);
    // The record with that id, or null (also for 0 and ids above LARGEST_RECORD_ID).
    static T* getById(unsigned id);
    // Deletes the record after running its cascade; returns the next record in id order. An
    // absent id throws the iterator's out-of-range error. A record whose deletion is already
    // under way (further up a cascade) is left to it.
    static dataIterator deleteEntry(unsigned id);
    static dataIterator deleteEntry(T* r);
    // As above for the selected record; returns the next selected record.
    static selIterator deleteEntry(selIterator it);
    // Cascade hooks: delete (or, with update, re-point) the records whose dependency on d is id.
    static void deleteEntriesWithDependency(dependency d, unsigned id);
    static void updateEntriesWithDependency(dependency d, unsigned oldId, unsigned newId);
    // Deletes every record that has no first-tier link to table d; returns how many it deleted.
    static unsigned enforceRelation(dependency d);

    // --- iteration and selection (any record tree of this class) -----------------------------

    static dataIterator begin(ELEMENTTREE& tree = elementTree()) { return dataIterator(tree.begin()); }
    static dataIterator end(ELEMENTTREE& tree = elementTree()) { return dataIterator(tree.end()); }
    static dataIterator bound(int lower, int upper, ELEMENTTREE& tree = elementTree()) {
        return dataIterator(tree.bound(lower, upper));
    }
    static selIterator beginSel(ELEMENTTREE& tree = elementTree()) { return selIterator(tree.beginSelection()); }
    static selIterator endSel(ELEMENTTREE& tree = elementTree()) { return selIterator(tree.endSelection()); }
    // Selection = every record (full) or the current selection unchanged.
    static selIterator fullSelect(bool full, ELEMENTTREE& tree = elementTree());
    static selIterator order(RecordCompare cmp, bool full, ELEMENTTREE& tree = elementTree());
    // |n| pairs (dependency, unsigned id) follow; n > 0 selects records matching all of them,
    // n < 0 records matching none. Reduces the whole table (full) or the current selection.
    static selIterator constrain(bool full, int n, ...);
    // The first record the constraint selects, or null.
    static T* getByConstrain(bool full, int n, ...);
    // How many records of the whole table the constraint selects.
    static unsigned getAsTally(int n, ...);

    // What calls with pairs get: the same three, with the arguments checked
    // (db/ConstraintArguments.h). Pairs of the wrong types select the deleted forms and do not
    // compile.
    template <typename... Pairs>
        requires constraint_args::ConstraintPairs<Pairs...>
    static selIterator constrain(bool full, int n, Pairs... pairs) {
        constraintStruct = constraint_args::makeList(n, pairs...);
        return selectByConstraints(full);
    }
    template <typename... Pairs>
        requires constraint_args::ConstraintPairs<Pairs...>
    static T* getByConstrain(bool full, int n, Pairs... pairs) {
        constraintStruct = constraint_args::makeList(n, pairs...);
        return firstByConstraints(full);
    }
    template <typename... Pairs>
        requires constraint_args::ConstraintPairs<Pairs...>
    static unsigned getAsTally(int n, Pairs... pairs) {
        constraintStruct = constraint_args::makeList(n, pairs...);
        return tallyByConstraints();
    }
    template <typename... Args>
    static selIterator constrain(bool full, int n, Args... args) = delete;
    template <typename... Args>
    static T* getByConstrain(bool full, int n, Args... args) = delete;
    template <typename... Args>
    static unsigned getAsTally(int n, Args... args) = delete;

    static dependency getOwnEntry() { return ownEntry; }
    static bool isWeak() { return weakTable; }
    static bool hasHeldDependency(dependency d) { return isTable(d) && dependencyTruthTable[d]; }
    static dependency getFirstTierAssociator(dependency d) { return isTable(d) ? firstTierAssociator[d] : D_ENDTAG; }
    // Marks bound id / RECORDS_PER_BOUND for the next save. New records mostly land in the last
    // bound marked (an import adds tens of thousands in a row): that one is checked first.
    static void saveRequest(unsigned id) {
        const unsigned bound = id / RECORDS_PER_BOUND;
        AVLtree<unsigned>& marked = requestTree();
        const typename AVLtree<unsigned>::treeIterator last = marked.rear();
        if (last == marked.end() || *last != bound) {
            marked.insert(bound);
        }
    }

    // All records of the table by id; the tree owns them. Made on first use, never destroyed.
    static ELEMENTTREE& elementTree();
    // The memory of the table's records. Made on first use, never destroyed.
    static RecordPool& recordPool() {
        static RecordPool* pool = new RecordPool(sizeof(T));  // lives for the whole run
        return *pool;
    }
    // Ids freed by deletions, least first.
    static MinHeap<unsigned>& idPool();
    // Bounds to rewrite at the next save.
    static AVLtree<unsigned>& requestTree();

    // --- files ---------------------------------------------------------------------------------

    // Loads (or saves) the table stored under the path prefix when d is D_ENDTAG or the table's
    // own entry; does nothing otherwise. Errors: InvalidFileException for files that cannot be
    // read or written, OrnQLException(_Template) for out-of-range and duplicate ids.
    static void loadAll(const char* path, dependency d);
    static void saveAll(const char* path, dependency d);
    // The same save as saveAll (the same files, index, removals and marks), in steps for a save
    // the window paints between: each call of the returned function saves bounds until
    // `deadline` has passed (at least one) and returns true once the table is saved. Nothing of
    // the table may change between the steps. Defined in db/OrnQL_TemplateSaveSteps.h.
    static std::function<bool(std::chrono::steady_clock::time_point)> saveAllInSteps(const char* path, dependency d);

    // --- queries -------------------------------------------------------------------------------

    // Filters the tree's selection with a filter such as NAME == French (whole tree or current
    // selection); returns its start. Parse errors are thrown before any record is touched.
    static selIterator query(const wchar_t* text, bool full, ELEMENTTREE& tree = elementTree());
    // Orders the selection with an ordering such as ASC NAME; returns its start.
    static selIterator orderQuery(const wchar_t* text, bool full, ELEMENTTREE& tree = elementTree());
    // The first record matching the filter in id or selection order, or null.
    static T* getByQuery(const wchar_t* text, bool full, ELEMENTTREE& tree = elementTree());

    // Destroys every record and returns the statics to their state before set-up (tests).
    static void resetTable();
    // Drops every record's relation trees without touching the records they list.
    static void releaseAllRelations();

protected:
    // Reads one bound file into the table; returns the number of records read.
    static unsigned loadBound(const char* path, unsigned bound);
    // Writes one bound file (replacing the old one whole); returns the number of records written.
    // A bound without records writes nothing and returns 0.
    static unsigned saveBound(const char* path, unsigned bound);
    // The same from `from`, the first record whose id is the bound's first or above; leaves it
    // at the first record past the bound.
    static unsigned saveBoundFrom(const char* path, unsigned bound, typename ELEMENTTREE::treeIterator& from);
    // What a save of the whole table ends with, in one call or in steps: the index (rewritten
    // only when its list changed), the removals and the bounds' marks.
    static void finishSave(const char* path, bool indexPresent, bool indexWhole,
                           const std::vector<unsigned>& storedBounds, const std::vector<unsigned>& newBounds,
                           std::vector<std::string> toRemove, std::vector<unsigned> boundsToRemove);

    static unsigned getNextAvailableId();
    static void setConstraints(int n, va_list args);
    // The three uses of the constraint list just set.
    static selIterator selectByConstraints(bool full);
    static T* firstByConstraints(bool full);
    static unsigned tallyByConstraints();
    static void setupQuery(const wchar_t* text);
    static void setupOrderQuery(const wchar_t* text);

    bool deletionFlag = false;

    // The parsed value of the current filter, in the form its QueryType asks for.
    struct QueryValue {
        std::string narrow;
        std::wstring wide;
        std::int32_t number = 0;
        double real = 0.0;
        bool flag = false;
    };

    static std::array<dependency, D_ENDTAG> noAssociators() {
        std::array<dependency, D_ENDTAG> none;
        none.fill(D_ENDTAG);
        return none;
    }

    static inline dependency ownEntry = D_ENDTAG;
    static inline bool weakTable = false;
    static inline std::array<bool, D_ENDTAG> dependencyTruthTable{};
    static inline std::array<dependency, D_ENDTAG> firstTierAssociator = noAssociators();
    static inline Constrainer constraintStruct;
    static inline QueryType queryType = QUERY_INVALID;
    static inline int queryId = 0;
    static inline QueryValue queryElement;
    static inline int queryComparison = 0;
    static inline QueryType compareQueryType = QUERY_INVALID;
    static inline int compareQueryId = 0;
    static inline bool compareQueryDesc = false;
    // Ids in [gapScanFrom, gapScanLimit] that no record holds are free: the gaps found by the
    // last load, handed out lazily so that a file with a huge id costs no memory. 0 = none.
    static inline unsigned gapScanFrom = 0;
    static inline unsigned gapScanLimit = 0;

    template <typename, typename, typename>
    friend class OrnQL_Association;

private:
    using LoadedRecords = std::vector<std::unique_ptr<T>>;
    // Parses the content of bound file `bound` into `loaded` (in file order); returns the number
    // of records read.
    static unsigned parseBound(FileContent& file, unsigned bound, LoadedRecords& loaded);
    // Hands the loaded records to the element tree: in one pass when their ids ascend (as a
    // save writes them), else one by one in file order, stopping at an id that is there already.
    static void adoptLoaded(LoadedRecords& loaded);
    static unsigned nextGap();
    static void emptyTable();
    static void cascadeDeletion(T* r);
    static void restartGapScan();
};

#include "db/OrnQL_TemplateImpl.h"
#include "db/OrnQL_TemplateFiles.h"
#include "db/OrnQL_TemplateQuery.h"
