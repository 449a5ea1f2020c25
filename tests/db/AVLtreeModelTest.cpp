// Randomized differential test: AVLtree<unsigned> against a std::map (keys with relation counts)
// and a std::vector (the selection, in order), with the integrity checker after every step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <vector>

#include "db/AVLtree.h"
#include "db/OrnQL_Base.h"

namespace {

using Tree = AVLtree<unsigned>;

int byValue(const unsigned& a, const unsigned& b) { return OrnQL_Base::compareUI(a, b); }
int byDigitSum(const unsigned& a, const unsigned& b) {
    auto digits = [](unsigned v) { unsigned s = 0; for (; v; v /= 10) s += v % 10; return s; };
    return OrnQL_Base::compareUI(digits(a), digits(b));
}
int byModSevenDescending(const unsigned& a, const unsigned& b) { return OrnQL_Base::compareUI(b % 7, a % 7); }
bool isEven(const unsigned& v) { return v % 2 == 0; }
bool notMultipleOfThree(const unsigned& v) { return v % 3 != 0; }
bool below200(const unsigned& v) { return v < 200; }

struct Ordering { Tree::CompareFunction tree; bool (*less)(unsigned, unsigned); };
const Ordering orderings[] = {
    {byValue, [](unsigned a, unsigned b) { return a < b; }},
    {byDigitSum, [](unsigned a, unsigned b) { return byDigitSum(a, b) < 0; }},
    {byModSevenDescending, [](unsigned a, unsigned b) { return byModSevenDescending(a, b) < 0; }},
};
const Tree::Predicate predicates[] = {isEven, notMultipleOfThree, below200};

class TreeModel {
public:
    // With `ascending`, most new keys lie above every key, as a table adds records in a row.
    explicit TreeModel(std::mt19937& random, bool ascending = false) : rng(random), ascendingKeys(ascending) {}

    void step() {
        switch (pick(9)) {
        case 0: case 1: insert(); break;
        case 2: insertRelation(); break;
        case 3: deleteRelation(); break;
        case 4: deleteById(); break;
        case 5: deleteSelected(); break;
        case 6: reduce(); break;
        case 7: order(); break;
        default: iterate(); break;
        }
        ASSERT_EQ(tree.checkIntegrity(), "");
        ASSERT_EQ(tree.size(), counts.size());
    }

    void checkAll() {
        std::vector<unsigned> keys;
        for (auto it = tree.begin(); it != tree.end(); ++it) keys.push_back(*it);
        std::vector<unsigned> expected;
        for (auto& [key, count] : counts) expected.push_back(key);
        ASSERT_EQ(keys, expected);
        std::vector<unsigned> selected;
        for (auto it = tree.beginSelection(); it != tree.endSelection(); ++it) selected.push_back(*it);
        ASSERT_EQ(selected, selection);
        ASSERT_EQ(tree.checkIntegrity(), "");
    }

    // Starts over from a sorted fill of random keys, some repeated (its nodes share one block).
    void refillSorted() {
        tree.clear();
        counts.clear();
        selection.clear();
        std::vector<unsigned> values;
        for (int i = pick(300); i > 0; --i) {
            values.push_back(static_cast<unsigned>(pick(400)));
        }
        std::sort(values.begin(), values.end());
        for (unsigned v : values) {
            ++counts[v];
        }
        tree.assignSorted(values);
    }

private:
    unsigned pick(unsigned n) { return std::uniform_int_distribution<unsigned>(0, n - 1)(rng); }
    unsigned randomKey() {
        if (!ascendingKeys) {
            return pick(400);
        }
        if (pick(3) != 0) {
            topKey += 1 + pick(2);
            return topKey;
        }
        return pick(topKey + 2);
    }

