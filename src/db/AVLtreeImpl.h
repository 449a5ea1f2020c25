#pragma once

#include <algorithm>
#include <climits>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define MERNOLEX_POISON_NODE(address, size) ASAN_POISON_MEMORY_REGION(address, size)
#define MERNOLEX_UNPOISON_NODE(address, size) ASAN_UNPOISON_MEMORY_REGION(address, size)
#else
#define MERNOLEX_POISON_NODE(address, size) ((void)(address), (void)(size))
#define MERNOLEX_UNPOISON_NODE(address, size) ((void)(address), (void)(size))
#endif

// Member definitions of AVLtree: search, insertion, removal and rebalancing; included by AVLtree.h.

template <typename T>
AVLtree<T>::~AVLtree() {
    clearSelection();  // waiting nodes must not outlive the heaps that point at them, nor vice versa
    destroySubtree(root);
}

// Destroys n and its value (when n owns it). A node of a block is poisoned for AddressSanitizer,
// so that a use after its removal is still caught though its memory stays.
template <typename T>
void AVLtree<T>::destroyNode(Node* n) {
    if (n == nullptr) {
        return;
    }
    if (!n->inBlock) {
        delete n;
        return;
    }
    n->~Node();
    MERNOLEX_POISON_NODE(n, sizeof(Node));
    if (--nodesInBlocks == 0) {
        releaseBlocks();
        return;
    }
    try {
        freedNodes.push_back(n);
    } catch (...) {
        // out of memory: the place stays unused until the blocks go
    }
}

template <typename T>
typename AVLtree<T>::Node* AVLtree<T>::makeNode(const T& v, Node* parentNode) {
    if (counter < BLOCKS_FROM && freedNodes.empty()) {
        return new Node(v, parentNode);
    }
    Node* place = nullptr;
    if (!freedNodes.empty()) {
        place = freedNodes.back();
    } else {
        if (unusedInLastBlock == 0) {
            blocks.reserve(blocks.size() + 1);
            blocks.push_back(NodeBlock{std::make_unique_for_overwrite<NodeMemory[]>(BLOCK_NODES), BLOCK_NODES});
            MERNOLEX_POISON_NODE(blocks.back().memory.get(), BLOCK_NODES * sizeof(Node));
            unusedInLastBlock = BLOCK_NODES;
        }
        place = reinterpret_cast<Node*>(blocks.back().memory.get()) + (BLOCK_NODES - unusedInLastBlock);
    }
    MERNOLEX_UNPOISON_NODE(place, sizeof(Node));
    Node* n = new (place) Node(v, parentNode);  // cannot throw: T is a pointer or a number
    n->inBlock = true;
    if (!freedNodes.empty()) {
        freedNodes.pop_back();
    } else {
        --unusedInLastBlock;
    }
    ++nodesInBlocks;
    return n;
}

// Children first, as a node's value may expect its neighbours' values gone before it.
template <typename T>
void AVLtree<T>::destroySubtree(Node* n) {
    if (n == nullptr) {
        return;
    }
    destroySubtree(n->left);
    destroySubtree(n->right);
    destroyNode(n);
}

template <typename T>
void AVLtree<T>::releaseBlocks() {
    for (NodeBlock& block : blocks) {
        MERNOLEX_UNPOISON_NODE(block.memory.get(), block.size * sizeof(Node));
    }
    std::vector<NodeBlock>().swap(blocks);  // an emptied tree holds no memory
    std::vector<Node*>().swap(freedNodes);
    unusedInLastBlock = 0;
}

template <typename T>
typename AVLtree<T>::Node* AVLtree<T>::rearNode() const {
    if (!rearCached) {
        Node* n = root;
        while (n != nullptr && n->right != nullptr) {
            n = n->right;
        }
        rearCache = n;
        rearCached = true;
    }
    return rearCache;
}

// Ids above the greatest are answered without a search: a table looks up the record it has
// just added, and asks for ids past its end when it hands out new ones.
template <typename T>
typename AVLtree<T>::Node* AVLtree<T>::findNode(unsigned id) const {
    Node* last = rearNode();
    if (last != nullptr) {
        const int order = cmpNFunc(id, last->val);
        if (order >= 0) {
            return order == 0 ? last : nullptr;
        }
    }
    return getNode(id, cmpNFunc, false);
}

