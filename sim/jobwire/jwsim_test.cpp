// Tests of the stand-in client library's control API: exports, recording, scripted answers, reset and
// two libraries side by side. The job server's own rules are tested in server_test.cpp.
#include "sim/jobwire/jwsim.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "sim/jobwire/client_library_loader.h"

namespace {

using jwtest::answers_one;
using jwtest::answers_zero;
using jwtest::ClientLibrary;
using jwtest::plain_library;
using jwtest::ssl_library;

JwAnswer answer_for(JwFunc func) {
    JwAnswer answer{};
    answer.func = func;
    return answer;
}

uint64_t raw(const void* pointer) { return reinterpret_cast<uintptr_t>(pointer); }

const void* fake_pointer(uintptr_t value) { return reinterpret_cast<const void*>(value); }

// Handles of every kind the library makes.
struct Handles {
    AcjHandle batch = nullptr;
    RtaHandle realtime = nullptr;
    AcjResponse version = nullptr;
    AcjResponse params = nullptr;
    AcjResponse service = nullptr;
};

class JobwireTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(lib.loaded()) << lib.error();
        api().reset();
    }

    const JwSimApi& api() const { return lib.api(); }
    void script(const JwAnswer& answer) const { api().script(&answer); }
    const JwCall& last_call() const {
        const JwCall* call = api().call(api().call_count() - 1);
        EXPECT_NE(call, nullptr);
        return *call;
    }

    Handles open_handles() const {
        Handles h;
        h.batch = JW(lib, acj_initialize)("http://jobs.example", 8080);
        EXPECT_EQ(JW(lib, acj_set_credentials)(h.batch, "operator", "secret"), 0);
        h.realtime = JW(lib, rta_initialize)("http://jobs.example", 8081, "upper", 30);
        EXPECT_EQ(JW(lib, acj_get_server_version2)(h.batch, &h.version), 0);
        EXPECT_EQ(JW(lib, acj_get_workflow_job_params)(h.batch, "greeting", 0, &h.params), 0);
        EXPECT_EQ(JW(lib, rta_run_workflow_job)(h.realtime, "greeting", h.params, 30, &h.service), 0);
        EXPECT_NE(h.batch, nullptr);
        EXPECT_NE(h.realtime, nullptr);
        EXPECT_NE(h.version, nullptr);
        EXPECT_NE(h.params, nullptr);
        EXPECT_NE(h.service, nullptr);
        return h;
    }

    ClientLibrary& lib = plain_library();
};

// ---- exports and recording ----------------------------------------------------------------------------

struct FunctionCase {
    JwFunc id;
    const char* name;
    int32_t arg_count;
    void (*invoke)(const ClientLibrary& lib, const Handles& h);  // every out-parameter address null
};

#define FUNCTION_CASE(fname, nargs, ...)                                            \
    FunctionCase {                                                                  \
        JW_##fname, #fname, nargs, [](const ClientLibrary& lib, const Handles& h) { \
            (void)h;                                                                \
            JW(lib, fname)(__VA_ARGS__);                                            \
        }                                                                           \
    }

