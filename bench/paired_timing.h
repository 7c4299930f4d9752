// Times an entry and its baseline side by side. A shared machine slows down and speeds up under any
// measurement, so the two sides are not timed in separate runs: each round times a batch of entry calls
// and a batch of baseline calls back to back, in alternating order, and the figures are medians over the
// rounds, which a preempted round cannot move.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

#include "cases.h"

namespace vxbench {

// Counter names the summary reads.
inline constexpr const char* kBaselineNs = "baseline_ns";
inline constexpr const char* kEntryNs = "entry_ns";
inline constexpr const char* kRatio = "ratio";
inline constexpr const char* kThroughputRatio = "throughput_ratio";
inline constexpr const char* kBaselineBytesPerSecond = "baseline_B/s";
inline constexpr const char* kEntryBytesPerSecond = "entry_B/s";

// Runs rounds for as long as `state` asks and sets the counters: the median nanoseconds per call of each
// side, the median of the rounds' entry/baseline ratios, and for `text_bytes` > 0 the throughputs.
void time_side_by_side(benchmark::State& state, CaseRun& run, uint64_t text_bytes);

}  // namespace vxbench