template <typename T>
template <typename Key, typename Compare>
typename AVLtree<T>::Node* AVLtree<T>::getNode(const Key& key, Compare func, bool predecessor) const {
    Node* n = root;
    Node* last = nullptr;
    while (n != nullptr) {
        int r = func(key, n->val);
        if (r == 0) {
            return n;
        }
        last = n;
        n = r < 0 ? n->left : n->right;
    }
    return predecessor ? last : nullptr;
}

template <typename T>
bool AVLtree<T>::insert(const T& v) {
    if (Node* last = rearNode(); last != nullptr && cmpFunc(v, last->val) > 0) {
        append(v, last);
        return true;
    }
    return insert(v, root, false);
}

template <typename T>
void AVLtree<T>::insertRelation(const T& v) {
    if (Node* last = rearNode(); last != nullptr && cmpFunc(v, last->val) > 0) {
        append(v, last);
        return;
    }
    insert(v, root, true);
}

// The same rebalancing as the recursive insertion, from the new node's parent upwards; a
// rotation at a node makes its old parent no less the next node to look at.
template <typename T>
void AVLtree<T>::append(const T& v, Node* last) {
    Node* n = makeNode(v, last);
    last->right = n;
    ++counter;
    rearCache = n;
    bool changed = true;
    for (Node* up = last; up != nullptr && changed;) {
        Node* above = up->parent;
        changed = rebalance(up);
        up = above;
    }
    heightChanged = false;
}

template <typename T>
bool AVLtree<T>::insert(const T& v, Node* n, bool secondTier) {
    if (n == nullptr) {
        root = makeNode(v, nullptr);
        ++counter;
        rearCache = root;
        rearCached = true;
        heightChanged = true;
        return true;
    }
    int r = cmpFunc(v, n->val);
    if (r == 0) {
        if (secondTier) {
            ++n->relationCount;
        }
        return false;
    }
    Node*& child = r < 0 ? n->left : n->right;
    if (child == nullptr) {
        child = makeNode(v, n);
        ++counter;
        heightChanged = rebalance(n);
        return true;
    }
    if (!insert(v, child, secondTier)) {
        return false;
    }
    if (heightChanged) {
        heightChanged = rebalance(n);
    }
    return true;
}

template <typename T>
void AVLtree<T>::deleteRelation(const T& v) {
    Node* removed = nullptr;
    removeKey(v, root, cmpFunc, true, removed);
    finishRemoval(removed);
}

template <typename T>
typename AVLtree<T>::treeIterator AVLtree<T>::deleteKeyID(unsigned id) {
    treeIterator following = findID(id);
    if (following == end()) {
        return end();
    }
    ++following;  // nodes are relinked, never copied, so this stays valid
    Node* removed = nullptr;
    removeKey(id, root, cmpNFunc, false, removed);
    finishRemoval(removed);
    return following;
}

template <typename T>
typename AVLtree<T>::selectIterator AVLtree<T>::deleteKey(selectIterator it) {
    T& value = *it;  // throws for the end iterator
    selectIterator following = it;
    ++following;
    Node* removed = nullptr;
    removeKey(value, root, cmpFunc, false, removed);
    finishRemoval(removed);
    return following;
}

template <typename T>
template <typename Key, typename Compare>
bool AVLtree<T>::removeKey(const Key& key, Node* n, Compare func, bool secondTier, Node*& removed) {
    if (n == nullptr) {
        return false;
    }
    int r = func(key, n->val);
    if (r != 0) {
        bool changed = removeKey(key, r < 0 ? n->left : n->right, func, secondTier, removed);
        if (changed && heightChanged) {
            heightChanged = rebalance(n);
        }
        return changed;
    }
    if (secondTier) {
        --n->relationCount;
        if (n->relationCount != 0) {
            return false;
        }
    }
    unlinkFoundNode(n);
    removed = n;
    return true;
}