// In the order of platform/jobwire.h, which JwFunc follows.
const FunctionCase kFunctions[] = {
    FUNCTION_CASE(acj_set_adv_option, 2, "timeouts", nullptr),
    FUNCTION_CASE(acj_initialize, 2, nullptr, 0),
    FUNCTION_CASE(acj_set_timeout, 2, h.batch, 5),
    FUNCTION_CASE(acj_set_credentials, 3, h.batch, nullptr, nullptr),
    FUNCTION_CASE(acj_set_orbenv, 2, h.batch, nullptr),
    FUNCTION_CASE(acj_terminate, 1, h.batch),
    FUNCTION_CASE(acj_get_error, 1, h.batch),
    FUNCTION_CASE(acj_get_server_version, 6, h.batch, nullptr, 16, nullptr, nullptr, nullptr),
    FUNCTION_CASE(acj_get_server_version2, 2, h.batch, nullptr),
    FUNCTION_CASE(acj_destroy_get_server_version_rsp_handle, 1, h.version),
    FUNCTION_CASE(acj_get_product_major_version, 1, h.version),
    FUNCTION_CASE(acj_get_product_minor_version, 1, h.version),
    FUNCTION_CASE(acj_get_product_revision_version, 1, h.version),
    FUNCTION_CASE(acj_get_product_full_version, 1, h.version),
    FUNCTION_CASE(acj_joblist, 4, h.batch, -1, nullptr, 0),
    FUNCTION_CASE(acj_run_prof_job, 10, h.batch, nullptr, nullptr, nullptr, 0, nullptr, nullptr, nullptr, 0, nullptr),
    FUNCTION_CASE(acj_run_arch_job, 5, h.batch, nullptr, nullptr, 0, nullptr),
    FUNCTION_CASE(acj_get_job_status, 3, h.batch, nullptr, nullptr),
    FUNCTION_CASE(acj_get_job_status_item, 6, h.batch, 0, nullptr, nullptr, nullptr, nullptr),
    FUNCTION_CASE(acj_get_job_status_item2, 7, h.batch, 0, nullptr, nullptr, nullptr, nullptr, nullptr),
    FUNCTION_CASE(acj_get_job_log, 3, h.batch, nullptr, nullptr),
    FUNCTION_CASE(acj_terminate_job, 2, h.batch, nullptr),
    FUNCTION_CASE(acj_delete_job_log, 2, h.batch, nullptr),
    FUNCTION_CASE(acj_rt_io_info, 6, h.batch, nullptr, nullptr, nullptr, nullptr, nullptr),
    FUNCTION_CASE(acj_rt_input_fieldinfo, 5, h.batch, 0, nullptr, nullptr, nullptr),
    FUNCTION_CASE(acj_rt_output_fieldinfo, 5, h.batch, 0, nullptr, nullptr, nullptr),
    FUNCTION_CASE(rta_initialize, 4, nullptr, 0, nullptr, 0),
    FUNCTION_CASE(rta_set_timeout, 2, h.realtime, 5),
    FUNCTION_CASE(rta_set_credentials, 3, h.realtime, nullptr, nullptr),
    FUNCTION_CASE(rta_set_orbenv, 2, h.realtime, nullptr),
    FUNCTION_CASE(rta_set_infield_info, 5, h.realtime, 0, nullptr, 0, 0),
    FUNCTION_CASE(rta_add_row, 1, h.realtime),
    FUNCTION_CASE(rta_set_data_value, 3, h.realtime, 0, nullptr),
    FUNCTION_CASE(rta_run, 1, h.realtime),
    FUNCTION_CASE(rta_run2, 3, h.realtime, nullptr, 0),
    FUNCTION_CASE(rta_get_error, 3, h.realtime, nullptr, nullptr),
    FUNCTION_CASE(rta_output_numrows, 1, h.realtime),
    FUNCTION_CASE(rta_output_numfields, 1, h.realtime),
    FUNCTION_CASE(rta_output_fieldinfo, 5, h.realtime, 0, nullptr, nullptr, nullptr),
    FUNCTION_CASE(rta_output_data, 3, h.realtime, 0, 0),
    FUNCTION_CASE(rta_terminate, 1, h.realtime),
    FUNCTION_CASE(acj_get_workflow_job_params, 4, h.batch, nullptr, 0, nullptr),
    FUNCTION_CASE(acj_get_input_names, 2, h.params, nullptr),
    FUNCTION_CASE(acj_get_output_names, 2, h.params, nullptr),
    FUNCTION_CASE(rta_run_workflow_job, 5, h.realtime, nullptr, h.params, 0, nullptr),
    FUNCTION_CASE(acj_get_outputs, 2, h.service, nullptr),
    FUNCTION_CASE(acj_destroy_wf_job_params_rsp_handle, 1, h.params),
    FUNCTION_CASE(acj_destroy_wf_svc_rsp_handle, 1, h.service),
};

