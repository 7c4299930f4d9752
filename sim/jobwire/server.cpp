#include "server.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "library_identity.h"

namespace jwsim {
namespace {

const char kEmptyText[] = "";
// Empty answers handed out as lists; callers only read them.
const char* kNoNames[1] = {nullptr};
NameValuePair* kNoPairs[1] = {nullptr};

template <class T, class V>
void put(T* out, V value) {
    if (out != nullptr) *out = value;
}

bool starts_with(const char* text, const char* prefix) {
    return text != nullptr && std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

}  // namespace

// ---- failures and handles -----------------------------------------------------------------------------

int32_t Server::fail(HandleEntry* entry, int32_t status, const char* message) {
    Failure& failure = entry != nullptr ? entry->last_failure : unattached_failure_;
    failure.message = message;
    failure.code = std::to_string(status);
    return status;
}

int32_t Server::check(const void* handle, HandleKind kind) {
    HandleEntry* entry = handles_.find(handle, kind);
    if (entry == nullptr) {
        if (handle == nullptr) return fail(nullptr, kBadHandle, "the connection handle is null");
        return fail(nullptr, kBadHandle,
                    kind == HandleKind::batch ? "not a batch connection of this library"
                                              : "not a real-time connection of this library");
    }
    if (entry->ended) return fail(entry, kEnded, "the connection has ended");
    return kOk;
}

bool Server::check_response(const void* handle, HandleKind kind) {
    if (handles_.find(handle, kind) != nullptr) return true;
    fail(nullptr, kBadHandle,
         handle == nullptr ? "the response handle is null" : "not a response handle of this kind from this library");
    return false;
}

const Failure& Server::failure_of(const void* handle, HandleKind kind) {
    HandleEntry* entry = handles_.find(handle, kind);
    return entry != nullptr ? entry->last_failure : unattached_failure_;
}

void* Server::connect(HandleKind kind, const char* server) {
    if (starts_with(server, "http://")) return handles_.make(kind);
    if (!starts_with(server, "https://")) {
        fail(nullptr, kNotConnected, "the server address must start with http:// or https://");
        return nullptr;
    }
    // The caller's build decides whether it may use SSL; ask it at every connection attempt.
    if (ssl_answer_ == nullptr || ssl_answer_() != 1) {
        fail(nullptr, kNotConnected, "https requires an SSL-enabled caller");
        return nullptr;
    }
    return handles_.make(kind);
}

// ---- batch connection and server information ----------------------------------------------------------

int32_t Server::acj_set_adv_option(const char* name, AcjOptionFn answer) {
    if (name == nullptr || std::strcmp(name, "sslenab") != 0) {
        return fail(nullptr, kUnknownOption, "unknown advanced option");
    }
    ssl_answer_ = answer;
    return kOk;
}

AcjHandle Server::acj_initialize(const char* server, int32_t) { return connect(HandleKind::batch, server); }

int32_t Server::acj_set_timeout(AcjHandle handle, int32_t) { return check(handle, HandleKind::batch); }

int32_t Server::acj_set_credentials(AcjHandle handle, const char*, const char*) {
    return check(handle, HandleKind::batch);
}

int32_t Server::acj_set_orbenv(AcjHandle handle, const char*) { return check(handle, HandleKind::batch); }

int32_t Server::acj_terminate(AcjHandle handle) {
    if (int32_t status = check(handle, HandleKind::batch); status != kOk) return status;
    handles_.find(handle, HandleKind::batch)->ended = true;
    return kOk;
}

const char* Server::acj_get_error(AcjHandle handle) {
    const Failure& failure = failure_of(handle, HandleKind::batch);
    return failure.message.empty() ? nullptr : failure.message.c_str();
}

int32_t Server::acj_get_server_version(AcjHandle handle, char* buffer, int32_t capacity, int32_t* major, int32_t* minor,
                                       int32_t* revision) {
    if (int32_t status = check(handle, HandleKind::batch); status != kOk) return status;
    if (buffer != nullptr && capacity > 0) {
        size_t length = std::min(std::strlen(kServerVersionText), static_cast<size_t>(capacity) - 1);
        std::memcpy(buffer, kServerVersionText, length);
        buffer[length] = '\0';
    }
    put(major, kServerMajor);
    put(minor, kServerMinor);
    put(revision, kServerRevision);
    return kOk;
}

int32_t Server::acj_get_server_version2(AcjHandle handle, AcjResponse* response) {
    if (int32_t status = check(handle, HandleKind::batch); status != kOk) return status;
    if (response == nullptr) {
        return fail(handles_.find(handle, HandleKind::batch), kBadArgument, "no address for the response handle");
    }
    *response = handles_.make(HandleKind::version_response);
    return kOk;
}

void Server::acj_destroy_get_server_version_rsp_handle(AcjResponse response) {
    if (check_response(response, HandleKind::version_response)) {
        handles_.release(response, HandleKind::version_response);
    }
}

int32_t Server::acj_get_product_major_version(AcjResponse response) {
    return check_response(response, HandleKind::version_response) ? kServerMajor : -1;
}

int32_t Server::acj_get_product_minor_version(AcjResponse response) {
    return check_response(response, HandleKind::version_response) ? kServerMinor : -1;
}

int32_t Server::acj_get_product_revision_version(AcjResponse response) {
    return check_response(response, HandleKind::version_response) ? kServerRevision : -1;
}

const char* Server::acj_get_product_full_version(AcjResponse response) {
    return check_response(response, HandleKind::version_response) ? kServerVersionText : nullptr;
}

// ---- batch jobs ---------------------------------------------------------------------------------------

const char** Server::acj_joblist(AcjHandle handle, int32_t, int32_t* count, int32_t) {
    put(count, 0);
    return check(handle, HandleKind::batch) == kOk ? kNoNames : nullptr;
}

int32_t Server::acj_run_prof_job(AcjHandle handle, const char*, const char*, const char*, int32_t, const char*,
                                 const char*, const NameValuePair*, int32_t, int32_t* job_id) {
    if (int32_t status = check(handle, HandleKind::batch); status != kOk) return status;
    put(job_id, ++last_job_id_);
    return kOk;
}

int32_t Server::acj_run_arch_job(AcjHandle handle, const char*, const NameValuePair*, int32_t, int32_t* job_id) {
    if (int32_t status = check(handle, HandleKind::batch); status != kOk) return status;
    put(job_id, ++last_job_id_);
    return kOk;
}

int32_t Server::acj_get_job_status(AcjHandle handle, const char*, int32_t* state) {
    if (int32_t status = check(handle, HandleKind::batch); status != kOk) return status;
    put(state, JOB_QUEUED);
    return kOk;
}

int32_t Server::acj_get_job_status_item(AcjHandle handle, int32_t, const char** job_id, const char** name,
                                        int32_t* state, const char** message) {
    if (int32_t status = check(handle, HandleKind::batch); status != kOk) return status;
    put(job_id, kEmptyText);
    put(name, kEmptyText);
    put(state, JOB_QUEUED);
    put(message, kEmptyText);
    return kOk;
}

int32_t Server::acj_get_job_status_item2(AcjHandle handle, int32_t index, const char** job_id, const char** name,
                                         int32_t* state, const char** message, int64_t* sequence) {
    int32_t status = acj_get_job_status_item(handle, index, job_id, name, state, message);
    if (status == kOk) put(sequence, int64_t{0});
    return status;
}

int32_t Server::acj_get_job_log(AcjHandle handle, const char*, const char*) { return check(handle, HandleKind::batch); }

int32_t Server::acj_terminate_job(AcjHandle handle, const char*) { return check(handle, HandleKind::batch); }

int32_t Server::acj_delete_job_log(AcjHandle handle, const char*) { return check(handle, HandleKind::batch); }

int32_t Server::acj_rt_io_info(AcjHandle handle, const char*, int32_t* input_fields, int32_t* output_fields,
                               int32_t* max_rows, int32_t* is_workflow) {
    if (int32_t status = check(handle, HandleKind::batch); status != kOk) return status;
    put(input_fields, 0);
    put(output_fields, 0);
    put(max_rows, 0);
    put(is_workflow, 0);
    return kOk;
}

int32_t Server::describe_field(const void* handle, HandleKind kind, const char** name, int32_t* type, int32_t* length) {
    if (int32_t status = check(handle, kind); status != kOk) return status;
    put(name, kEmptyText);
    put(type, 0);
    put(length, 0);
    return kOk;
}

int32_t Server::acj_rt_input_fieldinfo(AcjHandle handle, int32_t, const char** name, int32_t* type, int32_t* length) {
    return describe_field(handle, HandleKind::batch, name, type, length);
}

int32_t Server::acj_rt_output_fieldinfo(AcjHandle handle, int32_t, const char** name, int32_t* type, int32_t* length) {
    return describe_field(handle, HandleKind::batch, name, type, length);
}

// ---- real-time services -------------------------------------------------------------------------------

RtaHandle Server::rta_initialize(const char* server, int32_t, const char*, int32_t) {
    return connect(HandleKind::realtime, server);
}

int32_t Server::rta_set_timeout(RtaHandle handle, int32_t) { return check(handle, HandleKind::realtime); }

int32_t Server::rta_set_credentials(RtaHandle handle, const char*, const char*) {
    return check(handle, HandleKind::realtime);
}

int32_t Server::rta_set_orbenv(RtaHandle handle, const char*) { return check(handle, HandleKind::realtime); }

int32_t Server::rta_set_infield_info(RtaHandle handle, int32_t, const char*, int32_t, int32_t) {
    return check(handle, HandleKind::realtime);
}

int32_t Server::rta_add_row(RtaHandle handle) { return check(handle, HandleKind::realtime); }

int32_t Server::rta_set_data_value(RtaHandle handle, int32_t, const char*) {
    return check(handle, HandleKind::realtime);
}

int32_t Server::rta_run(RtaHandle handle) { return check(handle, HandleKind::realtime); }

int32_t Server::rta_run2(RtaHandle handle, const NameValuePair*, int32_t) {
    return check(handle, HandleKind::realtime);
}

const char* Server::rta_get_error(RtaHandle handle, const char** code, const char** origin) {
    const Failure& failure = failure_of(handle, HandleKind::realtime);
    if (failure.message.empty()) {
        put(code, kEmptyText);
        put(origin, kEmptyText);
        return nullptr;
    }
    put(code, failure.code.c_str());
    put(origin, library_name());  // every failure so far is the client library's own
    return failure.message.c_str();
}

int32_t Server::rta_output_numrows(RtaHandle handle) { return check(handle, HandleKind::realtime) == kOk ? 0 : -1; }

int32_t Server::rta_output_numfields(RtaHandle handle) { return check(handle, HandleKind::realtime) == kOk ? 0 : -1; }

int32_t Server::rta_output_fieldinfo(RtaHandle handle, int32_t, const char** name, int32_t* type, int32_t* length) {
    return describe_field(handle, HandleKind::realtime, name, type, length);
}

const char* Server::rta_output_data(RtaHandle handle, int32_t, int32_t) {
    check(handle, HandleKind::realtime);
    return nullptr;  // the output table is empty
}

int32_t Server::rta_terminate(RtaHandle handle) {
    if (int32_t status = check(handle, HandleKind::realtime); status != kOk) return status;
    handles_.find(handle, HandleKind::realtime)->ended = true;
    return kOk;
}

// ---- workflow jobs ------------------------------------------------------------------------------------

int32_t Server::acj_get_workflow_job_params(AcjHandle handle, const char*, int32_t, AcjResponse* params) {
    if (int32_t status = check(handle, HandleKind::batch); status != kOk) return status;
    if (params == nullptr) {
        return fail(handles_.find(handle, HandleKind::batch), kBadArgument, "no address for the response handle");
    }
    *params = handles_.make(HandleKind::params_response);
    return kOk;
}

const char** Server::names_of(const void* params, int32_t* count) {
    put(count, 0);
    return check_response(params, HandleKind::params_response) ? kNoNames : nullptr;
}

const char** Server::acj_get_input_names(AcjResponse params, int32_t* count) { return names_of(params, count); }

const char** Server::acj_get_output_names(AcjResponse params, int32_t* count) { return names_of(params, count); }

int32_t Server::rta_run_workflow_job(RtaHandle handle, const char*, AcjResponse params, int32_t, AcjResponse* service) {
    if (int32_t status = check(handle, HandleKind::realtime); status != kOk) return status;
    HandleEntry* connection = handles_.find(handle, HandleKind::realtime);
    if (params != nullptr && handles_.find(params, HandleKind::params_response) == nullptr) {
        return fail(connection, kBadHandle, "not a parameters response of this library");
    }
    if (service == nullptr) return fail(connection, kBadArgument, "no address for the response handle");
    *service = handles_.make(HandleKind::service_response);
    return kOk;
}

NameValuePair** Server::acj_get_outputs(AcjResponse service, int32_t* count) {
    put(count, 0);
    return check_response(service, HandleKind::service_response) ? kNoPairs : nullptr;
}

void Server::acj_destroy_wf_job_params_rsp_handle(AcjResponse params) {
    if (check_response(params, HandleKind::params_response)) handles_.release(params, HandleKind::params_response);
}

void Server::acj_destroy_wf_svc_rsp_handle(AcjResponse service) {
    if (check_response(service, HandleKind::service_response)) {
        handles_.release(service, HandleKind::service_response);
    }
}

}  // namespace jwsim
