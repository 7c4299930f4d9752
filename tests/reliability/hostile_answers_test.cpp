// Hosts and clients that answer badly: a transcoder that reports more bytes than it may write, a
// measure that reports too little or nothing, client counts of zero, below zero or beyond what the
// host can give, and null texts where texts belong. Whatever they answer, nothing is written outside a
// buffer, nothing leaks, every text handed on is terminated inside its own block and is a prefix of
// the right conversion, and the instance keeps working.
#include <climits>

#include "reliability/instance_audit.h"
#include "reliability/sweep_expectations.h"
#include "support/bridge_fixture.h"

namespace vxtest {
namespace {

using namespace vxrel;

// How a text that crossed relates to its right conversion.
enum class Relation {
    exact,
    prefix,       // cut short: the host's short measure left too little room
    starts_with,  // followed by bytes that stood in a reused slot, up to its capacity: the host's
                  // over-report is believed as far as the buffer reaches, never beyond
};

struct HostileHost {
    const char* what;
    void (*arrange)(simhost::Host&);
    Relation slots;    // texts in scratch slots, whose buffers may have held longer texts before
    Relation buffers;  // texts in buffers made for them: the lists
};

const HostileHost kHostileHosts[] = {
    {"transcode reports 1000 bytes more than written", [](simhost::Host& h) { h.transcode_overreport(1000); },
     Relation::starts_with, Relation::exact},
    {"transcode reports a huge count", [](simhost::Host& h) { h.transcode_overreport(UINT64_MAX / 2); },
     Relation::starts_with, Relation::exact},
    {"measure reports 3 bytes too few", [](simhost::Host& h) { h.measure_underreport(3); }, Relation::prefix,
     Relation::prefix},
    {"measure reports nothing at all", [](simhost::Host& h) { h.measure_underreport(UINT64_MAX); }, Relation::prefix,
     Relation::prefix},
    {"measure leaves the count unset", [](simhost::Host& h) { h.measure_leaves_count_unset(true); }, Relation::prefix,
     Relation::prefix},
};

bool is_prefix(const std::string& part, const std::string& of) { return of.compare(0, part.size(), part) == 0; }

bool related(const std::string& got, const std::string& want, Relation relation) {
    switch (relation) {
        case Relation::exact:
            return got == want;
        case Relation::prefix:
            return is_prefix(got, want);
        case Relation::starts_with:
            return is_prefix(want, got);
    }
    return false;
}

class HostileAnswersTest : public BridgeTest {
  protected:
    void SetUp() override {
        BridgeTest::SetUp();
        make_instance();
    }

    // A text handed to the host: terminated inside its own pool block, a prefix of what it should be, and
    // the whole of it when the conversion must stay exact.
    void check_host_text(const char* text, const std::string& want, Relation relation) {
        ASSERT_NE(text, nullptr);
        EXPECT_TRUE(terminated_in_block(pool(), text)) << "not terminated inside its block";
        EXPECT_TRUE(related(text, want, relation)) << "got '" << text << "' for '" << want << "'";
    }

