#include "reliability/sweep_fixture.h"

#include "reliability/instance_audit.h"

namespace vxrel {
namespace {

constexpr uint64_t kTranscodeFailureBytes = 2;  // what a failing transcode still writes

std::string truncated(const std::string& text) { return text.substr(0, kTranscodeFailureBytes); }

// A text the host or client received: "<null>" for none, so a missing text never compares equal.
std::string seen(const char* text) { return text == nullptr ? "<null>" : std::string(text); }

bool is_slot_site(SiteKind kind) {
    return kind == SiteKind::in_slot_blank || kind == SiteKind::in_slot_text || kind == SiteKind::out_slot_blank ||
           kind == SiteKind::out_slot_text;
}

}  // namespace

SweepTotals& SweepTotals::get() {
    static SweepTotals totals;
    return totals;
}

const char* prep_name(Prep prep) {
    switch (prep) {
        case Prep::fresh:
            return "fresh instance";
        case Prep::warmed:
            return "instance warmed by the same calls";
        case Prep::warmed_blank:
            return "instance warmed by the same calls with empty texts";
    }
    return "?";
}

ScenarioRunner::~ScenarioRunner() { destroy(); }

simhost::Pool& ScenarioRunner::pool() const { return *simhost::Pool::from_record(rec_->pool); }

void ScenarioRunner::destroy() {
    if (rec_ == nullptr) return;
    simhost::Pool& owner = pool();
    EXPECT_EQ(ENTRY(rec_, 6, bridge_destroy)(rec_), 0);
    EXPECT_TRUE(owner.destroyed());
    EXPECT_TRUE(owner.errors().empty()) << owner.errors().front();
    rec_ = nullptr;
}

void ScenarioRunner::prepare(const Scenario& scenario, Prep prep) {
    destroy();
    host_.set_session_encoding(encoding_);
    rec_ = lib_.make_instance(host_.context(), nullptr);
    ASSERT_NE(rec_, nullptr);
    if (prep == Prep::warmed) run(scenario, {});
    if (prep == Prep::warmed_blank) run(scenario, {}, true);
}

ScenarioRunner::Snapshot ScenarioRunner::snapshot() const {
    Snapshot s;
    const ConversionState& state = *rec_->conversion;
    for (int k = 0; k < kInSlots; ++k) {
        s.in[k] = state.in_text[k];
        if (s.in[k] != nullptr) s.in_text[k] = s.in[k];
    }
    for (int k = 0; k < kOutSlots; ++k) {
        s.out[k] = state.out_text[k];
        if (s.out[k] != nullptr) s.out_text[k] = s.out[k];
    }
    s.calls = lib_.sim->call_count();
    return s;
}

const JwCall* ScenarioRunner::client_call(const Step& step, size_t since) const {
    const JwCall* found = nullptr;
    for (size_t i = since; i < lib_.sim->call_count(); ++i) {
        const JwCall* c = lib_.sim->call(i);
        if (c->func == step.func) found = c;
    }
    return found;
}

std::pair<uint64_t, uint64_t> ScenarioRunner::run(const Scenario& scenario, Fault fault, bool blank) {
    const JwSimApi& sim = *lib_.sim;
    sim.reset();
    host_.clear_events();
    const uint64_t allocation_base = host_.allocations_attempted();
    const uint64_t transcode_base = host_.transcode_calls();
    if (fault.kind == Fault::allocation) host_.fail_allocation_at(fault.index);
    if (fault.kind == Fault::transcode) host_.fail_transcode(fault.index, kTranscodeFailureBytes);
    bool fault_found = fault.kind == Fault::none;
    ++SweepTotals::get().scenario_runs;

    for (const Step* step : scenario.steps) {
        SCOPED_TRACE(step->label);
        const Expected e = expected_for(*step, encoding_, blank);
        const Plan plan = plan_for(*step, e, SlotModel::of(*rec_->conversion), converting(), blank);
        const uint64_t allocations_before = host_.allocations_attempted() - allocation_base;
        const uint64_t transcodes_before = host_.transcode_calls() - transcode_base;
        const size_t first_event = host_.events().size();
        const Snapshot before = snapshot();

        Inputs in = inputs_for(*step, encoding_, blank);
        script_for(*step, sim, blank);
        const Outcome outcome = step->call(rec_, in);

        const Site* failed = nullptr;
        const std::vector<PlannedAllocation>& allocations = plan.allocations;
        if (fault.kind == Fault::allocation && fault.index > allocations_before &&
            fault.index <= allocations_before + allocations.size()) {
            failed = &allocations[fault.index - allocations_before - 1].site;
            check_allocation_failure(*step, e, *failed, outcome, in, before);
            SweepTotals::get().allocation_failures[static_cast<int>(failed->kind)]++;
            if (failed->grown) SweepTotals::get().grown_slot_failures++;
        } else if (fault.kind == Fault::transcode && fault.index > transcodes_before &&
                   fault.index <= transcodes_before + plan.transcodes.size()) {
            failed = &plan.transcodes[fault.index - transcodes_before - 1];
            check_transcode_failure(*step, e, *failed, outcome, in, before);
            SweepTotals::get().transcode_failures[static_cast<int>(failed->kind)]++;
        } else {
            check_success(*step, e, outcome, in, before);
            check_host_work(plan, first_event, host_.transcode_calls() - transcode_base - transcodes_before);
        }
        fault_found = fault_found || failed != nullptr;
        for (const std::string& problem : audit_instance(rec_, pool())) ADD_FAILURE() << problem;
        EXPECT_TRUE(host_.errors().empty()) << host_.errors().front();
    }
    EXPECT_TRUE(fault_found) << "the injected failure " << fault.index << " fell on no planned site";
    host_.clear_faults();
    return {host_.allocations_attempted() - allocation_base, host_.transcode_calls() - transcode_base};
}

// An unfailed step asks the host for exactly the planned allocations, in order, and transcodes as planned.
void ScenarioRunner::check_host_work(const Plan& plan, size_t first_event, uint64_t transcodes) {
    std::vector<std::string> asked;
    for (size_t i = first_event; i < host_.events().size(); ++i) {
        const simhost::Host::Event& ev = host_.events()[i];
        if (ev.op == "pool.allocate") asked.push_back(std::to_string(ev.ints[0]) + "/" + std::to_string(ev.ints[1]));
    }
    std::vector<std::string> planned;
    for (const PlannedAllocation& a : plan.allocations) {
        planned.push_back(std::to_string(a.size) + "/" + std::to_string(static_cast<int64_t>(a.flags)));
    }
    EXPECT_EQ(asked, planned) << "allocations as size/flags";
    EXPECT_EQ(transcodes, plan.transcodes.size());
}

void ScenarioRunner::check_success(const Step& step, const Expected& e, const Outcome& o, const Inputs& in,
                                   const Snapshot& before) {
    const ConversionState& state = *rec_->conversion;
    if (!step.returns_text && step.shape != Shape::release && step.shape != Shape::string_list &&
        step.shape != Shape::pair_list) {
        EXPECT_EQ(o.result, step.success_result);
    }
    switch (step.shape) {
        case Shape::inbound: {
            for (size_t k = 0; k < e.in.size(); ++k) EXPECT_EQ(seen(state.in_text[k]), e.in[k]) << "inbound slot " << k;
            const JwCall* call = client_call(step, before.calls);
            ASSERT_NE(call, nullptr) << "the client was not called";
            for (const TextArg& arg : step.text_args) {
                const std::string& want = e.in[static_cast<size_t>(arg.slot)];
                if (arg.null_when_empty && want.empty()) {
                    EXPECT_EQ(call->args[arg.position], 0u) << "argument " << arg.position;
                } else {
                    EXPECT_EQ(seen(call->texts[arg.position]), want) << "argument " << arg.position;
                }
            }
            ASSERT_EQ(call->pair_count, static_cast<int32_t>(e.pairs.size()));
            for (size_t i = 0; i < e.pairs.size(); ++i) {
                EXPECT_EQ(seen(call->pairs[i].name), e.pairs[i][0]) << "pair " << i;
                EXPECT_EQ(seen(call->pairs[i].value), e.pairs[i][1]) << "pair " << i;
            }
            break;
        }
        case Shape::outbound:
            for (size_t k = 0; k < e.out.size(); ++k) EXPECT_EQ(seen(o.outs[k]), e.out[k]) << "text " << k;
            break;
        case Shape::string_list: {
            ASSERT_NE(o.pointer, nullptr);
            EXPECT_EQ(o.pointer, state.string_list);
            ASSERT_EQ(in.count, static_cast<int32_t>(e.out.size()));
            auto list = static_cast<char* const*>(o.pointer);
            for (size_t i = 0; i < e.out.size(); ++i) EXPECT_EQ(seen(list[i]), e.out[i]) << "list text " << i;
            break;
        }
        case Shape::pair_list: {
            ASSERT_NE(o.pointer, nullptr);
            EXPECT_EQ(in.count, static_cast<int32_t>(e.outputs.size())) << "the client's count";
            auto list = static_cast<NameValuePair* const*>(o.pointer);
            for (size_t i = 0; i < e.outputs.size(); ++i) {
                EXPECT_EQ(seen(list[i]->name), e.outputs[i][0]) << "output " << i;
                EXPECT_EQ(seen(list[i]->value), e.outputs[i][1]) << "output " << i;
            }
            break;
        }
        case Shape::release:
            EXPECT_EQ(state.pair_list, nullptr);
            EXPECT_EQ(state.pair_count, 0);
            break;
    }
}

// Slots before the failed one hold this call's texts; slots after it what they held before the call.
void ScenarioRunner::check_slots_before(const Expected& e, int failed, const Snapshot& before, bool inbound) {
    const ConversionState& state = *rec_->conversion;
    const size_t used = inbound ? e.in.size() : e.out.size();
    for (size_t k = 0; k < used; ++k) {
        const char* now = inbound ? state.in_text[k] : state.out_text[k];
        const auto slot = static_cast<int>(k);
        if (slot < failed) {
            EXPECT_EQ(seen(now), inbound ? e.in[k] : e.out[k]) << "slot " << k << " before the failed one";
        } else if (slot > failed) {
            const char* then = inbound ? before.in[k] : before.out[k];
            EXPECT_EQ(now, then) << "slot " << k << " after the failed one keeps its buffer";
            if (now != nullptr) {
                EXPECT_EQ(now, inbound ? before.in_text[k] : before.out_text[k]);
            }
        }
    }
}

void ScenarioRunner::check_allocation_failure(const Step& step, const Expected& e, const Site& site, const Outcome& o,
                                              const Inputs& in, const Snapshot& before) {
    SCOPED_TRACE(std::string("allocation failed at ") + site_name(site.kind) + " " + std::to_string(site.index));
    const ConversionState& state = *rec_->conversion;
    switch (site.kind) {
        case SiteKind::in_slot_blank:
        case SiteKind::in_slot_text:
            EXPECT_EQ(o.result, step.failure_result);
            EXPECT_EQ(client_call(step, before.calls), nullptr) << "the client must not be called";
            EXPECT_EQ(state.in_text[site.index], nullptr);
            EXPECT_EQ(state.in_capacity[site.index], 0u);
            check_slots_before(e, site.index, before, true);
            break;
        case SiteKind::pair_copy_array:
        case SiteKind::pair_copy_text:
            EXPECT_EQ(o.result, step.failure_result);
            EXPECT_EQ(client_call(step, before.calls), nullptr) << "the client must not be called";
            check_slots_before(e, static_cast<int>(e.in.size()), before, true);
            break;
        case SiteKind::out_slot_blank:
        case SiteKind::out_slot_text:
            if (!step.returns_text) {
                EXPECT_EQ(o.result, 0);
            }
            EXPECT_EQ(o.outs[site.index], nullptr) << "the host receives the empty slot";
            EXPECT_EQ(state.out_capacity[site.index], 0u);
            check_slots_before(e, site.index, before, false);
            for (size_t k = static_cast<size_t>(site.index) + 1; k < e.out.size(); ++k) {
                EXPECT_EQ(o.outs[k], before.out[k]) << "text " << k << " is what the slot held before";
            }
            break;
        case SiteKind::list_array:
            EXPECT_EQ(o.pointer, nullptr);
            EXPECT_EQ(in.count, 0);
            EXPECT_EQ(state.string_list, nullptr);
            EXPECT_EQ(state.string_count, 0);
            break;
        case SiteKind::list_text: {
            ASSERT_NE(o.pointer, nullptr);
            EXPECT_EQ(in.count, site.index) << "the list ends before the text without a buffer";
            EXPECT_EQ(state.string_count, site.index);
            auto list = static_cast<char* const*>(o.pointer);
            for (int i = 0; i < site.index; ++i) EXPECT_EQ(seen(list[i]), e.out[static_cast<size_t>(i)]);
            EXPECT_EQ(list[site.index], nullptr);
            break;
        }
        case SiteKind::pair_list_pointers:
        case SiteKind::pair_list_block:
            EXPECT_EQ(o.pointer, nullptr);
            EXPECT_EQ(in.count, static_cast<int32_t>(e.outputs.size())) << "the count stays the client's";
            EXPECT_EQ(state.pair_list, nullptr);
            EXPECT_EQ(state.pair_count, 0);
            break;
        case SiteKind::pair_list_text: {
            ASSERT_NE(o.pointer, nullptr);
            EXPECT_EQ(in.count, static_cast<int32_t>(e.outputs.size()));
            auto list = static_cast<NameValuePair* const*>(o.pointer);
            for (size_t i = 0; i < e.outputs.size(); ++i) {
                for (int f = 0; f < 2; ++f) {
                    const char* got = f == 0 ? list[i]->name : list[i]->value;
                    if (static_cast<int>(i) == site.index && f == site.field) {
                        EXPECT_EQ(got, nullptr) << "the text without a buffer stays null";
                    } else {
                        EXPECT_EQ(seen(got), e.outputs[i][f]) << "output " << i << " field " << f;
                    }
                }
            }
            break;
        }
        case SiteKind::record:
        case SiteKind::state:
            ADD_FAILURE() << "no entry call allocates " << site_name(site.kind);
            break;
    }
}

void ScenarioRunner::check_transcode_failure(const Step& step, const Expected& e, const Site& site, const Outcome& o,
                                             const Inputs& in, const Snapshot& before) {
    SCOPED_TRACE(std::string("transcode failed at ") + site_name(site.kind) + " " + std::to_string(site.index));
    const ConversionState& state = *rec_->conversion;
    if (is_slot_site(site.kind)) {
        const bool inbound = site.kind == SiteKind::in_slot_text;
        if (inbound) {
            EXPECT_EQ(o.result, step.failure_result);
            EXPECT_EQ(client_call(step, before.calls), nullptr) << "the client must not be called";
            EXPECT_EQ(seen(state.in_text[site.index]), truncated(e.in[site.index])) << "what the transcoder wrote";
        } else {
            if (!step.returns_text) {
                EXPECT_EQ(o.result, 0);
            }
            EXPECT_EQ(seen(o.outs[site.index]), truncated(e.out[site.index])) << "what the transcoder wrote";
        }
        check_slots_before(e, site.index, before, inbound);
        return;
    }
    // Copies and lists do not look at the transcoder's status: the text stands as far as written.
    Expected want = e;
    switch (site.kind) {
        case SiteKind::pair_copy_text:
            want.pairs[site.index][site.field] = truncated(e.pairs[site.index][site.field]);
            break;
        case SiteKind::list_text:
            want.out[site.index] = truncated(e.out[site.index]);
            break;
        case SiteKind::pair_list_text:
            want.outputs[site.index][site.field] = truncated(e.outputs[site.index][site.field]);
            break;
        default:
            ADD_FAILURE() << site_name(site.kind) << " does not transcode";
    }
    check_success(step, want, o, in, before);
}

}  // namespace vxrel
