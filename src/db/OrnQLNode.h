#pragma once

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

// One node of an AVLtree, and the link cell of the tree's selection list.
//
// Ownership: a node whose relationCount is not 0 owns its value, so destroying it destroys the
// record it points at. Destroying a node also destroys both its subtrees and unlinks it from the
// selection list.
template <typename T>
class OrnQLNode {
public:
    explicit OrnQLNode(const T& value, OrnQLNode* parentNode = nullptr) : val(value), parent(parentNode) {}
    OrnQLNode(const OrnQLNode&) = delete;
    OrnQLNode& operator=(const OrnQLNode&) = delete;

    virtual ~OrnQLNode() {
        delete left;
        delete right;
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

    // The node that stands for this one when the selection list is walked. An ordinary node is
    // itself; a selection-heap sentinel pulls the next node out of its heap instead.
    virtual OrnQLNode* getAddress(OrnQLNode* /*requester*/, bool /*forward*/) { return this; }

    // The next node of the selection list, or null at its end.
    OrnQLNode* next() { return after == nullptr ? nullptr : after->getAddress(this, true); }

    T val;
    int balance = 0;
    int quickHeight = 0;
    unsigned relationCount = 1;
    OrnQLNode* left = nullptr;
    OrnQLNode* right = nullptr;
    OrnQLNode* parent = nullptr;
    OrnQLNode* before = nullptr;
    OrnQLNode* after = nullptr;
};