    // Runs one sweep step under the current host settings and checks what crossed.
    void run_step(const Step& step, Relation slots, Relation fresh) {
        SCOPED_TRACE(step.label);
        const Expected e = expected_for(step, encoding, false);
        Inputs in = inputs_for(step, encoding, false);
        const size_t before = calls();
        script_for(step, *sim, false);
        const Outcome o = step.call(rec, in);
        switch (step.shape) {
            case Shape::inbound: {
                // Either every text converted and the client called, or the conversion-failure result.
                const bool called = calls() > before && last_call().func == step.func;
                EXPECT_TRUE(called || slots != Relation::exact) << "an exact conversion must reach the client";
                if (!called) {
                    EXPECT_EQ(o.result, step.failure_result);
                    break;
                }
                for (const TextArg& arg : step.text_args) {
                    const char* got = last_call().texts[arg.position];
                    const std::string& want = e.in[static_cast<size_t>(arg.slot)];
                    EXPECT_TRUE(got == nullptr ? want.empty() : related(got, want, slots))
                        << "argument " << arg.position;
                }
                break;
            }
            case Shape::outbound:
                // A text cut short stops the conversion: the texts after it are what earlier calls left in
                // their slots, null where a slot was never used.
                for (size_t k = 0; k < e.out.size(); ++k) {
                    if (o.outs[k] == nullptr && slots == Relation::prefix) continue;
                    if (o.outs[k] != nullptr && slots == Relation::prefix && !related(o.outs[k], e.out[k], slots)) {
                        EXPECT_TRUE(terminated_in_block(pool(), o.outs[k])) << "an earlier text, still terminated";
                        continue;
                    }
                    check_host_text(o.outs[k], e.out[k], slots);
                }
                break;
            case Shape::string_list: {
                ASSERT_NE(o.pointer, nullptr);
                auto list = static_cast<char* const*>(o.pointer);
                for (int32_t i = 0; i < in.count; ++i) check_host_text(list[i], e.out[static_cast<size_t>(i)], fresh);
                break;
            }
            case Shape::pair_list: {
                ASSERT_NE(o.pointer, nullptr);
                auto list = static_cast<NameValuePair* const*>(o.pointer);
                for (int32_t i = 0; i < in.count; ++i) {
                    check_host_text(list[i]->name, e.outputs[static_cast<size_t>(i)][0], fresh);
                    check_host_text(list[i]->value, e.outputs[static_cast<size_t>(i)][1], fresh);
                }
                break;
            }
            case Shape::release:
                break;
        }
        for (const std::string& problem : audit_instance(rec, pool())) ADD_FAILURE() << problem;
    }
};

TEST_P(HostileAnswersTest, HostileHostAnswersNeverBreakABufferOrTheInstance) {
    // Without transcoders the bytes are copied, and the copy never trusts a short measure.
    const bool copies = state().to_utf8 == nullptr;
    for (const HostileHost& hostile : kHostileHosts) {
        SCOPED_TRACE(hostile.what);
        for (bool warm : {false, true}) {
            if (!warm) {
                destroy_instance();
                make_instance();
            }
            hostile.arrange(host);
            for (const Step& step : steps()) {
                run_step(step, copies ? Relation::exact : hostile.slots, copies ? Relation::exact : hostile.buffers);
            }
            host.clear_faults();
        }
        // Once the host answers properly again, every entry converts exactly.
        for (const Step& step : steps()) run_step(step, Relation::exact, Relation::exact);
    }
}

// Client counts for the three string-list entries and the outputs entry, against a list of two texts.
struct HostileCount {
    int32_t count;
    bool list_stored;       // the string-list entries store and return a list
    int32_t written;        // what they write back
    bool outputs_returned;  // the outputs entry returns a list
};

const HostileCount kHostileCounts[] = {
    {0, true, 0, false},           // an empty array: nothing is written into it
    {-1, false, 0, false},         //
    {INT32_MIN, false, 0, false},  //
    {INT32_MAX, false, 0, false},  // more than any host gives: the array is refused
    {4096, true, 4096, true},      // more texts than given: the client's own array holds nulls there
};

TEST_P(HostileAnswersTest, ClientCountsOfZeroBelowZeroAndBeyondAnyArrayAreHandled) {
    host.set_logging(false);  // thousands of texts
    const char* texts[] = {"erstes-ä", nullptr};
    const NameValuePair pairs[] = {{"n", "ü"}, {nullptr, nullptr}};
    for (const HostileCount& c : kHostileCounts) {
        SCOPED_TRACE(c.count);
        for (int entry : {29, 63, 64}) {
            SCOPED_TRACE(entry);
            script({.func = step(entry).func, .has_count = 1, .count = c.count, .list_length = 2, .list = texts});
            Inputs in;
            in.count = 12345;
            const Outcome o = step(entry).call(rec, in);
            EXPECT_EQ(o.pointer != nullptr, c.list_stored);
            EXPECT_EQ(in.count, c.written);
            EXPECT_EQ(state().string_count, c.written);
            if (c.written > 1) {
                auto list = static_cast<char* const*>(o.pointer);
                EXPECT_EQ(std::string(list[0]), session("erstes-ä"));
                EXPECT_STREQ(list[1], "") << "a null text inside the client's array becomes an empty text";
                EXPECT_STREQ(list[c.written - 1], "");
            }
            for (const std::string& problem : audit_instance(rec, pool())) ADD_FAILURE() << problem;
        }
        script({.func = JW_acj_get_outputs, .has_count = 1, .count = c.count, .pair_length = 2, .pairs = pairs});
        Inputs in;
        const Outcome o = step(60).call(rec, in);
        EXPECT_EQ(o.pointer != nullptr, c.outputs_returned);
        EXPECT_EQ(in.count, c.count) << "the outputs entry never writes the count";
        EXPECT_EQ(state().pair_count, c.outputs_returned ? c.count : 0);
        if (c.outputs_returned) {
            auto list = static_cast<NameValuePair* const*>(o.pointer);
            EXPECT_EQ(std::string(list[0]->value), session("ü"));
            EXPECT_STREQ(list[1]->name, "") << "null name and value become empty texts";
            EXPECT_STREQ(list[c.count - 1]->value, "") << "a null record pointer counts as two empty texts";
        }
        for (const std::string& problem : audit_instance(rec, pool())) ADD_FAILURE() << problem;
    }
}

TEST_P(HostileAnswersTest, NullTextsAfterASuccessfulStatusReachTheHostAsEmptyTexts) {
    const char* none[3] = {nullptr, nullptr, nullptr};
    script({.func = JW_acj_get_job_status_item, .out_count = 3, .out_texts = {none[0], none[1], none[2]}});
    const char* texts[3] = {"x", "y", "z"};
    int32_t job_state = 0;
    ASSERT_EQ(ENTRY(rec, 33, bridge_acj_get_job_status_item)(rec, 0, &texts[0], &texts[1], &job_state, &texts[2]), 0);
    for (const char* t : texts) check_host_text(t, "", Relation::exact);

    script({.func = JW_rta_get_error, .text = "Fehler", .out_count = 2, .out_texts = {nullptr, nullptr}});
    const char* code = "x";
    const char* origin = "y";
    const char* message = ENTRY(rec, 49, bridge_rta_get_error)(rec, &code, &origin);
    check_host_text(message, session("Fehler"), Relation::exact);
    check_host_text(code, "", Relation::exact);
    check_host_text(origin, "", Relation::exact);

    script({.func = JW_acj_get_product_full_version, .pointer = nullptr});
    check_host_text(ENTRY(rec, 72, bridge_acj_get_product_full_version)(rec, reinterpret_cast<AcjResponse>(1)), "",
                    Relation::exact);
    for (const std::string& problem : audit_instance(rec, pool())) ADD_FAILURE() << problem;
}

VX_INSTANTIATE_OVER_SESSIONS(HostileAnswersTest);

}  // namespace
}  // namespace vxtest
