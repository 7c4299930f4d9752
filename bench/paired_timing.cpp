#include "paired_timing.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace vxbench {
namespace {

using Clock = std::chrono::steady_clock;
using Side = void (CaseRun::*)();

// A batch long enough that reading the clock around it costs nothing worth counting.
constexpr double kBatchNanoseconds = 20'000;

double time_batch(CaseRun& run, Side side, int calls) {
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < calls; ++i) (run.*side)();
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count();
}

int calls_per_batch(CaseRun& run) {
    int calls = 1;
    while (calls < (1 << 20) && time_batch(run, &CaseRun::baseline, calls) < kBatchNanoseconds) calls *= 2;
    return calls;
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

}  // namespace

void time_side_by_side(benchmark::State& state, CaseRun& run, uint64_t text_bytes) {
    const int calls = calls_per_batch(run);
    std::vector<double> entry_ns;
    std::vector<double> baseline_ns;
    std::vector<double> ratios;
    bool entry_first = true;
    for (auto _ : state) {
        double entry = 0;
        double baseline = 0;
        if (entry_first) {
            entry = time_batch(run, &CaseRun::entry, calls);
            baseline = time_batch(run, &CaseRun::baseline, calls);
        } else {
            baseline = time_batch(run, &CaseRun::baseline, calls);
            entry = time_batch(run, &CaseRun::entry, calls);
        }
        entry_first = !entry_first;
        entry_ns.push_back(entry / calls);
        baseline_ns.push_back(baseline / calls);
        ratios.push_back(entry / baseline);
    }
    const double e = median(entry_ns);
    const double b = median(baseline_ns);
    const double ratio = median(ratios);
    state.counters[kBaselineNs] = b;
    state.counters[kEntryNs] = e;
    state.counters[kRatio] = ratio;
    if (text_bytes != 0 && e > 0 && b > 0) {
        state.counters[kBaselineBytesPerSecond] = static_cast<double>(text_bytes) * 1e9 / b;
        state.counters[kEntryBytesPerSecond] = static_cast<double>(text_bytes) * 1e9 / e;
        state.counters[kThroughputRatio] = 1 / ratio;
    }
    state.SetLabel(std::to_string(calls) + " calls per batch and side");
}

}  // namespace vxbench
