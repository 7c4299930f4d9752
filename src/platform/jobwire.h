// The job server client library's 48 functions as this extension calls them.
//
// Both client libraries (the plain one and the SSL one) export exactly these names. Every text that
// crosses is NUL-terminated UTF-8. What the library returns stays the library's: callers copy it and
// never free it; response handles are released only through the library's destroy functions.
// Arguments a caller passes live only for the duration of the call.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

// A name/value pair; hosts pass contiguous arrays of them, the library answers with arrays of pointers
// to them.
struct NameValuePair {
    const char* name;
    const char* value;
};
static_assert(sizeof(NameValuePair) == 16 && offsetof(NameValuePair, value) == 8);

using AcjHandle = void*;    // a batch connection
using RtaHandle = void*;    // a real-time connection
using AcjResponse = void*;  // a response handle made by the library, held by the caller
using AcjOptionFn = int32_t (*)(void);

// Job states that acj_get_job_status and the status items report.
enum JobState : int32_t {
    JOB_QUEUED = 0,
    JOB_RUNNING = 1,
    JOB_COMPLETED = 2,
    JOB_FAILED = 3,
    JOB_TERMINATED = 4,
};

// ---- batch connection and server information ------------------------------------------------------

// Sets a library-wide advanced option. "sslenab" takes a function that answers 1 when the caller's
// build may open https:// connections. The result is informational.
int32_t acj_set_adv_option(const char* name, AcjOptionFn answer);
// Opens a batch connection to `server` (an http:// or https:// address) on `port`; null on failure.
AcjHandle acj_initialize(const char* server, int32_t port);
// Time-out for every later call on the connection, in seconds.
int32_t acj_set_timeout(AcjHandle handle, int32_t seconds);
int32_t acj_set_credentials(AcjHandle handle, const char* user, const char* password);
// Names the server-side environment the connection works in.
int32_t acj_set_orbenv(AcjHandle handle, const char* environment);
// Ends the connection; the handle must not be used for new work afterwards.
int32_t acj_terminate(AcjHandle handle);
// The text of the last error on the connection, or null when there is none.
const char* acj_get_error(AcjHandle handle);
// Writes the server's version text into `buffer` (`capacity` bytes, terminator included) and its
// major, minor and revision numbers. Status 1 means the server cannot tell its version.
int32_t acj_get_server_version(AcjHandle handle, char* buffer, int32_t capacity, int32_t* major, int32_t* minor,
                               int32_t* revision);
// Asks for the server's product version; on status 0 *response holds a handle for the
// acj_get_product_* functions, released with acj_destroy_get_server_version_rsp_handle.
int32_t acj_get_server_version2(AcjHandle handle, AcjResponse* response);
void acj_destroy_get_server_version_rsp_handle(AcjResponse response);
int32_t acj_get_product_major_version(AcjResponse response);
int32_t acj_get_product_minor_version(AcjResponse response);
int32_t acj_get_product_revision_version(AcjResponse response);
const char* acj_get_product_full_version(AcjResponse response);

// ---- batch jobs --------------------------------------------------------------------------------------

// Ids of the connection's jobs whose state matches `state_filter` (-1 for all), at most `limit` of them
// (0 for no limit); *count receives their number. Null when the list cannot be made.
const char** acj_joblist(AcjHandle handle, int32_t state_filter, int32_t* count, int32_t limit);
// Runs a profile job. project, folder and comment are optional (null when absent); `pairs` are the
// job's parameters (null when count is 0 or less); *job_id receives the new job's id when not null.
int32_t acj_run_prof_job(AcjHandle handle, const char* profile, const char* project, const char* folder,
                         int32_t priority, const char* comment, const char* owner, const NameValuePair* pairs,
                         int32_t count, int32_t* job_id);
// Runs an architect job named `job`, with the same parameter rules as acj_run_prof_job.
int32_t acj_run_arch_job(AcjHandle handle, const char* job, const NameValuePair* pairs, int32_t count, int32_t* job_id);
// *state receives the state of the job whose id is the text `job_id` (see JobState).
int32_t acj_get_job_status(AcjHandle handle, const char* job_id, int32_t* state);
// Status item `index` of the connection's job list: the job's id, its name, its state and a message.
// On status 0 the three texts point into the library's storage.
int32_t acj_get_job_status_item(AcjHandle handle, int32_t index, const char** job_id, const char** name, int32_t* state,
                                const char** message);
