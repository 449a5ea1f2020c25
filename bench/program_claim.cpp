// What claiming the data directory adds to every start: choosing it, entering it and taking its
// lock (program/Launch.h), against the cheapest load the start-up does anyway, that of the empty
// database a first start leaves, measured in the same run in the same directory.
#include <memory>
#include <optional>
#include <string>

#include "BenchRatios.h"
#include "ScratchDirectory.h"
#include "model/Database.h"
#include "program/Launch.h"

namespace {

void StartClaim(benchmark::State& state) {
    const DataDirectory::Environment environment = DataDirectory::Environment::ofProcess();
    for (auto _ : state) {
        std::string problem;
        std::unique_ptr<InstanceLock> lock = claimDataDirectory(std::string("."), environment, problem);
        if (!lock) {
            state.SkipWithError(problem.c_str());
            break;
        }
    }
}

void StartLoadEmpty(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(loadDatabase(D_ENDTAG));
        resetDatabase();
    }
}

BENCHMARK(StartClaim)->Unit(benchmark::kMicrosecond);
BENCHMARK(StartLoadEmpty)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    // Both run in a directory holding the first start's empty database.
    bench::ScratchDirectory scratch("claim");
    loadDatabase(D_ENDTAG);
    resetDatabase();
    return bench::runWithRatios(argc, argv, {{"Claim", "LoadEmpty"}});
}
