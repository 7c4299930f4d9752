// The batch job entries: running jobs of both kinds with their texts and pairs, status items and field
// information converted back, the job list, and the text-taking entries.
#include <cstring>
#include <functional>

#include "support/bridge_fixture.h"

namespace vxtest {
namespace {

void* const kHandle = reinterpret_cast<void*>(0x6001);

class BatchJobsTest : public BridgeTest {
  protected:
    void SetUp() override {
        BridgeTest::SetUp();
        make_instance();
        script({.func = JW_acj_initialize, .pointer = kHandle});
        ASSERT_EQ(ENTRY(rec, 22, bridge_acj_initialize)(rec, "http://jobs", 80), 0);
    }
    char** joblist(int32_t* count) { return ENTRY(rec, 29, bridge_acj_joblist)(rec, 3, count, 9); }
};

TEST_P(BatchJobsTest, ProfileJobGetsTenArgumentsWithAbsentOptionalTextsAsNull) {
    struct Case {
        const char* project;
        const char* folder;
        const char* comment;
        bool project_null, folder_null, comment_null;
    };
    const Case cases[] = {
        {"", nullptr, "note", true, true, false},
        {"proj", "dir", nullptr, false, false, true},
        {nullptr, "", "", true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.project_null << c.folder_null << c.comment_null);
        int32_t job_id = 0;
        script({.func = JW_acj_run_prof_job, .result = 17});
        EXPECT_EQ(ENTRY(rec, 30, bridge_acj_run_prof_job)(rec, "", c.project, c.folder, -4, c.comment, nullptr, nullptr,
                                                          2, &job_id),
                  17);
        const JwCall& got = last_call();
        ASSERT_EQ(got.arg_count, 10);
        EXPECT_EQ(reinterpret_cast<void*>(got.args[0]), kHandle);
        EXPECT_STREQ(got.texts[1], "") << "the profile is never null";
        EXPECT_EQ(got.args[2] == 0, c.project_null);
        EXPECT_EQ(got.args[3] == 0, c.folder_null);
        EXPECT_EQ(static_cast<int32_t>(got.args[4]), -4);
        EXPECT_EQ(got.args[5] == 0, c.comment_null);
        if (!c.comment_null) {
            EXPECT_STREQ(got.texts[5], c.comment);
        }
        EXPECT_STREQ(got.texts[6], "") << "the owner is never null";
        EXPECT_EQ(got.args[7], 0u) << "no array: no copy";
        EXPECT_EQ(static_cast<int32_t>(got.args[8]), 2) << "the count goes as the host gave it";
        EXPECT_EQ(got.args[9], reinterpret_cast<uint64_t>(&job_id));
    }
}

TEST_P(BatchJobsTest, JobPairsAreConvertedForTheCallAndFreedAfterIt) {
    const std::string name = session("größe");
    const std::string value = session("zwölf");
    const NameValuePair pairs[] = {{name.c_str(), value.c_str()}, {nullptr, "2"}};
    ENTRY(rec, 30, bridge_acj_run_prof_job)(rec, "p", "", "", 0, "", "o", pairs, 2, nullptr);  // warm the slots
    const size_t live = pool().live();
    const size_t allocations = pool().allocation_count();

    script({.func = JW_acj_run_prof_job, .result = 5});
    EXPECT_EQ(ENTRY(rec, 30, bridge_acj_run_prof_job)(rec, "p", "", "", 0, "", "o", pairs, 2, nullptr), 5);
    ASSERT_EQ(last_call().pair_count, 2);
    EXPECT_STREQ(last_call().pairs[0].name, "größe");
    EXPECT_STREQ(last_call().pairs[0].value, "zwölf");
    EXPECT_STREQ(last_call().pairs[1].name, "");
    EXPECT_EQ(pool().live(), live) << "the copy is gone after the call";
    EXPECT_EQ(pool().allocation_count(), allocations + 5) << "one array and four texts";
    EXPECT_EQ(pool().allocations()[allocations].flags, POOL_FLAG_ARRAY);

    script({.func = JW_acj_run_arch_job, .result = 6});
    EXPECT_EQ(ENTRY(rec, 31, bridge_acj_run_arch_job)(rec, "arch", pairs, 1, nullptr), 6);
    ASSERT_EQ(last_call().arg_count, 5);
    ASSERT_EQ(last_call().pair_count, 1);
    EXPECT_STREQ(last_call().pairs[0].value, "zwölf");
    EXPECT_EQ(pool().live(), live);
}

TEST_P(BatchJobsTest, ArchitectJobWithoutPairsOrTextGetsNullAndEmpty) {
    const NameValuePair pair{"n", "v"};
    script({.func = JW_acj_run_arch_job, .result = 0, .times = 2});
    EXPECT_EQ(ENTRY(rec, 31, bridge_acj_run_arch_job)(rec, nullptr, &pair, 0, nullptr), 0);
    EXPECT_STREQ(last_call().texts[1], "");
    EXPECT_EQ(last_call().args[2], 0u);
    EXPECT_EQ(static_cast<int32_t>(last_call().args[3]), 0);
    EXPECT_EQ(ENTRY(rec, 31, bridge_acj_run_arch_job)(rec, "", &pair, -1, nullptr), 0);
    EXPECT_EQ(last_call().args[2], 0u);
    EXPECT_EQ(static_cast<int32_t>(last_call().args[3]), -1);
}

TEST_P(BatchJobsTest, FailedConversionsReturnOneWithoutCallingTheClient) {
    const NameValuePair pair{"name", "value"};
    const std::string longer(300, 'L');
    struct Case {
        const char* what;
        std::function<int32_t()> run;
    };
    const Case cases[] = {
        {"30 texts",
         [&] {
             return ENTRY(rec, 30, bridge_acj_run_prof_job)(rec, "a", "b", "c", 0, "d", longer.c_str(), nullptr, 0,
                                                            nullptr);
         }},
        {"30 pairs",
         [&] { return ENTRY(rec, 30, bridge_acj_run_prof_job)(rec, "a", "b", "c", 0, "d", "e", &pair, 1, nullptr); }},
        {"31 text", [&] { return ENTRY(rec, 31, bridge_acj_run_arch_job)(rec, longer.c_str(), nullptr, 0, nullptr); }},
        {"31 pairs", [&] { return ENTRY(rec, 31, bridge_acj_run_arch_job)(rec, "a", &pair, 1, nullptr); }},
        {"32", [&] { return ENTRY(rec, 32, bridge_acj_get_job_status)(rec, longer.c_str(), nullptr); }},
        {"35", [&] { return ENTRY(rec, 35, bridge_acj_get_job_log)(rec, "1", longer.c_str()); }},
        {"36", [&] { return ENTRY(rec, 36, bridge_acj_terminate_job)(rec, longer.c_str()); }},
        {"37", [&] { return ENTRY(rec, 37, bridge_acj_delete_job_log)(rec, longer.c_str()); }},
        {"38",
         [&] {
             return ENTRY(rec, 38, bridge_acj_rt_io_info)(rec, longer.c_str(), nullptr, nullptr, nullptr, nullptr);
         }},
    };
    // Give every slot a buffer first, so that only the long text or the pair copy needs an allocation.
    ENTRY(rec, 30, bridge_acj_run_prof_job)(rec, "a", "b", "c", 0, "d", "e", nullptr, 0, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const size_t before = calls();
        const size_t live = pool().live();
        host.fail_all_allocations(true);
        EXPECT_EQ(c.run(), 1);
        host.clear_faults();
        EXPECT_EQ(calls(), before);
        EXPECT_LE(pool().live(), live) << "nothing of a failed copy stays behind";
    }
}

TEST_P(BatchJobsTest, TextEntriesConvertIntoSlotsAndPassEverythingElse) {
    const std::string job = session("jöb-1");
    int32_t state_out = 0;
    int32_t a = 0, b = 0, c = 0, d = 0;
    script({.func = JW_acj_get_job_status, .result = 3});
    EXPECT_EQ(ENTRY(rec, 32, bridge_acj_get_job_status)(rec, job.c_str(), &state_out), 3);
    EXPECT_EQ(last_call().arg_count, 3);
    EXPECT_STREQ(last_call().texts[1], "jöb-1");
    EXPECT_EQ(last_call().args[2], reinterpret_cast<uint64_t>(&state_out));

    script({.func = JW_acj_get_job_log, .result = 13});
    EXPECT_EQ(ENTRY(rec, 35, bridge_acj_get_job_log)(rec, job.c_str(), session("/tmp/ünï.log").c_str()), 13);
    EXPECT_EQ(last_call().arg_count, 3);
    EXPECT_STREQ(last_call().texts[2], "/tmp/ünï.log");

    ENTRY(rec, 36, bridge_acj_terminate_job)(rec, nullptr);
    EXPECT_EQ(last_call().func, JW_acj_terminate_job);
    EXPECT_EQ(last_call().arg_count, 2);
    ASSERT_NE(last_call().texts[1], nullptr);
    EXPECT_STREQ(last_call().texts[1], "");

    ENTRY(rec, 37, bridge_acj_delete_job_log)(rec, job.c_str());
    EXPECT_EQ(last_call().func, JW_acj_delete_job_log);
    EXPECT_STREQ(last_call().texts[1], "jöb-1");

    script({.func = JW_acj_rt_io_info, .result = 8});
    EXPECT_EQ(ENTRY(rec, 38, bridge_acj_rt_io_info)(rec, "svc", &a, &b, &c, &d), 8);
    const JwCall& io = last_call();
    ASSERT_EQ(io.arg_count, 6);
    EXPECT_STREQ(io.texts[1], "svc");
    EXPECT_EQ(io.args[2], reinterpret_cast<uint64_t>(&a));
    EXPECT_EQ(io.args[3], reinterpret_cast<uint64_t>(&b));
    EXPECT_EQ(io.args[4], reinterpret_cast<uint64_t>(&c)) << "further arguments reach the client unchanged";
    EXPECT_EQ(io.args[5], reinterpret_cast<uint64_t>(&d));
}

TEST_P(BatchJobsTest, StatusItemTextsComeBackConvertedInTheThreeOutboundSlots) {
    const char* id = "stale";
    const char* name = "stale";
    const char* message = "stale";
    int32_t st = 0;
    script({.func = JW_acj_get_job_status_item, .out_count = 3, .out_texts = {"42", nullptr, "fertig ✓"}});
    EXPECT_EQ(ENTRY(rec, 33, bridge_acj_get_job_status_item)(rec, 7, &id, &name, &st, &message), 0);
    EXPECT_EQ(last_call().arg_count, 6);
    EXPECT_EQ(static_cast<int32_t>(last_call().args[1]), 7);
    EXPECT_EQ(id, state().out_text[0]);
    EXPECT_EQ(name, state().out_text[1]);
    EXPECT_EQ(message, state().out_text[2]);
    EXPECT_STREQ(id, "42");
    EXPECT_STREQ(name, "") << "a null text from the client becomes an empty text";
    EXPECT_EQ(std::string(message), session("fertig ✓"));

    int64_t sequence = 0;
    script({.func = JW_acj_get_job_status_item2, .out_count = 3, .out_texts = {"43", "nämlich", "m"}});
    EXPECT_EQ(ENTRY(rec, 34, bridge_acj_get_job_status_item2)(rec, 8, &id, &name, &st, &message, &sequence), 0);
    EXPECT_EQ(last_call().arg_count, 7);
    EXPECT_EQ(last_call().args[6], reinterpret_cast<uint64_t>(&sequence));
    EXPECT_EQ(std::string(name), session("nämlich"));

    // A failed status leaves the host's pointers as the client left them and the slots alone.
    const char* client_text = "untouched";
    const char* p1 = client_text;
    const std::string slot0 = state().out_text[0];
    script({.func = JW_acj_get_job_status_item, .result = 4});
    EXPECT_EQ(ENTRY(rec, 33, bridge_acj_get_job_status_item)(rec, 9, &p1, &name, &st, &message), 4);
    EXPECT_EQ(p1, client_text);
    EXPECT_EQ(std::string(state().out_text[0]), slot0);
    script({.func = JW_acj_get_job_status_item2, .result = 5, .out_count = 1, .out_texts = {"raw"}});
    EXPECT_EQ(ENTRY(rec, 34, bridge_acj_get_job_status_item2)(rec, 9, &p1, &name, &st, &message, &sequence), 5);
    EXPECT_STREQ(p1, "raw") << "the client's own text, not converted";
}

TEST_P(BatchJobsTest, FieldInfoNameIsReplacedOnlyOnSuccess) {
    const char* name = nullptr;
    int32_t type = 0, length = 0;
    script({.func = JW_acj_rt_input_fieldinfo, .out_count = 1, .out_texts = {"Straße"}});
    EXPECT_EQ(ENTRY(rec, 39, bridge_acj_rt_input_fieldinfo)(rec, 2, &name, &type, &length), 0);
    EXPECT_EQ(std::string(name), session("Straße"));
    EXPECT_EQ(last_call().arg_count, 5);
    EXPECT_EQ(last_call().args[3], reinterpret_cast<uint64_t>(&type));
    EXPECT_EQ(last_call().args[4], reinterpret_cast<uint64_t>(&length));
    const char* first = name;
    script({.func = JW_acj_rt_output_fieldinfo, .out_count = 1, .out_texts = {"Ort"}});
    EXPECT_EQ(ENTRY(rec, 40, bridge_acj_rt_output_fieldinfo)(rec, 0, &name, &type, &length), 0);
    EXPECT_STREQ(first, "Ort") << "entry 40 rewrote the text entry 39 handed out";

    script({.func = JW_acj_rt_output_fieldinfo, .result = 3, .out_count = 1, .out_texts = {"raw"}});
    EXPECT_EQ(ENTRY(rec, 40, bridge_acj_rt_output_fieldinfo)(rec, 0, &name, &type, &length), 3);
    EXPECT_STREQ(name, "raw");
    EXPECT_NE(name, state().out_text[0]);
}

TEST_P(BatchJobsTest, JobListIsConvertedAndReplacesThePreviousList) {
    const char* jobs[] = {"1", "zwei", "drei"};
    int32_t count = 0;
    script({.func = JW_acj_joblist, .has_count = 1, .count = 3, .list_length = 3, .list = jobs});
    char** list = joblist(&count);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(count, 3);
    EXPECT_STREQ(list[1], "zwei");
    EXPECT_EQ(last_call().arg_count, 4);
    EXPECT_EQ(static_cast<int32_t>(last_call().args[1]), 3);
    EXPECT_EQ(last_call().args[2], reinterpret_cast<uint64_t>(&count));
    EXPECT_EQ(static_cast<int32_t>(last_call().args[3]), 9);
    EXPECT_EQ(pool().live_allocations().size(), pool().live());
    const size_t live_with_list = pool().live();

    // An empty answer frees the old list and keeps the count at 0.
    script({.func = JW_acj_joblist, .has_count = 1, .count = 0, .list_length = 0, .list = jobs});
    char** empty = joblist(&count);
    EXPECT_NE(empty, nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(pool().live(), live_with_list - 3);

    // A negative count: nothing converted, 0 written back, null.
    script({.func = JW_acj_joblist, .has_count = 1, .count = -4, .list_length = 1, .list = jobs});
    EXPECT_EQ(joblist(&count), nullptr);
    EXPECT_EQ(count, 0);
}

TEST_P(BatchJobsTest, NullJobListKeepsTheNamesAnotherListEntryReturned) {
    const char* names[] = {"eingabe"};
    int32_t count = 0;
    script({.func = JW_acj_get_output_names, .has_count = 1, .count = 1, .list_length = 1, .list = names});
    char** kept = ENTRY(rec, 63, bridge_acj_get_output_names)(rec, reinterpret_cast<void*>(0x99), &count);
    ASSERT_NE(kept, nullptr);
    const size_t allocations = pool().allocation_count();

    int32_t job_count = 77;
    script({.func = JW_acj_joblist, .pointer = nullptr});
    EXPECT_EQ(joblist(&job_count), nullptr);
    EXPECT_EQ(job_count, 77) << "the count stays as the client left it";
    EXPECT_STREQ(kept[0], "eingabe");
    EXPECT_EQ(pool().allocation_count(), allocations);
    EXPECT_TRUE(pool().owns_live(kept));
}

TEST_P(BatchJobsTest, MissingOutAddressesAreNeitherReadNorWritten) {
    const char* id = nullptr;
    const char* message = nullptr;
    script({.func = JW_acj_get_job_status_item, .out_count = 3, .out_texts = {"1", "skipped", "m"}});
    EXPECT_EQ(ENTRY(rec, 33, bridge_acj_get_job_status_item)(rec, 0, &id, nullptr, nullptr, &message), 0);
    EXPECT_STREQ(id, "1");
    EXPECT_STREQ(message, "m");
    EXPECT_STREQ(state().out_text[1], "") << "no address: converted as an empty text";
    script({.func = JW_acj_rt_input_fieldinfo});
    EXPECT_EQ(ENTRY(rec, 39, bridge_acj_rt_input_fieldinfo)(rec, 0, nullptr, nullptr, nullptr), 0);

    // A list answered without a count address has no known length: nothing is copied.
    const char* jobs[] = {"1"};
    script({.func = JW_acj_joblist, .list_length = 1, .list = jobs});
    EXPECT_EQ(ENTRY(rec, 29, bridge_acj_joblist)(rec, -1, nullptr, 0), nullptr);
    EXPECT_EQ(state().string_list, nullptr);
}

VX_INSTANTIATE_OVER_SESSIONS(BatchJobsTest);

}  // namespace
}  // namespace vxtest
