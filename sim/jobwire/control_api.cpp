// jwsim_api: the control API tests reach through dlsym.
#include <mutex>

#include "function_call.h"

namespace jwsim {
namespace {

// In the order of JwFunc.
constexpr const char* kFunctionNames[] = {
    "acj_set_adv_option",
    "acj_initialize",
    "acj_set_timeout",
    "acj_set_credentials",
    "acj_set_orbenv",
    "acj_terminate",
    "acj_get_error",
    "acj_get_server_version",
    "acj_get_server_version2",
    "acj_destroy_get_server_version_rsp_handle",
    "acj_get_product_major_version",
    "acj_get_product_minor_version",
    "acj_get_product_revision_version",
    "acj_get_product_full_version",
    "acj_joblist",
    "acj_run_prof_job",
    "acj_run_arch_job",
    "acj_get_job_status",
    "acj_get_job_status_item",
    "acj_get_job_status_item2",
    "acj_get_job_log",
    "acj_terminate_job",
    "acj_delete_job_log",
    "acj_rt_io_info",
    "acj_rt_input_fieldinfo",
    "acj_rt_output_fieldinfo",
    "rta_initialize",
    "rta_set_timeout",
    "rta_set_credentials",
    "rta_set_orbenv",
    "rta_set_infield_info",
    "rta_add_row",
    "rta_set_data_value",
    "rta_run",
    "rta_run2",
    "rta_get_error",
    "rta_output_numrows",
    "rta_output_numfields",
    "rta_output_fieldinfo",
    "rta_output_data",
    "rta_terminate",
    "acj_get_workflow_job_params",
    "acj_get_input_names",
    "acj_get_output_names",
    "rta_run_workflow_job",
    "acj_get_outputs",
    "acj_destroy_wf_job_params_rsp_handle",
    "acj_destroy_wf_svc_rsp_handle",
};
static_assert(sizeof(kFunctionNames) / sizeof(kFunctionNames[0]) == JW_FUNC_COUNT, "one name per JwFunc");

void reset() {
    LibraryState& state = library_state();
    std::lock_guard<std::mutex> guard(state.lock);
    state.reset();
}

void script(const JwAnswer* answer) {
    if (answer == nullptr) return;
    LibraryState& state = library_state();
    std::lock_guard<std::mutex> guard(state.lock);
    state.scripts.push(*answer);
}

size_t call_count() {
    LibraryState& state = library_state();
    std::lock_guard<std::mutex> guard(state.lock);
    return state.calls.size();
}

const JwCall* call(size_t index) {
    LibraryState& state = library_state();
    std::lock_guard<std::mutex> guard(state.lock);
    return state.calls.at(index);
}

const char* func_name(JwFunc func) { return func >= 0 && func < JW_FUNC_COUNT ? kFunctionNames[func] : nullptr; }

AcjOptionFn ssl_answer() {
    LibraryState& state = library_state();
    std::lock_guard<std::mutex> guard(state.lock);
    return state.server.ssl_answer();
}

void set_recording(int32_t on) {
    LibraryState& state = library_state();
    std::lock_guard<std::mutex> guard(state.lock);
    state.recording = on != 0;
}

constexpr JwSimApi kApi = {reset, script, call_count, call, func_name, ssl_answer, set_recording};

}  // namespace
}  // namespace jwsim

JW_EXPORT const JwSimApi* jwsim_api(void) { return &jwsim::kApi; }
