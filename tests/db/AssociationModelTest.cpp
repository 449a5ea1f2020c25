// Randomized test of the relation trees: after every random step (records and links added,
// links and records deleted with their cascades), every record's first- and second-tier trees
// must equal what the stored links imply, with path counts as relation counts.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "AssociationTestSupport.h"

namespace dbtest {
namespace {

using Counts = std::map<unsigned, unsigned>;
struct Key {
    dependency table;
    unsigned id;
    bool operator<(const Key& o) const { return table != o.table ? table < o.table : id < o.id; }
};
using Graph = std::map<Key, std::vector<Key>>;

template <typename Link>
void addEdges(Graph& graph) {
    for (auto it = Link::begin(); it != Link::end(); ++it) {
        Key from{Link::getFromEntry(), (*it)->getDependency(Link::getFromEntry())};
        Key to{Link::getToEntry(), (*it)->getDependency(Link::getToEntry())};
        graph[from].push_back(to);
        graph[to].push_back(from);
    }
}

Graph linkGraph() {
    Graph graph;
    addEdges<CardItem>(graph);
    addEdges<SenseItem>(graph);
    addEdges<GroupSense>(graph);
    return graph;
}

OrnQL_Base* recordOf(Key key) {
    switch (key.table) {
    case D_CATEGORY: return Group::getById(key.id);
    case D_WORD: return Item::getById(key.id);
    case D_FLASHCARD: return Card::getById(key.id);
    case D_MEANING: return Sense::getById(key.id);
    default: return nullptr;
    }
}

const dependency TABLES[] = {D_CATEGORY, D_WORD, D_FLASHCARD, D_MEANING};

template <typename R>
void checkTable(const Graph& graph, dependency own) {
    for (auto it = R::begin(); it != R::end(); ++it) {
        const Key self{own, (*it)->getId()};
        auto found = graph.find(self);
        const std::vector<Key> none;
        const std::vector<Key>& neighbours = found == graph.end() ? none : found->second;
        for (dependency d : TABLES) {
            Counts first;
            Counts second;
            for (const Key& v : neighbours) {
                if (v.table == d) first[v.id] += 1;
                for (const Key& w : graph.at(v)) {
                    if (w.table == d) second[w.id] += (w.table == own && w.id == self.id) ? 2 : 1;
                }
            }
            ASSERT_EQ(counts((*it)->fTR(d)), first) << "first tier of " << own << "/" << self.id << " to " << d;
            ASSERT_EQ(counts((*it)->sTR(d)), second) << "second tier of " << own << "/" << self.id << " to " << d;
        }
    }
}

void checkRelations() {
    Graph graph = linkGraph();
    for (const auto& [key, neighbours] : graph) {
        ASSERT_NE(recordOf(key), nullptr) << "a link names a record that is gone";
    }
    checkTable<Group>(graph, D_CATEGORY);
    checkTable<Item>(graph, D_WORD);
    checkTable<Card>(graph, D_FLASHCARD);
    checkTable<Sense>(graph, D_MEANING);
}

template <typename R>
unsigned randomId(std::mt19937& rng) {
    if (R::elementTree().empty()) return 0;
    auto it = R::begin();
    for (unsigned steps = rng() % R::elementTree().size(); steps > 0; --steps) ++it;
    return (*it)->getId();
}

template <typename Link, typename From, typename To>
void randomLink(std::mt19937& rng) {
    unsigned from = randomId<From>(rng);
    unsigned to = randomId<To>(rng);
    if (from != 0 && to != 0) Link::add(new Link(from, to));
}

// Deletes a random link; an enforced from-record that had no other link must go with it.
template <typename Link, typename From>
void randomUnlink(std::mt19937& rng, bool fromEnforced) {
    unsigned id = randomId<Link>(rng);
    if (id == 0) return;
    const unsigned from = Link::getById(id)->getDependency(Link::getFromEntry());
    const unsigned linksOfFrom = Link::getAsTally(1, Link::getFromEntry(), from);
    Link::deleteEntry(id);
    if (fromEnforced && linksOfFrom == 1) {
        ASSERT_EQ(From::getById(from), nullptr);
    }
}

// add finds the link already joining a pair, so no pair is ever stored twice.
template <typename Link>
void expectEachPairOnce() {
    std::set<std::pair<unsigned, unsigned>> pairs;
    for (auto it = Link::begin(); it != Link::end(); ++it) {
        const auto pair = std::make_pair((*it)->getDependency(Link::getFromEntry()), (*it)->getDependency(Link::getToEntry()));
        ASSERT_TRUE(pairs.insert(pair).second) << "pair " << pair.first << "-" << pair.second << " stored twice";
    }
}

template <typename R>
void randomDelete(std::mt19937& rng) {
    unsigned id = randomId<R>(rng);
    if (id != 0) R::deleteEntry(id);
}

class AssociationModelTest : public ::testing::Test {
protected:
    void SetUp() override { setupLinkedTables(); }
    void TearDown() override { resetDatabaseTables(); }
};

TEST_F(AssociationModelTest, RelationTreesAlwaysMatchTheLinks) {
    const unsigned seed = std::random_device{}();
    std::printf("association seed: %u\n", seed);
    std::mt19937 rng(seed);
    for (int step = 0; step < 1500; ++step) {
        switch (rng() % 12) {
        case 0: make<Group>(); break;
        case 1: case 2: make<Item>(); break;
        case 3: make<Card>(); break;
        case 4: make<Sense>(); break;
        case 5: randomLink<CardItem, Card, Item>(rng); break;
        case 6: randomLink<SenseItem, Sense, Item>(rng); break;
        case 7: randomLink<GroupSense, Group, Sense>(rng); break;
        case 8: randomUnlink<SenseItem, Sense>(rng, true); break;
        case 9: randomUnlink<CardItem, Card>(rng, true); break;
        case 10: randomUnlink<GroupSense, Group>(rng, false); break;
        default:
            switch (rng() % 4) {
            case 0: randomDelete<Item>(rng); break;
            case 1: randomDelete<Sense>(rng); break;
            case 2: randomDelete<Group>(rng); break;
            default: randomDelete<Card>(rng); break;
            }
        }
        checkRelations();
        expectEachPairOnce<CardItem>();
        expectEachPairOnce<SenseItem>();
        expectEachPairOnce<GroupSense>();
        if (HasFatalFailure()) {
            FAIL() << "seed " << seed << ", step " << step;
        }
    }
}

}  // namespace
}  // namespace dbtest
