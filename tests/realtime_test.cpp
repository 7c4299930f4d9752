// The real-time entries: opening the connection, the converting entries, error texts and output
// values converted back, pass-throughs on the real-time handle, and name/value runs.
#include <cstring>

#include "support/bridge_fixture.h"

namespace vxtest {
namespace {

void* const kRtaHandle = reinterpret_cast<void*>(0x8001);
void* const kOtherHandle = reinterpret_cast<void*>(0x8002);

class RealtimeTest : public BridgeTest {
  protected:
    void SetUp() override {
        BridgeTest::SetUp();
        make_instance();
    }
    int32_t initialize(const char* server, const char* service) {
        return ENTRY(rec, 41, bridge_rta_initialize)(rec, server, 90, service, 30);
    }
    void open(void* handle) {
        script({.func = JW_rta_initialize, .pointer = handle});
        ASSERT_EQ(initialize("http://rt", "upper"), 0);
    }
};

TEST_P(RealtimeTest, InitializeConvertsBothTextsAndStoresTheHandle) {
    const std::string service = session("grüßen");
    open(kRtaHandle);
    EXPECT_EQ(rec->rta_handle, kRtaHandle);
    script({.func = JW_rta_initialize, .pointer = kOtherHandle});
    EXPECT_EQ(initialize(nullptr, service.c_str()), 0);
    EXPECT_EQ(rec->rta_handle, kOtherHandle);
    const JwCall& got = last_call();
    ASSERT_EQ(got.arg_count, 4);
    EXPECT_STREQ(got.texts[0], "");
    EXPECT_EQ(static_cast<int32_t>(got.args[1]), 90);
    EXPECT_STREQ(got.texts[2], "grüßen");
    EXPECT_EQ(static_cast<int32_t>(got.args[3]), 30);
    // No SSL answer, no server or port, no connection ended.
    for (size_t i = 0; i < calls(); ++i) {
        EXPECT_NE(call(i).func, JW_acj_set_adv_option);
        EXPECT_NE(call(i).func, JW_rta_terminate);
    }
    EXPECT_STREQ(rec->server, "");
    EXPECT_EQ(rec->port, -1);
}

TEST_P(RealtimeTest, InitializeFailures) {
    EXPECT_EQ(ENTRY(rec, 41, bridge_rta_initialize)(nullptr, "s", 1, "v", 1), -1);
    EXPECT_EQ(calls(), 0u);

    open(kRtaHandle);
    const size_t before = calls();
    host.fail_all_allocations(true);
    const std::string longer(500, 's');
    EXPECT_EQ(initialize("http://rt", longer.c_str()), 1);
    host.clear_faults();
    EXPECT_EQ(calls(), before);
    EXPECT_EQ(rec->rta_handle, kRtaHandle);

    script({.func = JW_rta_initialize, .pointer = nullptr});
    EXPECT_EQ(initialize("http://rt", "x"), 1);
    EXPECT_EQ(rec->rta_handle, nullptr);
}

TEST_P(RealtimeTest, ConvertingEntriesHandSlotTextsAndTheirOtherArguments) {
    open(kRtaHandle);
    script({.func = JW_rta_set_credentials, .result = 14});
    EXPECT_EQ(ENTRY(rec, 43, bridge_rta_set_credentials)(rec, nullptr, ""), 14);
    EXPECT_EQ(last_call().arg_count, 3);
    EXPECT_EQ(reinterpret_cast<void*>(last_call().args[0]), kRtaHandle);
    EXPECT_STREQ(last_call().texts[1], "");
    EXPECT_STREQ(last_call().texts[2], "");

    const std::string field = session("Straße");
    script({.func = JW_rta_set_infield_info, .result = 12});
    EXPECT_EQ(ENTRY(rec, 45, bridge_rta_set_infield_info)(rec, 3, field.c_str(), 4, 5), 12);
    ASSERT_EQ(last_call().arg_count, 5);
    EXPECT_EQ(static_cast<int32_t>(last_call().args[1]), 3);
    EXPECT_STREQ(last_call().texts[2], "Straße");
    EXPECT_EQ(static_cast<int32_t>(last_call().args[3]), 4);
    EXPECT_EQ(static_cast<int32_t>(last_call().args[4]), 5);

    ENTRY(rec, 47, bridge_rta_set_data_value)(rec, 6, nullptr);
    ASSERT_EQ(last_call().arg_count, 3);
    EXPECT_EQ(static_cast<int32_t>(last_call().args[1]), 6);
    ASSERT_NE(last_call().texts[2], nullptr);
    EXPECT_STREQ(last_call().texts[2], "");

    const size_t before = calls();
    const std::string longer(400, 'v');
    host.fail_all_allocations(true);
    EXPECT_EQ(ENTRY(rec, 43, bridge_rta_set_credentials)(rec, "u", longer.c_str()), 1);
    EXPECT_EQ(ENTRY(rec, 45, bridge_rta_set_infield_info)(rec, 0, longer.c_str(), 0, 0), 1);
    EXPECT_EQ(ENTRY(rec, 47, bridge_rta_set_data_value)(rec, 0, longer.c_str()), 1);
    host.clear_faults();
    EXPECT_EQ(calls(), before);
}

TEST_P(RealtimeTest, PassThroughEntriesUseTheRealTimeHandleEvenAfterTerminate) {
    script({.func = JW_acj_initialize, .pointer = reinterpret_cast<void*>(0x1)});
    ENTRY(rec, 22, bridge_acj_initialize)(rec, "http://batch", 1);
    open(kRtaHandle);
    const std::string env = session("rt-é");
    script({.func = JW_rta_set_timeout, .result = 21});
    EXPECT_EQ(ENTRY(rec, 42, bridge_rta_set_timeout)(rec, 15), 21);
    EXPECT_EQ(static_cast<int32_t>(last_call().args[1]), 15);
    ENTRY(rec, 44, bridge_rta_set_orbenv)(rec, env.c_str());
    EXPECT_EQ(last_call().args[1], reinterpret_cast<uint64_t>(env.c_str())) << "unconverted";
    script({.func = JW_rta_add_row, .result = 22});
    EXPECT_EQ(ENTRY(rec, 46, bridge_rta_add_row)(rec), 22);
    script({.func = JW_rta_output_numrows, .result = 23});
    EXPECT_EQ(ENTRY(rec, 50, bridge_rta_output_numrows)(rec), 23);
    script({.func = JW_rta_output_numfields, .result = 24});
    EXPECT_EQ(ENTRY(rec, 51, bridge_rta_output_numfields)(rec), 24);
    script({.func = JW_rta_terminate, .result = 25});
    EXPECT_EQ(ENTRY(rec, 54, bridge_rta_terminate)(rec), 25);
    EXPECT_EQ(rec->rta_handle, kRtaHandle) << "terminate leaves the handle stored";
    script({.func = JW_rta_run, .result = 26});
    EXPECT_EQ(ENTRY(rec, 48, bridge_rta_run)(rec), 26);
    EXPECT_EQ(reinterpret_cast<void*>(last_call().args[0]), kRtaHandle);
    for (size_t i = 2; i < calls(); ++i) {
        if (call(i).func != JW_rta_initialize) {
            EXPECT_EQ(reinterpret_cast<void*>(call(i).args[0]), kRtaHandle);
        }
    }
}

TEST_P(RealtimeTest, ErrorTextsAreConvertedIntoAllThreeOutboundSlots) {
    open(kRtaHandle);
    const char* code = "stale";
    const char* origin = "stale";
    script({.func = JW_rta_get_error, .text = "Feld ungültig", .out_count = 2, .out_texts = {nullptr, nullptr}});
    const char* message = ENTRY(rec, 49, bridge_rta_get_error)(rec, &code, &origin);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(std::string(message), session("Feld ungültig"));
    EXPECT_EQ(message, state().out_text[0]);
    EXPECT_EQ(code, state().out_text[1]);
    EXPECT_EQ(origin, state().out_text[2]);
    EXPECT_STREQ(code, "");
    EXPECT_STREQ(origin, "");
    EXPECT_EQ(last_call().arg_count, 3);

    // No error: null, and the host's pointers are left as the client left them.
    const char* kept = "kept";
    code = kept;
    origin = kept;
    script({.func = JW_rta_get_error, .pointer = nullptr});
    EXPECT_EQ(ENTRY(rec, 49, bridge_rta_get_error)(rec, &code, &origin), nullptr);
    EXPECT_EQ(code, kept);
    EXPECT_EQ(origin, kept);
    EXPECT_EQ(std::string(message), session("Feld ungültig")) << "slots unchanged";
}

TEST_P(RealtimeTest, OutputValueLivesInSlotZeroUntilTheNextTextEntry) {
    open(kRtaHandle);
    script({.func = JW_rta_output_data, .text = "ÄRGER und noch mehr Text"});
    const char* value = ENTRY(rec, 53, bridge_rta_output_data)(rec, 1, 2);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(std::string(value), session("ÄRGER und noch mehr Text"));
    ASSERT_EQ(last_call().arg_count, 3);
    EXPECT_EQ(static_cast<int32_t>(last_call().args[1]), 1);
    EXPECT_EQ(static_cast<int32_t>(last_call().args[2]), 2);

    script({.func = JW_rta_output_data, .pointer = nullptr});
    EXPECT_EQ(ENTRY(rec, 53, bridge_rta_output_data)(rec, 9, 9), nullptr);
    EXPECT_EQ(std::string(value), session("ÄRGER und noch mehr Text")) << "a null value changes nothing";

    const char* name = nullptr;
    script({.func = JW_rta_output_fieldinfo, .out_count = 1, .out_texts = {"NAME"}});
    EXPECT_EQ(ENTRY(rec, 52, bridge_rta_output_fieldinfo)(rec, 0, &name, nullptr, nullptr), 0);
    EXPECT_EQ(name, value);
    EXPECT_STREQ(value, "NAME");
    script({.func = JW_rta_get_error, .text = "E"});
    const char *c = nullptr, *o = nullptr;
    ENTRY(rec, 49, bridge_rta_get_error)(rec, &c, &o);
    EXPECT_STREQ(value, "E");
    script({.func = JW_rta_output_data, .text = "next"});
    ENTRY(rec, 53, bridge_rta_output_data)(rec, 0, 0);
    EXPECT_STREQ(value, "next");

    const char* raw = "raw";
    name = raw;
    script({.func = JW_rta_output_fieldinfo, .result = 7});
    EXPECT_EQ(ENTRY(rec, 52, bridge_rta_output_fieldinfo)(rec, 5, &name, nullptr, nullptr), 7);
    EXPECT_EQ(name, raw);
    EXPECT_STREQ(value, "next");
}

TEST_P(RealtimeTest, RunWithPairsCopiesOnlyANonEmptyArray) {
    open(kRtaHandle);
    const std::string value = session("Müller");
    const NameValuePair pairs[] = {{"name", value.c_str()}};
    script({.func = JW_rta_run2, .result = 31});
    EXPECT_EQ(ENTRY(rec, 55, bridge_rta_run2)(rec, nullptr, 3), 31);
    EXPECT_EQ(last_call().args[1], 0u);
    EXPECT_EQ(static_cast<int32_t>(last_call().args[2]), 3);
    script({.func = JW_rta_run2, .result = 32, .times = 2});
    EXPECT_EQ(ENTRY(rec, 55, bridge_rta_run2)(rec, pairs, 0), 32);
    EXPECT_EQ(last_call().args[1], 0u);

    const size_t live = pool().live();
    EXPECT_EQ(ENTRY(rec, 55, bridge_rta_run2)(rec, pairs, 1), 32);
    ASSERT_EQ(last_call().pair_count, 1);
    EXPECT_STREQ(last_call().pairs[0].value, "Müller");
    EXPECT_EQ(pool().live(), live);

    const size_t before = calls();
    host.fail_allocation_at(3);  // the value's buffer
    EXPECT_EQ(ENTRY(rec, 55, bridge_rta_run2)(rec, pairs, 1), 1);
    EXPECT_EQ(calls(), before);
    EXPECT_EQ(pool().live(), live);
}

VX_INSTANTIATE_OVER_SESSIONS(RealtimeTest);

}  // namespace
}  // namespace vxtest
