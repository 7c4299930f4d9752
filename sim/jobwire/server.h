// The in-memory job server behind the client functions: what a call does when no scripted answer
// replaces it. SERVER.md beside this file describes its behaviour.
//
// One method per client function, with the function's own arguments. The methods live in one file per
// family: server.cpp (connections, errors, versions), server_jobs.cpp, server_services.cpp and
// server_workflows.cpp. Every failure is recorded on the connection it happened on (or, without a
// usable handle, on a library-wide record) with its status, message and the failing function's name.
#pragma once

#include <cstdint>

#include "connection.h"
#include "handle_table.h"
#include "job_book.h"
#include "platform/jobwire.h"
#include "responses.h"
#include "statuses.h"

namespace jwsim {

// The version the server reports.
inline constexpr int32_t kServerMajor = 9;
inline constexpr int32_t kServerMinor = 4;
inline constexpr int32_t kServerRevision = 2;
inline constexpr const char* kServerVersionText = "9.4.2";
inline constexpr const char* kProductFullVersion = "9.4.2 Édition mémoire";

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
    // What a lookup found, or the status it failed with (already recorded).
    template <class T>
    struct Found {
        T* object;
        int32_t status;
    };
    enum class Needs { open_connection, credentials };

    // The open connection `handle` names; otherwise records why not (2, 3, or 7 when credentials are
    // needed and missing).
    Found<BatchConnection> open_batch(AcjHandle handle, const char* origin, Needs needs = Needs::open_connection);
    Found<RealtimeConnection> open_realtime(RtaHandle handle, const char* origin);
    // For queries that answer no status: the open connection, or null; records nothing.
    RealtimeConnection* quiet_realtime(RtaHandle handle) const;
    // The response behind `handle`, or null after recording an unknown handle.
    template <class T>
    T* find_response(const HandleTable<T>& table, const void* handle, const char* origin);
    // Where the failures of calls on `handle` are recorded: its connection (open or ended), else the
    // library-wide record.
    template <class C>
    Connection& record_of(const HandleTable<C>& table, const void* handle);
    // Whether a connection to `server`:`port` may be opened; records why not, or clears the
    // library-wide record when it may.
    bool may_connect(const char* server, int32_t port, const char* origin);

    // The job named by the text `job_id`: 4 when it is missing, 8 when no job has that id.
    Found<Job> find_job(Connection& connection, const char* job_id, const char* origin);
    int32_t run_job(AcjHandle handle, const char* kind, const char* name, const char* name_argument,
                    const NameValuePair* pairs, int32_t count, int32_t* job_id, const char* origin);
    int32_t status_item(AcjHandle handle, int32_t index, const char** job_id, const char** name, int32_t* state,
                        const char** message, int64_t* sequence, const char* origin);
    // Writes field `index` of `fields`; 11 when there is none.
    static int32_t describe_field(Connection& connection, const std::vector<FieldInfo>& fields, int32_t index,
                                  const char** name, int32_t* type, int32_t* length, const char* origin);
    int32_t describe_selected(AcjHandle handle, bool inputs, int32_t index, const char** name, int32_t* type,
                              int32_t* length, const char* origin);
    int32_t store_credentials(Connection& connection, const char* user, const char* password, const char* origin);
    const char** list_names(AcjResponse params, TextList ParamsResponse::*names, int32_t* count, const char* origin);

    HandleTable<BatchConnection> batches_;
    HandleTable<RealtimeConnection> realtimes_;
    HandleTable<VersionResponse> versions_;
    HandleTable<ParamsResponse> params_;
    HandleTable<ServiceResponse> services_;
    Connection unattached_;  // failures and texts of calls that had no usable handle
    AcjOptionFn ssl_answer_ = nullptr;
    JobBook jobs_;
};

template <class T>
T* Server::find_response(const HandleTable<T>& table, const void* handle, const char* origin) {
    T* response = table.find(handle);
    if (response == nullptr) unattached_.fail(kBadHandle, "unknown handle", origin);
    return response;
}

template <class C>
Connection& Server::record_of(const HandleTable<C>& table, const void* handle) {
    C* connection = table.find(handle);
    return connection != nullptr ? *connection : unattached_;
}

}  // namespace jwsim