// Takes n out of the tree and out of the selection; n keeps its value and is destroyed later by
// finishRemoval, once the tree is whole again.
template <typename T>
void AVLtree<T>::unlinkFoundNode(Node* n) {
    if (AVLselectionHeap<T>* waiting = waitingHeapOf(n)) {
        waiting->drain();  // a removed node must never be handed out by the heap
    }
    if (n == rearCache) {
        rearCached = false;
    }
    int dir = n->balance == 0 ? -1 : n->balance;
    Node* side = dir < 0 ? n->left : n->right;
    Node* replacement = side == nullptr ? nullptr : successor(dir, side);
    if (replacement != nullptr) {
        replaceChild(n->parent, n, replacement);
        replacement->parent = n->parent;
        replacement->left = n->left;
        replacement->right = n->right;
        if (replacement->left != nullptr) {
            replacement->left->parent = replacement;
        }
        if (replacement->right != nullptr) {
            replacement->right->parent = replacement;
        }
        n->parent = n->left = n->right = nullptr;
        rebalance(replacement);
    } else {
        cutoutNode(n);
    }
    heightChanged = true;
    if (selectionFirstNode == n) {
        selectionFirstNode = n->next();
    }
    if (n->before != nullptr) {
        n->before->after = n->after;
    }
    if (n->after != nullptr) {
        n->after->before = n->before;
    }
    n->before = n->after = nullptr;
    --counter;
}

template <typename T>
typename AVLtree<T>::Node* AVLtree<T>::successor(int dir, Node* m) {
    Node* down = dir < 0 ? m->right : m->left;
    if (down == nullptr) {
        cutoutNode(m);
        heightChanged = true;
        return m;
    }
    Node* found = successor(dir, down);
    if (heightChanged) {
        heightChanged = rebalance(m);
    }
    return found;
}

// Replaces n, in its parent or as root, by its only child and clears n's tree links.
template <typename T>
void AVLtree<T>::cutoutNode(Node* n) {
    Node* child = n->left != nullptr ? n->left : n->right;
    replaceChild(n->parent, n, child);
    if (child != nullptr) {
        child->parent = n->parent;
    }
    n->parent = n->left = n->right = nullptr;
}

template <typename T>
void AVLtree<T>::replaceChild(Node* parentNode, Node* oldChild, Node* newChild) {
    if (parentNode == nullptr) {
        root = newChild;
    } else if (parentNode->left == oldChild) {
        parentNode->left = newChild;
    } else {
        parentNode->right = newChild;
    }
}

template <typename T>
void AVLtree<T>::finishRemoval(Node* removed) {
    destroyNode(removed);  // all links are cleared, so this destroys the node and its value only
}

template <typename T>
int AVLtree<T>::height(Node* n) {
    if (n == nullptr) {
        return -1;
    }
    if (n->quickHeight < 0) {
        n->quickHeight = std::max(height(n->right), height(n->left)) + 1;
    }
    return n->quickHeight;
}

// Returns whether the height of the subtree standing where n stood may have changed; when it
// did not, the nodes above need no rebalancing (their heights and balances still hold).
template <typename T>
bool AVLtree<T>::rebalance(Node* n) {
    const int heightBefore = n->quickHeight;
    n->balance = height(n->right) - height(n->left);
    n->quickHeight = -1;
    Node* top = n;
    if (n->balance == -2) {
        if (height(n->left->left) < height(n->left->right)) {
            rotateLeft(n->left);
        }
        rotateRight(n);
        top = n->parent;
    } else if (n->balance == 2) {
        if (height(n->right->right) < height(n->right->left)) {
            rotateRight(n->right);
        }
        rotateLeft(n);
        top = n->parent;
    }
    return heightBefore < 0 || height(top) != heightBefore;
}

template <typename T>
void AVLtree<T>::rotateLeft(Node* n) {
    Node* pivot = n->right;
    n->right = pivot->left;
    if (pivot->left != nullptr) {
        pivot->left->parent = n;
    }
    replaceChild(n->parent, n, pivot);
    pivot->parent = n->parent;
    pivot->left = n;
    n->parent = pivot;
    n->quickHeight = pivot->quickHeight = -1;
    n->balance = height(n->right) - height(n->left);
    pivot->balance = height(pivot->right) - height(pivot->left);
}

template <typename T>
void AVLtree<T>::rotateRight(Node* n) {
    Node* pivot = n->left;
    n->left = pivot->right;
    if (pivot->right != nullptr) {
        pivot->right->parent = n;
    }
    replaceChild(n->parent, n, pivot);
    pivot->parent = n->parent;
    pivot->right = n;
    n->parent = pivot;
    n->quickHeight = pivot->quickHeight = -1;
    n->balance = height(n->right) - height(n->left);
    pivot->balance = height(pivot->right) - height(pivot->left);
}

