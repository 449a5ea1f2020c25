// What claiming the data directory adds to every start: choosing it, entering it and taking its
// lock (program/Launch.h), against the cheapest load the start-up does anyway, that of the empty
// database a first start leaves, measured in the same run in the same directory.
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "BenchRatios.h"
#include "model/Database.h"
#include "program/Launch.h"

namespace {

// A directory holding the first start's empty database; the benchmarks run inside it.
struct Scratch {
    Scratch() {
        char pattern[] = "/tmp/mernolex-bench-claim-XXXXXX";
        directory = mkdtemp(pattern);
        std::filesystem::current_path(directory);
        loadDatabase(D_ENDTAG);
        resetDatabase();
    }
    ~Scratch() {
        std::filesystem::current_path("/");
        std::filesystem::remove_all(directory);
    }
    std::string directory;
};

Scratch& scratch() {
    static Scratch instance;
    return instance;
}

void StartClaim(benchmark::State& state) {
    const std::string directory = scratch().directory;
    const DataDirectory::Environment environment = DataDirectory::Environment::ofProcess();
    for (auto _ : state) {
        std::string problem;
        std::unique_ptr<InstanceLock> lock = claimDataDirectory(directory, environment, problem);
        if (!lock) {
            state.SkipWithError(problem.c_str());
            break;
        }
    }
}

void StartLoadEmpty(benchmark::State& state) {
    scratch();
    for (auto _ : state) {
        benchmark::DoNotOptimize(loadDatabase(D_ENDTAG));
        resetDatabase();
    }
}

BENCHMARK(StartClaim)->Unit(benchmark::kMicrosecond);
BENCHMARK(StartLoadEmpty)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return bench::runWithRatios(argc, argv, {{"Claim", "LoadEmpty"}});
}