// Each function is exported, named and recorded under its own id with its arity, and takes null
// out-parameter addresses and null handles without harm.
TEST_F(JobwireTest, EveryFunctionIsExportedAndRecordedUnderItsOwnId) {
    ASSERT_EQ(std::size(kFunctions), static_cast<size_t>(JW_FUNC_COUNT));
    for (size_t index = 0; index < std::size(kFunctions); ++index) {
        const FunctionCase& function = kFunctions[index];
        SCOPED_TRACE(function.name);
        EXPECT_EQ(static_cast<size_t>(function.id), index);
        EXPECT_STREQ(api().func_name(function.id), function.name);
        ASSERT_NE(lib.symbol(function.name), nullptr);
        for (bool real_handles : {false, true}) {
            api().reset();
            Handles handles = real_handles ? open_handles() : Handles{};
            size_t before = api().call_count();
            function.invoke(lib, handles);
            ASSERT_EQ(api().call_count(), before + 1);
            EXPECT_EQ(api().call(before)->func, function.id);
            EXPECT_EQ(api().call(before)->arg_count, function.arg_count);
        }
    }
    EXPECT_EQ(api().func_name(JW_FUNC_COUNT), nullptr);
    EXPECT_EQ(api().func_name(static_cast<JwFunc>(-1)), nullptr);
}

TEST_F(JobwireTest, RecordsRawArgumentsAndCopiesTextsAtCallTime) {
    char profile[] = "nightly";
    char owner[] = "ops";
    char name[] = "size";
    char value[] = "10";
    const char* const empty = "";
    NameValuePair pairs[] = {{name, value}, {nullptr, "x"}};
    int32_t job_id = 0;
    const void* handle = fake_pointer(0x1230);

    JW(lib, acj_run_prof_job)
    (const_cast<void*>(handle), profile, nullptr, empty, -7, nullptr, owner, pairs, 2, &job_id);
    profile[0] = 'X';
    owner[0] = 'Y';
    name[0] = 'Z';
    value[0] = '9';

    const JwCall& call = last_call();
    EXPECT_EQ(call.args[0], 0x1230u);
    EXPECT_EQ(call.args[1], raw(profile));
    EXPECT_STREQ(call.texts[1], "nightly");
    EXPECT_EQ(call.texts[2], nullptr);  // a null text
    ASSERT_NE(call.texts[3], nullptr);  // an empty text is a text
    EXPECT_STREQ(call.texts[3], "");
    EXPECT_NE(call.texts[3], empty);
    EXPECT_EQ(call.args[4], static_cast<uint64_t>(int64_t{-7}));
    EXPECT_EQ(call.texts[4], nullptr);  // not a text
    EXPECT_STREQ(call.texts[6], "ops");
    EXPECT_EQ(call.args[7], raw(pairs));
    EXPECT_EQ(call.args[8], 2u);
    EXPECT_EQ(call.args[9], raw(&job_id));
    EXPECT_EQ(call.texts[9], nullptr);
    ASSERT_EQ(call.pair_count, 2);
    ASSERT_NE(call.pairs, nullptr);
    EXPECT_STREQ(call.pairs[0].name, "size");
    EXPECT_STREQ(call.pairs[0].value, "10");
    EXPECT_EQ(call.pairs[1].name, nullptr);
    EXPECT_STREQ(call.pairs[1].value, "x");

    // An output buffer holds no text yet: its bytes (here without a terminator) are not read.
    char buffer[4] = {'a', 'b', 'c', 'd'};
    JW(lib, acj_get_server_version)(nullptr, buffer, 0, nullptr, nullptr, nullptr);
    EXPECT_EQ(last_call().args[1], raw(buffer));
    EXPECT_EQ(last_call().texts[1], nullptr);
}

