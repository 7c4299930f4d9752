// Tests of the in-memory job server behind the stand-in client library's functions, called through the
// library's exports the way a deliverable calls them.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "sim/jobwire/client_library_loader.h"

namespace {

using jwtest::answers_one;
using jwtest::answers_zero;
using jwtest::ClientLibrary;
using jwtest::plain_library;

using Rows = std::vector<std::vector<std::string>>;

std::string text_or_null(const char* text) { return text != nullptr ? text : "(null)"; }

class ServerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(lib.loaded()) << lib.error();
        lib.api().reset();
    }

    // An open batch connection with credentials.
    AcjHandle batch() const {
        AcjHandle handle = JW(lib, acj_initialize)("http://jobs.example", 8080);
        EXPECT_NE(handle, nullptr);
        EXPECT_EQ(JW(lib, acj_set_credentials)(handle, "operator", "secret"), 0);
        return handle;
    }
    RtaHandle realtime(const char* service) const {
        RtaHandle handle = JW(lib, rta_initialize)("http://rt.example", 9090, service, 30);
        EXPECT_NE(handle, nullptr) << service;
        return handle;
    }

    // Submits an arch job and returns its id as text.
    std::string submit(AcjHandle handle, const char* name, const std::vector<NameValuePair>& pairs = {}) const {
        int32_t id = 0;
        EXPECT_EQ(JW(lib, acj_run_arch_job)(handle, name, pairs.data(), static_cast<int32_t>(pairs.size()), &id), 0);
        return std::to_string(id);
    }
    // One acj_get_job_status call: the state it reports, or -status on failure.
    int32_t status_of(AcjHandle handle, const std::string& id) const {
        int32_t state = -1;
        int32_t status = JW(lib, acj_get_job_status)(handle, id.c_str(), &state);
        return status == 0 ? state : -status;
    }
    std::vector<std::string> joblist(AcjHandle handle, int32_t filter, int32_t limit) const {
        int32_t count = -1;
        const char** list = JW(lib, acj_joblist)(handle, filter, &count, limit);
        EXPECT_NE(list, nullptr);
        return list != nullptr ? std::vector<std::string>(list, list + count) : std::vector<std::string>{};
    }

    // The last error of a real-time connection as "message|code|origin", or "" when there is none.
    std::string rta_error(RtaHandle handle) const {
        const char* code = nullptr;
        const char* origin = nullptr;
        const char* message = JW(lib, rta_get_error)(handle, &code, &origin);
        if (message == nullptr) return "";
        return std::string(message) + "|" + text_or_null(code) + "|" + text_or_null(origin);
    }
    std::string acj_error(AcjHandle handle) const { return text_or_null(JW(lib, acj_get_error)(handle)); }

    std::vector<std::string> output_fields(RtaHandle handle) const {
        std::vector<std::string> names;
        for (int32_t i = 0; i < JW(lib, rta_output_numfields)(handle); ++i) {
            const char* name = nullptr;
            EXPECT_EQ(JW(lib, rta_output_fieldinfo)(handle, i, &name, nullptr, nullptr), 0);
            names.push_back(text_or_null(name));
        }
        return names;
    }
    Rows output_rows(RtaHandle handle) const {
        Rows rows;
        for (int32_t row = 0; row < JW(lib, rta_output_numrows)(handle); ++row) {
            std::vector<std::string>& values = rows.emplace_back();
            for (int32_t field = 0; field < JW(lib, rta_output_numfields)(handle); ++field) {
                values.push_back(text_or_null(JW(lib, rta_output_data)(handle, row, field)));
            }
        }
        return rows;
    }
    // Runs `service` on one row given as pairs and returns the output row.
    std::vector<std::string> run_one(const char* service, const std::vector<NameValuePair>& pairs) const {
        RtaHandle handle = realtime(service);
        EXPECT_EQ(JW(lib, rta_run2)(handle, pairs.data(), static_cast<int32_t>(pairs.size())), 0);
        Rows rows = output_rows(handle);
        EXPECT_EQ(rows.size(), 1u);
        return rows.empty() ? std::vector<std::string>{} : rows.front();
    }

    ClientLibrary& lib = plain_library();
};

// ---- connections --------------------------------------------------------------------------------------

TEST_F(ServerTest, ConnectionsFollowTheAddressRules) {
    enum Ssl { none, zero, one };
    struct Case {
        const char* server;
        int32_t port;
        Ssl ssl;
        int32_t status;
        const char* error;  // part of the error text when refused
    };
    const Case cases[] = {
        {"http://jobs.example", 80, none, 0, nullptr},
        {"http://jobs.example:8080/path", 1, zero, 0, nullptr},
        {"http://jobs.example", 65535, none, 0, nullptr},
        {"https://jobs.example", 443, one, 0, nullptr},
        {"https://jobs.example", 443, none, 6, "https:// needs an SSL-enabled client"},
        {"https://jobs.example", 443, zero, 6, "https:// needs an SSL-enabled client"},
        {"ftp://jobs.example", 21, one, 6, "is not an http:// or https:// address"},
        {"HTTP://jobs.example", 80, one, 6, "is not an http:// or https:// address"},
        {"http:/jobs.example", 80, one, 6, "is not an http:// or https:// address"},
        {"jobs.example", 80, one, 6, "is not an http:// or https:// address"},
        {"http://", 80, one, 6, "no host in http://"},
        {"https://:443/jobs", 443, one, 6, "no host in https://:443/jobs"},
        {"http://jobs.example", 0, one, 6, "port 0 is outside 1-65535"},
        {"http://jobs.example", 65536, one, 6, "port 65536 is outside 1-65535"},
        {"https://jobs.example", -1, one, 6, "port -1 is outside 1-65535"},
        {"", 80, one, 4, "missing argument: server"},
        {nullptr, 80, one, 4, "missing argument: server"},
    };
    for (const Case& c : cases) {
        for (bool is_realtime : {false, true}) {
            SCOPED_TRACE(testing::Message() << text_or_null(c.server) << " port " << c.port << " ssl " << c.ssl
                                            << (is_realtime ? " real-time" : " batch"));
            lib.api().reset();
            if (c.ssl != none) JW(lib, acj_set_adv_option)("sslenab", c.ssl == one ? answers_one : answers_zero);
            void* handle = is_realtime ? JW(lib, rta_initialize)(c.server, c.port, "upper", 5)
                                       : JW(lib, acj_initialize)(c.server, c.port);
            EXPECT_EQ(handle != nullptr, c.status == 0);
            if (c.status == 0) {
                EXPECT_EQ(JW(lib, acj_get_error)(nullptr), nullptr);
                EXPECT_EQ(rta_error(nullptr), "");
                continue;
            }
            EXPECT_NE(acj_error(nullptr).find(c.error), std::string::npos) << acj_error(nullptr);
            const std::string expected_tail =
                "|E" + std::to_string(c.status) + (is_realtime ? "|rta_initialize" : "|acj_initialize");
            std::string error = rta_error(nullptr);
            ASSERT_GE(error.size(), expected_tail.size());
            EXPECT_EQ(error.substr(error.size() - expected_tail.size()), expected_tail) << error;
        }
    }
}

