// The workflow entries: the outputs list and its lifetime, the name lists shared with the job list,
// the two converting entries on different connections, and the response-handle destroyers.
#include <cstring>

#include "support/bridge_fixture.h"

namespace vxtest {
namespace {

void* const kBatch = reinterpret_cast<void*>(0x9001);
void* const kRealtime = reinterpret_cast<void*>(0x9002);
void* const kResponse = reinterpret_cast<void*>(0x9100);

class WorkflowTest : public BridgeTest {
  protected:
    void SetUp() override {
        BridgeTest::SetUp();
        make_instance();
    }
    NameValuePair** outputs(int32_t* count) { return ENTRY(rec, 60, bridge_acj_get_outputs)(rec, kResponse, count); }
    void script_outputs(const NameValuePair* pairs, int32_t n) {
        script({.func = JW_acj_get_outputs, .has_count = 1, .count = n, .pair_length = n, .pairs = pairs});
    }
};

TEST_P(WorkflowTest, OutputsAreConvertedIntoOneStoredPairList) {
    const NameValuePair answer[] = {{"Ergebnis", "grün"}, {nullptr, "v"}, {"n", nullptr}};
    script_outputs(answer, 3);
    int32_t count = 0;
    NameValuePair** list = outputs(&count);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(last_call().arg_count, 2);
    EXPECT_EQ(reinterpret_cast<void*>(last_call().args[0]), kResponse);
    EXPECT_EQ(std::string(list[0]->value), session("grün"));
    EXPECT_STREQ(list[1]->name, "") << "a null name becomes an empty text";
    EXPECT_STREQ(list[2]->value, "");
    EXPECT_EQ(list[1], list[0] + 1);
    EXPECT_EQ(state().pair_list, list);
    EXPECT_EQ(state().pair_count, 3);
}

TEST_P(WorkflowTest, EachOutputsCallFreesThePreviousListFirst) {
    const NameValuePair answer[] = {{"a", "1"}, {"b", "2"}};
    int32_t count = 0;
    script_outputs(answer, 2);
    outputs(&count);
    const size_t live_without_list = pool().live() - 6;  // two pointers' array, block, four texts

    script({.func = JW_acj_get_outputs, .pointer = nullptr});
    count = 5;
    EXPECT_EQ(outputs(&count), nullptr);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(pool().live(), live_without_list) << "released even though the client answered null";
    EXPECT_EQ(state().pair_list, nullptr);

    // Counts of zero or less store nothing and answer null.
    for (int32_t n : {0, -2}) {
        script({.func = JW_acj_get_outputs, .has_count = 1, .count = n, .pair_length = 1, .pairs = answer});
        EXPECT_EQ(outputs(&count), nullptr);
        EXPECT_EQ(count, n) << "the count is the client's";
        EXPECT_EQ(pool().live(), live_without_list);
    }
}

TEST_P(WorkflowTest, DestroyingParametersReleasesTheOutputsListEvenForANullHandle) {
    const NameValuePair answer[] = {{"a", "1"}};
    int32_t count = 0;
    script_outputs(answer, 1);
    ASSERT_NE(outputs(&count), nullptr);
    const size_t before = calls();
    ENTRY(rec, 62, bridge_acj_destroy_wf_job_params_rsp_handle)(rec, nullptr);
    EXPECT_EQ(calls(), before);
    EXPECT_EQ(state().pair_list, nullptr);

    script_outputs(answer, 1);
    ASSERT_NE(outputs(&count), nullptr);
    ENTRY(rec, 62, bridge_acj_destroy_wf_job_params_rsp_handle)(rec, kResponse);
    EXPECT_EQ(last_call().func, JW_acj_destroy_wf_job_params_rsp_handle);
    EXPECT_EQ(last_call().arg_count, 1);
    EXPECT_EQ(state().pair_list, nullptr);
}

TEST_P(WorkflowTest, DestroyingAServiceResponseKeepsTheOutputsList) {
    const NameValuePair answer[] = {{"a", "1"}};
    int32_t count = 0;
    script_outputs(answer, 1);
    NameValuePair** list = outputs(&count);
    const size_t before = calls();
    ENTRY(rec, 66, bridge_acj_destroy_wf_svc_rsp_handle)(rec, nullptr);
    EXPECT_EQ(calls(), before);
    ENTRY(rec, 66, bridge_acj_destroy_wf_svc_rsp_handle)(rec, kResponse);
    EXPECT_EQ(last_call().func, JW_acj_destroy_wf_svc_rsp_handle);
    EXPECT_EQ(reinterpret_cast<void*>(last_call().args[0]), kResponse);
    EXPECT_EQ(state().pair_list, list);
    EXPECT_STREQ(list[0]->name, "a");
    EXPECT_TRUE(pool().owns_live(list));
}

TEST_P(WorkflowTest, NameListsShareTheStoredStringList) {
    const char* inputs[] = {"Eingabe", "zwei"};
    const char* names_out[] = {"Ausgabe"};
    int32_t count = 0;
    script({.func = JW_acj_get_input_names, .has_count = 1, .count = 2, .list_length = 2, .list = inputs});
    char** in = ENTRY(rec, 64, bridge_acj_get_input_names)(rec, kResponse, &count);
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(count, 2);
    EXPECT_STREQ(in[0], "Eingabe");

    // A null answer from 63 keeps 64's list.
    script({.func = JW_acj_get_output_names, .pointer = nullptr});
    EXPECT_EQ(ENTRY(rec, 63, bridge_acj_get_output_names)(rec, kResponse, &count), nullptr);
    EXPECT_TRUE(pool().owns_live(in));
    EXPECT_STREQ(in[1], "zwei");

    // A list from 63 frees it.
    script({.func = JW_acj_get_output_names, .has_count = 1, .count = 1, .list_length = 1, .list = names_out});
    char** out = ENTRY(rec, 63, bridge_acj_get_output_names)(rec, kResponse, &count);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(count, 1);
    EXPECT_FALSE(pool().owns_live(in));
    EXPECT_EQ(state().string_list, out);

    // A count of 0 converts nothing, and so does the job list sharing the storage.
    script({.func = JW_acj_get_output_names, .has_count = 1, .count = 0, .list_length = 0, .list = names_out});
    EXPECT_NE(ENTRY(rec, 63, bridge_acj_get_output_names)(rec, kResponse, &count), nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(pool().owns_live(out));
    EXPECT_EQ(last_call().args[0], reinterpret_cast<uint64_t>(kResponse));
}

TEST_P(WorkflowTest, RunAndParametersUseTheirOwnConnectionsAndAnswerMinusOneOnConversionFailure) {
    script({.func = JW_acj_initialize, .pointer = kBatch});
    ENTRY(rec, 22, bridge_acj_initialize)(rec, "http://b", 1);
    AcjResponse service = nullptr;
    ENTRY(rec, 61, bridge_rta_run_workflow_job)(rec, nullptr, kResponse, 12, &service);
    const JwCall& run = last_call();
    EXPECT_EQ(run.func, JW_rta_run_workflow_job);
    ASSERT_EQ(run.arg_count, 5);
    EXPECT_EQ(run.args[0], 0u) << "no real-time connection yet: a null handle, not the batch one";
    EXPECT_STREQ(run.texts[1], "");
    EXPECT_EQ(run.args[2], reinterpret_cast<uint64_t>(kResponse));
    EXPECT_EQ(static_cast<int32_t>(run.args[3]), 12);
    EXPECT_EQ(run.args[4], reinterpret_cast<uint64_t>(&service));

    script({.func = JW_rta_initialize, .pointer = kRealtime});
    ENTRY(rec, 41, bridge_rta_initialize)(rec, "http://r", 1, "s", 1);
    const std::string workflow = session("Prüfung");
    script({.func = JW_rta_run_workflow_job, .result = 4});
    EXPECT_EQ(ENTRY(rec, 61, bridge_rta_run_workflow_job)(rec, workflow.c_str(), nullptr, 0, nullptr), 4);
    EXPECT_EQ(reinterpret_cast<void*>(last_call().args[0]), kRealtime);
    EXPECT_STREQ(last_call().texts[1], "Prüfung");

    AcjResponse params = nullptr;
    script({.func = JW_acj_get_workflow_job_params, .result = 6, .handle_out = kResponse});
    EXPECT_EQ(ENTRY(rec, 65, bridge_acj_get_workflow_job_params)(rec, workflow.c_str(), 3, &params), 6);
    ASSERT_EQ(last_call().arg_count, 4);
    EXPECT_EQ(reinterpret_cast<void*>(last_call().args[0]), kBatch);
    EXPECT_STREQ(last_call().texts[1], "Prüfung");
    EXPECT_EQ(static_cast<int32_t>(last_call().args[2]), 3);
    EXPECT_EQ(params, kResponse);

    const size_t before = calls();
    const std::string longer(300, 'w');
    host.fail_all_allocations(true);
    EXPECT_EQ(ENTRY(rec, 61, bridge_rta_run_workflow_job)(rec, longer.c_str(), nullptr, 0, nullptr), -1);
    EXPECT_EQ(ENTRY(rec, 65, bridge_acj_get_workflow_job_params)(rec, longer.c_str(), 0, nullptr), -1);
    host.clear_faults();
    EXPECT_EQ(calls(), before);
}

VX_INSTANTIATE_OVER_SESSIONS(WorkflowTest);

}  // namespace
}  // namespace vxtest
