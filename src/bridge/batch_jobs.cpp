// Batch jobs: run jobs of both kinds, list them, read their status, items and logs, stop them, and
// read real-time service descriptions over the batch connection.
#include "bridge/entries.h"
#include "bridge/out_params.h"
#include "bridge/pair_call.h"
#include "frame/convert.h"

namespace {

// Optional texts reach the client as null when the host gave nothing.
const char* text_or_null(const char* slot_text) { return slot_text[0] == '\0' ? nullptr : slot_text; }

}  // namespace

extern "C" {

// The job list lives in the stored string list until the next list entry that gets a list.
char** bridge_acj_joblist(BridgeInstance* rec, int32_t state_filter, int32_t* count, int32_t limit) {
    const char** jobs = acj_joblist(rec->acj_handle, state_filter, count, limit);
    // Without a count the list has no known length: nothing can be copied.
    if (jobs == nullptr || count == nullptr) return nullptr;
    return conv_out_list(rec, jobs, count);
}

int32_t bridge_acj_run_prof_job(BridgeInstance* rec, const char* profile, const char* project, const char* folder,
                                int32_t priority, const char* comment, const char* owner, const NameValuePair* pairs,
                                int32_t count, int32_t* job_id) {
    if (conv_in_args(rec, {profile, project, folder, comment, owner}) < 5) return 1;
    return with_pair_copy(rec, pairs, count, [&](const NameValuePair* copy) {
        return acj_run_prof_job(rec->acj_handle, in_slot(rec, 0), text_or_null(in_slot(rec, 1)),
                                text_or_null(in_slot(rec, 2)), priority, text_or_null(in_slot(rec, 3)), in_slot(rec, 4),
                                copy, count, job_id);
    });
}

int32_t bridge_acj_run_arch_job(BridgeInstance* rec, const char* job, const NameValuePair* pairs, int32_t count,
                                int32_t* job_id) {
    if (conv_in_args(rec, {job}) < 1) return 1;
    return with_pair_copy(rec, pairs, count, [&](const NameValuePair* copy) {
        return acj_run_arch_job(rec->acj_handle, in_slot(rec, 0), copy, count, job_id);
    });
}

int32_t bridge_acj_get_job_status(BridgeInstance* rec, const char* job_id, int32_t* state) {
    if (conv_in_args(rec, {job_id}) < 1) return 1;
    return acj_get_job_status(rec->acj_handle, in_slot(rec, 0), state);
}

// On success the three texts are replaced by converted copies in outbound slots 0-2.
int32_t bridge_acj_get_job_status_item(BridgeInstance* rec, int32_t index, const char** job_id, const char** name,
                                       int32_t* state, const char** message) {
    const int32_t status = acj_get_job_status_item(rec->acj_handle, index, job_id, name, state, message);
    if (status != 0) return status;
    conv_out_args(rec, {filled_text(job_id), filled_text(name), filled_text(message)});
    hand_back(job_id, out_slot(rec, 0));
    hand_back(name, out_slot(rec, 1));
    hand_back(message, out_slot(rec, 2));
    return 0;
}

int32_t bridge_acj_get_job_status_item2(BridgeInstance* rec, int32_t index, const char** job_id, const char** name,
                                        int32_t* state, const char** message, int64_t* sequence) {
    const int32_t status = acj_get_job_status_item2(rec->acj_handle, index, job_id, name, state, message, sequence);
    if (status != 0) return status;
    conv_out_args(rec, {filled_text(job_id), filled_text(name), filled_text(message)});
    hand_back(job_id, out_slot(rec, 0));
    hand_back(name, out_slot(rec, 1));
    hand_back(message, out_slot(rec, 2));
    return 0;
}

int32_t bridge_acj_get_job_log(BridgeInstance* rec, const char* job_id, const char* path) {
    if (conv_in_args(rec, {job_id, path}) < 2) return 1;
    return acj_get_job_log(rec->acj_handle, in_slot(rec, 0), in_slot(rec, 1));
}

// Stops a job on the batch connection.
int32_t bridge_acj_terminate_job(BridgeInstance* rec, const char* job_id) {
    if (conv_in_args(rec, {job_id}) < 1) return 1;
    return acj_terminate_job(rec->acj_handle, in_slot(rec, 0));
}

int32_t bridge_acj_delete_job_log(BridgeInstance* rec, const char* job_id) {
    if (conv_in_args(rec, {job_id}) < 1) return 1;
    return acj_delete_job_log(rec->acj_handle, in_slot(rec, 0));
}

int32_t bridge_acj_rt_io_info(BridgeInstance* rec, const char* service, int32_t* input_fields, int32_t* output_fields,
                              int32_t* max_rows, int32_t* is_workflow) {
    if (conv_in_args(rec, {service}) < 1) return 1;
    return acj_rt_io_info(rec->acj_handle, in_slot(rec, 0), input_fields, output_fields, max_rows, is_workflow);
}

// On success the field name is replaced by a converted copy in outbound slot 0.
int32_t bridge_acj_rt_input_fieldinfo(BridgeInstance* rec, int32_t index, const char** name, int32_t* type,
                                      int32_t* length) {
    const int32_t status = acj_rt_input_fieldinfo(rec->acj_handle, index, name, type, length);
    if (status != 0) return status;
    conv_out_args(rec, {filled_text(name)});
    hand_back(name, out_slot(rec, 0));
    return 0;
}

int32_t bridge_acj_rt_output_fieldinfo(BridgeInstance* rec, int32_t index, const char** name, int32_t* type,
                                       int32_t* length) {
    const int32_t status = acj_rt_output_fieldinfo(rec->acj_handle, index, name, type, length);
    if (status != 0) return status;
    conv_out_args(rec, {filled_text(name)});
    hand_back(name, out_slot(rec, 0));
    return 0;
}

}  // extern "C"
