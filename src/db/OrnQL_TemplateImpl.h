#pragma once

#include <climits>
#include <cstdlib>
#include <memory>

// Member definitions of OrnQL_Template: records, ids, deletion and cascades, constraints;
// included by OrnQL_Template.h.

template <typename T>
OrnQL_Template<T>::OrnQL_Template() : OrnQL_Base(0) {
    OrnQL_Template::saveRequest();
}

template <typename T>
OrnQL_Template<T>::~OrnQL_Template() {
    OrnQL_Template::saveRequest();
}

template <typename T>
void OrnQL_Template<T>::setDependency(dependency d, unsigned dependencyId) {
    if (d == ownEntry) {
        throw OrnQLException_Template("OrnQLException: Entry is not allowed to depend on an element of the same class!");
    }
    if (isDependencyTable(d) && dependencyId != 0) {
        dependencyTruthTable[d] = true;
    }
    OrnQL_Base::setDependency(d, dependencyId);
}

// A record without an id (made, not yet added, or being read by the loader) is in no bound file,
// so it marks nothing: add marks the bound of the id it hands out. Marking bound 0 here, for
// every record the loader builds, made the first save after a load rewrite bound 0 of every
// table.
template <typename T>
void OrnQL_Template<T>::saveRequest() {
    if (id != 0) {
        saveRequest(id);
    }
}

template <typename T>
const void* OrnQL_Template<T>::getQueryElement() const {
    switch (queryType) {
    case QUERY_STRING:
        return queryElement.narrow.c_str();
    case QUERY_UNICODE:
        return queryElement.wide.c_str();
    case QUERY_NUMBER:
        return &queryElement.number;
    case QUERY_FLOAT:
        return &queryElement.real;
    case QUERY_BOOL:
        return &queryElement.flag;
    default:
        return nullptr;
    }
}

template <typename T>
typename OrnQL_Template<T>::ELEMENTTREE& OrnQL_Template<T>::elementTree() {
    static ELEMENTTREE* tree = new ELEMENTTREE(compare, compareID);  // lives for the whole run
    return *tree;
}

template <typename T>
MinHeap<unsigned>& OrnQL_Template<T>::idPool() {
    static MinHeap<unsigned>* pool = new MinHeap<unsigned>(compareUI);  // lives for the whole run
    return *pool;
}

template <typename T>
AVLtree<unsigned>& OrnQL_Template<T>::requestTree() {
    static AVLtree<unsigned>* tree = new AVLtree<unsigned>(compareUI, compareUI);  // lives for the whole run
    return *tree;
}

template <typename T>
void OrnQL_Template<T>::setup(dependency d, bool weak) {
    if (!isTable(d)) {
        throw OrnQLException_Base("Fatal OrnQLException: Dependency is out of range!");
    }
    ownEntry = d;
    weakTable = weak;
    dependencyTruthTable.fill(false);
    firstTierAssociator = noAssociators();
    queryType = QUERY_INVALID;
    // Records made and destroyed while no table was set up (after a reset) marked their bounds;
    // left, those marks made the next load rewrite and back up every bound of the table as if it
    // had repaired them.
    if (elementTree().empty()) {
        requestTree().clear();
    }
    // Found by name in T, so a record class with its own hooks (an association, the word table)
    // is registered with them.
    registerTable(TableRegistration{d, &T::deleteEntriesWithDependency, &T::updateEntriesWithDependency,
                                    &T::releaseAllRelations, &T::resetTable});
}

template <typename T>
const unsigned& OrnQL_Template<T>::add(T* r) {
    if (r == nullptr) {
        throw OrnQLException_Template("Fatal OrnQLException: Tried to add a null record!");
    }
    if (r->id != 0 && getById(r->id) == r) {
        throw OrnQLException_Template("Fatal OrnQLException: Record is already stored in its table!");
    }
    r->id = getNextAvailableId();
    if (!elementTree().insert(r)) {
        throw OrnQLException_Template("Fatal OrnQLException: Id pool handed out an id in use!");
    }
    saveRequest(r->id);
    return r->id;
}

template <typename T>
T* OrnQL_Template<T>::getById(unsigned recordId) {
    if (recordId == 0 || recordId > LARGEST_RECORD_ID) {
        return nullptr;
    }
    typename ELEMENTTREE::treeIterator it = elementTree().findID(recordId);
    return it == elementTree().end() ? nullptr : static_cast<T*>(*it);
}

template <typename T>
void OrnQL_Template<T>::restartGapScan() {
    typename ELEMENTTREE::treeIterator last = elementTree().rear();
    gapScanLimit = last == elementTree().end() ? 0 : (*last)->getId();
    gapScanFrom = gapScanLimit == 0 ? 0 : 1;
}

