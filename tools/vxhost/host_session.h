// One instance of a loaded deliverable, driven the way a host runtime drives it. A stand-in host kernel
// provides the services; each method calls one entry of the instance record with texts in the session
// encoding, prints the call and what came back to the transcript, and returns the results in UTF-8.
//
// Methods are grouped like the entries: module and instance (host_session.cpp), batch connection
// (host_session_batch.cpp), batch jobs (host_session_jobs.cpp), real-time services
// (host_session_realtime.cpp) and workflow jobs (host_session_workflow.cpp).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "frame/instance.h"
#include "library_loader.h"
#include "session_encoding.h"
#include "sim/host/sim_host.h"
#include "transcript.h"

namespace vxhost {

// Name/value pairs handed to entries 30, 31 and 55; nullopt passes a null array.
using Pairs = std::optional<std::vector<std::pair<Text, Text>>>;
// A response handle the client library made; the transcript names it ("params#1") instead of an address.
using Handle = void*;

struct ServerVersion {
    int32_t status = 0;
    std::string text;  // the client writes it in UTF-8 and the bridge does not convert it
    int32_t major = 0, minor = 0, revision = 0;
};
struct JobStarted {
    int32_t status = 0;
    int32_t job_id = 0;
};
struct StatusItem {
    int32_t status = 0;
    Text job_id, name, message;
    int32_t state = 0;
    int64_t sequence = 0;
};
struct IoInfo {
    int32_t status = 0;
    int32_t inputs = 0, outputs = 0, max_rows = 0, is_workflow = 0;
};
struct FieldInfo {
    int32_t status = 0;
    Text name;
    int32_t type = 0, length = 0;
};
struct RealTimeError {
    Text message, code, origin;  // message null: the last call succeeded
};
struct HandleAnswer {
    int32_t status = 0;
    Handle handle = nullptr;
};
// A list an entry hands back (job ids, input or output names); nullopt when the entry returned null.
using TextList = std::optional<std::vector<Text>>;
using PairList = std::optional<std::vector<std::pair<Text, Text>>>;

class HostSession {
  public:
    HostSession(const LoadedLibrary& library, const SessionEncoding& encoding, Transcript& transcript);
    ~HostSession();  // destroys the instance when the session has not
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    // Hands the host services over with vxextver and makes the instance with the entry export.
    bool open();
    bool alive() const { return rec_ != nullptr; }
    const SessionEncoding& encoding() const { return encoding_; }
    Transcript& transcript() { return out_; }

    // Module and instance: entries 3/4, 6, 56, 59.
    int32_t get_version(int number);
    int32_t destroy();  // also reports what the instance's pool saw
    // After destroy: the pool is gone and saw no bad free, no overwritten guard, no misuse of the host.
    bool pool_clean() const { return pool_clean_; }
    int32_t const_minus_one();
    int32_t const_one();

    // Batch connection and server information: entries 22-28, 57, 58, 67-72.
    int32_t acj_initialize(const Text& server, int32_t port);
    int32_t acj_set_timeout(int32_t seconds);
    int32_t acj_set_credentials(const Text& user, const Text& password);
    int32_t acj_set_orbenv(const Text& environment);
    int32_t acj_terminate();
    Text acj_get_error();
    ServerVersion acj_get_server_version(int32_t capacity);
    Text get_server_host();
    int32_t get_server_port();
    HandleAnswer acj_get_server_version2();
    void acj_destroy_get_server_version_rsp_handle(Handle response);
    int32_t acj_get_product_version(int number, Handle response);  // 69 major, 70 minor, 71 revision
    Text acj_get_product_full_version(Handle response);

    // Batch jobs: entries 29-40.
    TextList acj_joblist(int32_t state_filter, int32_t limit);
    JobStarted acj_run_prof_job(const Text& profile, const Text& project, const Text& folder, int32_t priority,
                                const Text& comment, const Text& owner, const Pairs& pairs);
    JobStarted acj_run_arch_job(const Text& job, const Pairs& pairs);
    std::pair<int32_t, int32_t> acj_get_job_status(const Text& job_id);  // status, state
    StatusItem acj_get_job_status_item(int number, int32_t index);       // 33, or 34 with the sequence
    // Also prints the lines of the log file when the client wrote it.
    int32_t acj_get_job_log(const Text& job_id, const Text& path);
    int32_t acj_terminate_job(const Text& job_id);
    int32_t acj_delete_job_log(const Text& job_id);
    IoInfo acj_rt_io_info(const Text& service);
    FieldInfo acj_rt_fieldinfo(int number, int32_t index);  // 39 input, 40 output

    // Real-time services: entries 41-55.
    int32_t rta_initialize(const Text& server, int32_t port, const Text& service, int32_t timeout_seconds);
    int32_t rta_set_timeout(int32_t seconds);
    int32_t rta_set_credentials(const Text& user, const Text& password);
    int32_t rta_set_orbenv(const Text& environment);
    int32_t rta_set_infield_info(int32_t index, const Text& name, int32_t type, int32_t length);
    int32_t rta_add_row();
    int32_t rta_set_data_value(int32_t index, const Text& value);
    int32_t rta_run();
    RealTimeError rta_get_error();
    int32_t rta_output_numrows();
    int32_t rta_output_numfields();
    FieldInfo rta_output_fieldinfo(int32_t index);
    Text rta_output_data(int32_t row, int32_t field);
    int32_t rta_terminate();
    int32_t rta_run2(const Pairs& pairs);
    // Entries 50-53 together: the whole output of the last run as a table (header: field names).
    void print_output_table();

    // Workflow jobs: entries 60-66.
    PairList acj_get_outputs(Handle service);
    HandleAnswer rta_run_workflow_job(const Text& workflow, Handle params, int32_t timeout_seconds);
    void acj_destroy_wf_job_params_rsp_handle(Handle params);
    TextList acj_get_names(int number, Handle params);  // 63 output names, 64 input names
    HandleAnswer acj_get_workflow_job_params(const Text& workflow, int32_t flags);
    void acj_destroy_wf_svc_rsp_handle(Handle service);

    // How the transcript shows a handle: its name, or "null".
    std::string handle_name(Handle handle) const;

  private:
    // A text argument as the transcript shows it: what the entry receives, read back into UTF-8.
    std::string shown(const Text& text) const;
    std::string shown(const Pairs& pairs) const;
    // Names a response handle the client library just made.
    void name_handle(Handle handle, const char* kind);
    void report_pool();

    const LoadedLibrary& library_;
    const SessionEncoding& encoding_;
    Transcript& out_;
    simhost::Host host_;
    BridgeInstance* rec_ = nullptr;
    std::map<Handle, std::string> handle_names_;
    std::map<std::string, int> handles_made_;  // per kind, for the names
    bool pool_clean_ = false;
};

}  // namespace vxhost