TEST_F(JobwireTest, RecordsPairArraysOnlyForAPositiveCount) {
    NameValuePair pairs[] = {{"a", "1"}, {"b", "2"}};
    struct Case {
        const NameValuePair* array;
        int32_t count;
        int32_t recorded;
    };
    const Case cases[] = {{pairs, 2, 2}, {pairs, 1, 1}, {nullptr, 3, 0}, {pairs, 0, 0}, {pairs, -1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "array " << c.array << " count " << c.count);
        JW(lib, rta_run2)(nullptr, c.array, c.count);
        const JwCall& call = last_call();
        EXPECT_EQ(call.args[2], static_cast<uint64_t>(static_cast<int64_t>(c.count)));
        EXPECT_EQ(call.pair_count, c.recorded);
        EXPECT_EQ(call.pairs == nullptr, c.recorded == 0);
        for (int32_t i = 0; i < call.pair_count; ++i) {
            EXPECT_STREQ(call.pairs[i].name, pairs[i].name);
            EXPECT_STREQ(call.pairs[i].value, pairs[i].value);
        }
    }
}

TEST_F(JobwireTest, RecordedCallsStayInPlaceUntilReset) {
    JW(lib, acj_initialize)("http://first", 1);
    const JwCall* first = api().call(0);
    for (int i = 0; i < 2000; ++i) JW(lib, acj_set_timeout)(nullptr, i);
    EXPECT_EQ(api().call(0), first);
    EXPECT_STREQ(first->texts[0], "http://first");
    EXPECT_EQ(api().call_count(), 2001u);
    EXPECT_EQ(api().call(2001), nullptr);
}

TEST_F(JobwireTest, RecordingOffSkipsTheLogButNotTheAnswers) {
    api().set_recording(0);
    JwAnswer timeout = answer_for(JW_acj_set_timeout);
    timeout.result = 42;
    script(timeout);
    EXPECT_EQ(JW(lib, acj_set_timeout)(nullptr, 1), 42);
    AcjHandle handle = JW(lib, acj_initialize)("http://jobs", 1);
    EXPECT_NE(handle, nullptr);
    EXPECT_EQ(JW(lib, acj_set_timeout)(handle, 1), 0);
    EXPECT_EQ(api().call_count(), 0u);

    api().set_recording(1);
    JW(lib, acj_terminate)(handle);
    ASSERT_EQ(api().call_count(), 1u);
    EXPECT_EQ(api().call(0)->func, JW_acj_terminate);
}

// ---- scripted answers ---------------------------------------------------------------------------------

TEST_F(JobwireTest, ScriptedAnswersAreTakenInOrderForTheirTimes) {
    AcjHandle handle = JW(lib, acj_initialize)("http://jobs", 1);
    JwAnswer first = answer_for(JW_acj_set_timeout);
    first.result = 7;
    first.times = 2;
    JwAnswer second = answer_for(JW_acj_set_timeout);
    second.result = 9;  // times 0: once
    JwAnswer other = answer_for(JW_acj_set_orbenv);
    other.result = 5;
    JwAnswer unknown = answer_for(JW_FUNC_COUNT);  // ignored
    unknown.result = 99;
    script(first);
    script(other);
    script(second);
    script(unknown);

    std::vector<int32_t> results;
    for (int i = 0; i < 4; ++i) results.push_back(JW(lib, acj_set_timeout)(handle, 30));
    EXPECT_EQ(results, (std::vector<int32_t>{7, 7, 9, 0}));
    EXPECT_EQ(JW(lib, acj_set_orbenv)(handle, "prod"), 5);
    EXPECT_EQ(JW(lib, acj_set_orbenv)(handle, "prod"), 0);
}