TEST_F(ServerTest, ASuccessfulConnectionClearsTheRefusal) {
    EXPECT_EQ(JW(lib, acj_initialize)("gopher://jobs", 70), nullptr);
    EXPECT_NE(JW(lib, acj_get_error)(nullptr), nullptr);
    EXPECT_NE(JW(lib, acj_initialize)("http://jobs", 80), nullptr);
    EXPECT_EQ(JW(lib, acj_get_error)(nullptr), nullptr);
}

TEST_F(ServerTest, RealtimeConnectionsNeedAKnownService) {
    struct Case {
        const char* service;
        std::string error;
    };
    const Case cases[] = {
        {"scoring", "unknown service: scoring|E12|rta_initialize"},
        {"", "missing argument: service|E4|rta_initialize"},
        {nullptr, "missing argument: service|E4|rta_initialize"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(text_or_null(c.service));
        EXPECT_EQ(JW(lib, rta_initialize)("http://rt", 90, c.service, 5), nullptr);
        EXPECT_EQ(rta_error(nullptr), c.error);
    }
    for (const char* service : {"upper", "split_name", "greeting"}) EXPECT_NE(realtime(service), nullptr) << service;
}

TEST_F(ServerTest, OnlyTheSslOptionIsKnown) {
    EXPECT_EQ(JW(lib, acj_set_adv_option)("tracing", answers_one), 5);
    EXPECT_EQ(acj_error(nullptr), "unknown option: tracing");
    EXPECT_EQ(JW(lib, acj_set_adv_option)(nullptr, answers_one), 5);
    EXPECT_EQ(JW(lib, acj_initialize)("https://jobs", 443), nullptr);  // neither call set an answer
}

TEST_F(ServerTest, CredentialsAreRequiredForJobsListsLogsAndDescriptions) {
    using Call = std::function<int32_t(const ClientLibrary&, AcjHandle)>;
    struct Case {
        const char* name;
        bool needs_credentials;
        Call call;
    };
    const Case cases[] = {
        {"acj_run_prof_job", true,
         [](const ClientLibrary& l, AcjHandle h) {
             return JW(l, acj_run_prof_job)(h, "p", nullptr, nullptr, 0, nullptr, nullptr, nullptr, 0, nullptr);
         }},
        {"acj_run_arch_job", true,
         [](const ClientLibrary& l, AcjHandle h) { return JW(l, acj_run_arch_job)(h, "a", nullptr, 0, nullptr); }},
        {"acj_get_job_status", true,
         [](const ClientLibrary& l, AcjHandle h) { return JW(l, acj_get_job_status)(h, "1000", nullptr); }},
        {"acj_get_job_status_item", true,
         [](const ClientLibrary& l, AcjHandle h) {
             return JW(l, acj_get_job_status_item)(h, 0, nullptr, nullptr, nullptr, nullptr);
         }},
        {"acj_get_job_status_item2", true,
         [](const ClientLibrary& l, AcjHandle h) {
             return JW(l, acj_get_job_status_item2)(h, 0, nullptr, nullptr, nullptr, nullptr, nullptr);
         }},
        {"acj_get_job_log", true,
         [](const ClientLibrary& l, AcjHandle h) { return JW(l, acj_get_job_log)(h, "1000", "/nonexistent/log"); }},
        {"acj_terminate_job", true,
         [](const ClientLibrary& l, AcjHandle h) { return JW(l, acj_terminate_job)(h, "1000"); }},
        {"acj_delete_job_log", true,
         [](const ClientLibrary& l, AcjHandle h) { return JW(l, acj_delete_job_log)(h, "1000"); }},
        {"acj_rt_io_info", true,
         [](const ClientLibrary& l, AcjHandle h) {
             return JW(l, acj_rt_io_info)(h, "upper", nullptr, nullptr, nullptr, nullptr);
         }},
        {"acj_rt_input_fieldinfo", true,
         [](const ClientLibrary& l, AcjHandle h) {
             return JW(l, acj_rt_input_fieldinfo)(h, 0, nullptr, nullptr, nullptr);
         }},
        {"acj_rt_output_fieldinfo", true,
         [](const ClientLibrary& l, AcjHandle h) {
             return JW(l, acj_rt_output_fieldinfo)(h, 0, nullptr, nullptr, nullptr);
         }},
        {"acj_get_workflow_job_params", true,
         [](const ClientLibrary& l, AcjHandle h) {
             AcjResponse params = nullptr;
             return JW(l, acj_get_workflow_job_params)(h, "greeting", 0, &params);
         }},
        {"acj_set_timeout", false, [](const ClientLibrary& l, AcjHandle h) { return JW(l, acj_set_timeout)(h, 5); }},
        {"acj_set_orbenv", false, [](const ClientLibrary& l, AcjHandle h) { return JW(l, acj_set_orbenv)(h, "prod"); }},
        {"acj_get_server_version", false,
         [](const ClientLibrary& l, AcjHandle h) {
             char buffer[16];
             return JW(l, acj_get_server_version)(h, buffer, sizeof buffer, nullptr, nullptr, nullptr);
         }},
        {"acj_get_server_version2", false,
         [](const ClientLibrary& l, AcjHandle h) {
             AcjResponse response = nullptr;
             return JW(l, acj_get_server_version2)(h, &response);
         }},
    };
    const std::pair<const char*, const char*> refused[] = {
        {"", "secret"}, {"operator", ""}, {nullptr, "secret"}, {"operator", nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AcjHandle handle = JW(lib, acj_initialize)("http://jobs", 80);
        for (const auto& [user, password] : refused) {
            EXPECT_EQ(JW(lib, acj_set_credentials)(handle, user, password), 7);
            EXPECT_EQ(acj_error(handle), "credentials required");
        }
        int32_t without = c.call(lib, handle);
        if (c.needs_credentials) {
            EXPECT_EQ(without, 7);
            EXPECT_EQ(acj_error(handle), "credentials required");
        } else {
            EXPECT_EQ(without, 0);
        }
        ASSERT_EQ(JW(lib, acj_set_credentials)(handle, "operator", "secret"), 0);
        EXPECT_NE(c.call(lib, handle), 7);
    }

    // The job list answers null instead of a status.
    AcjHandle handle = JW(lib, acj_initialize)("http://jobs", 80);
    int32_t count = -1;
    EXPECT_EQ(JW(lib, acj_joblist)(handle, -1, &count, 0), nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(acj_error(handle), "credentials required");
    ASSERT_EQ(JW(lib, acj_set_credentials)(handle, "operator", "secret"), 0);
    EXPECT_NE(JW(lib, acj_joblist)(handle, -1, &count, 0), nullptr);
}

// The handle rules every connection call shares: null, unknown and other-kind handles answer 2, a
// terminated connection answers 3, each with its error text.
TEST_F(ServerTest, UnknownHandlesAnswerTwoAndTerminatedConnectionsThree) {
    using Call = int32_t (*)(const ClientLibrary& lib, void* handle);
    struct Case {
        const char* name;
        bool is_realtime;
        Call call;
    };
    const Case cases[] = {
        {"acj_set_timeout", false, [](const ClientLibrary& l, void* h) { return JW(l, acj_set_timeout)(h, 5); }},
        {"acj_run_arch_job", false,
         [](const ClientLibrary& l, void* h) { return JW(l, acj_run_arch_job)(h, "job", nullptr, 0, nullptr); }},
        {"acj_rt_io_info", false,
         [](const ClientLibrary& l, void* h) {
             return JW(l, acj_rt_io_info)(h, "upper", nullptr, nullptr, nullptr, nullptr);
         }},
        {"rta_set_orbenv", true, [](const ClientLibrary& l, void* h) { return JW(l, rta_set_orbenv)(h, "prod"); }},
        {"rta_run2", true, [](const ClientLibrary& l, void* h) { return JW(l, rta_run2)(h, nullptr, 0); }},
        {"rta_add_row", true, [](const ClientLibrary& l, void* h) { return JW(l, rta_add_row)(h); }},
        {"rta_run_workflow_job", true,
         [](const ClientLibrary& l, void* h) {
             AcjResponse service = nullptr;
             return JW(l, rta_run_workflow_job)(h, "greeting", nullptr, 5, &service);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        lib.api().reset();
        AcjHandle batch_handle = batch();
        RtaHandle realtime_handle = realtime("upper");
        void* own = c.is_realtime ? realtime_handle : batch_handle;
        void* other_kind = c.is_realtime ? batch_handle : realtime_handle;
        int dummy = 0;
        for (void* unknown : {static_cast<void*>(nullptr), static_cast<void*>(&dummy), other_kind}) {
            EXPECT_EQ(c.call(lib, unknown), 2);
            EXPECT_EQ(acj_error(nullptr), "unknown handle");
            EXPECT_EQ(rta_error(nullptr), std::string("unknown handle|E2|") + c.name);
        }
        EXPECT_EQ(c.call(lib, own), 0);

        auto terminate = c.is_realtime ? JW(lib, rta_terminate) : JW(lib, acj_terminate);
        ASSERT_EQ(terminate(own), 0);
        EXPECT_EQ(c.call(lib, own), 3);
        EXPECT_EQ(terminate(own), 3);
        EXPECT_EQ(c.call(lib, own), 3);
        if (c.is_realtime) {
            EXPECT_EQ(rta_error(own), std::string("connection terminated|E3|") + c.name);
            EXPECT_EQ(JW(lib, rta_output_numrows)(own), -1);
            EXPECT_EQ(JW(lib, rta_output_numfields)(own), -1);
            EXPECT_EQ(JW(lib, rta_output_data)(own, 0, 0), nullptr);
        } else {
            EXPECT_EQ(acj_error(own), "connection terminated");
        }
    }
}

TEST_F(ServerTest, ServerAndProductVersions) {
    AcjHandle handle = batch();
    struct Case {
        int32_t capacity;
        int32_t status;
        const char* written;  // null: the buffer stays as it was
    };
    const Case cases[] = {{32, 0, "9.4.2"}, {6, 0, "9.4.2"}, {5, 13, nullptr}, {0, 13, nullptr}, {-1, 13, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.capacity);
        char buffer[32];
        std::fill(std::begin(buffer), std::end(buffer), '#');
        int32_t numbers[3] = {-1, -1, -1};
        EXPECT_EQ(JW(lib, acj_get_server_version)(handle, buffer, c.capacity, &numbers[0], &numbers[1], &numbers[2]),
                  c.status);
        if (c.written != nullptr) {
            EXPECT_STREQ(buffer, c.written);
            EXPECT_EQ(std::vector<int32_t>(numbers, numbers + 3), (std::vector<int32_t>{9, 4, 2}));
        } else {
            EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(sizeof buffer, '#'));
            EXPECT_EQ(acj_error(handle), "buffer too small: 6 bytes needed");
        }
    }
    EXPECT_EQ(JW(lib, acj_get_server_version)(handle, nullptr, 32, nullptr, nullptr, nullptr), 4);
    EXPECT_EQ(acj_error(handle), "missing argument: buffer");

    AcjResponse response = nullptr;
    ASSERT_EQ(JW(lib, acj_get_server_version2)(handle, &response), 0);
    EXPECT_EQ(JW(lib, acj_get_product_major_version)(response), 9);
    EXPECT_EQ(JW(lib, acj_get_product_minor_version)(response), 4);
    EXPECT_EQ(JW(lib, acj_get_product_revision_version)(response), 2);
    EXPECT_STREQ(JW(lib, acj_get_product_full_version)(response), "9.4.2 Édition mémoire");
    JW(lib, acj_destroy_get_server_version_rsp_handle)(response);
    EXPECT_EQ(JW(lib, acj_get_product_full_version)(response), nullptr);
    EXPECT_EQ(JW(lib, acj_get_product_major_version)(response), -1);
    EXPECT_EQ(JW(lib, acj_get_server_version2)(handle, nullptr), 4);
    EXPECT_EQ(acj_error(handle), "missing argument: response");
}

// ---- batch jobs ---------------------------------------------------------------------------------------

TEST_F(ServerTest, JobsAdvanceOneStepPerStatusCall) {
    AcjHandle handle = batch();
    struct Case {
        const char* label;
        std::vector<NameValuePair> pairs;
        std::vector<int32_t> states;  // after each status call
    };
    const Case cases[] = {
        {"no parameters", {}, {JOB_RUNNING, JOB_COMPLETED, JOB_COMPLETED}},
        {"ordinary parameters", {{"size", "10"}, {nullptr, nullptr}}, {JOB_RUNNING, JOB_COMPLETED}},
        {"a fail parameter", {{"size", "10"}, {"fail", "yes"}}, {JOB_RUNNING, JOB_FAILED, JOB_FAILED}},
        {"a fail parameter without value", {{"fail", nullptr}}, {JOB_RUNNING, JOB_FAILED}},
        {"fail as a value only", {{"mode", "fail"}}, {JOB_RUNNING, JOB_COMPLETED}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::string id = submit(handle, "load", c.pairs);
        std::vector<int32_t> states;
        for (size_t i = 0; i < c.states.size(); ++i) states.push_back(status_of(handle, id));
        EXPECT_EQ(states, c.states);
    }
}

TEST_F(ServerTest, JobIdsCountFromOneThousandAcrossConnections) {
    AcjHandle first = batch();
    AcjHandle second = batch();
    int32_t ids[3] = {};
    EXPECT_EQ(JW(lib, acj_run_arch_job)(first, "a", nullptr, 0, &ids[0]), 0);
    EXPECT_EQ(JW(lib, acj_run_prof_job)(second, "p", "proj", nullptr, 5, nullptr, "ops", nullptr, 0, &ids[1]), 0);
    EXPECT_EQ(JW(lib, acj_run_arch_job)(first, "b", nullptr, 0, &ids[2]), 0);
    EXPECT_EQ(std::vector<int32_t>(ids, ids + 3), (std::vector<int32_t>{1000, 1001, 1002}));
    // Any connection may ask about any job; lists show a connection's own.
    EXPECT_EQ(status_of(second, "1000"), JOB_RUNNING);
    EXPECT_EQ(joblist(second, -1, 0), (std::vector<std::string>{"1001"}));
}

TEST_F(ServerTest, TerminatingStopsOnlyUnfinishedJobs) {
    AcjHandle handle = batch();
    std::string queued = submit(handle, "queued");
    std::string running = submit(handle, "running");
    std::string finished = submit(handle, "finished");
    status_of(handle, running);
    status_of(handle, finished);
    status_of(handle, finished);

    EXPECT_EQ(JW(lib, acj_terminate_job)(handle, queued.c_str()), 0);
    EXPECT_EQ(JW(lib, acj_terminate_job)(handle, running.c_str()), 0);
    EXPECT_EQ(status_of(handle, queued), JOB_TERMINATED);  // and it stays there
    EXPECT_EQ(status_of(handle, running), JOB_TERMINATED);
    for (const std::string& id : {queued, running, finished}) {
        EXPECT_EQ(JW(lib, acj_terminate_job)(handle, id.c_str()), 9);
        EXPECT_EQ(acj_error(handle), "job " + id + " already finished");
    }
    EXPECT_EQ(status_of(handle, finished), JOB_COMPLETED);
}

TEST_F(ServerTest, JobArgumentsAreChecked) {
    AcjHandle handle = batch();
    submit(handle, "known");
    using Call = std::function<int32_t()>;
    struct Case {
        const char* label;
        Call call;
        int32_t status;
        const char* error;
    };
    const Case cases[] = {
        {"unknown id", [&] { return JW(lib, acj_get_job_status)(handle, "999", nullptr); }, 8, "unknown job: 999"},
        {"id with a leading zero", [&] { return JW(lib, acj_terminate_job)(handle, "01000"); }, 8,
         "unknown job: 01000"},
        {"id with a blank", [&] { return JW(lib, acj_delete_job_log)(handle, " 1000"); }, 8, "unknown job:  1000"},
        {"null id", [&] { return JW(lib, acj_get_job_status)(handle, nullptr, nullptr); }, 4,
         "missing argument: job_id"},
        {"empty id", [&] { return JW(lib, acj_terminate_job)(handle, ""); }, 4, "missing argument: job_id"},
        {"null profile",
         [&] {
             return JW(lib, acj_run_prof_job)(handle, nullptr, nullptr, nullptr, 0, nullptr, nullptr, nullptr, 0,
                                              nullptr);
         },
         4, "missing argument: profile"},
        {"empty job name", [&] { return JW(lib, acj_run_arch_job)(handle, "", nullptr, 0, nullptr); }, 4,
         "missing argument: job"},
        {"null log path", [&] { return JW(lib, acj_get_job_log)(handle, "1000", nullptr); }, 4,
         "missing argument: path"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(c.call(), c.status);
        EXPECT_EQ(acj_error(handle), c.error);
    }
    EXPECT_EQ(joblist(handle, -1, 0), (std::vector<std::string>{"1000"}));  // refused runs made no job
    EXPECT_EQ(status_of(handle, "1000"), JOB_RUNNING);
    EXPECT_EQ(JW(lib, acj_get_error)(handle), nullptr);  // a successful call clears the error
}

TEST_F(ServerTest, JobListsFilterByStateAndLimit) {
    AcjHandle handle = batch();
    std::string completed = submit(handle, "a");
    std::string running = submit(handle, "b");
    std::string queued = submit(handle, "c");
    std::string failed = submit(handle, "d", {{"fail", "1"}});
    std::string terminated = submit(handle, "e");
    for (const std::string& id : {completed, completed, running, failed, failed}) status_of(handle, id);
    ASSERT_EQ(JW(lib, acj_terminate_job)(handle, terminated.c_str()), 0);
    submit(batch(), "elsewhere");

    struct Case {
        int32_t filter;
        int32_t limit;
        std::vector<std::string> ids;
    };
    const Case cases[] = {
        {-1, 0, {completed, running, queued, failed, terminated}},
        {-1, 2, {completed, running}},
        {-1, 9, {completed, running, queued, failed, terminated}},
        {-1, -3, {completed, running, queued, failed, terminated}},
        {JOB_QUEUED, 0, {queued}},
        {JOB_RUNNING, 0, {running}},
        {JOB_COMPLETED, 0, {completed}},
        {JOB_FAILED, 0, {failed}},
        {JOB_TERMINATED, 1, {terminated}},
        {7, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "filter " << c.filter << " limit " << c.limit);
        EXPECT_EQ(joblist(handle, c.filter, c.limit), c.ids);
    }

    // A list stays as it was until the next list is asked for, whatever happens in between.
    int32_t count = 0;
    const char** list = JW(lib, acj_joblist)(handle, JOB_QUEUED, &count, 0);
    ASSERT_EQ(count, 1);
    status_of(handle, queued);
    submit(handle, "f");
    EXPECT_STREQ(list[0], queued.c_str());
    EXPECT_EQ(list[1], nullptr);
}

TEST_F(ServerTest, StatusItemsDescribeTheConnectionsJobsInSubmissionOrder) {
    AcjHandle handle = batch();
    submit(batch(), "elsewhere");
    std::string first = submit(handle, "load");
    int32_t second_id = 0;
    ASSERT_EQ(JW(lib, acj_run_prof_job)(handle, "nightly", nullptr, nullptr, 1, nullptr, "ops", nullptr, 0, &second_id),
              0);
    status_of(handle, std::to_string(second_id));

    struct Item {
        std::string id, name;
        int32_t state;
        std::string message;
        int64_t sequence;
    };
    const Item expected[] = {{first, "arch/load", JOB_QUEUED, "queued", 1},
                             {std::to_string(second_id), "profile/nightly", JOB_RUNNING, "running", 2}};
    for (int32_t index = 0; index < 2; ++index) {
        SCOPED_TRACE(index);
        const Item& item = expected[index];
        const char* texts[3] = {};
        int32_t state = -1;
        int64_t sequence = -1;
        ASSERT_EQ(JW(lib, acj_get_job_status_item2)(handle, index, &texts[0], &texts[1], &state, &texts[2], &sequence),
                  0);
        EXPECT_EQ(std::vector<std::string>(texts, texts + 3),
                  (std::vector<std::string>{item.id, item.name, item.message}));
        EXPECT_EQ(state, item.state);
        EXPECT_EQ(sequence, item.sequence);
        const char* id = nullptr;
        state = -1;
        ASSERT_EQ(JW(lib, acj_get_job_status_item)(handle, index, &id, nullptr, &state, nullptr), 0);
        EXPECT_EQ(text_or_null(id), item.id);
        EXPECT_EQ(state, item.state);
    }
    EXPECT_EQ(status_of(handle, first), JOB_RUNNING);  // reading items moved no job
    for (int32_t index : {2, -1}) {
        EXPECT_EQ(JW(lib, acj_get_job_status_item)(handle, index, nullptr, nullptr, nullptr, nullptr), 11);
        EXPECT_EQ(acj_error(handle), "no status item " + std::to_string(index));
    }
}

// A fresh temporary directory, removed with everything in it at the end of the test.
class TemporaryDirectory {
  public:
    TemporaryDirectory() {
        std::string pattern = testing::TempDir() + "jwsim_logs_XXXXXX";
        path_ = mkdtemp(pattern.data()) != nullptr ? pattern : "";
    }
    ~TemporaryDirectory() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

std::string file_content(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

TEST_F(ServerTest, JobLogsAreWrittenToFilesUntilDeleted) {
    TemporaryDirectory directory;
    ASSERT_FALSE(directory.path().empty());
    AcjHandle handle = batch();
    std::string id = submit(handle, "load", {{"size", "10"}, {nullptr, "x"}, {"mode", nullptr}, {"name", "Jürgen"}});
    status_of(handle, id);
    status_of(handle, id);
    std::string stopped = submit(handle, "stopped");
    ASSERT_EQ(JW(lib, acj_terminate_job)(handle, stopped.c_str()), 0);

    const std::string path = directory.path() + "/job.log";
    ASSERT_EQ(JW(lib, acj_get_job_log)(handle, id.c_str(), path.c_str()), 0);
    EXPECT_EQ(file_content(path), "job " + id +
                                      " submitted: arch/load\n"
                                      "parameter size = 10\n"
                                      "parameter  = x\n"
                                      "parameter mode = \n"
                                      "parameter name = Jürgen\n"
                                      "state: RUNNING\n"
                                      "state: COMPLETED\n");
    ASSERT_EQ(JW(lib, acj_get_job_log)(handle, stopped.c_str(), path.c_str()), 0);  // the file is replaced
    EXPECT_EQ(file_content(path), "job " + stopped + " submitted: arch/stopped\nstate: TERMINATED\n");

    const std::string unwritable = directory.path() + "/missing/job.log";
    EXPECT_EQ(JW(lib, acj_get_job_log)(handle, id.c_str(), unwritable.c_str()), 10);
    EXPECT_EQ(acj_error(handle), "cannot write " + unwritable);

    ASSERT_EQ(JW(lib, acj_delete_job_log)(handle, id.c_str()), 0);
    const std::string after = directory.path() + "/after.log";
    EXPECT_EQ(JW(lib, acj_get_job_log)(handle, id.c_str(), after.c_str()), 9);
    EXPECT_EQ(acj_error(handle), "log of job " + id + " was deleted");
    EXPECT_FALSE(std::filesystem::exists(after));
    EXPECT_EQ(JW(lib, acj_delete_job_log)(handle, id.c_str()), 9);
    EXPECT_EQ(status_of(handle, id), JOB_COMPLETED);  // the job itself is still known
}

TEST_F(ServerTest, AScriptedAnswerReplacesTheServerForOneCall) {
    AcjHandle handle = batch();
    std::string id = submit(handle, "load");
    JwAnswer answer{};
    answer.func = JW_acj_get_job_status;
    answer.ints_out_count = 1;
    answer.ints_out[0] = JOB_FAILED;
    lib.api().script(&answer);
    EXPECT_EQ(status_of(handle, id), JOB_FAILED);
    EXPECT_EQ(status_of(handle, id), JOB_RUNNING);  // the scripted call did not move the job
}

TEST_F(ServerTest, ResetForgetsJobsConnectionsAndTheIdCounter) {
    AcjHandle old_handle = batch();
    submit(old_handle, "a");
    submit(old_handle, "b");
    lib.api().reset();

    EXPECT_EQ(JW(lib, acj_set_timeout)(old_handle, 5), 2);
    AcjHandle handle = batch();
    EXPECT_EQ(status_of(handle, "1001"), -8);
    EXPECT_EQ(submit(handle, "c"), "1000");
    EXPECT_EQ(joblist(handle, -1, 0), (std::vector<std::string>{"1000"}));
}

// ---- real-time services -------------------------------------------------------------------------------

struct FieldDescription {
    std::string name;
    int32_t type;
    int32_t length;
    bool operator==(const FieldDescription&) const = default;
};

std::ostream& operator<<(std::ostream& out, const FieldDescription& field) {
    return out << field.name << "/" << field.type << "/" << field.length;
}

TEST_F(ServerTest, ServicesAreDescribedOverTheBatchConnection) {
    struct Case {
        const char* service;
        int32_t is_workflow;
        std::vector<FieldDescription> inputs, outputs;
    };
    const Case cases[] = {
        {"upper", 0, {{"text", 1, 255}}, {{"TEXT", 1, 255}}},
        {"split_name", 0, {{"full_name", 1, 100}}, {{"first_name", 1, 100}, {"last_name", 1, 100}}},
        {"greeting", 1, {{"name", 1, 100}, {"language", 1, 8}}, {{"greeting", 1, 200}, {"length", 1, 10}}},
    };
    AcjHandle handle = batch();
    EXPECT_EQ(JW(lib, acj_rt_input_fieldinfo)(handle, 0, nullptr, nullptr, nullptr), 11);  // none selected yet
    EXPECT_EQ(acj_error(handle), "wrong field index: 0");

    auto describe = [&](decltype(&acj_rt_input_fieldinfo) fieldinfo, int32_t count) {
        std::vector<FieldDescription> fields;
        for (int32_t i = 0; i < count; ++i) {
            const char* name = nullptr;
            FieldDescription field{"", -1, -1};
            EXPECT_EQ(fieldinfo(handle, i, &name, &field.type, &field.length), 0);
            field.name = text_or_null(name);
            fields.push_back(field);
        }
        EXPECT_EQ(fieldinfo(handle, count, nullptr, nullptr, nullptr), 11);
        EXPECT_EQ(acj_error(handle), "wrong field index: " + std::to_string(count));
        return fields;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.service);
        int32_t numbers[4] = {-1, -1, -1, -1};
        ASSERT_EQ(JW(lib, acj_rt_io_info)(handle, c.service, &numbers[0], &numbers[1], &numbers[2], &numbers[3]), 0);
        EXPECT_EQ(numbers[0], static_cast<int32_t>(c.inputs.size()));
        EXPECT_EQ(numbers[1], static_cast<int32_t>(c.outputs.size()));
        EXPECT_EQ(numbers[2], 100);
        EXPECT_EQ(numbers[3], c.is_workflow);
        EXPECT_EQ(describe(JW(lib, acj_rt_input_fieldinfo), numbers[0]), c.inputs);
        EXPECT_EQ(describe(JW(lib, acj_rt_output_fieldinfo), numbers[1]), c.outputs);
    }
    EXPECT_EQ(JW(lib, acj_rt_io_info)(handle, "scoring", nullptr, nullptr, nullptr, nullptr), 12);
    EXPECT_EQ(acj_error(handle), "unknown service: scoring");
    EXPECT_EQ(JW(lib, acj_rt_io_info)(handle, nullptr, nullptr, nullptr, nullptr, nullptr), 4);
    EXPECT_EQ(acj_error(handle), "missing argument: service");
}

TEST_F(ServerTest, UpperCasesWithFullUnicodeMapping) {
    struct Case {
        const char* input;
        const char* upper;
    };
    const Case cases[] = {
        {"straße", "STRASSE"},
        {"é", "É"},
        {"Grüße aus Köln", "GRÜSSE AUS KÖLN"},
        {"istanbul", "ISTANBUL"},  // root locale: no dotted capital I
        {"ﬁx", "FIX"},
        {"ŉ", "ʼN"},
        {"déjà vu 42", "DÉJÀ VU 42"},
        {"", ""},
        {"ALREADY", "ALREADY"},
        {"\xff", "\xEF\xBF\xBD"},  // ill-formed: U+FFFD
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(run_one("upper", {{"text", c.input}}), (std::vector<std::string>{c.upper}));
    }
}

TEST_F(ServerTest, UpperRunsOverTheDeclaredFieldsAndAllRows) {
    RtaHandle handle = realtime("upper");
    ASSERT_EQ(JW(lib, rta_set_infield_info)(handle, 1, "city", 1, 40), 0);
    ASSERT_EQ(JW(lib, rta_set_infield_info)(handle, 0, "street", 1, 80), 0);
    // A value before any rta_add_row starts the first row.
    ASSERT_EQ(JW(lib, rta_set_data_value)(handle, 0, "hauptstraße"), 0);
    ASSERT_EQ(JW(lib, rta_set_data_value)(handle, 1, "zürich"), 0);
    ASSERT_EQ(JW(lib, rta_add_row)(handle), 0);
    ASSERT_EQ(JW(lib, rta_set_data_value)(handle, 1, "genève"), 0);
    ASSERT_EQ(JW(lib, rta_add_row)(handle), 0);
    ASSERT_EQ(JW(lib, rta_set_data_value)(handle, 0, nullptr), 0);
    ASSERT_EQ(JW(lib, rta_run)(handle), 0);

    EXPECT_EQ(output_fields(handle), (std::vector<std::string>{"street", "city"}));
    int32_t type = -1, length = -1;
    ASSERT_EQ(JW(lib, rta_output_fieldinfo)(handle, 1, nullptr, &type, &length), 0);
    EXPECT_EQ(type, 1);
    EXPECT_EQ(length, 40);
    EXPECT_EQ(output_rows(handle), (Rows{{"HAUPTSTRASSE", "ZÜRICH"}, {"", "GENÈVE"}, {"", ""}}));
    for (auto [row, field] : {std::pair{3, 0}, {0, 2}, {-1, 0}, {0, -1}}) {
        EXPECT_EQ(JW(lib, rta_output_data)(handle, row, field), nullptr) << row << "," << field;
    }

    // The run used up the rows: the next one has none, over the same fields.
    ASSERT_EQ(JW(lib, rta_run)(handle), 0);
    EXPECT_EQ(JW(lib, rta_output_numrows)(handle), 0);
    EXPECT_EQ(JW(lib, rta_output_numfields)(handle), 2);
}

TEST_F(ServerTest, SplitNameSplitsAtTheLastBlank) {
    struct Case {
        const char* full_name;
        const char* first;
        const char* last;
    };
    const Case cases[] = {
        {"Ada Lovelace", "Ada", "Lovelace"},
        {"Jean Paul Sartre", "Jean Paul", "Sartre"},
        {"Plato", "Plato", ""},
        {"  Ada   Lovelace  ", "Ada", "Lovelace"},
        {"José Martí", "José", "Martí"},
        {"", "", ""},
        {"山田 太郎", "山田", "太郎"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.full_name);
        EXPECT_EQ(run_one("split_name", {{"other", "x"}, {"full_name", c.full_name}}),
                  (std::vector<std::string>{c.first, c.last}));
    }

    // Over declared rows the input is found by its field name; a missing field counts as empty.
    RtaHandle handle = realtime("split_name");
    ASSERT_EQ(JW(lib, rta_set_infield_info)(handle, 0, "id", 1, 10), 0);
    ASSERT_EQ(JW(lib, rta_set_infield_info)(handle, 1, "full_name", 1, 100), 0);
    for (const char* name : {"Grace Hopper", "Hypatia"}) {
        ASSERT_EQ(JW(lib, rta_add_row)(handle), 0);
        ASSERT_EQ(JW(lib, rta_set_data_value)(handle, 1, name), 0);
    }
    ASSERT_EQ(JW(lib, rta_run)(handle), 0);
    EXPECT_EQ(output_fields(handle), (std::vector<std::string>{"first_name", "last_name"}));
    EXPECT_EQ(output_rows(handle), (Rows{{"Grace", "Hopper"}, {"Hypatia", ""}}));
    ASSERT_EQ(JW(lib, rta_run2)(handle, nullptr, 0), 0);
    EXPECT_EQ(output_rows(handle), (Rows{{"", ""}}));
}

TEST_F(ServerTest, RealtimeErrorsTellMessageCodeAndFailingFunction) {
    RtaHandle handle = realtime("upper");
    EXPECT_EQ(rta_error(handle), "");
    ASSERT_EQ(JW(lib, rta_set_infield_info)(handle, 0, "text", 1, 20), 0);

    using Call = std::function<int32_t()>;
    struct Case {
        Call call;
        int32_t status;
        std::string error;
    };
    const Case cases[] = {
        {[&] { return JW(lib, rta_set_data_value)(handle, 3, "x"); }, 11,
         "wrong field index: 3|E11|rta_set_data_value"},
        {[&] { return JW(lib, rta_set_infield_info)(handle, -1, "f", 1, 1); }, 11,
         "wrong field index: -1|E11|rta_set_infield_info"},
        {[&] { return JW(lib, rta_set_infield_info)(handle, 1, "", 1, 1); }, 4,
         "missing argument: name|E4|rta_set_infield_info"},
        {[&] { return JW(lib, rta_output_fieldinfo)(handle, 0, nullptr, nullptr, nullptr); }, 11,
         "wrong field index: 0|E11|rta_output_fieldinfo"},
        {[&] { return JW(lib, rta_set_credentials)(handle, "operator", ""); }, 7,
         "credentials required|E7|rta_set_credentials"},
        {[&] { return JW(lib, rta_set_data_value)(handle, 0, "ok"); }, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        EXPECT_EQ(c.call(), c.status);
        EXPECT_EQ(rta_error(handle), c.error);
    }

    // An error text stays as it was until the next rta_get_error on the handle.
    ASSERT_EQ(JW(lib, rta_set_data_value)(handle, 7, "x"), 11);
    const char* code = nullptr;
    const char* origin = nullptr;
    const char* message = JW(lib, rta_get_error)(handle, &code, &origin);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(JW(lib, rta_set_infield_info)(handle, -5, "f", 1, 1), 11);
    EXPECT_EQ(JW(lib, rta_set_timeout)(handle, 5), 0);
    EXPECT_STREQ(message, "wrong field index: 7");
    EXPECT_STREQ(code, "E11");
    EXPECT_STREQ(origin, "rta_set_data_value");
    // The output queries neither set nor clear the last error.
    ASSERT_EQ(JW(lib, rta_set_data_value)(handle, 7, "x"), 11);
    EXPECT_EQ(JW(lib, rta_output_data)(handle, 5, 5), nullptr);
    EXPECT_EQ(JW(lib, rta_output_numrows)(handle), 0);
    EXPECT_EQ(rta_error(handle), "wrong field index: 7|E11|rta_set_data_value");
}

// ---- workflow jobs ------------------------------------------------------------------------------------

TEST_F(ServerTest, WorkflowParametersNameInputsAndOutputs) {
    AcjHandle handle = batch();
    AcjResponse params = nullptr;
    ASSERT_EQ(JW(lib, acj_get_workflow_job_params)(handle, "greeting", 0, &params), 0);
    auto names = [&](decltype(&acj_get_input_names) list_names) {
        int32_t count = -1;
        const char** list = list_names(params, &count);
        return list != nullptr ? std::vector<std::string>(list, list + count) : std::vector<std::string>{"(null)"};
    };
    EXPECT_EQ(names(JW(lib, acj_get_input_names)), (std::vector<std::string>{"name", "language"}));
    EXPECT_EQ(names(JW(lib, acj_get_output_names)), (std::vector<std::string>{"greeting", "length"}));

    JW(lib, acj_destroy_wf_job_params_rsp_handle)(params);
    EXPECT_EQ(names(JW(lib, acj_get_input_names)), (std::vector<std::string>{"(null)"}));
    EXPECT_EQ(acj_error(nullptr), "unknown handle");

    AcjResponse untouched = nullptr;
    EXPECT_EQ(JW(lib, acj_get_workflow_job_params)(handle, "upper", 0, &untouched), 12);
    EXPECT_EQ(acj_error(handle), "unknown workflow: upper");
    EXPECT_EQ(JW(lib, acj_get_workflow_job_params)(handle, "greeting", 0, nullptr), 4);
    EXPECT_EQ(acj_error(handle), "missing argument: params");
    EXPECT_EQ(untouched, nullptr);
}

TEST_F(ServerTest, WorkflowsGreetInEachLanguage) {
    struct Case {
        const char* language;
        const char* name;
        const char* greeting;
        const char* length;
    };
    const Case cases[] = {
        {"", "Ada", "Hello, Ada!", "11"},
        {"en", "Ada", "Hello, Ada!", "11"},
        {"de", "Jürgen", "Hallo, Jürgen!", "14"},
        {"fr", "Ada", "Bonjour, Ada !", "14"},
        {"ja", "さくら", "こんにちは、さくらさん", "11"},
        {"xx", "", "Hello, !", "8"},
    };
    AcjHandle batch_handle = batch();
    AcjResponse params = nullptr;
    ASSERT_EQ(JW(lib, acj_get_workflow_job_params)(batch_handle, "greeting", 0, &params), 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        RtaHandle handle = realtime("greeting");
        // Declared in another order than the parameters: inputs are matched by name.
        ASSERT_EQ(JW(lib, rta_set_infield_info)(handle, 0, "language", 1, 8), 0);
        ASSERT_EQ(JW(lib, rta_set_infield_info)(handle, 1, "name", 1, 100), 0);
        ASSERT_EQ(JW(lib, rta_set_data_value)(handle, 0, c.language), 0);
        ASSERT_EQ(JW(lib, rta_set_data_value)(handle, 1, c.name), 0);
        AcjResponse service = nullptr;
        ASSERT_EQ(JW(lib, rta_run_workflow_job)(handle, "greeting", params, 30, &service), 0);
        int32_t count = -1;
        NameValuePair** outputs = JW(lib, acj_get_outputs)(service, &count);
        ASSERT_NE(outputs, nullptr);
        ASSERT_EQ(count, 2);
        EXPECT_STREQ(outputs[0]->name, "greeting");
        EXPECT_STREQ(outputs[0]->value, c.greeting);
        EXPECT_STREQ(outputs[1]->name, "length");
        EXPECT_STREQ(outputs[1]->value, c.length);
        JW(lib, acj_destroy_wf_svc_rsp_handle)(service);
        EXPECT_EQ(JW(lib, acj_get_outputs)(service, &count), nullptr);
        EXPECT_EQ(count, 0);
    }
}

TEST_F(ServerTest, WorkflowsRunOnTheLastInputRow) {
    RtaHandle handle = realtime("upper");  // any real-time connection can run a workflow
    auto greeting = [&](AcjResponse params) {
        AcjResponse service = nullptr;
        int32_t status = JW(lib, rta_run_workflow_job)(handle, "greeting", params, 30, &service);
        if (status != 0) return "status " + std::to_string(status);
        int32_t count = 0;
        NameValuePair** outputs = JW(lib, acj_get_outputs)(service, &count);
        return count > 0 ? std::string(outputs[0]->value) : std::string("no outputs");
    };
    EXPECT_EQ(greeting(nullptr), "Hello, !");  // no rows: every input is empty
    ASSERT_EQ(JW(lib, rta_set_infield_info)(handle, 0, "name", 1, 100), 0);
    for (const char* name : {"first", "last"}) {
        ASSERT_EQ(JW(lib, rta_add_row)(handle), 0);
        ASSERT_EQ(JW(lib, rta_set_data_value)(handle, 0, name), 0);
    }
    EXPECT_EQ(greeting(nullptr), "Hello, last!");
    EXPECT_EQ(greeting(nullptr), "Hello, last!");  // the rows stay

    AcjHandle batch_handle = batch();
    AcjResponse version = nullptr;
    ASSERT_EQ(JW(lib, acj_get_server_version2)(batch_handle, &version), 0);
    EXPECT_EQ(greeting(version), "status 2");  // not a parameters response
    EXPECT_EQ(rta_error(handle), "unknown handle|E2|rta_run_workflow_job");

    AcjResponse service = nullptr;
    EXPECT_EQ(JW(lib, rta_run_workflow_job)(handle, "split_name", nullptr, 30, &service), 12);
    EXPECT_EQ(rta_error(handle), "unknown workflow: split_name|E12|rta_run_workflow_job");
    EXPECT_EQ(JW(lib, rta_run_workflow_job)(handle, nullptr, nullptr, 30, &service), 4);
    EXPECT_EQ(JW(lib, rta_run_workflow_job)(handle, "greeting", nullptr, 30, nullptr), 4);
    EXPECT_EQ(rta_error(handle), "missing argument: service|E4|rta_run_workflow_job");
    EXPECT_EQ(service, nullptr);
}

}  // namespace
