// Runs scenarios of entry calls on one deliverable in one session encoding, with at most one host
// failure injected (an allocation or a transcode, counted across the scenario), and checks every step
// against the plan: unfailed steps do exactly the planned host work and hand over the expected texts;
// the failing step leaves exactly what its failure site must leave.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>

#include "reliability/sweep_expectations.h"
#include "reliability/sweep_steps.h"
#include "support/bridge_fixture.h"

namespace vxrel {

// Failure points swept in this process, by site kind, for the summary printed at exit.
struct SweepTotals {
    uint64_t allocation_failures[kSiteKinds] = {};
    uint64_t transcode_failures[kSiteKinds] = {};
    uint64_t grown_slot_failures = 0;
    uint64_t scenario_runs = 0;
    static SweepTotals& get();
};

enum class Prep { fresh, warmed, warmed_blank };
const char* prep_name(Prep prep);

struct Fault {
    enum Kind { none, allocation, transcode } kind = none;
    uint64_t index = 0;  // 1-based across the scenario
};

class ScenarioRunner {
  public:
    ScenarioRunner(simhost::Host& host, const vxtest::Loaded& lib, int32_t encoding)
        : host_(host), lib_(lib), encoding_(encoding) {}
    ~ScenarioRunner();

    // A new instance (the previous one destroyed and checked), brought into `prep`.
    void prepare(const Scenario& scenario, Prep prep);
    // Runs the scenario once; returns the number of allocations and transcodes the host saw.
    std::pair<uint64_t, uint64_t> run(const Scenario& scenario, Fault fault, bool blank = false);
    bool converting() const { return rec_ != nullptr && rec_->conversion->to_utf8 != nullptr; }
    void destroy();

  private:
    struct Snapshot {
        std::array<const char*, kInSlots> in{};
        std::array<std::string, kInSlots> in_text;
        std::array<const char*, kOutSlots> out{};
        std::array<std::string, kOutSlots> out_text;
        size_t calls = 0;
    };
    Snapshot snapshot() const;
    const JwCall* client_call(const Step& step, size_t since) const;
    void check_success(const Step& step, const Expected& e, const Outcome& o, const Inputs& in, const Snapshot& before);
    void check_allocation_failure(const Step& step, const Expected& e, const Site& site, const Outcome& o,
                                  const Inputs& in, const Snapshot& before);
    void check_transcode_failure(const Step& step, const Expected& e, const Site& site, const Outcome& o,
                                 const Inputs& in, const Snapshot& before);
    void check_slots_before(const Expected& e, int failed, const Snapshot& before, bool inbound);
    void check_host_work(const Plan& plan, size_t first_event, uint64_t transcodes);
    simhost::Pool& pool() const;

    simhost::Host& host_;
    const vxtest::Loaded& lib_;
    int32_t encoding_;
    BridgeInstance* rec_ = nullptr;
};

}  // namespace vxrel
