#pragma once

#include <memory>
#include <string>
#include <vector>

#include "db/AVLselectionHeap.h"
#include "db/OrnQLNode.h"
#include "db/OrnQL_Exception.h"

// A height-balanced binary search tree keyed by id (records) or by value (numbers), carrying a
// second, independent order over its nodes: the selection.
//
// Invariants:
// - key order: every key in a left subtree compares below its node, every key in a right
//   subtree above; no key occurs twice (repeated insertRelation raises relationCount instead);
// - balance: the heights of a node's subtrees differ by at most one; a cached quickHeight is
//   either -1 (unknown) or the true height of the subtree; `counter` is the number of nodes;
// - selection: a doubly linked list through `before`/`after`, headed by selectionFirstNode.
//   A reduced selection is a plain list. An ordered selection is a list of the nodes pulled so
//   far, ending at the sentinel of the current heap, which holds the rest; nodes waiting there
//   have both links on the sentinel. Nodes outside the selection have null links.
// - a node removed from the tree never stays in the selection or in a heap.
//
// Removing a node whose relationCount is not 0 destroys its value (for record trees: the record).
template <typename T>
class AVLtree {
public:
    using Node = OrnQLNode<T>;
    using CompareFunction = int (*)(const T&, const T&);
    using KeyCompareFunction = int (*)(const unsigned&, const T&);
    using Predicate = bool (*)(const T&);

    // Walks the tree in key order, optionally up to an upper bound.
    class treeIterator {
    public:
        treeIterator() = default;
        // With stay false, starts at the leftmost node of start's subtree; with true, at start.
        treeIterator(Node* start, bool stay);
        // Starts at the first key in [lower, upper] seen from `neighbour` (a node on the search
        // path of lower); the end iterator when there is none.
        treeIterator(Node* neighbour, int lower, int upper, KeyCompareFunction compare);

        treeIterator& operator++();
        treeIterator operator++(int);
        T& operator*() const;
        bool operator==(const treeIterator& other) const { return current == other.current; }
        bool operator!=(const treeIterator& other) const { return current != other.current; }
        Node* node() const { return current; }

    private:
        Node* current = nullptr;
        int upperBound = -1;
        int lowerBound = -1;
        KeyCompareFunction cmp = nullptr;
    };

    // Walks the selection list (pulling lazily from an ordering heap).
    class selectIterator {
    public:
        selectIterator() = default;
        explicit selectIterator(Node* start) : current(start) {}

        selectIterator& operator++();
        selectIterator operator++(int);
        T& operator*() const;
        bool operator==(const selectIterator& other) const { return current == other.current; }
        bool operator!=(const selectIterator& other) const { return current != other.current; }
        Node* node() const { return current; }

    private:
        Node* current = nullptr;
    };

    AVLtree(CompareFunction compare, KeyCompareFunction keyCompare) : cmpFunc(compare), cmpNFunc(keyCompare) {}
    AVLtree(const AVLtree&) = delete;
    AVLtree& operator=(const AVLtree&) = delete;
    ~AVLtree();

    // Adds v; false (and nothing changes) when its key is present.
    bool insert(const T& v);
    // Adds v, or raises the relationCount of the node holding its key.
    void insertRelation(const T& v);
    // Lowers the relationCount of the node holding v's key and removes the node at 0 (without
    // destroying its value). Nothing happens when the key is absent.
    void deleteRelation(const T& v);
    // Removes the node with key id; returns the iterator at the next key, or end. (If destroying
    // the value removes further nodes, look the next key up afresh instead.)
    treeIterator deleteKeyID(unsigned id);
    // Removes the node the iterator points at; returns the iterator at the next selected node.
    selectIterator deleteKey(selectIterator it);

    bool contains(const T& v) const;
    bool containsID(unsigned id) const;
    // The value with that key. Throws for a negative or absent key.
    T& operator[](int key);

    treeIterator begin() const { return treeIterator(root, false); }
    treeIterator end() const { return treeIterator(); }
    treeIterator rear() const;
    treeIterator findID(unsigned id) const { return treeIterator(findNode(id), true); }
    // The first node whose key is id or above; end if there is none.
    treeIterator lowerBoundID(unsigned id) const;
    // The keys in [lower, upper]. Throws for a negative bound or upper < lower.
    treeIterator bound(int lower, int upper) const;

    selectIterator beginSelection() const { return selectIterator(selectionFirstNode); }
    selectIterator endSelection() const { return selectIterator(); }

    // full: work on the whole tree in key order; otherwise on the current selection in its order.
    void reduce(Predicate pred, bool full);
    void order(CompareFunction cmp, bool full);
    // The first value matching pred; throws when none does.
    T lookup(Predicate pred, bool full);
    // The first node matching pred, or null; the non-throwing form of lookup.
    Node* findFirst(Predicate pred, bool full);
    unsigned tally(Predicate pred, bool full);