template <typename T>
bool AVLtree<T>::contains(const T& v) const {
    return getNode(v, cmpFunc, false) != nullptr;
}

template <typename T>
bool AVLtree<T>::containsID(unsigned id) const {
    return findNode(id) != nullptr;
}

template <typename T>
T& AVLtree<T>::operator[](int key) {
    if (key < 0) {
        throw OrnQLException_AVLtree("Fatal OrnQLException: In AVL Tree, negative keys are not allowed!");
    }
    Node* n = findNode(static_cast<unsigned>(key));
    if (n == nullptr) {
        throw OrnQLException_AVLtree("OrnQLException: In AVL Tree, element is not in tree!");
    }
    return n->val;
}

template <typename T>
typename AVLtree<T>::treeIterator AVLtree<T>::rear() const {
    return treeIterator(rearNode(), true);
}

template <typename T>
typename AVLtree<T>::treeIterator AVLtree<T>::lowerBoundID(unsigned id) const {
    treeIterator it(getNode(id, cmpNFunc, true), true);
    if (it != end() && cmpNFunc(id, *it) > 0) {
        ++it;
    }
    return it;
}

template <typename T>
typename AVLtree<T>::treeIterator AVLtree<T>::bound(int lower, int upper) const {
    Node* neighbour = lower < 0 ? nullptr : getNode(static_cast<unsigned>(lower), cmpNFunc, true);
    return treeIterator(neighbour, lower, upper, cmpNFunc);
}

template <typename T>
void AVLtree<T>::assignSorted(const std::vector<T>& values) {
    if (root != nullptr) {
        throw OrnQLException_AVLtree("Fatal OrnQLException: In AVL Tree, a sorted fill needs an empty tree!");
    }
    std::size_t distinct = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int order = i == 0 ? 1 : cmpFunc(values[i], values[i - 1]);
        if (order < 0) {
            throw OrnQLException_AVLtree("Fatal OrnQLException: In AVL Tree, a sorted fill got unsorted values!");
        }
        distinct += order > 0 ? 1 : 0;
    }
    if (distinct == 0) {
        return;
    }
    blocks.reserve(blocks.size() + 1);  // nothing can fail once the nodes are made
    NodeBlock block{std::make_unique_for_overwrite<NodeMemory[]>(distinct), distinct};
    Node* nodes = reinterpret_cast<Node*>(block.memory.get());
    std::size_t made = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0 && cmpFunc(values[i], values[i - 1]) == 0) {
            ++nodes[made - 1].relationCount;
        } else {
            new (&nodes[made++]) Node(values[i]);
            nodes[made - 1].inBlock = true;
        }
    }
    blocks.push_back(std::move(block));
    nodesInBlocks += distinct;
    unusedInLastBlock = 0;
    root = linkBalanced(nodes, 0, distinct, nullptr);
    rearCached = false;
    counter = static_cast<unsigned>(distinct);
}

// Makes the middle node the root of nodes[low, high) and its halves its subtrees: the two halves
// differ in size by at most one, so in height too.
template <typename T>
typename AVLtree<T>::Node* AVLtree<T>::linkBalanced(Node* nodes, std::size_t low, std::size_t high, Node* parent) {
    if (low >= high) {
        return nullptr;
    }
    const std::size_t middle = low + (high - low) / 2;
    Node* n = &nodes[middle];
    n->parent = parent;
    n->left = linkBalanced(nodes, low, middle, n);
    n->right = linkBalanced(nodes, middle + 1, high, n);
    const int leftHeight = n->left == nullptr ? -1 : n->left->quickHeight;
    const int rightHeight = n->right == nullptr ? -1 : n->right->quickHeight;
    n->quickHeight = static_cast<std::int8_t>(std::max(leftHeight, rightHeight) + 1);
    n->balance = static_cast<std::int8_t>(rightHeight - leftHeight);
    return n;
}

template <typename T>
void AVLtree<T>::clear() {
    clearSelection();
    Node* oldRoot = root;
    root = nullptr;  // the values' destructors see an empty tree, never a half-destroyed one
    counter = 0;
    rearCache = nullptr;
    rearCached = true;
    destroySubtree(oldRoot);
}

template <typename T>
void AVLtree<T>::detachAll() {
    for (treeIterator it = begin(); it != end(); ++it) {
        it.node()->relationCount = 0;
    }
    clear();
}
