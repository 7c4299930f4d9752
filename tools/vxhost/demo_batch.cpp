// The demo's batch parts: opening the connection, server and product versions, jobs of both kinds with
// their states, status items and logs, and service descriptions read over the batch connection.
#include <string>

#include "demo_steps.h"

namespace vxhost {
namespace {

constexpr int32_t kTimeoutSeconds = 30;
constexpr int32_t kVersionBuffer = 64;
constexpr int32_t kPriority = 5;
constexpr int32_t kAllStates = -1;
constexpr int32_t kNoLimit = 0;
constexpr int32_t kCompleted = 2;
constexpr int kStatusQueries = 3;  // each query moves a job one step on: queued, running, completed
constexpr const char* kEnvironment = "production";

Pairs pairs_of(std::initializer_list<std::pair<const char*, const char*>> pairs) {
    Pairs out{std::in_place};
    for (const auto& [name, value] : pairs) out->emplace_back(name, value);
    return out;
}

}  // namespace

void demo_batch_connection(DemoContext& demo) {
    HostSession& s = demo.session;
    s.transcript().heading("Batch connection and server information");
    expect_batch_ok(s, s.acj_initialize(demo.settings.server, demo.settings.port), "[22] acj_initialize");
    expect_batch_ok(s, s.acj_set_credentials(demo.texts.user, demo.texts.password), "[24] acj_set_credentials");
    expect_batch_ok(s, s.acj_set_timeout(kTimeoutSeconds), "[23] acj_set_timeout");
    expect_batch_ok(s, s.acj_set_orbenv(kEnvironment), "[25] acj_set_orbenv");
    s.get_server_host();
    expect_value(s.get_server_port(), demo.settings.port, "[58] get_server_port");
    expect_batch_ok(s, s.acj_get_server_version(kVersionBuffer).status, "[28] acj_get_server_version");

    const HandleAnswer version = s.acj_get_server_version2();
    expect_batch_ok(s, version.status, "[67] acj_get_server_version2");
    for (int number : {69, 70, 71}) s.acj_get_product_version(number, version.handle);
    s.acj_get_product_full_version(version.handle);
    s.acj_destroy_get_server_version_rsp_handle(version.handle);
}

void demo_batch_jobs(DemoContext& demo) {
    HostSession& s = demo.session;
    const DemoTexts& t = demo.texts;
    s.transcript().heading("Batch jobs");
    const JobStarted profile_job = s.acj_run_prof_job(t.profile, std::nullopt, std::nullopt, kPriority, t.comment,
                                                      t.owner, pairs_of({t.job_pairs[0], t.job_pairs[1]}));
    expect_batch_ok(s, profile_job.status, "[30] acj_run_prof_job");
    const JobStarted arch_job = s.acj_run_arch_job(t.arch_job, pairs_of({t.arch_pair}));
    expect_batch_ok(s, arch_job.status, "[31] acj_run_arch_job");
    const std::string first = std::to_string(profile_job.job_id);
    const std::string second = std::to_string(arch_job.job_id);

    s.acj_joblist(kAllStates, kNoLimit);
    // A status item reads a job's state without moving it; a status query moves it one step on.
    expect_batch_ok(s, s.acj_get_job_status_item(33, 0).status, "[33] acj_get_job_status_item");
    for (int i = 0; i < kStatusQueries; ++i) {
        expect_batch_ok(s, s.acj_get_job_status(first).first, "[32] acj_get_job_status");
    }
    for (int32_t index : {0, 1}) {
        expect_batch_ok(s, s.acj_get_job_status_item(34, index).status, "[34] acj_get_job_status_item2");
    }
    s.acj_joblist(kCompleted, kNoLimit);

    const std::string log_path = demo.log_directory + "/job-" + first + ".log";
    expect_batch_ok(s, s.acj_get_job_log(first, log_path), "[35] acj_get_job_log");

    s.transcript().heading("Stopping jobs and deleting logs (two refusals on purpose)");
    expect_batch_ok(s, s.acj_terminate_job(second), "[36] acj_terminate_job");
    expect_batch_ok(s, s.acj_get_job_status(second).first, "[32] acj_get_job_status");
    expect_refused(s.acj_terminate_job(first), "[36] acj_terminate_job of a finished job");
    s.acj_get_error();
    expect_batch_ok(s, s.acj_delete_job_log(first), "[37] acj_delete_job_log");
    expect_refused(s.acj_get_job_log(first, log_path), "[35] acj_get_job_log of a deleted log");
    s.acj_get_error();
}

void demo_service_descriptions(DemoContext& demo) {
    HostSession& s = demo.session;
    s.transcript().heading("Service descriptions over the batch connection");
    for (const char* service : {"upper", "greeting"}) {
        const IoInfo info = s.acj_rt_io_info(service);
        expect_batch_ok(s, info.status, "[38] acj_rt_io_info");
        for (int32_t i = 0; i < info.inputs; ++i) {
            expect_batch_ok(s, s.acj_rt_fieldinfo(39, i).status, "[39] acj_rt_input_fieldinfo");
        }
        for (int32_t i = 0; i < info.outputs; ++i) {
            expect_batch_ok(s, s.acj_rt_fieldinfo(40, i).status, "[40] acj_rt_output_fieldinfo");
        }
    }
}

}  // namespace vxhost