TEST_F(JobwireTest, ScriptedHandlesAndTextsAreReturned) {
    JwAnswer refused = answer_for(JW_acj_initialize);  // pointer null
    script(refused);
    EXPECT_EQ(JW(lib, acj_initialize)("http://jobs", 1), nullptr);
    EXPECT_NE(JW(lib, acj_initialize)("http://jobs", 1), nullptr);
    JwAnswer made_up = answer_for(JW_rta_initialize);
    made_up.pointer = fake_pointer(0xBEEF0);
    script(made_up);
    EXPECT_EQ(JW(lib, rta_initialize)("ftp://nowhere", 1, "s", 1), made_up.pointer);

    char message[] = "disk full \xC3\xA9t\xC3\xA9";  // UTF-8 bytes pass verbatim
    JwAnswer error = answer_for(JW_acj_get_error);
    error.text = message;
    script(error);
    message[0] = 'D';  // the answer was copied when it was queued
    JwAnswer second_error = answer_for(JW_acj_get_error);
    second_error.text = "second";
    script(second_error);
    const char* first_text = JW(lib, acj_get_error)(nullptr);
    EXPECT_STREQ(JW(lib, acj_get_error)(nullptr), "second");
    ASSERT_NE(first_text, nullptr);
    EXPECT_NE(first_text, message);
    EXPECT_STREQ(first_text, "disk full \xC3\xA9t\xC3\xA9");  // still valid after later answers

    // Without a text the pointer is returned, null included, even when the server has an error to tell.
    JW(lib, acj_initialize)("gopher://x", 1);
    ASSERT_NE(JW(lib, acj_get_error)(nullptr), nullptr);
    script(answer_for(JW_acj_get_error));
    EXPECT_EQ(JW(lib, acj_get_error)(nullptr), nullptr);
    static const char kOwnText[] = "owned by the test";
    JwAnswer pointer_text = answer_for(JW_rta_output_data);
    pointer_text.pointer = kOwnText;
    script(pointer_text);
    EXPECT_EQ(JW(lib, rta_output_data)(nullptr, 0, 0), kOwnText);
}

TEST_F(JobwireTest, ScriptedOutParametersAreWrittenInArgumentOrder) {
    const char* const kUntouched = "untouched";
    const char* job_id = kUntouched;
    const char* name = kUntouched;
    const char* message = kUntouched;
    int32_t state = -99;

    JwAnswer all = answer_for(JW_acj_get_job_status_item);
    all.out_count = 3;
    all.out_texts[0] = "J1";
    all.out_texts[1] = "nightly";
    all.out_texts[2] = nullptr;  // writes a null pointer
    all.ints_out_count = 1;
    all.ints_out[0] = JOB_FAILED;
    script(all);
    EXPECT_EQ(JW(lib, acj_get_job_status_item)(nullptr, 0, &job_id, &name, &state, &message), 0);
    EXPECT_STREQ(job_id, "J1");
    EXPECT_STREQ(name, "nightly");
    EXPECT_EQ(message, nullptr);
    EXPECT_EQ(state, JOB_FAILED);

    // Fewer texts than out-parameters: the rest keep what the caller left.
    job_id = name = message = kUntouched;
    state = -99;
    JwAnswer first_only = answer_for(JW_acj_get_job_status_item);
    first_only.result = 3;
    first_only.out_count = 1;
    first_only.out_texts[0] = "J2";
    script(first_only);
    EXPECT_EQ(JW(lib, acj_get_job_status_item)(nullptr, 0, &job_id, &name, &state, &message), 3);
    EXPECT_STREQ(job_id, "J2");
    EXPECT_EQ(name, kUntouched);
    EXPECT_EQ(message, kUntouched);
    EXPECT_EQ(state, -99);

    // A null address is skipped without shifting the others; int64_t out-parameters get all 64 bits.
    name = kUntouched;
    int64_t sequence = 0;
    JwAnswer skipping = answer_for(JW_acj_get_job_status_item2);
    skipping.out_count = 3;
    skipping.out_texts[0] = "J3";
    skipping.out_texts[1] = "weekly";
    skipping.out_texts[2] = "ok";
    skipping.ints_out_count = 2;
    skipping.ints_out[0] = JOB_RUNNING;
    skipping.ints_out[1] = int64_t{1} << 40;
    script(skipping);
    EXPECT_EQ(JW(lib, acj_get_job_status_item2)(nullptr, 0, nullptr, &name, nullptr, nullptr, &sequence), 0);
    EXPECT_STREQ(name, "weekly");
    EXPECT_EQ(sequence, int64_t{1} << 40);

    const char* code = kUntouched;
    const char* origin = kUntouched;
    JwAnswer rta_error = answer_for(JW_rta_get_error);
    rta_error.text = "boom";
    rta_error.out_count = 2;
    rta_error.out_texts[0] = "E42";
    rta_error.out_texts[1] = "server";
    script(rta_error);
    EXPECT_STREQ(JW(lib, rta_get_error)(nullptr, &code, &origin), "boom");
    EXPECT_STREQ(code, "E42");
    EXPECT_STREQ(origin, "server");

    int32_t fields[4] = {-1, -1, -1, -1};
    JwAnswer io = answer_for(JW_acj_rt_io_info);
    io.ints_out_count = 4;
    io.ints_out[0] = 3;
    io.ints_out[1] = 2;
    io.ints_out[2] = 100;
    io.ints_out[3] = 1;
    script(io);
    EXPECT_EQ(JW(lib, acj_rt_io_info)(nullptr, "svc", &fields[0], &fields[1], &fields[2], &fields[3]), 0);
    EXPECT_EQ(std::vector<int32_t>(fields, fields + 4), (std::vector<int32_t>{3, 2, 100, 1}));
}

