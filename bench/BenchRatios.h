#pragma once

// A console reporter that, after the usual table, prints each subject's time as a ratio of its
// baseline measured in the same run. Benchmarks are paired by name: the subject's name with the
// subject token replaced by the baseline token names its baseline
// ("Insert/ascending/AVLtree" against "Insert/ascending/std_map").

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter(std::string subjectToken, std::string baselineToken)
        : subject(std::move(subjectToken)), baseline(std::move(baselineToken)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                timePerIteration[run.benchmark_name()] = run.real_accumulated_time / static_cast<double>(run.iterations);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
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
                std::printf("  %-50s %8.3f\n", name.c_str(), seconds / found->second);
            }
        }
    }

private:
    std::string subject;
    std::string baseline;
    std::map<std::string, double> timePerIteration;
};

// Runs every registered benchmark with the ratio reporter.
inline int runWithRatios(int argc, char** argv, const char* subject, const char* baseline) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter(subject, baseline);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

}  // namespace bench
