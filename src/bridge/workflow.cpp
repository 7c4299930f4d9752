// Workflow jobs: parameters, input and output names, running a workflow job and reading its outputs.
#include "bridge/entries.h"
#include "frame/convert.h"

extern "C" {

// The outputs list lives in the stored pair list until the next call of this entry or of
// bridge_acj_destroy_wf_job_params_rsp_handle; the previous one is released first, whatever follows.
NameValuePair** bridge_acj_get_outputs(BridgeInstance* rec, AcjResponse service, int32_t* count) {
    release_pair_list(rec);
    NameValuePair** outputs = acj_get_outputs(service, count);
    // Without a count the answer has no known length: nothing can be copied.
    if (outputs == nullptr || count == nullptr) return nullptr;
    return conv_out_pair_list(rec, outputs, *count);
}

// Runs on the real-time connection.
int32_t bridge_rta_run_workflow_job(BridgeInstance* rec, const char* workflow, AcjResponse params,
                                    int32_t timeout_seconds, AcjResponse* service) {
    if (conv_in_args(rec, {workflow}) < 1) return -1;
    return rta_run_workflow_job(rec->rta_handle, in_slot(rec, 0), params, timeout_seconds, service);
}

void bridge_acj_destroy_wf_job_params_rsp_handle(BridgeInstance* rec, AcjResponse params) {
    if (params != nullptr) acj_destroy_wf_job_params_rsp_handle(params);
    release_pair_list(rec);
}

// Names live in the stored string list, shared with bridge_acj_joblist.
char** bridge_acj_get_output_names(BridgeInstance* rec, AcjResponse params, int32_t* count) {
    const char** names = acj_get_output_names(params, count);
    if (names == nullptr || count == nullptr) return nullptr;  // no known length: nothing to copy
    return conv_out_list(rec, names, count);
}

char** bridge_acj_get_input_names(BridgeInstance* rec, AcjResponse params, int32_t* count) {
    const char** names = acj_get_input_names(params, count);
    if (names == nullptr || count == nullptr) return nullptr;  // no known length: nothing to copy
    return conv_out_list(rec, names, count);
}

// Runs on the batch connection.
int32_t bridge_acj_get_workflow_job_params(BridgeInstance* rec, const char* workflow, int32_t flags,
                                           AcjResponse* params) {
    if (conv_in_args(rec, {workflow}) < 1) return -1;
    return acj_get_workflow_job_params(rec->acj_handle, in_slot(rec, 0), flags, params);
}

// Releases the client's handle only; nothing of the instance's own.
void bridge_acj_destroy_wf_svc_rsp_handle(BridgeInstance*, AcjResponse service) {
    if (service != nullptr) acj_destroy_wf_svc_rsp_handle(service);
}

}  // extern "C"