// The least id in [gapScanFrom, gapScanLimit] that no record holds, or 0. Advances gapScanFrom
// to it, so the scan over used ids is paid once.
template <typename T>
unsigned OrnQL_Template<T>::nextGap() {
    if (gapScanFrom == 0 || gapScanFrom > gapScanLimit) {
        gapScanFrom = 0;
        return 0;
    }
    unsigned candidate = gapScanFrom;
    typename ELEMENTTREE::treeIterator it = elementTree().lowerBoundID(candidate);
    while (it != elementTree().end() && (*it)->getId() == candidate && candidate <= gapScanLimit) {
        ++candidate;
        ++it;
    }
    if (candidate > gapScanLimit) {
        gapScanFrom = 0;
        return 0;
    }
    gapScanFrom = candidate;
    return candidate;
}

template <typename T>
unsigned OrnQL_Template<T>::getNextAvailableId() {
    const unsigned gap = nextGap();
    if (!idPool().empty()) {
        const unsigned pooled = idPool().top()->val;
        if (gap == 0 || pooled <= gap) {
            idPool().cleanPull();
            if (pooled == gap) {
                gapScanFrom = gap + 1;
            }
            return pooled;
        }
    }
    if (gap != 0) {
        gapScanFrom = gap + 1;
        return gap;
    }
    typename ELEMENTTREE::treeIterator last = elementTree().rear();
    return last == elementTree().end() ? 1 : (*last)->getId() + 1;
}

// Runs the cascade of r's deletion; if it fails, r is no longer marked as being deleted, so a
// later attempt is not mistaken for one under way.
template <typename T>
void OrnQL_Template<T>::cascadeDeletion(T* r) {
    r->deletionFlag = true;
    try {
        if (weakTable) {
            updateEntryInDatabase(ownEntry, r->id, 0);
        } else {
            deleteEntryInDatabase(ownEntry, r->id);
        }
    } catch (...) {
        r->deletionFlag = false;
        throw;
    }
}

template <typename T>
typename OrnQL_Template<T>::dataIterator OrnQL_Template<T>::deleteEntry(unsigned recordId) {
    typename ELEMENTTREE::treeIterator it = elementTree().findID(recordId);
    T* r = static_cast<T*>(*it);  // an absent id throws here
    if (r->deletionFlag) {
        return dataIterator(++it);
    }
    cascadeDeletion(r);
    elementTree().deleteKeyID(recordId);
    idPool().cleanPush(recordId);
    saveRequest(recordId);
    // Looked up afresh: the record's destructor is the record class's code and may change the table.
    return recordId == UINT_MAX ? end() : dataIterator(elementTree().lowerBoundID(recordId + 1));
}

template <typename T>
typename OrnQL_Template<T>::dataIterator OrnQL_Template<T>::deleteEntry(T* r) {
    if (r == nullptr) {
        throw OrnQLException_AVLtree("Fatal OrnQLException: AVL Tree iterator references out of range object!");
    }
    return deleteEntry(r->id);
}

// Unlike the form by id this also honours a deletion already under way: deleting the record
// twice would destroy it twice.
template <typename T>
typename OrnQL_Template<T>::selIterator OrnQL_Template<T>::deleteEntry(selIterator it) {
    T* r = *it;  // the end iterator throws here
    if (r->deletionFlag) {
        return ++it;
    }
    const unsigned recordId = r->id;
    cascadeDeletion(r);
    typename ELEMENTTREE::selectIterator following = elementTree().deleteKey(it.position());
    idPool().cleanPush(recordId);
    saveRequest(recordId);
    return selIterator(following);
}

// A deletion's cascade may delete further records of this very table, including the one the walk
// would visit next; so after each deletion the walk resumes at the next id still present.
template <typename T>
void OrnQL_Template<T>::deleteEntriesWithDependency(dependency d, unsigned dependencyId) {
    if (!isTable(d) || d == ownEntry || !dependencyTruthTable[d]) {
        return;
    }
    ELEMENTTREE& tree = elementTree();
    for (typename ELEMENTTREE::treeIterator it = tree.begin(); it != tree.end();) {
        OrnQL_Base* r = *it;
        if (r->getDependency(d) != dependencyId) {
            ++it;
            continue;
        }
        const unsigned recordId = r->getId();
        deleteEntry(recordId);
        if (recordId == UINT_MAX) {
            return;
        }
        it = tree.lowerBoundID(recordId + 1);
    }
}

