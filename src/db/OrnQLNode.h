#pragma once

#include <cstdint>
#include <type_traits>

// Destroys a value a node owns: deletes a non-null pointee through its virtual destructor; does
// nothing for plain numbers.
template <typename T>
void delete_or_nop(T& value) {
    if constexpr (std::is_pointer_v<T>) {
        delete value;
        value = nullptr;
    }
}

// Detaches a value from its node (pointer set to null) so that destroying the node leaves it
// alone; does nothing for plain numbers.
template <typename T>
void invalidate_or_nop(T& value) {
    if constexpr (std::is_pointer_v<T>) {
        value = nullptr;
    }
}

template <typename T>
class AVLselectionHeap;

// One node of an AVLtree, and the link cell of the tree's selection list.
//
// Ownership: a node whose relationCount is not 0 owns its value, so destroying it destroys the
// record it points at. Destroying a node unlinks it from the selection list; its subtrees are the
// tree's to destroy (AVLtree::destroySubtree), so that nodes cut from one block of a sorted fill
// can go without freeing memory they do not own.
//
// A large database holds one node per record, so the layout is kept tight (56 bytes for a
// pointer value): no virtual functions (the one kind of node that behaves differently, the
// selection heap's sentinel, is told apart by a flag) and narrow numbers for the balance and the
// cached height (an AVL tree of 2^32 nodes is less than 50 high).
template <typename T>
class OrnQLNode {
public:
    explicit OrnQLNode(const T& value, OrnQLNode* parentNode = nullptr) : val(value), parent(parentNode) {}
    OrnQLNode(const OrnQLNode&) = delete;
    OrnQLNode& operator=(const OrnQLNode&) = delete;

    ~OrnQLNode() {
        if (before != nullptr) {
            before->after = after;
        }
        if (after != nullptr) {
            after->before = before;
        }
        if (relationCount != 0) {
            delete_or_nop(val);
        }
    }

    // The next node of the selection list, or null at its end. Reaching a selection heap's
    // sentinel pulls the next node out of its heap (defined in AVLselectionHeap.h).
    OrnQLNode* next();

    T val;
    OrnQLNode* left = nullptr;
    OrnQLNode* right = nullptr;
    OrnQLNode* parent = nullptr;
    OrnQLNode* before = nullptr;
    OrnQLNode* after = nullptr;
    unsigned relationCount = 1;
    std::int8_t balance = 0;
    std::int8_t quickHeight = 0;  // -1: unknown
    bool sentinel = false;        // the node is an AVLselectionHeap
    bool inBlock = false;         // the memory belongs to a block of its tree, not to the node
};
