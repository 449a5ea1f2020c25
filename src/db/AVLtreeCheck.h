#pragma once

#include <cstdlib>
#include <string>
#include <unordered_set>

// AVLtree::checkIntegrity: verifies the invariants stated above the class; included by AVLtree.h.

namespace avltree_check {

// Checks the subtree at n and returns its true height (-1 for null); stops at the first problem.
template <typename T, typename Compare>
int checkSubtree(const OrnQLNode<T>* n, const OrnQLNode<T>* parent, Compare cmp, unsigned& count,
                 std::string& problem) {
    if (n == nullptr || !problem.empty()) {
        return -1;
    }
    if (n->parent != parent) {
        problem = "a node's parent link does not point at its parent";
        return -1;
    }
    if (n->left != nullptr && cmp(n->left->val, n->val) >= 0) {
        problem = "a left child does not compare below its parent";
    }
    if (n->right != nullptr && cmp(n->right->val, n->val) <= 0) {
        problem = "a right child does not compare above its parent";
    }
    ++count;
    int leftHeight = checkSubtree(n->left, n, cmp, count, problem);
    int rightHeight = checkSubtree(n->right, n, cmp, count, problem);
    int height = std::max(leftHeight, rightHeight) + 1;
    if (problem.empty() && std::abs(rightHeight - leftHeight) > 1) {
        problem = "a node's subtrees differ in height by more than one";
    }
    if (problem.empty() && n->quickHeight >= 0 && n->quickHeight != height) {
        problem = "a cached height is wrong";
    }
    if (problem.empty() && n->relationCount == 0) {
        problem = "a node with relation count 0 is still in the tree";
    }
    return height;
}

}  // namespace avltree_check

template <typename T>
std::string AVLtree<T>::checkIntegrity() const {
    std::string problem;
    unsigned count = 0;
    avltree_check::checkSubtree<T>(root, nullptr, cmpFunc, count, problem);
    // Order across subtrees: an in-order walk must be strictly ascending.
    if (problem.empty()) {
        const Node* previous = nullptr;
        for (treeIterator it = begin(); it != end(); ++it) {
            if (previous != nullptr && cmpFunc(previous->val, it.node()->val) >= 0) {
                problem = "the in-order walk is not strictly ascending";
                break;
            }
            previous = it.node();
        }
    }
    if (problem.empty() && count != counter) {
        problem = "the node counter differs from the number of nodes";
    }
    if (problem.empty() && rearCached) {
        const Node* rightmost = root;
        while (rightmost != nullptr && rightmost->right != nullptr) {
            rightmost = rightmost->right;
        }
        if (rearCache != rightmost) {
            problem = "the remembered rear node is not the rightmost one";
        }
    }
    if (!problem.empty()) {
        return problem;
    }

    std::unordered_set<const Node*> inTree;
    for (treeIterator it = begin(); it != end(); ++it) {
        inTree.insert(it.node());
    }
    std::unordered_set<const Node*> selected;
    const Node* previous = nullptr;
    for (const Node* n = selectionFirstNode; n != nullptr && !isSentinel(n); n = n->after) {
        if (inTree.count(n) == 0) {
            return "a selected node is not in the tree";
        }
        if (!selected.insert(n).second) {
            return "the selection list runs in a circle";
        }
        if (n->before != previous) {
            return "a selection back link is wrong";
        }
        previous = n;
    }
    for (const auto& h : heaps) {
        if (!h) {
            continue;
        }
        if (!h->empty() && h->before != previous) {
            return "a pending heap does not follow the last pulled node";
        }
        std::string heapProblem;
        h->waiting().forEachNode([&](const Node* n) {
            if (inTree.count(n) == 0) {
                heapProblem = "a heap holds a node that is not in the tree";
            } else if (!h->isWaiting(n)) {
                heapProblem = "a waiting node is not linked to its heap";
            } else if (!selected.insert(n).second) {
                heapProblem = "a node is both listed and waiting";
            }
        });
        if (!heapProblem.empty()) {
            return heapProblem;
        }
    }
    for (const Node* n : inTree) {
        if (selected.count(n) == 0 && (n->before != nullptr || n->after != nullptr)) {
            return "a node outside the selection has selection links";
        }
    }
    return {};
}
