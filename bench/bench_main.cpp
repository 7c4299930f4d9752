// vxjobs_bench: per-call cost of representative entries, each beside its baseline in the same run, in a
// session without conversion (UTF-8) and in an ISO-8859-1 session. The summary at the end gives the ratios.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "bench_texts.h"
#include "cases.h"
#include "paired_timing.h"
#include "ratio_report.h"

namespace {

using vxbench::Case;
using vxbench::SessionKind;

void run_case(benchmark::State& state, const Case* c, SessionKind kind) {
    vxbench::Session session(kind, vxtest::kPlain);
    std::unique_ptr<vxbench::CaseRun> run = c->make(session);
    vxbench::warm_up(*run);
    vxbench::time_side_by_side(state, *run, c->text_bytes);
}

// The floor for long texts: copying the same bytes once.
void copy_long_text(benchmark::State& state) {
    std::vector<char> source(vxbench::kLongTextBytes, 'x');
    std::vector<char> target(vxbench::kLongTextBytes + 1);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(vxbench::kLongTextBytes));
}

void register_benchmarks() {
    for (const Case& c : vxbench::cases()) {
        for (SessionKind kind : vxbench::kSessionKinds) {
            const std::string name = std::string(c.name) + "/" + vxbench::session_label(kind);
            benchmark::RegisterBenchmark(name.c_str(), run_case, &c, kind);
        }
    }
    benchmark::RegisterBenchmark("memcpy_1MiB", copy_long_text);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    register_benchmarks();
    vxbench::RatioReport report;
    benchmark::RunSpecifiedBenchmarks(&report);
    benchmark::Shutdown();
    return 0;
}