template <typename T>
void OrnQL_Template<T>::updateEntriesWithDependency(dependency d, unsigned oldId, unsigned newId) {
    if (!isTable(d) || d == ownEntry || !dependencyTruthTable[d]) {
        return;
    }
    ELEMENTTREE& tree = elementTree();
    for (typename ELEMENTTREE::treeIterator it = tree.begin(); it != tree.end();) {
        OrnQL_Base* r = *it;
        const unsigned recordId = r->getId();
        if (r->getDependency(d) == oldId) {
            r->setDependency(d, newId);  // virtual: record classes may add their own rules
        }
        if (recordId == UINT_MAX) {
            return;
        }
        it = tree.lowerBoundID(recordId + 1);
    }
}

template <typename T>
unsigned OrnQL_Template<T>::enforceRelation(dependency d) {
    if (!isTable(d) || firstTierAssociator[d] == D_ENDTAG) {
        throw OrnQLException_Template("Fatal OrnQLException: Enforced relation is not coupled with an association!");
    }
    unsigned deleted = 0;
    ELEMENTTREE& tree = elementTree();
    for (typename ELEMENTTREE::treeIterator it = tree.begin(); it != tree.end();) {
        OrnQL_Base* r = *it;
        if (r->hasFirstTierRelations(d)) {
            ++it;
            continue;
        }
        const unsigned recordId = r->getId();
        deleteEntry(recordId);
        ++deleted;
        if (recordId == UINT_MAX) {
            break;
        }
        it = tree.lowerBoundID(recordId + 1);
    }
    return deleted;
}

template <typename T>
typename OrnQL_Template<T>::selIterator OrnQL_Template<T>::fullSelect(bool full, ELEMENTTREE& tree) {
    tree.reduce(OrnQL_Base::fullSelect, full);
    return beginSel(tree);
}

template <typename T>
typename OrnQL_Template<T>::selIterator OrnQL_Template<T>::order(RecordCompare cmp, bool full, ELEMENTTREE& tree) {
    tree.order(cmp, full);
    return beginSel(tree);
}

// Reads all pairs before changing anything, so a bad table number leaves the old list in force.
template <typename T>
void OrnQL_Template<T>::setConstraints(int n, va_list args) {
    const long long pairs = std::llabs(static_cast<long long>(n));
    Constrainer list;
    list.num = n;
    for (long long i = 0; i < pairs; ++i) {
        const int table = va_arg(args, int);
        const unsigned dependencyId = va_arg(args, unsigned);
        if (!isTable(table)) {
            throw OrnQLException_Template("Fatal OrnQLException: Constraint names no table!");
        }
        list.conTable.push_back(static_cast<dependency>(table));
        list.conId.push_back(dependencyId);
    }
    constraintStruct = std::move(list);
}

template <typename T>
typename OrnQL_Template<T>::selIterator OrnQL_Template<T>::constrain(bool full, int n, ...) {
    va_list args;
    va_start(args, n);
    try {
        setConstraints(n, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
    return selectByConstraints(full);
}

template <typename T>
typename OrnQL_Template<T>::selIterator OrnQL_Template<T>::selectByConstraints(bool full) {
    elementTree().reduce(applyConstraints, full);
    return beginSel(elementTree());
}

template <typename T>
T* OrnQL_Template<T>::firstByConstraints(bool full) {
    typename ELEMENTTREE::Node* found = elementTree().findFirst(applyConstraints, full);
    return found == nullptr ? nullptr : static_cast<T*>(found->val);
}

template <typename T>
unsigned OrnQL_Template<T>::tallyByConstraints() {
    return elementTree().tally(applyConstraints, true);
}

template <typename T>
T* OrnQL_Template<T>::getByConstrain(bool full, int n, ...) {
    va_list args;
    va_start(args, n);
    try {
        setConstraints(n, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
    return firstByConstraints(full);
}

template <typename T>
unsigned OrnQL_Template<T>::getAsTally(int n, ...) {
    va_list args;
    va_start(args, n);
    try {
        setConstraints(n, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
    return tallyByConstraints();
}

template <typename T>
void OrnQL_Template<T>::releaseAllRelations() {
    for (typename ELEMENTTREE::treeIterator it = elementTree().begin(); it != elementTree().end(); ++it) {
        (*it)->releaseRelations();
    }
}

template <typename T>
void OrnQL_Template<T>::resetTable() {
    releaseAllRelations();
    elementTree().clear();
    requestTree().clear();  // after the records, whose destructors mark their bounds
    idPool().clear();
    ownEntry = D_ENDTAG;
    weakTable = false;
    dependencyTruthTable.fill(false);
    firstTierAssociator = noAssociators();
    constraintStruct = Constrainer{};
    queryType = QUERY_INVALID;
    queryId = 0;
    queryElement = QueryValue{};
    queryComparison = 0;
    compareQueryType = QUERY_INVALID;
    compareQueryId = 0;
    compareQueryDesc = false;
    gapScanFrom = 0;
    gapScanLimit = 0;
}