TEST_F(JobwireTest, ScriptedServerVersionFillsTheBufferWithinItsCapacity) {
    struct Case {
        int32_t capacity;
        const char* expected;  // null: the buffer is not written
    };
    const Case cases[] = {{16, "10.2.7"}, {4, "10."}, {1, ""}, {0, nullptr}, {-5, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.capacity);
        char buffer[16];
        std::memset(buffer, '#', sizeof buffer);
        int32_t major = 0, minor = 0, revision = 0;
        JwAnswer version = answer_for(JW_acj_get_server_version);
        version.result = 1;
        version.out_count = 1;
        version.out_texts[0] = "10.2.7";
        version.ints_out_count = 3;
        version.ints_out[0] = 10;
        version.ints_out[1] = 2;
        version.ints_out[2] = 7;
        script(version);
        EXPECT_EQ(JW(lib, acj_get_server_version)(nullptr, buffer, c.capacity, &major, &minor, &revision), 1);
        if (c.expected != nullptr) {
            EXPECT_STREQ(buffer, c.expected);
            size_t written = std::strlen(c.expected) + 1;
            EXPECT_EQ(std::string(buffer + written, sizeof buffer - written),
                      std::string(sizeof buffer - written, '#'));
        } else {
            EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(sizeof buffer, '#'));
        }
        EXPECT_EQ(major * 10000 + minor * 100 + revision, 100207);
    }
}

TEST_F(JobwireTest, ScriptedResponseHandlesAreWrittenThroughNonNullAddresses) {
    AcjResponse response = const_cast<void*>(fake_pointer(0x1111));
    JwAnswer version = answer_for(JW_acj_get_server_version2);
    version.handle_out = fake_pointer(0xABC0);
    version.times = 2;
    script(version);
    EXPECT_EQ(JW(lib, acj_get_server_version2)(nullptr, &response), 0);
    EXPECT_EQ(response, version.handle_out);
    EXPECT_EQ(JW(lib, acj_get_server_version2)(nullptr, nullptr), 0);

    JwAnswer service = answer_for(JW_rta_run_workflow_job);
    service.result = 8;  // handle_out null: a null handle is written
    script(service);
    EXPECT_EQ(JW(lib, rta_run_workflow_job)(nullptr, "wf", nullptr, 1, &response), 8);
    EXPECT_EQ(response, nullptr);
}

using ListFunction = const char** (*)(const ClientLibrary& lib, int32_t* count);

