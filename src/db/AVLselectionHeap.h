#pragma once

#include "db/MinHeap.h"
#include "db/OrnQLNode.h"
#include "db/OrnQL_Exception.h"

// The lazy tail of an ordered selection. The sentinel stands in the selection list after the
// node pulled last (held in `before`); every node still waiting in the heap has both its links
// pointing at the sentinel. When the walk of the selection reaches the sentinel, getAddress pulls
// the next node, so sorting is paid one pull per step and only as far as a walk goes. When the
// heap runs dry the sentinel leaves the list.
template <typename T>
class AVLselectionHeap : public OrnQLNode<T> {
public:
    using Node = OrnQLNode<T>;

    AVLselectionHeap() : Node(T{}) {
        this->relationCount = 0;
        this->sentinel = true;
    }

    ~AVLselectionHeap() {
        clear();  // leaves no node pointing at a destroyed sentinel
    }

    void push(Node* node) {
        node->before = this;
        node->after = this;
        heap.push(node);
    }

    // Takes the least node out and appends it to the pulled part of the list.
    Node* pull() {
        Node* node = heap.pull();
        if (node == nullptr) {
            return nullptr;
        }
        node->before = this->before;
        if (node->before != nullptr) {
            node->before->after = node;
        }
        if (!heap.empty()) {
            node->after = this;
            this->before = node;
        } else {
            this->before = nullptr;
            this->after = nullptr;
            node->after = nullptr;
        }
        return node;
    }

    // Forgets every waiting node (their links are cleared) and detaches the sentinel.
    void clear() {
        heap.forEachNode([this](Node* node) {
            if (node->before == this) {
                node->before = nullptr;
            }
            if (node->after == this) {
                node->after = nullptr;
            }
        });
        heap.clear();
        this->before = nullptr;
        this->after = nullptr;
    }

    // Pulls every waiting node into the list, which then no longer needs the sentinel.
    void drain() {
        while (!heap.empty()) {
            pull();
        }
    }

    bool empty() const { return heap.empty(); }
    bool isWaiting(const Node* node) const { return node->before == this && node->after == this; }
    void setCompareFunction(typename MinHeap<T>::CompareFunction compare) { heap.setCompareFunction(compare); }
    const MinHeap<T>& waiting() const { return heap; }

    // The node that stands for the sentinel when the walk of the list comes from requester.
    Node* getAddress(Node* requester, bool forward) {
        if (heap.empty()) {
            throw OrnQLException_AVLtree("OrnQLException: Tried to access empty heap!");
        }
        while (!heap.empty()) {
            Node* lastPulled = this->before;
            Node* node = pull();
            if (requester == lastPulled && forward) {
                return node;
            }
            if (requester == node && !forward) {
                return node->before;
            }
        }
        throw OrnQLException_AVLtree("Fatal OrnQLException: Invalid Requester!");
    }

private:
    MinHeap<T> heap;
};

template <typename T>
OrnQLNode<T>* OrnQLNode<T>::next() {
    if (after == nullptr) {
        return nullptr;
    }
    return after->sentinel ? static_cast<AVLselectionHeap<T>*>(after)->getAddress(this, true) : after;
}
