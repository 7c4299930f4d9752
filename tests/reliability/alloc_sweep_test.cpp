// Every allocation an entry call makes, failed in turn; every transcode, failed in turn. Each scenario
// (one entry, or a realistic run of entries) is first run unfailed to count the host work, then once
// per failure point on a new instance: fresh, warmed by the same calls (slots sized, lists stored), or
// warmed with empty texts (slots holding their smallest buffer, so longer texts must grow them). After
// each failing run the same scenario runs again unfailed and must succeed.
#include <iostream>
#include <set>

#include "reliability/instance_audit.h"
#include "reliability/sweep_fixture.h"

namespace vxtest {
namespace {

using namespace vxrel;

using SweepParam = std::tuple<Session, const Scenario*>;

std::string sweep_name(const ::testing::TestParamInfo<SweepParam>& info) {
    const Session& session = std::get<0>(info.param);
    return vxtest::session_name({session, info.index}) + "_" + std::get<1>(info.param)->label;
}

std::vector<const Scenario*> all_scenarios() {
    std::vector<const Scenario*> out;
    for (const Scenario& s : scenarios()) out.push_back(&s);
    return out;
}

class SweepTest : public ::testing::TestWithParam<SweepParam> {
  protected:
    void SetUp() override {
        lib = &vxtest::load(std::get<0>(GetParam()).deliverable);
        lib->sim->reset();
        int64_t major = 0;
        int64_t minor = 0;
        lib->vxextver(host.services(), &major, &minor);
        runner = std::make_unique<ScenarioRunner>(host, *lib, std::get<0>(GetParam()).encoding);
    }
    void TearDown() override {
        runner.reset();
        for (const auto& p : host.pools()) EXPECT_TRUE(p->errors().empty()) << p->errors().front();
        EXPECT_TRUE(host.errors().empty()) << host.errors().front();
        RecordProperty("failure_points", std::to_string(points));
        std::cout << "[ sweep    ] " << points << " failure points\n";
    }
    const Scenario& scenario() const { return *std::get<1>(GetParam()); }

