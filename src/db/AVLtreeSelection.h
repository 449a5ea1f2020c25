#pragma once

#include <vector>

// Member definitions of AVLtree's selection: reduce, order, lookup and tally; included by
// AVLtree.h.

template <typename T>
AVLselectionHeap<T>& AVLtree<T>::heap(int index) {
    if (!heaps[index]) {
        heaps[index] = std::make_unique<AVLselectionHeap<T>>();
    }
    return *heaps[index];
}

template <typename T>
bool AVLtree<T>::isSentinel(const Node* n) const {
    return n != nullptr && (n == heaps[0].get() || n == heaps[1].get());
}

template <typename T>
AVLselectionHeap<T>* AVLtree<T>::waitingHeapOf(const Node* n) const {
    for (const auto& h : heaps) {
        if (h && h->isWaiting(n)) {
            return h.get();
        }
    }
    return nullptr;
}

// Empties the selection: the listed nodes and the nodes waiting in either heap get null links.
template <typename T>
void AVLtree<T>::clearSelection() {
    Node* n = selectionFirstNode;
    while (n != nullptr && !isSentinel(n)) {
        Node* following = n->after;
        n->before = n->after = nullptr;
        n = following;
    }
    for (auto& h : heaps) {
        if (h) {
            h->clear();
        }
    }
    selectionFirstNode = nullptr;
}

// After a predicate or compare function threw half-way, the links may be anything: clear every
// node's links so that the tree is whole again with an empty selection.
template <typename T>
void AVLtree<T>::resetSelectionAfterFailure() {
    for (auto& h : heaps) {
        if (h) {
            h->clear();
        }
    }
    for (treeIterator it = begin(); it != end(); ++it) {
        it.node()->before = it.node()->after = nullptr;
    }
    selectionFirstNode = nullptr;
}

// Visits the whole tree in key order (full) or the current selection in its order. The
// successor is taken before the visit, since visits may relink the node.
template <typename T>
template <typename Visit>
void AVLtree<T>::walk(bool full, Visit visit) {
    if (full) {
        for (treeIterator it = begin(); it != end();) {
            Node* n = it.node();
            ++it;
            visit(n);
        }
    } else {
        for (Node* n = selectionFirstNode; n != nullptr;) {
            Node* following = n->next();
            visit(n);
            n = following;
        }
    }
}

template <typename T>
void AVLtree<T>::reduce(Predicate pred, bool full) {
    reduceFunc = pred;
    try {
        if (full) {
            clearSelection();
        }
        Node* lastKept = nullptr;
        Node* firstKept = nullptr;
        walk(full, [&](Node* n) {
            if (pred(n->val)) {
                n->before = lastKept;
                if (lastKept != nullptr) {
                    lastKept->after = n;
                } else {
                    firstKept = n;
                }
                lastKept = n;
            } else {
                n->before = n->after = nullptr;
            }
        });
        if (lastKept != nullptr) {
            lastKept->after = nullptr;
        }
        selectionFirstNode = firstKept;
    } catch (...) {
        resetSelectionAfterFailure();
        throw;
    }
}

template <typename T>
void AVLtree<T>::order(CompareFunction cmp, bool full) {
    currentHeap = 1 - currentHeap;
    AVLselectionHeap<T>& target = heap(currentHeap);
    target.clear();
    target.setCompareFunction(cmp);
    try {
        if (full) {
            clearSelection();
        }
        walk(full, [&](Node* n) { target.push(n); });
        selectionFirstNode = target.empty() ? nullptr : target.pull();
    } catch (...) {
        resetSelectionAfterFailure();
        throw;
    }
}

template <typename T>
typename AVLtree<T>::Node* AVLtree<T>::findFirst(Predicate pred, bool full) {
    reduceFunc = pred;
    if (full) {
        for (treeIterator it = begin(); it != end(); ++it) {
            if (pred(it.node()->val)) {
                return it.node();
            }
        }
        return nullptr;
    }
    for (Node* n = selectionFirstNode; n != nullptr; n = n->next()) {
        if (pred(n->val)) {
            return n;
        }
    }
    return nullptr;
}

template <typename T>
T AVLtree<T>::lookup(Predicate pred, bool full) {
    Node* found = findFirst(pred, full);
    if (found == nullptr) {
        throw OrnQLException_AVLtree("OrnQLExcpetion: No element found during lookup!");
    }
    return found->val;
}

template <typename T>
unsigned AVLtree<T>::tally(Predicate pred, bool full) {
    reduceFunc = pred;
    unsigned count = 0;
    if (full) {
        for (treeIterator it = begin(); it != end(); ++it) {
            count += pred(it.node()->val) ? 1 : 0;
        }
    } else {
        for (Node* n = selectionFirstNode; n != nullptr; n = n->next()) {
            count += pred(n->val) ? 1 : 0;
        }
    }
    return count;
}
