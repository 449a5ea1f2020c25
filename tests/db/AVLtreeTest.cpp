#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "db/AVLtree.h"
#include "db/OrnQL_Base.h"

namespace {

using Tree = AVLtree<unsigned>;

int byValue(const unsigned& a, const unsigned& b) { return OrnQL_Base::compareUI(a, b); }
int allEqual(const unsigned&, const unsigned&) { return 0; }
int byLastDigitDescending(const unsigned& a, const unsigned& b) { return OrnQL_Base::compareUI(b % 10, a % 10); }
bool isEven(const unsigned& v) { return v % 2 == 0; }
bool never(const unsigned&) { return false; }

std::vector<unsigned> inOrder(const Tree& tree) {
    std::vector<unsigned> keys;
    for (auto it = tree.begin(); it != tree.end(); ++it) {
        keys.push_back(*it);
    }
    return keys;
}

std::vector<unsigned> selection(const Tree& tree) {
    std::vector<unsigned> keys;
    for (auto it = tree.beginSelection(); it != tree.endSelection(); ++it) {
        keys.push_back(*it);
    }
    return keys;
}

std::vector<unsigned> range(Tree::treeIterator it, const Tree& tree) {
    std::vector<unsigned> keys;
    for (; it != tree.end(); ++it) {
        keys.push_back(*it);
    }
    return keys;
}

int heightOf(const OrnQLNode<unsigned>* n) {
    return n == nullptr ? -1 : 1 + std::max(heightOf(n->left), heightOf(n->right));
}

const OrnQLNode<unsigned>* rootOf(const Tree& tree) {
    const OrnQLNode<unsigned>* n = tree.begin().node();
    while (n != nullptr && n->parent != nullptr) {
        n = n->parent;
    }
    return n;
}

template <typename Action>
std::string messageOf(Action action) {
    try {
        action();
    } catch (const OrnQLException& e) {
        return e.what();
    }
    return "";
}

class TreeTest : public ::testing::Test {
protected:
    void fill(std::initializer_list<unsigned> keys) {
        for (unsigned k : keys) {
            tree.insert(k);
        }
    }
    void expectWhole() { EXPECT_EQ(tree.checkIntegrity(), ""); }

