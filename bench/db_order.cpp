// Ordering a selection of 1,000,000 records by a text attribute and reading only the first ten:
// the lazy heap order (pushes plus ten pulls) against std::sort of the whole set.
#include <algorithm>
#include <cwchar>
#include <random>
#include <string>
#include <vector>

#include "BenchRatios.h"
#include "db/OrnQL_Template.h"

namespace {

constexpr unsigned RECORDS = 1000000;
constexpr int SHOWN = 10;

class Entry : public OrnQL_Template<Entry> {
public:
    explicit Entry(std::wstring text = L"") : name(std::move(text)) {}
    void load(std::istream&) override {}
    void save(std::ostream&) override {}
    const void* getData(int) override { return name.c_str(); }
    Entry& operator=(const Entry& other) override { name = other.name; return *this; }
    static int type(const wchar_t* attribute, int* id) {
        *id = 0;
        return std::wcscmp(attribute, L"NAME") == 0 ? QUERY_UNICODE : QUERY_INVALID;
    }
    std::wstring name;
};

std::vector<Entry*>& entries() {
    static std::vector<Entry*> all = [] {
        Entry::setup(D_WORD, false);
        std::mt19937 rng(42);
        std::uniform_int_distribution<int> letter(L'a', L'z');
        std::vector<Entry*> made;
        made.reserve(RECORDS);
        for (unsigned i = 0; i < RECORDS; ++i) {
            std::wstring text(8, L'a');
            for (wchar_t& c : text) c = static_cast<wchar_t>(letter(rng));
            auto* entry = new Entry(text);
            Entry::add(entry);
            made.push_back(entry);
        }
        return made;
    }();
    return all;
}

void FirstTenLazyOrder(benchmark::State& state) {
    entries();
    for (auto _ : state) {
        auto it = Entry::orderQuery(L"ASC NAME", true);
        for (int i = 0; i < SHOWN; ++i, ++it) {
            benchmark::DoNotOptimize(*it);
        }
    }
}

void FirstTenStdSort(benchmark::State& state) {
    const std::vector<Entry*>& all = entries();
    for (auto _ : state) {
        std::vector<Entry*> sorted = all;
        std::sort(sorted.begin(), sorted.end(),
                  [](const Entry* a, const Entry* b) { return std::wcscmp(a->name.c_str(), b->name.c_str()) < 0; });
        for (int i = 0; i < SHOWN; ++i) {
            benchmark::DoNotOptimize(sorted[i]);
        }
    }
}

BENCHMARK(FirstTenLazyOrder)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(FirstTenStdSort)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    return bench::runWithRatios(argc, argv, {{"LazyOrder", "StdSort"}});
}
