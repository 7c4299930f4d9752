// Shows every benchmark as the console does and, at the end, each entry beside its baseline in one table:
// nanoseconds per call of both, their ratio, and for long texts the throughputs. With repetitions the
// medians over the repetitions are used.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace vxbench {

class RatioReport : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

  private:
    struct Figures {
        std::map<std::string, double> counters;
        double cpu_ns = 0;
        bool from_median = false;
    };
    std::map<std::string, Figures> figures_;  // by benchmark name, aggregates folded in
    std::vector<std::string> order_;
};

}  // namespace vxbench