    Tree tree{byValue, byValue};
};

TEST_F(TreeTest, AscendingInsertsKeepTheHeightWithinTheAvlBound) {
    for (unsigned k = 1; k <= 1000; ++k) {
        tree.insert(k);
    }
    expectWhole();
    std::vector<unsigned> expected(1000);
    for (unsigned k = 0; k < 1000; ++k) {
        expected[k] = k + 1;
    }
    EXPECT_EQ(inOrder(tree), expected);
    EXPECT_EQ(tree.size(), 1000u);
    EXPECT_LE(heightOf(rootOf(tree)), static_cast<int>(1.44 * std::log2(1002.0)));
}

TEST_F(TreeTest, ASortedFillIsBalancedAndCountsRepeatedValues) {
    for (unsigned n : {0u, 1u, 2u, 3u, 7u, 8u, 100u, 1000u}) {
        Tree filled{byValue, byValue};
        std::vector<unsigned> values(n);
        for (unsigned k = 0; k < n; ++k) {
            values[k] = 2 * k + 1;
        }
        filled.assignSorted(values);
        EXPECT_EQ(filled.checkIntegrity(), "") << n << " values";
        EXPECT_EQ(inOrder(filled), values);
        EXPECT_LE(heightOf(rootOf(filled)), static_cast<int>(std::log2(n + 1.0))) << "as low as a tree can be";
        if (n > 0) {
            filled.insert(0);  // the filled tree goes on like any other
            filled.deleteKeyID(values[n / 2]);
            EXPECT_EQ(filled.checkIntegrity(), "");
        }
    }
    tree.assignSorted({4, 4, 4, 9});
    EXPECT_EQ(tree.size(), 2u);
    tree.deleteRelation(4);
    tree.deleteRelation(4);
    EXPECT_TRUE(tree.containsID(4)) << "three paths lead to 4, one is left";
    expectWhole();
}

TEST_F(TreeTest, ASortedFillRefusesDisorderAndATreeInUse) {
    EXPECT_FALSE(messageOf([&] { tree.assignSorted({1, 3, 2}); }).empty());
    EXPECT_TRUE(tree.empty()) << "nothing of a refused fill stays";
    fill({5});
    EXPECT_FALSE(messageOf([&] { tree.assignSorted({1}); }).empty());
    EXPECT_EQ(inOrder(tree), std::vector<unsigned>{5});
}

TEST_F(TreeTest, DuplicateKeysAndRelationCounts) {
    EXPECT_TRUE(tree.insert(5));
    EXPECT_FALSE(tree.insert(5));
    EXPECT_EQ(tree.size(), 1u);

    tree.insertRelation(7);
    tree.insertRelation(7);
    EXPECT_EQ(tree.size(), 2u);
    tree.deleteRelation(7);
    EXPECT_TRUE(tree.containsID(7)) << "two paths lead to 7, one is left";
    tree.deleteRelation(7);
    EXPECT_FALSE(tree.containsID(7));
    tree.deleteRelation(42);  // absent: nothing happens
    EXPECT_EQ(inOrder(tree), std::vector<unsigned>{5});
    expectWhole();
}

TEST_F(TreeTest, IndexingRejectsNegativeAndAbsentKeys) {
    fill({3});
    EXPECT_EQ(tree[3], 3u);
    EXPECT_EQ(messageOf([&] { tree[-1]; }), "Fatal OrnQLException: In AVL Tree, negative keys are not allowed!");
    EXPECT_EQ(messageOf([&] { tree[4]; }), "OrnQLException: In AVL Tree, element is not in tree!");
}

TEST_F(TreeTest, BoundsSelectClosedRanges) {
    fill({5, 21, 29, 30});
    EXPECT_EQ(range(tree.bound(20, 29), tree), (std::vector<unsigned>{21, 29}));
    EXPECT_EQ(range(tree.bound(0, 100), tree), (std::vector<unsigned>{5, 21, 29, 30}));
    EXPECT_EQ(range(tree.bound(30, 30), tree), (std::vector<unsigned>{30}));
    EXPECT_TRUE(tree.bound(22, 28) == tree.end());
    EXPECT_TRUE(tree.bound(31, 99) == tree.end());
    EXPECT_EQ(messageOf([&] { tree.bound(30, 20); }),
              "OrnQLException: lowerBound has to be equal or smaller than upper bound!");
    EXPECT_EQ(messageOf([&] { tree.bound(-1, 5); }), "OrnQLException: Negative upper or lower bound are not allowed!");
    Tree emptyTree(byValue, byValue);
    EXPECT_TRUE(emptyTree.bound(0, 9) == emptyTree.end());
}

TEST_F(TreeTest, DeletingByIdReturnsTheNextKey) {
    fill({1, 2, 3});
    EXPECT_EQ(*tree.deleteKeyID(2), 3u);
    EXPECT_TRUE(tree.deleteKeyID(3) == tree.end()) << "the last key has no successor";
    EXPECT_TRUE(tree.deleteKeyID(99) == tree.end());
    EXPECT_EQ(inOrder(tree), std::vector<unsigned>{1});
    expectWhole();
}

TEST_F(TreeTest, DereferencingEndIteratorsThrows) {
    EXPECT_EQ(messageOf([&] { *tree.end(); }), "Fatal OrnQLException: AVL Tree iterator references out of range object!");
    EXPECT_EQ(messageOf([&] { *tree.endSelection(); }),
              "Fatal OrnQLException: AVL Tree selection iterator references out of range object!");
}

TEST_F(TreeTest, ReduceKeepsWalkOrderAndDeletingTheHeadMovesIt) {
    fill({4, 1, 2, 3, 6});
    tree.reduce(isEven, true);
    EXPECT_EQ(selection(tree), (std::vector<unsigned>{2, 4, 6}));
    tree.deleteKeyID(2);
    EXPECT_EQ(selection(tree), (std::vector<unsigned>{4, 6}));
    auto next = tree.deleteKey(tree.beginSelection());
    EXPECT_EQ(*next, 6u);
    EXPECT_EQ(selection(tree), std::vector<unsigned>{6});
    expectWhole();
}

TEST_F(TreeTest, OrderingIsStableAndLazy) {
    fill({13, 21, 3, 11, 23, 1});
    tree.order(allEqual, true);
    EXPECT_EQ(selection(tree), (std::vector<unsigned>{1, 3, 11, 13, 21, 23})) << "ties keep the walk's order";

    tree.order(byLastDigitDescending, true);
    auto it = tree.beginSelection();
    EXPECT_EQ(*it, 3u);  // only the head has been pulled so far
    expectWhole();
    EXPECT_EQ(selection(tree), (std::vector<unsigned>{3, 13, 23, 1, 11, 21}));
}

TEST_F(TreeTest, ReorderingAPartlyPulledSelectionKeepsAllItsNodes) {
    fill({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    tree.reduce(isEven, true);
    tree.order(byLastDigitDescending, false);
    auto it = tree.beginSelection();
    ++it;  // 8 and 6 pulled, 4, 2, 10 still waiting
    EXPECT_EQ(*it, 6u);
    tree.order(byValue, false);
    EXPECT_EQ(selection(tree), (std::vector<unsigned>{2, 4, 6, 8, 10}));
    expectWhole();
}

TEST_F(TreeTest, ANodeRemovedWhileWaitingInAHeapIsNeverHandedOut) {
    fill({1, 2, 3, 4, 5});
    tree.order(byValue, true);
    auto it = tree.beginSelection();
    EXPECT_EQ(*it, 1u);
    tree.deleteKeyID(3);  // still waiting in the heap
    expectWhole();
    tree.deleteKeyID(1);  // the head, pulled
    expectWhole();
    EXPECT_EQ(selection(tree), (std::vector<unsigned>{2, 4, 5}));
}

TEST_F(TreeTest, LookupAndTally) {
    fill({1, 2, 3});
    EXPECT_EQ(tree.lookup(isEven, true), 2u);
    EXPECT_EQ(tree.tally(isEven, true), 1u);
    EXPECT_EQ(messageOf([&] { tree.lookup(never, true); }), "OrnQLExcpetion: No element found during lookup!");
    tree.reduce(never, true);
    EXPECT_EQ(tree.tally(isEven, false), 0u) << "the selection is empty";
}

TEST_F(TreeTest, RearAndFind) {
    EXPECT_TRUE(tree.rear() == tree.end());
    fill({8, 2, 5});
    EXPECT_EQ(*tree.rear(), 8u);
    EXPECT_EQ(*tree.findID(5), 5u);
    EXPECT_TRUE(tree.findID(6) == tree.end());
    EXPECT_EQ(*tree.lowerBoundID(6), 8u);
    EXPECT_TRUE(tree.lowerBoundID(9) == tree.end());
}

TEST(MinHeapTest, EqualValuesLeaveInPushOrder) {
    MinHeap<unsigned> heap(allEqual);
    std::vector<std::unique_ptr<OrnQLNode<unsigned>>> nodes;
    for (unsigned v = 0; v < 5; ++v) {
        nodes.push_back(std::make_unique<OrnQLNode<unsigned>>(v));
        heap.push(nodes.back().get());
    }
    for (unsigned v = 0; v < 5; ++v) {
        EXPECT_EQ(heap.pull()->val, v);
    }
    EXPECT_EQ(heap.pull(), nullptr);
}

TEST(MinHeapTest, CompareFunctionRules) {
    MinHeap<unsigned> heap;
    heap.cleanPush(3);
    EXPECT_EQ(messageOf([&] { heap.cleanPush(1); }),
              "Fatal OrnQLException: Tried to use heap without a valid compare function!");
    MinHeap<unsigned> pool(byValue);
    pool.cleanPush(9);
    EXPECT_EQ(messageOf([&] { pool.setCompareFunction(allEqual); }),
              "Fatal OrnQLException: Tried to change comparison function of heap while heap is non-empty!");
    pool.cleanPush(4);
    pool.cleanPush(6);
    EXPECT_EQ(pool.cleanPull(), 4u);
    EXPECT_EQ(pool.cleanPull(), 6u);
    EXPECT_EQ(pool.cleanPull(), 9u);
    EXPECT_TRUE(pool.empty());
}

}  // namespace
