// Control API of the stand-in client library, for tests.
//
// Tests load libJOBWIRE.so / libJOBWIRESSL.so in their own RTLD_LOCAL scopes and reach this API only
// through dlsym(handle, "jwsim_api"), so each loaded library is controlled and observed on its own.
// Every call of the 48 client functions is recorded (unless recording is off); a scripted answer, when
// one is queued for the function, replaces the library's own behaviour for that call; otherwise the
// library's job server answers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/jobwire.h"

extern "C" {

// One id per client function, in the order of platform/jobwire.h.
enum JwFunc : int32_t {
    // batch connection and server information
    JW_acj_set_adv_option,
    JW_acj_initialize,
    JW_acj_set_timeout,
    JW_acj_set_credentials,
    JW_acj_set_orbenv,
    JW_acj_terminate,
    JW_acj_get_error,
    JW_acj_get_server_version,
    JW_acj_get_server_version2,
    JW_acj_destroy_get_server_version_rsp_handle,
    JW_acj_get_product_major_version,
    JW_acj_get_product_minor_version,
    JW_acj_get_product_revision_version,
    JW_acj_get_product_full_version,
    // batch jobs
    JW_acj_joblist,
    JW_acj_run_prof_job,
    JW_acj_run_arch_job,
    JW_acj_get_job_status,
    JW_acj_get_job_status_item,
    JW_acj_get_job_status_item2,
    JW_acj_get_job_log,
    JW_acj_terminate_job,
    JW_acj_delete_job_log,
    JW_acj_rt_io_info,
    JW_acj_rt_input_fieldinfo,
    JW_acj_rt_output_fieldinfo,
    // real-time services
    JW_rta_initialize,
    JW_rta_set_timeout,
    JW_rta_set_credentials,
    JW_rta_set_orbenv,
    JW_rta_set_infield_info,
    JW_rta_add_row,
    JW_rta_set_data_value,
    JW_rta_run,
    JW_rta_run2,
    JW_rta_get_error,
    JW_rta_output_numrows,
    JW_rta_output_numfields,
    JW_rta_output_fieldinfo,
    JW_rta_output_data,
    JW_rta_terminate,
    // workflow jobs
    JW_acj_get_workflow_job_params,
    JW_acj_get_input_names,
    JW_acj_get_output_names,
    JW_rta_run_workflow_job,
    JW_acj_get_outputs,
    JW_acj_destroy_wf_job_params_rsp_handle,
    JW_acj_destroy_wf_svc_rsp_handle,
    JW_FUNC_COUNT
};
static_assert(JW_FUNC_COUNT == 48, "one id per client function");

// A scripted answer overrides the library's own behaviour for the next `times` calls (default 1 when 0
// or less) of `func`. Everything it points to is copied when it is queued; what the library hands out
// from it stays valid until the next reset.
//
// Which fields a function uses:
//  - int32_t-returning functions return `result` (truncated to 32 bits); void functions do nothing.
//  - Handle-returning functions return `pointer`.
//  - const char*-returning functions return a copy of `text`, or `pointer` when `text` is null.
//  - acj_joblist / acj_get_input_names / acj_get_output_names return a copy of `list` when it is
//    non-null, else `pointer`; acj_get_outputs returns a copy of `pairs` as an array of pointers to
//    copied records when it is non-null, else `pointer`. The copied array has max(length, count)
//    elements (count capped at 65536) so that a caller trusting the count reads null elements, never
//    foreign memory. The count address receives `count` only when `has_count` is set; otherwise it
//    keeps what the caller left there.
//  - Text out-parameters (const char**) receive out_texts[0..out_count) in argument order; a null
//    address is skipped. acj_get_server_version copies out_texts[0] into its buffer instead (cut to the
//    capacity, NUL-terminated; a null text leaves the buffer alone).
//  - Integer out-parameters (int32_t*/int64_t*) receive ints_out[0..ints_out_count) in argument order;
//    a null address is skipped. int32_t ones take the low 32 bits.
//  - AcjResponse* out-parameters receive `handle_out` (null included) when the address is non-null.
struct JwAnswer {
    JwFunc func;
    int64_t result;
    const void* pointer;
    const char* text;
    int32_t out_count;
    const char* out_texts[3];
    int32_t has_count;
    int32_t count;
    int32_t list_length;
    const char* const* list;
    int32_t pair_length;
    const NameValuePair* pairs;
    int32_t times;
    int32_t ints_out_count;
    int64_t ints_out[4];
    const void* handle_out;
};

// One call received, with raw arguments and texts copied at call time.
struct JwCall {
    JwFunc func;
    int32_t arg_count;           // the function's number of arguments
    uint64_t args[10];           // raw argument values (pointers and integers widened; int32 sign-extended)
    const char* texts[10];       // copies of text arguments (null for a null text or a non-text argument)
    int32_t pair_count;          // records copied from a pair-array argument (0 for a null array or count <= 0)
    const NameValuePair* pairs;  // the copied records (names/values copied; null kept); null when none
};

struct JwSimApi {
    // Forgets calls, scripts and all server state, and turns recording back on: the library is as
    // freshly loaded, except that handles made before stay unknown for good.
    void (*reset)(void);
    // Queues a scripted answer (FIFO per function). An answer for an unknown function is ignored.
    void (*script)(const JwAnswer* answer);
    size_t (*call_count)(void);
    // The call at `index`, nullptr past the end; valid until reset.
    const JwCall* (*call)(size_t index);
    // "acj_initialize", ...; nullptr for an id out of range.
    const char* (*func_name)(JwFunc func);
    // The last function handed over with "sslenab" (nullptr if none). The option is taken also when the
    // call of acj_set_adv_option has a scripted answer: a script replaces only its result.
    AcjOptionFn (*ssl_answer)(void);
    // Default on; benchmarks turn it off to measure the bare call.
    void (*set_recording)(int32_t on);
};

const JwSimApi* jwsim_api(void);
using JwSimApiFn = const JwSimApi* (*)(void);

}  // extern "C"
