// Insert, find and delete of 1,000,000 ids in ascending and in random order: the index tree
// against std::map, per operation.
#include <algorithm>
#include <map>
#include <numeric>
#include <random>
#include <vector>

#include "BenchRatios.h"
#include "db/AVLtree.h"
#include "db/OrnQL_Base.h"

namespace {

constexpr unsigned IDS = 1000000;

const std::vector<unsigned>& keys(bool random) {
    static const std::vector<unsigned> ascending = [] {
        std::vector<unsigned> k(IDS);
        std::iota(k.begin(), k.end(), 1u);
        return k;
    }();
    static const std::vector<unsigned> shuffled = [] {
        std::vector<unsigned> k = ascending;
        std::shuffle(k.begin(), k.end(), std::mt19937(12345));
        return k;
    }();
    return random ? shuffled : ascending;
}

using Tree = AVLtree<unsigned>;
Tree* newTree() { return new Tree(OrnQL_Base::compareUI, OrnQL_Base::compareUI); }

void fill(Tree& tree, const std::vector<unsigned>& k) { for (unsigned v : k) tree.insert(v); }
void fill(std::map<unsigned, unsigned>& map, const std::vector<unsigned>& k) { for (unsigned v : k) map.emplace(v, v); }

void InsertAVLtree(benchmark::State& state) {
    const auto& k = keys(state.range(0) != 0);
    for (auto _ : state) {
        Tree* tree = newTree();
        fill(*tree, k);
        state.PauseTiming();
        delete tree;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * IDS);
}

void InsertStdMap(benchmark::State& state) {
    const auto& k = keys(state.range(0) != 0);
    for (auto _ : state) {
        auto* map = new std::map<unsigned, unsigned>;
        fill(*map, k);
        state.PauseTiming();
        delete map;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * IDS);
}

void FindAVLtree(benchmark::State& state) {
    const auto& k = keys(state.range(0) != 0);
    Tree* tree = newTree();
    fill(*tree, keys(false));
    for (auto _ : state) {
        for (unsigned v : k) benchmark::DoNotOptimize(tree->findID(v));
    }
    delete tree;
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * IDS);
}

void FindStdMap(benchmark::State& state) {
    const auto& k = keys(state.range(0) != 0);
    std::map<unsigned, unsigned> map;
    fill(map, keys(false));
    for (auto _ : state) {
        for (unsigned v : k) benchmark::DoNotOptimize(map.find(v));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * IDS);
}

void DeleteAVLtree(benchmark::State& state) {
    const auto& k = keys(state.range(0) != 0);
    for (auto _ : state) {
        state.PauseTiming();
        Tree* tree = newTree();
        fill(*tree, keys(false));
        state.ResumeTiming();
        for (unsigned v : k) tree->deleteKeyID(v);
        state.PauseTiming();
        delete tree;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * IDS);
}

void DeleteStdMap(benchmark::State& state) {
    const auto& k = keys(state.range(0) != 0);
    for (auto _ : state) {
        state.PauseTiming();
        auto* map = new std::map<unsigned, unsigned>;
        fill(*map, keys(false));
        state.ResumeTiming();
        for (unsigned v : k) map->erase(v);
        state.PauseTiming();
        delete map;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * IDS);
}

// Argument: 0 ascending ids, 1 random order.
#define ORDERS ->ArgName("random")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5)
BENCHMARK(InsertAVLtree) ORDERS;
BENCHMARK(InsertStdMap) ORDERS;
BENCHMARK(FindAVLtree) ORDERS;
BENCHMARK(FindStdMap) ORDERS;
BENCHMARK(DeleteAVLtree) ORDERS;
BENCHMARK(DeleteStdMap) ORDERS;

}  // namespace

int main(int argc, char** argv) {
    return bench::runWithRatios(argc, argv, {{"AVLtree", "StdMap"}});
}
