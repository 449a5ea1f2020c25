#pragma once

// Member definitions of AVLtree's iterators; included by AVLtree.h.

template <typename T>
AVLtree<T>::treeIterator::treeIterator(Node* start, bool stay) : current(start) {
    if (!stay && current != nullptr) {
        while (current->left != nullptr) {
            current = current->left;
        }
    }
}

template <typename T>
AVLtree<T>::treeIterator::treeIterator(Node* neighbour, int lower, int upper, KeyCompareFunction compare)
    : current(neighbour), upperBound(upper), lowerBound(lower), cmp(compare) {
    if (lower < 0 || upper < 0) {
        throw OrnQLException_AVLtree("OrnQLException: Negative upper or lower bound are not allowed!");
    }
    if (upper < lower) {
        throw OrnQLException_AVLtree("OrnQLException: lowerBound has to be equal or smaller than upper bound!");
    }
    const unsigned lowerKey = static_cast<unsigned>(lower);
    const unsigned upperKey = static_cast<unsigned>(upper);
    while (current != nullptr && cmp(lowerKey, current->val) > 0) {
        ++*this;
    }
    if (current != nullptr && cmp(upperKey, current->val) < 0) {
        current = nullptr;
    }
}

template <typename T>
typename AVLtree<T>::treeIterator& AVLtree<T>::treeIterator::operator++() {
    if (current == nullptr) {
        return *this;
    }
    if (current->right != nullptr) {
        current = current->right;
        while (current->left != nullptr) {
            current = current->left;
        }
    } else {
        Node* from = current;
        current = current->parent;
        while (current != nullptr && current->right == from) {
            from = current;
            current = current->parent;
        }
    }
    if (current != nullptr && upperBound >= 0 && cmp(static_cast<unsigned>(upperBound), current->val) < 0) {
        current = nullptr;
    }
    return *this;
}

template <typename T>
typename AVLtree<T>::treeIterator AVLtree<T>::treeIterator::operator++(int) {
    treeIterator previous = *this;
    ++*this;
    return previous;
}

template <typename T>
T& AVLtree<T>::treeIterator::operator*() const {
    if (current == nullptr) {
        throw OrnQLException_AVLtree("Fatal OrnQLException: AVL Tree iterator references out of range object!");
    }
    return current->val;
}

template <typename T>
typename AVLtree<T>::selectIterator& AVLtree<T>::selectIterator::operator++() {
    if (current != nullptr) {
        current = current->next();
    }
    return *this;
}

template <typename T>
typename AVLtree<T>::selectIterator AVLtree<T>::selectIterator::operator++(int) {
    selectIterator previous = *this;
    ++*this;
    return previous;
}

template <typename T>
T& AVLtree<T>::selectIterator::operator*() const {
    if (current == nullptr) {
        throw OrnQLException_AVLtree(
            "Fatal OrnQLException: AVL Tree selection iterator references out of range object!");
    }
    return current->val;
}
