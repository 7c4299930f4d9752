// Client functions of workflow jobs.
#include "function_call.h"

using jwsim::Answer;
using jwsim::FunctionCall;

JW_EXPORT int32_t acj_get_workflow_job_params(AcjHandle handle, const char* workflow, int32_t flags,
                                              AcjResponse* params) {
    FunctionCall call(JW_acj_get_workflow_job_params, handle, workflow, flags, params);
    if (const Answer* scripted = call.scripted()) {
        scripted->write_handle(params);
        return scripted->status();
    }
    return call.server().acj_get_workflow_job_params(handle, workflow, flags, params);
}

JW_EXPORT const char** acj_get_input_names(AcjResponse params, int32_t* count) {
    FunctionCall call(JW_acj_get_input_names, params, count);
    if (const Answer* scripted = call.scripted()) return scripted->list(count);
    return call.server().acj_get_input_names(params, count);
}

JW_EXPORT const char** acj_get_output_names(AcjResponse params, int32_t* count) {
    FunctionCall call(JW_acj_get_output_names, params, count);
    if (const Answer* scripted = call.scripted()) return scripted->list(count);
    return call.server().acj_get_output_names(params, count);
}

JW_EXPORT int32_t rta_run_workflow_job(RtaHandle handle, const char* workflow, AcjResponse params,
                                       int32_t timeout_seconds, AcjResponse* service) {
    FunctionCall call(JW_rta_run_workflow_job, handle, workflow, params, timeout_seconds, service);
    if (const Answer* scripted = call.scripted()) {
        scripted->write_handle(service);
        return scripted->status();
    }
    return call.server().rta_run_workflow_job(handle, workflow, params, timeout_seconds, service);
}

JW_EXPORT NameValuePair** acj_get_outputs(AcjResponse service, int32_t* count) {
    FunctionCall call(JW_acj_get_outputs, service, count);
    if (const Answer* scripted = call.scripted()) return scripted->pairs(count);
    return call.server().acj_get_outputs(service, count);
}

JW_EXPORT void acj_destroy_wf_job_params_rsp_handle(AcjResponse params) {
    FunctionCall call(JW_acj_destroy_wf_job_params_rsp_handle, params);
    if (call.scripted() != nullptr) return;
    call.server().acj_destroy_wf_job_params_rsp_handle(params);
}

JW_EXPORT void acj_destroy_wf_svc_rsp_handle(AcjResponse service) {
    FunctionCall call(JW_acj_destroy_wf_svc_rsp_handle, service);
    if (call.scripted() != nullptr) return;
    call.server().acj_destroy_wf_svc_rsp_handle(service);
}