// As acj_get_job_status_item, and *sequence receives the order in which the job was submitted.
int32_t acj_get_job_status_item2(AcjHandle handle, int32_t index, const char** job_id, const char** name,
                                 int32_t* state, const char** message, int64_t* sequence);
// Writes the log of job `job_id` into the file named by `path`.
int32_t acj_get_job_log(AcjHandle handle, const char* job_id, const char* path);
int32_t acj_terminate_job(AcjHandle handle, const char* job_id);
int32_t acj_delete_job_log(AcjHandle handle, const char* job_id);
// Describes real-time service `service` over the batch connection: its numbers of input and output
// fields, the rows one call accepts, and whether it is a workflow service (1) or not (0). It also
// selects the service that acj_rt_input_fieldinfo and acj_rt_output_fieldinfo describe.
int32_t acj_rt_io_info(AcjHandle handle, const char* service, int32_t* input_fields, int32_t* output_fields,
                       int32_t* max_rows, int32_t* is_workflow);
// Name, type and length of field `index` of the selected service's input or output.
int32_t acj_rt_input_fieldinfo(AcjHandle handle, int32_t index, const char** name, int32_t* type, int32_t* length);
int32_t acj_rt_output_fieldinfo(AcjHandle handle, int32_t index, const char** name, int32_t* type, int32_t* length);

// ---- real-time services ------------------------------------------------------------------------------

// Opens a real-time connection to `service` on `server`:`port`, with a call time-out in seconds.
RtaHandle rta_initialize(const char* server, int32_t port, const char* service, int32_t timeout_seconds);
int32_t rta_set_timeout(RtaHandle handle, int32_t seconds);
int32_t rta_set_credentials(RtaHandle handle, const char* user, const char* password);
int32_t rta_set_orbenv(RtaHandle handle, const char* environment);
// Declares input field `index`: its name, type and length.
int32_t rta_set_infield_info(RtaHandle handle, int32_t index, const char* name, int32_t type, int32_t length);
// Starts a new input row; rta_set_data_value fills its fields.
int32_t rta_add_row(RtaHandle handle);
int32_t rta_set_data_value(RtaHandle handle, int32_t index, const char* value);
// Runs the service on the rows given so far.
int32_t rta_run(RtaHandle handle);
// Runs the service on one row given as name/value pairs (null when count is 0 or less).
int32_t rta_run2(RtaHandle handle, const NameValuePair* pairs, int32_t count);
// The last error: its message as result (null when there is none), its code and its origin.
const char* rta_get_error(RtaHandle handle, const char** code, const char** origin);
int32_t rta_output_numrows(RtaHandle handle);
int32_t rta_output_numfields(RtaHandle handle);
int32_t rta_output_fieldinfo(RtaHandle handle, int32_t index, const char** name, int32_t* type, int32_t* length);
// The value of output field `field` in row `row`, or null when there is none.
const char* rta_output_data(RtaHandle handle, int32_t row, int32_t field);
int32_t rta_terminate(RtaHandle handle);

// ---- workflow jobs -----------------------------------------------------------------------------------

// Asks for the parameters of workflow `workflow`; on status 0 *params receives a parameters response
// handle (released with acj_destroy_wf_job_params_rsp_handle). `flags` is reserved (0).
int32_t acj_get_workflow_job_params(AcjHandle handle, const char* workflow, int32_t flags, AcjResponse* params);
// Input and output names of a parameters response; *count receives their number.
const char** acj_get_input_names(AcjResponse params, int32_t* count);
const char** acj_get_output_names(AcjResponse params, int32_t* count);
// Runs workflow `workflow` with the inputs held by `params` (may be null), waiting at most
// `timeout_seconds`; on status 0 *service receives a workflow service response handle (released with
// acj_destroy_wf_svc_rsp_handle).
int32_t rta_run_workflow_job(RtaHandle handle, const char* workflow, AcjResponse params, int32_t timeout_seconds,
                             AcjResponse* service);
// The outputs of a workflow service response as pointers to name/value pairs; *count their number.
NameValuePair** acj_get_outputs(AcjResponse service, int32_t* count);
void acj_destroy_wf_job_params_rsp_handle(AcjResponse params);
void acj_destroy_wf_svc_rsp_handle(AcjResponse service);

}  // extern "C"