    simhost::Host host;
    const vxtest::Loaded* lib = nullptr;
    std::unique_ptr<ScenarioRunner> runner;
    uint64_t points = 0;
};

class AllocationSweepTest : public SweepTest {};

TEST_P(AllocationSweepTest, EachAllocationFailsInTurnAndTheSameCallsSucceedAfterwards) {
    for (Prep prep : {Prep::fresh, Prep::warmed, Prep::warmed_blank}) {
        SCOPED_TRACE(prep_name(prep));
        runner->prepare(scenario(), prep);
        const uint64_t allocations = runner->run(scenario(), {}).first;
        if (prep == Prep::fresh) {
            EXPECT_GT(allocations, 0u) << "every swept scenario allocates when fresh";
        }
        for (uint64_t n = 1; n <= allocations; ++n) {
            SCOPED_TRACE("allocation " + std::to_string(n) + " of " + std::to_string(allocations));
            runner->prepare(scenario(), prep);
            runner->run(scenario(), {Fault::allocation, n});
            runner->run(scenario(), {});
            ++points;
            if (HasFailure()) return;  // one broken failure point tells enough; the rest would repeat it
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sweep, AllocationSweepTest,
                         ::testing::Combine(::testing::ValuesIn(vxtest::sessions({simhost::kIso88591, simhost::kUtf8})),
                                            ::testing::ValuesIn(all_scenarios())),
                         sweep_name);

class TranscodeSweepTest : public SweepTest {};

TEST_P(TranscodeSweepTest, EachTranscodeFailsInTurnAndTheSameCallsSucceedAfterwards) {
    for (Prep prep : {Prep::fresh, Prep::warmed}) {
        SCOPED_TRACE(prep_name(prep));
        runner->prepare(scenario(), prep);
        ASSERT_TRUE(runner->converting());
        const uint64_t transcodes = runner->run(scenario(), {}).second;
        for (uint64_t n = 1; n <= transcodes; ++n) {
            SCOPED_TRACE("transcode " + std::to_string(n) + " of " + std::to_string(transcodes));
            runner->prepare(scenario(), prep);
            runner->run(scenario(), {Fault::transcode, n});
            runner->run(scenario(), {});
            ++points;
            if (HasFailure()) return;
        }
    }
}

// Only sessions that convert have transcoders; an EBCDIC one too, whose texts share no bytes with UTF-8.
INSTANTIATE_TEST_SUITE_P(Sweep, TranscodeSweepTest,
                         ::testing::Combine(::testing::ValuesIn(vxtest::sessions({simhost::kIso88591,
                                                                                  simhost::kEbcdic037})),
                                            ::testing::ValuesIn(all_scenarios())),
                         sweep_name);

// The entry export allocates the record and the conversion state; either failing returns null with the
// pool destroyed and nothing left, and the next instance works.
class EntryExportSweepTest : public vxtest::BridgeTest {};

TEST_P(EntryExportSweepTest, EachAllocationFailsInTurnAndTheNextInstanceWorks) {
    const uint64_t start = host.allocations_attempted();
    make_instance();
    destroy_instance();
    const uint64_t allocations = host.allocations_attempted() - start;
    const std::vector<PlannedAllocation> planned = {{{SiteKind::record}, sizeof(BridgeInstance), 0},
                                                    {{SiteKind::state}, sizeof(ConversionState), 0}};
    ASSERT_EQ(allocations, planned.size());
    for (uint64_t n = 1; n <= allocations; ++n) {
        SCOPED_TRACE(site_name(planned[n - 1].site.kind));
        host.set_session_encoding(encoding);
        host.fail_allocation_at(n);
        EXPECT_EQ(lib->make_instance(host.context(), nullptr), nullptr);
        simhost::Pool& failed = *host.last_pool();
        EXPECT_TRUE(failed.destroyed());
        EXPECT_EQ(failed.live(), 0u);
        EXPECT_EQ(failed.allocations().size(), n - 1) << "nothing is asked for after the failure";
        if (n >= 1 && n - 1 < failed.allocations().size()) {
            EXPECT_EQ(failed.allocations()[n - 1].size, planned[n - 1].size);
        }
        EXPECT_EQ(host.transcoders_live(), 0u);
        SweepTotals::get().allocation_failures[static_cast<int>(planned[n - 1].site.kind)]++;

        make_instance();
        script({.func = JW_acj_set_credentials, .result = 0});
        EXPECT_EQ(ENTRY(rec, 24, bridge_acj_set_credentials)(rec, session("ä").c_str(), "x"), 0);
        EXPECT_EQ(std::string(last_call().texts[1]), "ä");
        for (const std::string& problem : audit_instance(rec, pool())) ADD_FAILURE() << problem;
        destroy_instance();
    }
}

VX_INSTANTIATE_OVER_SESSIONS(EntryExportSweepTest);

// The scenarios reach every allocation site of the library, growing slots included: planned on a fresh
// instance and on one whose slots hold the 64-byte buffers of empty texts.
TEST(SweepCoverageTest, ScenariosReachEveryAllocationSiteOfTheLibrary) {
    std::set<SiteKind> reached = {SiteKind::record, SiteKind::state};  // EntryExportSweepTest
    std::set<SiteKind> transcoded;
    bool grown_in = false;
    bool grown_out = false;
    SlotModel blank_slots;
    blank_slots.in_used.fill(true);
    blank_slots.in_capacity.fill(63);
    blank_slots.out_used.fill(true);
    blank_slots.out_capacity.fill(63);
    for (const Scenario& scenario : scenarios()) {
        for (const Step* step : scenario.steps) {
            const Expected e = expected_for(*step, simhost::kIso88591, false);
            for (const SlotModel& slots : {SlotModel{}, blank_slots}) {
                const Plan plan = plan_for(*step, e, slots, true, false);
                for (const PlannedAllocation& a : plan.allocations) {
                    reached.insert(a.site.kind);
                    grown_in = grown_in || (a.site.grown && a.site.kind == SiteKind::in_slot_text);
                    grown_out = grown_out || (a.site.grown && a.site.kind == SiteKind::out_slot_text);
                }
                for (const Site& t : plan.transcodes) transcoded.insert(t.kind);
            }
        }
    }
    for (int k = 0; k < kSiteKinds; ++k) {
        EXPECT_EQ(reached.count(static_cast<SiteKind>(k)), 1u) << site_name(static_cast<SiteKind>(k));
    }
    EXPECT_TRUE(grown_in) << "an inbound slot must have to grow";
    EXPECT_TRUE(grown_out) << "an outbound slot must have to grow";
    const std::set<SiteKind> texts = {SiteKind::in_slot_text, SiteKind::out_slot_text, SiteKind::pair_copy_text,
                                      SiteKind::list_text, SiteKind::pair_list_text};
    EXPECT_EQ(transcoded, texts);
}

// Prints what this process swept, by site.
class SweepSummary : public ::testing::Environment {
  public:
    void TearDown() override {
        const SweepTotals& t = SweepTotals::get();
        uint64_t allocations = 0;
        uint64_t transcodes = 0;
        for (int k = 0; k < kSiteKinds; ++k) {
            allocations += t.allocation_failures[k];
            transcodes += t.transcode_failures[k];
        }
        if (allocations + transcodes == 0) return;
        std::cout << "\nFailure points swept: " << allocations << " allocations (" << t.grown_slot_failures
                  << " of them growing a slot), " << transcodes << " transcodes, in " << t.scenario_runs
                  << " scenario runs\n";
        for (int k = 0; k < kSiteKinds; ++k) {
            std::cout << "  " << site_name(static_cast<SiteKind>(k)) << ": " << t.allocation_failures[k]
                      << " allocation, " << t.transcode_failures[k] << " transcode\n";
        }
    }
};
const auto* const kSummary = ::testing::AddGlobalTestEnvironment(new SweepSummary);

}  // namespace
}  // namespace vxtest
