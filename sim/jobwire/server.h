// The job server behind the client functions: what a call does when no scripted answer replaces it.
//
// One method per client function, with the function's own arguments. For now it is a minimal server:
// it knows which handles it made and whether a connection has ended, honours the "sslenab" answer for
// https:// addresses, keeps the last failure per handle, and answers every other question with empty
// results (no jobs, no services, no fields). Null handles and handles it did not make fail with
// kBadHandle; out-parameters are written only through non-null addresses. It keeps no jobs yet: job ids
// are numbered, but lists are empty and acj_get_job_log writes no file.
#pragma once

#include <cstdint>

#include "handle_table.h"
#include "platform/jobwire.h"

namespace jwsim {

// Statuses of the library's own failures.
inline constexpr int32_t kOk = 0;
inline constexpr int32_t kBadHandle = 2;    // null, unknown, or a handle of another kind
inline constexpr int32_t kEnded = 3;        // the connection was terminated
inline constexpr int32_t kBadArgument = 4;  // an argument the call cannot do without is missing
inline constexpr int32_t kUnknownOption = 5;
inline constexpr int32_t kNotConnected = 6;  // the address was refused

// The version the server reports.
inline constexpr int32_t kServerMajor = 9;
inline constexpr int32_t kServerMinor = 4;
inline constexpr int32_t kServerRevision = 2;
inline constexpr const char* kServerVersionText = "9.4.2";

class Server {
  public:
    // Library-wide setting, also taken when the call's result is scripted.
    int32_t acj_set_adv_option(const char* name, AcjOptionFn answer);
    AcjOptionFn ssl_answer() const { return ssl_answer_; }

    // batch connection and server information
    AcjHandle acj_initialize(const char* server, int32_t port);
    int32_t acj_set_timeout(AcjHandle handle, int32_t seconds);
    int32_t acj_set_credentials(AcjHandle handle, const char* user, const char* password);
    int32_t acj_set_orbenv(AcjHandle handle, const char* environment);
    int32_t acj_terminate(AcjHandle handle);
    const char* acj_get_error(AcjHandle handle);
    int32_t acj_get_server_version(AcjHandle handle, char* buffer, int32_t capacity, int32_t* major, int32_t* minor,
                                   int32_t* revision);
    int32_t acj_get_server_version2(AcjHandle handle, AcjResponse* response);
    void acj_destroy_get_server_version_rsp_handle(AcjResponse response);
    int32_t acj_get_product_major_version(AcjResponse response);
    int32_t acj_get_product_minor_version(AcjResponse response);
    int32_t acj_get_product_revision_version(AcjResponse response);
    const char* acj_get_product_full_version(AcjResponse response);

    // batch jobs
    const char** acj_joblist(AcjHandle handle, int32_t state_filter, int32_t* count, int32_t limit);
    int32_t acj_run_prof_job(AcjHandle handle, const char* profile, const char* project, const char* folder,
                             int32_t priority, const char* comment, const char* owner, const NameValuePair* pairs,
                             int32_t count, int32_t* job_id);
    int32_t acj_run_arch_job(AcjHandle handle, const char* job, const NameValuePair* pairs, int32_t count,
                             int32_t* job_id);
    int32_t acj_get_job_status(AcjHandle handle, const char* job_id, int32_t* state);
    int32_t acj_get_job_status_item(AcjHandle handle, int32_t index, const char** job_id, const char** name,
                                    int32_t* state, const char** message);
    int32_t acj_get_job_status_item2(AcjHandle handle, int32_t index, const char** job_id, const char** name,
                                     int32_t* state, const char** message, int64_t* sequence);
    int32_t acj_get_job_log(AcjHandle handle, const char* job_id, const char* path);
    int32_t acj_terminate_job(AcjHandle handle, const char* job_id);
    int32_t acj_delete_job_log(AcjHandle handle, const char* job_id);
    int32_t acj_rt_io_info(AcjHandle handle, const char* service, int32_t* input_fields, int32_t* output_fields,
                           int32_t* max_rows, int32_t* is_workflow);
    int32_t acj_rt_input_fieldinfo(AcjHandle handle, int32_t index, const char** name, int32_t* type, int32_t* length);
    int32_t acj_rt_output_fieldinfo(AcjHandle handle, int32_t index, const char** name, int32_t* type, int32_t* length);

    // real-time services
    RtaHandle rta_initialize(const char* server, int32_t port, const char* service, int32_t timeout_seconds);
    int32_t rta_set_timeout(RtaHandle handle, int32_t seconds);
    int32_t rta_set_credentials(RtaHandle handle, const char* user, const char* password);
    int32_t rta_set_orbenv(RtaHandle handle, const char* environment);
    int32_t rta_set_infield_info(RtaHandle handle, int32_t index, const char* name, int32_t type, int32_t length);
    int32_t rta_add_row(RtaHandle handle);
    int32_t rta_set_data_value(RtaHandle handle, int32_t index, const char* value);
    int32_t rta_run(RtaHandle handle);
    int32_t rta_run2(RtaHandle handle, const NameValuePair* pairs, int32_t count);
    const char* rta_get_error(RtaHandle handle, const char** code, const char** origin);
    int32_t rta_output_numrows(RtaHandle handle);
    int32_t rta_output_numfields(RtaHandle handle);
    int32_t rta_output_fieldinfo(RtaHandle handle, int32_t index, const char** name, int32_t* type, int32_t* length);
    const char* rta_output_data(RtaHandle handle, int32_t row, int32_t field);
    int32_t rta_terminate(RtaHandle handle);

    // workflow jobs
    int32_t acj_get_workflow_job_params(AcjHandle handle, const char* workflow, int32_t flags, AcjResponse* params);
    const char** acj_get_input_names(AcjResponse params, int32_t* count);
    const char** acj_get_output_names(AcjResponse params, int32_t* count);
    int32_t rta_run_workflow_job(RtaHandle handle, const char* workflow, AcjResponse params, int32_t timeout_seconds,
                                 AcjResponse* service);
    NameValuePair** acj_get_outputs(AcjResponse service, int32_t* count);
    void acj_destroy_wf_job_params_rsp_handle(AcjResponse params);
    void acj_destroy_wf_svc_rsp_handle(AcjResponse service);

  private:
    // kOk when `handle` is an open connection of this kind; otherwise records why not and returns the status.
    int32_t check(const void* handle, HandleKind kind);
    // True when `handle` is a live response handle of this kind; otherwise records why not.
    bool check_response(const void* handle, HandleKind kind);
    // Records a failure on `entry` (or, with a null entry, on no handle) and returns its status.
    int32_t fail(HandleEntry* entry, int32_t status, const char* message);
    // The failure a later error question about `handle` reports.
    const Failure& failure_of(const void* handle, HandleKind kind);
    void* connect(HandleKind kind, const char* server);
    int32_t describe_field(const void* handle, HandleKind kind, const char** name, int32_t* type, int32_t* length);
    const char** names_of(const void* params, int32_t* count);

    HandleTable handles_;
    Failure unattached_failure_;  // failures of calls that had no usable handle
    AcjOptionFn ssl_answer_ = nullptr;
    int32_t last_job_id_ = 0;
};

}  // namespace jwsim