    // True when the node stands in the pulled part of the selection list (so a selectIterator
    // may start from it).
    bool isListed(const Node* n) const {
        return n != nullptr && (n == selectionFirstNode || (n->before != nullptr && waitingHeapOf(n) == nullptr));
    }

    bool empty() const { return root == nullptr; }
    unsigned size() const { return counter; }
    // Fills an empty tree with values in ascending key order in one pass, balanced from the start
    // (a loaded table or a record's links, where inserting one by one would cost n log n and
    // rebalance all the way). Equal neighbours make one node, as insertRelation would. The nodes
    // own their values as inserted ones do. Throws when the tree is not empty or the values are
    // out of order; on any failure the tree stays empty and owns none of the values.
    // The nodes are made in one block of memory, which goes when the last of them is destroyed
    // (a node removed earlier leaves its place to the next node inserted).
    void assignSorted(const std::vector<T>& values);
    // Destroys every node (and the values they own); the tree is empty afterwards.
    void clear();
    // Destroys every node but none of the values, which stay with their other owners.
    void detachAll();

    // Checks every invariant above; returns an empty text when all hold, else the first problem.
    std::string checkIntegrity() const;

private:
    template <typename Key, typename Compare>
    Node* getNode(const Key& key, Compare func, bool predecessor) const;
    Node* findNode(unsigned id) const;
    // The node with the greatest key, or null; kept until a removal takes it.
    Node* rearNode() const;

    bool insert(const T& v, Node* n, bool secondTier);
    // Adds v, whose key is above every key, as the right child of `last` (the rear node): no
    // search, and the pass upwards stops where the heights stop changing.
    void append(const T& v, Node* last);
    // A node for v: in a block of the tree once it is large, else on its own.
    Node* makeNode(const T& v, Node* parentNode);
    template <typename Key, typename Compare>
    bool removeKey(const Key& key, Node* n, Compare func, bool secondTier, Node*& removed);
    void unlinkFoundNode(Node* n);
    Node* successor(int dir, Node* m);
    void cutoutNode(Node* n);
    void replaceChild(Node* parentNode, Node* oldChild, Node* newChild);
    void finishRemoval(Node* removed);

    static Node* linkBalanced(Node* nodes, std::size_t low, std::size_t high, Node* parent);
    void destroyNode(Node* n);
    void destroySubtree(Node* n);
    void releaseBlocks();
    static int height(Node* n);
    bool rebalance(Node* n);
    void rotateLeft(Node* n);
    void rotateRight(Node* n);

    AVLselectionHeap<T>& heap(int index);
    bool isSentinel(const Node* n) const;
    AVLselectionHeap<T>* waitingHeapOf(const Node* n) const;
    void clearSelection();
    void resetSelectionAfterFailure();
    template <typename Visit>
    void walk(bool full, Visit visit);

    Node* selectionFirstNode = nullptr;
    std::unique_ptr<AVLselectionHeap<T>> heaps[2];  // made on first order
    int currentHeap = 0;
    Node* root = nullptr;
    unsigned counter = 0;
    CompareFunction cmpFunc;
    KeyCompareFunction cmpNFunc;
    Predicate reduceFunc = nullptr;
    bool heightChanged = false;  // during an insertion or removal: the pass upwards must go on

    mutable Node* rearCache = nullptr;
    mutable bool rearCached = true;  // an empty tree's rear is null

    // Memory for the nodes of sorted fills and of large trees: one general allocation per node
    // would cost a table of a hundred thousand records as many calls and a header each, and
    // scatter its nodes over the heap, so that a walk in key order (a save of records added in a
    // row) met a cache miss at nearly every step. Places of removed nodes are reused.
    struct alignas(Node) NodeMemory {
        unsigned char bytes[sizeof(Node)];
    };
    struct NodeBlock {
        std::unique_ptr<NodeMemory[]> memory;
        std::size_t size = 0;
    };
    std::vector<NodeBlock> blocks;
    std::size_t nodesInBlocks = 0;  // live nodes made in the blocks
    std::size_t unusedInLastBlock = 0;  // places at the end of the last block not yet handed out
    std::vector<Node*> freedNodes;      // places of removed nodes, to be handed out again
    // From this size on a tree takes its inserted nodes from blocks of BLOCK_NODES (below it, a
    // record's small relation tree would hold a mostly empty block).
    static constexpr unsigned BLOCKS_FROM = 64;
    static constexpr std::size_t BLOCK_NODES = 256;
};

#include "db/AVLtreeIterators.h"
#include "db/AVLtreeImpl.h"
#include "db/AVLtreeSelection.h"
#include "db/AVLtreeCheck.h"
