// Runs the benchmarks and prints each case as a ratio to its baseline fill of the same run.
#include "BenchReport.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

namespace koyomi::bench {

namespace {

struct Baseline
{
    std::string name;
    double scale;
};

std::map<std::string, Baseline>& baselines()
{
    static std::map<std::string, Baseline> map;
    return map;
}

// Prints one table at the end: every case's time and its ratio to its baseline.
class RatioReporter : public benchmark::BenchmarkReporter
{
public:
    bool ReportContext(const Context&) override { return true; }

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred) {
                std::fprintf(stderr, "%s: %s\n", run.benchmark_name().c_str(),
                             run.error_message.c_str());
                continue;
            }
            if (run.run_type == Run::RT_Iteration && run.repetition_index == 0) {
                for (const auto& [name, counter] : run.counters) {
                    m_notes[run.run_name.function_name] +=
                        "  " + name + " " + std::to_string(counter.value);
                }
            }
            if (run.run_type == Run::RT_Iteration) {
                const std::string name = run.run_name.function_name;
                if (!m_times.count(name)) {
                    m_order.push_back(name);
                }
                // Milliseconds, whatever unit the case reports in; one entry a repetition.
                m_times[name].push_back(run.GetAdjustedRealTime() /
                                        benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3);
            }
        }
    }

    void Finalize() override
    {
        // The median of the repetitions: shared machines are noisy.
        for (auto& [name, times] : m_times) {
            std::sort(times.begin(), times.end());
            m_median[name] = times[times.size() / 2];
        }
        std::printf("\n%-48s %12s %10s  %s\n", "case", "ms", "ratio", "baseline");
        for (const std::string& name : m_order) {
            const auto b = baselines().find(name);
            if (b == baselines().end() || !m_median.count(b->second.name)) {
                std::printf("%-48s %12.3f %10s%s\n", name.c_str(), m_median[name], "-",
                            m_notes[name].c_str());
                continue;
            }
            const double ratio = m_median[name] / (b->second.scale * m_median[b->second.name]);
            std::printf("%-48s %12.3f %9.2fx  %g x %s%s\n", name.c_str(), m_median[name], ratio,
                        b->second.scale, b->second.name.c_str(), m_notes[name].c_str());
        }
    }

private:
    std::vector<std::string> m_order;
    std::map<std::string, std::vector<double>> m_times;
    std::map<std::string, double> m_median;
    std::map<std::string, std::string> m_notes;
};

} // namespace

void setBaseline(const std::string& caseName, const std::string& baselineName, double scale)
{
    baselines()[caseName] = Baseline{baselineName, scale};
}

} // namespace koyomi::bench

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    koyomi::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
