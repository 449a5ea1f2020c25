#pragma once

#include <cstddef>
#include <type_traits>
#include <vector>

#include "db/OrnQLNode.h"
#include "db/OrnQL_Exception.h"

template <typename T>
struct HeapNode {
    OrnQLNode<T>* nod;
    int seq;  // insertion sequence number: breaks ties so that equal values leave in push order
};

// A binary min-heap of tree nodes, ordered by a compare function over their values and, among
// equal values, by the order of their pushes (the heap is stable). Children of slot i are at
// 2i+1 and 2i+2.
//
// The heap does not own the nodes given to push. Nodes made by cleanPush (number heaps such as a
// table's id pool) belong to the heap until cleanPull hands their value out; clear() and the
// destructor free them.
template <typename T>
class MinHeap {
public:
    using CompareFunction = int (*)(const T&, const T&);

    explicit MinHeap(CompareFunction compare = nullptr) : cmpFunc(compare) {}
    MinHeap(const MinHeap&) = delete;
    MinHeap& operator=(const MinHeap&) = delete;
    virtual ~MinHeap() { releaseOwnedNodes(); }

    void push(OrnQLNode<T>* node) {
        vec.push_back(HeapNode<T>{node, nextSeq++});
        bubbleUp(vec.size() - 1);
    }

    // Takes out and returns the least node; null when the heap is empty.
    OrnQLNode<T>* pull() {
        if (vec.empty()) {
            return nullptr;
        }
        OrnQLNode<T>* least = vec.front().nod;
        vec.front() = vec.back();
        vec.pop_back();
        if (vec.empty()) {
            nextSeq = 0;
        } else {
            bubbleDown(0);
        }
        return least;
    }

    // The least node without taking it out; null when the heap is empty.
    const OrnQLNode<T>* top() const { return vec.empty() ? nullptr : vec.front().nod; }

    void clear() {
        releaseOwnedNodes();
        vec.clear();
        nextSeq = 0;
    }

    bool empty() const { return vec.empty(); }
    std::size_t size() const { return vec.size(); }

    // Visits every node in heap order (not sorted); for clean-up and integrity checks.
    template <typename Visit>
    void forEachNode(Visit visit) const {
        for (const HeapNode<T>& entry : vec) {
            visit(entry.nod);
        }
    }

    // Allowed only on an empty heap, since the heap order depends on the function.
    void setCompareFunction(CompareFunction compare) {
        if (!vec.empty()) {
            throw OrnQLException_Heap(
                "Fatal OrnQLException: Tried to change comparison function of heap while heap is non-empty!");
        }
        cmpFunc = compare;
    }

    // Number heaps: wraps the value in a node of the heap's own and pushes it.
    void cleanPush(const T& value)
        requires(!std::is_pointer_v<T>)
    {
        ownsNodes = true;
        push(new OrnQLNode<T>(value));
    }

    // Number heaps: takes out the least value. The heap must not be empty.
    T cleanPull()
        requires(!std::is_pointer_v<T>)
    {
        OrnQLNode<T>* node = pull();
        if (node == nullptr) {
            throw OrnQLException_Heap("OrnQLException: Tried to access empty heap!");
        }
        T value = node->val;
        delete node;
        return value;
    }

private:
    int compare(const HeapNode<T>& a, const HeapNode<T>& b) const {
        if (cmpFunc == nullptr) {
            throw OrnQLException_Heap("Fatal OrnQLException: Tried to use heap without a valid compare function!");
        }
        int result = cmpFunc(a.nod->val, b.nod->val);
        return result != 0 ? result : a.seq - b.seq;
    }

    void bubbleUp(std::size_t index) {
        while (index > 0) {
            std::size_t parent = (index - 1) / 2;
            if (compare(vec[parent], vec[index]) <= 0) {
                return;
            }
            std::swap(vec[parent], vec[index]);
            index = parent;
        }
    }

    void bubbleDown(std::size_t index) {
        for (;;) {
            std::size_t pick = index;
            std::size_t left = 2 * index + 1;
            std::size_t right = left + 1;
            if (left < vec.size() && compare(vec[pick], vec[left]) > 0) {
                pick = left;
            }
            if (right < vec.size() && compare(vec[pick], vec[right]) > 0) {
                pick = right;
            }
            if (pick == index) {
                return;
            }
            std::swap(vec[pick], vec[index]);
            index = pick;
        }
    }

    void releaseOwnedNodes() {
        if (ownsNodes) {
            for (HeapNode<T>& entry : vec) {
                delete entry.nod;
            }
        }
    }

    std::vector<HeapNode<T>> vec;
    int nextSeq = 0;
    CompareFunction cmpFunc;
    bool ownsNodes = false;
};
