#include "ratio_report.h"

#include <cstdio>
#include <ostream>

#include "paired_timing.h"

namespace vxbench {
namespace {

double nanoseconds(const benchmark::BenchmarkReporter::Run& run) {
    const double per_iteration = run.GetAdjustedCPUTime();
    switch (run.time_unit) {
        case benchmark::kSecond:
            return per_iteration * 1e9;
        case benchmark::kMillisecond:
            return per_iteration * 1e6;
        case benchmark::kMicrosecond:
            return per_iteration * 1e3;
        case benchmark::kNanosecond:
            break;
    }
    return per_iteration;
}

double counter(const std::map<std::string, double>& counters, const char* name) {
    auto found = counters.find(name);
    return found == counters.end() ? 0.0 : found->second;
}

}  // namespace

void RatioReport::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred) continue;
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (run.run_type == Run::RT_Aggregate && !median) continue;
        const std::string name = run.run_name.function_name;
        auto [it, inserted] = figures_.try_emplace(name);
        if (inserted) order_.push_back(name);
        // A median beats single repetitions; without one the last repetition stands.
        if (it->second.from_median && !median) continue;
        Figures figures;
        for (const auto& [key, value] : run.counters) figures.counters[key] = value.value;
        figures.cpu_ns = nanoseconds(run);
        figures.from_median = median;
        it->second = figures;
    }
}

void RatioReport::Finalize() {
    std::ostream& out = GetOutputStream();
    char line[256];
    out << "\nEach entry beside its baseline, timed in alternating batches (medians; ratio = entry / baseline)\n";
    std::snprintf(line, sizeof line, "%-34s %14s %14s %8s %16s %16s %10s\n", "case/session", "baseline ns", "entry ns",
                  "ratio", "baseline MB/s", "entry MB/s", "tp ratio");
    out << line;
    for (const std::string& name : order_) {
        const Figures& f = figures_[name];
        if (f.counters.count(kRatio) == 0) continue;
        const double bytes = counter(f.counters, kBaselineBytesPerSecond);
        if (bytes > 0) {
            std::snprintf(line, sizeof line, "%-34s %14.1f %14.1f %8.3f %16.1f %16.1f %10.3f\n", name.c_str(),
                          counter(f.counters, kBaselineNs), counter(f.counters, kEntryNs), counter(f.counters, kRatio),
                          bytes / 1e6, counter(f.counters, kEntryBytesPerSecond) / 1e6,
                          counter(f.counters, kThroughputRatio));
        } else {
            std::snprintf(line, sizeof line, "%-34s %14.1f %14.1f %8.3f %16s %16s %10s\n", name.c_str(),
                          counter(f.counters, kBaselineNs), counter(f.counters, kEntryNs), counter(f.counters, kRatio),
                          "-", "-", "-");
        }
        out << line;
    }
    for (const std::string& name : order_) {
        const Figures& f = figures_[name];
        if (f.counters.count(kRatio) != 0) continue;
        const double bytes = counter(f.counters, "bytes_per_second");
        std::snprintf(line, sizeof line, "%-34s %14.1f ns per call, %.1f MB/s (reference)\n", name.c_str(), f.cpu_ns,
                      bytes / 1e6);
        out << line;
    }
    out.flush();
}

}  // namespace vxbench