TEST_F(JobwireTest, ScriptedListsAreCopiedWithTheScriptedCount) {
    const ListFunction kListFunctions[] = {
        [](const ClientLibrary& l, int32_t* count) { return JW(l, acj_joblist)(nullptr, -1, count, 0); },
        [](const ClientLibrary& l, int32_t* count) { return JW(l, acj_get_input_names)(nullptr, count); },
        [](const ClientLibrary& l, int32_t* count) { return JW(l, acj_get_output_names)(nullptr, count); },
    };
    const JwFunc kIds[] = {JW_acj_joblist, JW_acj_get_input_names, JW_acj_get_output_names};
    const char* const three[] = {"a", nullptr, "c"};
    struct Case {
        const char* label;
        const char* const* list;
        int32_t length;
        int32_t has_count;
        int32_t count;
    };
    const Case cases[] = {
        {"count equals length", three, 3, 1, 3},       {"count zero", three, 3, 1, 0},
        {"count negative", three, 3, 1, -1},           {"count larger than length", three, 3, 1, 5},
        {"count smaller than length", three, 1, 1, 1}, {"empty array", three, 0, 1, 0},
        {"count not written", three, 3, 0, 0},         {"null list with a count", nullptr, 0, 1, 4},
    };
    constexpr int32_t kLeftByCaller = 77;
    for (size_t f = 0; f < std::size(kIds); ++f) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << api().func_name(kIds[f]) << ": " << c.label);
            JwAnswer answer = answer_for(kIds[f]);
            answer.list = c.list;
            answer.list_length = c.length;
            answer.has_count = c.has_count;
            answer.count = c.count;
            script(answer);
            int32_t count = kLeftByCaller;
            const char** result = kListFunctions[f](lib, &count);
            EXPECT_EQ(count, c.has_count ? c.count : kLeftByCaller);
            if (c.list == nullptr) {
                EXPECT_EQ(result, nullptr);
                continue;
            }
            ASSERT_NE(result, nullptr);
            EXPECT_NE(static_cast<const void*>(result), static_cast<const void*>(c.list));
            for (int32_t i = 0; i < c.length; ++i) {
                if (c.list[i] == nullptr) {
                    EXPECT_EQ(result[i], nullptr);
                } else {
                    EXPECT_STREQ(result[i], c.list[i]);
                    EXPECT_NE(result[i], c.list[i]);
                }
            }
            // A caller trusting a count beyond the list reads null elements.
            for (int32_t i = c.length; i < c.count; ++i) EXPECT_EQ(result[i], nullptr);
        }
    }
}

TEST_F(JobwireTest, ScriptedPairsAreReturnedAsPointersToCopies) {
    const NameValuePair outputs[] = {{"n1", "v1"}, {nullptr, "v2"}, {"n3", nullptr}};
    JwAnswer answer = answer_for(JW_acj_get_outputs);
    answer.pairs = outputs;
    answer.pair_length = 3;
    answer.has_count = 1;
    answer.count = 4;
    script(answer);
    int32_t count = 0;
    NameValuePair** result = JW(lib, acj_get_outputs)(nullptr, &count);
    EXPECT_EQ(count, 4);
    ASSERT_NE(result, nullptr);
    for (int32_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(result[i], nullptr);
        EXPECT_NE(result[i], &outputs[i]);
        for (auto member : {&NameValuePair::name, &NameValuePair::value}) {
            if (outputs[i].*member == nullptr) {
                EXPECT_EQ(result[i]->*member, nullptr);
            } else {
                EXPECT_STREQ(result[i]->*member, outputs[i].*member);
            }
        }
    }
    EXPECT_EQ(result[3], nullptr);  // beyond the records, up to the count

    JwAnswer empty = answer_for(JW_acj_get_outputs);
    empty.pairs = outputs;  // pair_length 0: a valid empty array
    script(empty);
    count = 9;
    EXPECT_NE(JW(lib, acj_get_outputs)(nullptr, &count), nullptr);
    EXPECT_EQ(count, 9);
    script(answer_for(JW_acj_get_outputs));  // neither pairs nor pointer: null
    EXPECT_EQ(JW(lib, acj_get_outputs)(nullptr, &count), nullptr);
}

