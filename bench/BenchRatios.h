#pragma once

// A console reporter that, after the usual table, prints each subject's time as a ratio of its
// baseline measured in the same run. Benchmarks are paired by name: the subject's name with the
// subject token replaced by the baseline token names its baseline ("InsertAVLtree/random:1"
// against "InsertStdMap/random:1").

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    using Pairs = std::vector<std::pair<std::string, std::string>>;  // (subject token, baseline token)

    explicit RatioReporter(Pairs tokenPairs) : pairs(std::move(tokenPairs)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            // A repeated benchmark is quoted by its median, which no single slow repetition moves.
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (median || (run.run_type == Run::RT_Iteration && run.iterations > 0 && run.repetitions <= 1)) {
                timePerIteration[withoutIterationCount(run.run_name.str())] =
                    run.real_accumulated_time / static_cast<double>(run.iterations);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const auto& [subject, baseline] : pairs) {
            std::printf("\nRatios (time of %s / time of %s, same run):\n", subject.c_str(), baseline.c_str());
            for (const auto& [name, seconds] : timePerIteration) {
                const std::size_t at = name.find(subject);
                if (at == std::string::npos) {
                    continue;
                }
                std::string other = name;
                other.replace(at, subject.size(), baseline);
                auto found = timePerIteration.find(other);
                if (found != timePerIteration.end() && found->second > 0) {
                    std::printf("  %-50s %10.4f\n", name.c_str(), seconds / found->second);
                }
            }
        }
    }

private:
    // "Save/iterations:50/repeats:5" -> "Save", so that runs with different fixed counts still
    // pair up.
    static std::string withoutIterationCount(std::string name) {
        for (const char* count : {"/iterations:", "/repeats:"}) {
            const std::size_t at = name.find(count);
            if (at != std::string::npos) {
                const std::size_t end = name.find('/', at + 1);
                name.erase(at, end == std::string::npos ? std::string::npos : end - at);
            }
        }
        return name;
    }

    Pairs pairs;
    std::map<std::string, double> timePerIteration;
};

// Runs every registered benchmark with the ratio reporter.
inline int runWithRatios(int argc, char** argv, RatioReporter::Pairs pairs) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter(std::move(pairs));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

}  // namespace bench
