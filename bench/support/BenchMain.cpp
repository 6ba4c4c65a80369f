// Runs Google Benchmark and prints one line per figure: "bench <name> <value> <unit>",
// the time per iteration in the unit the benchmark chose, and each counter it set.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

class LineReporter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            std::string name = run.benchmark_name();
            for (char& c : name)
                if (c == '/' || c == ' ') c = '_';
            const char* unit = benchmark::GetTimeUnitString(run.time_unit);
            std::printf("bench %s %.4g %s\n", name.c_str(), run.GetAdjustedRealTime(), unit);
            for (const auto& [counter, value] : run.counters)
                std::printf("bench %s.%s %.6g %s\n", name.c_str(), counter.c_str(), value.value,
                            counter.find("bytes") != std::string::npos ? "bytes" : "count");
        }
        std::fflush(stdout);
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    LineReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