TEST_F(JobwireTest, ResetForgetsCallsScriptsAndServerState) {
    AcjHandle handle = JW(lib, acj_initialize)("http://jobs", 1);
    ASSERT_EQ(JW(lib, acj_set_timeout)(handle, 1), 0);
    JW(lib, acj_set_adv_option)("sslenab", answers_one);
    JwAnswer pending = answer_for(JW_acj_set_timeout);
    pending.result = 0;
    script(pending);
    api().set_recording(0);

    api().reset();
    EXPECT_EQ(api().call_count(), 0u);
    EXPECT_EQ(api().call(0), nullptr);
    EXPECT_EQ(api().ssl_answer(), nullptr);
    // The pending 0 is gone and the handle is unknown now.
    EXPECT_NE(JW(lib, acj_set_timeout)(handle, 1), 0);
    EXPECT_EQ(api().call_count(), 1u);  // recording is back on
    EXPECT_EQ(JW(lib, acj_initialize)("https://jobs", 1), nullptr);
}

// ---- library-wide settings ----------------------------------------------------------------------------

TEST_F(JobwireTest, TheLatestSslAnswerDecidesAndIsTakenEvenWhenScripted) {
    EXPECT_EQ(JW(lib, acj_set_adv_option)("sslenab", answers_one), 0);
    EXPECT_EQ(api().ssl_answer(), &answers_one);
    EXPECT_NE(JW(lib, acj_set_adv_option)("tracing", answers_zero), 0);
    EXPECT_EQ(api().ssl_answer(), &answers_one);
    EXPECT_NE(JW(lib, acj_initialize)("https://jobs", 443), nullptr);

    JwAnswer scripted = answer_for(JW_acj_set_adv_option);
    scripted.result = 42;
    script(scripted);
    EXPECT_EQ(JW(lib, acj_set_adv_option)("sslenab", answers_zero), 42);
    EXPECT_EQ(api().ssl_answer(), &answers_zero);
    EXPECT_EQ(JW(lib, acj_initialize)("https://jobs", 443), nullptr);
    EXPECT_EQ(last_call().texts[0], std::string("https://jobs"));
}

// ---- two libraries in one process ---------------------------------------------------------------------

TEST(JobwireLibraries, LoadSideBySideWithoutSharingState) {
    ClientLibrary& plain = plain_library();
    ClientLibrary& ssl = ssl_library();
    ASSERT_TRUE(plain.loaded()) << plain.error();
    ASSERT_TRUE(ssl.loaded()) << ssl.error();
    EXPECT_NE(&plain.api(), &ssl.api());
    EXPECT_NE(plain.symbol("acj_initialize"), ssl.symbol("acj_initialize"));
    plain.api().reset();
    ssl.api().reset();

    JW(plain, acj_set_adv_option)("sslenab", answers_one);
    EXPECT_EQ(ssl.api().ssl_answer(), nullptr);
    AcjHandle plain_handle = JW(plain, acj_initialize)("https://jobs", 443);
    EXPECT_NE(plain_handle, nullptr);
    EXPECT_EQ(JW(ssl, acj_initialize)("https://jobs", 443), nullptr);  // no answer handed to this one
    AcjHandle ssl_handle = JW(ssl, acj_initialize)("http://jobs", 80);
    ASSERT_NE(ssl_handle, nullptr);
    EXPECT_EQ(plain.api().call_count(), 2u);
    EXPECT_EQ(ssl.api().call_count(), 2u);

    JwAnswer scripted = answer_for(JW_acj_set_timeout);
    scripted.result = 11;
    ssl.api().script(&scripted);
    EXPECT_EQ(JW(plain, acj_set_timeout)(plain_handle, 5), 0);
    EXPECT_NE(JW(plain, acj_set_timeout)(ssl_handle, 5), 0);  // a handle of the other library
    EXPECT_EQ(JW(ssl, acj_set_timeout)(ssl_handle, 5), 11);
    EXPECT_NE(JW(ssl, acj_set_timeout)(plain_handle, 5), 0);
}

}  // namespace