    void insert() {
        unsigned k = randomKey();
        bool added = counts.emplace(k, 1).second;
        ASSERT_EQ(tree.insert(k), added);
    }
    void insertRelation() {
        unsigned k = randomKey();
        ++counts[k];
        tree.insertRelation(k);
    }
    void deleteRelation() {
        unsigned k = randomKey();
        auto found = counts.find(k);
        if (found != counts.end() && --found->second == 0) {
            counts.erase(found);
            forget(k);
        }
        tree.deleteRelation(k);
    }
    void deleteById() {
        unsigned k = randomKey();
        bool present = counts.erase(k) > 0;
        forget(k);
        auto next = tree.deleteKeyID(k);
        auto expected = present ? counts.upper_bound(k) : counts.end();
        if (expected == counts.end()) {
            ASSERT_TRUE(next == tree.end());
        } else {
            ASSERT_EQ(*next, expected->first);
        }
    }
    void deleteSelected() {
        if (selection.empty()) return;
        std::size_t index = pick(static_cast<unsigned>(selection.size()));
        auto it = tree.beginSelection();
        for (std::size_t i = 0; i < index; ++i) ++it;
        ASSERT_EQ(*it, selection[index]);
        auto next = tree.deleteKey(it);
        counts.erase(selection[index]);
        selection.erase(selection.begin() + static_cast<long>(index));
        if (index < selection.size()) {
            ASSERT_EQ(*next, selection[index]);
        } else {
            ASSERT_TRUE(next == tree.endSelection());
        }
    }
    void reduce() {
        bool full = pick(2) == 0;
        auto pred = predicates[pick(3)];
        std::vector<unsigned> walked = full ? allKeys() : selection;
        selection.clear();
        std::copy_if(walked.begin(), walked.end(), std::back_inserter(selection), [&](unsigned v) { return pred(v); });
        tree.reduce(pred, full);
    }
    void order() {
        bool full = pick(2) == 0;
        const Ordering& ordering = orderings[pick(3)];
        if (full) selection = allKeys();
        std::stable_sort(selection.begin(), selection.end(), ordering.less);
        tree.order(ordering.tree, full);
    }
    // Walks part of the selection, which pulls lazily and leaves the rest waiting.
    void iterate() {
        std::size_t steps = pick(static_cast<unsigned>(selection.size()) + 1);
        auto it = tree.beginSelection();
        for (std::size_t i = 0; i < steps; ++i, ++it) {
            ASSERT_EQ(*it, selection[i]);
        }
        if (steps == selection.size()) {
            ASSERT_TRUE(it == tree.endSelection());
        }
    }
    void forget(unsigned k) { selection.erase(std::remove(selection.begin(), selection.end(), k), selection.end()); }
    std::vector<unsigned> allKeys() const {
        std::vector<unsigned> keys;
        for (auto& [key, count] : counts) keys.push_back(key);
        return keys;
    }

    std::mt19937& rng;
    bool ascendingKeys;
    unsigned topKey = 0;
    Tree tree{byValue, byValue};
    std::map<unsigned, unsigned> counts;
    std::vector<unsigned> selection;
};

TEST(AVLtreeModelTest, RandomOperationsMatchTheModel) {
    const unsigned seed = std::random_device{}();
    std::printf("AVLtreeModelTest seed: %u\n", seed);
    std::mt19937 rng(seed);
    for (int run = 0; run < 20; ++run) {
        TreeModel model(rng);
        for (int i = 0; i < 1500; ++i) {
            model.step();
            if (HasFatalFailure()) {
                FAIL() << "seed " << seed << ", run " << run << ", step " << i;
            }
        }
        model.checkAll();
        if (HasFatalFailure()) {
            FAIL() << "seed " << seed << ", run " << run;
        }
    }
}

// The same, on trees that start from sorted fills and are filled afresh now and then: removing
// and destroying nodes that live in a fill's block, alone or mixed with nodes inserted one by one.
TEST(AVLtreeModelTest, RandomOperationsOnSortedFillsMatchTheModel) {
    const unsigned seed = std::random_device{}();
    std::printf("AVLtreeModelTest seed: %u\n", seed);
    std::mt19937 rng(seed);
    for (int run = 0; run < 10; ++run) {
        TreeModel model(rng);
        for (int i = 0; i < 1500; ++i) {
            if (i % 500 == 0) {
                model.refillSorted();
            }
            model.step();
            if (HasFatalFailure()) {
                FAIL() << "seed " << seed << ", run " << run << ", step " << i;
            }
        }
        model.checkAll();
        if (HasFatalFailure()) {
            FAIL() << "seed " << seed << ", run " << run;
        }
    }
}

// Keys added mostly above every key (appended at the rear without a search) mixed with removals
// of any key, the greatest too: the remembered rear node and the reused places of removed
// nodes must keep the tree exactly the model's.
TEST(AVLtreeModelTest, RandomOperationsOnRisingKeysMatchTheModel) {
    const unsigned seed = std::random_device{}();
    std::printf("AVLtreeModelTest seed: %u\n", seed);
    std::mt19937 rng(seed);
    for (int run = 0; run < 10; ++run) {
        TreeModel model(rng, true);
        for (int i = 0; i < 1500; ++i) {
            model.step();
            if (HasFatalFailure()) {
                FAIL() << "seed " << seed << ", run " << run << ", step " << i;
            }
        }
        model.checkAll();
        if (HasFatalFailure()) {
            FAIL() << "seed " << seed << ", run " << run;
        }
    }
}

}  // namespace
