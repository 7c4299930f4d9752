// Client functions of batch jobs and of service information over the batch connection.
#include "function_call.h"

using jwsim::Answer;
using jwsim::FunctionCall;

JW_EXPORT const char** acj_joblist(AcjHandle handle, int32_t state_filter, int32_t* count, int32_t limit) {
    FunctionCall call(JW_acj_joblist, handle, state_filter, count, limit);
    if (const Answer* scripted = call.scripted()) return scripted->list(count);
    return call.server().acj_joblist(handle, state_filter, count, limit);
}

JW_EXPORT int32_t acj_run_prof_job(AcjHandle handle, const char* profile, const char* project, const char* folder,
                                   int32_t priority, const char* comment, const char* owner, const NameValuePair* pairs,
                                   int32_t count, int32_t* job_id) {
    FunctionCall call(JW_acj_run_prof_job, handle, profile, project, folder, priority, comment, owner, pairs, count,
                      job_id);
    call.record_pairs(pairs, count);
    if (const Answer* scripted = call.scripted()) {
        scripted->write_ints({job_id});
        return scripted->status();
    }
    return call.server().acj_run_prof_job(handle, profile, project, folder, priority, comment, owner, pairs, count,
                                          job_id);
}

JW_EXPORT int32_t acj_run_arch_job(AcjHandle handle, const char* job, const NameValuePair* pairs, int32_t count,
                                   int32_t* job_id) {
    FunctionCall call(JW_acj_run_arch_job, handle, job, pairs, count, job_id);
    call.record_pairs(pairs, count);
    if (const Answer* scripted = call.scripted()) {
        scripted->write_ints({job_id});
        return scripted->status();
    }
    return call.server().acj_run_arch_job(handle, job, pairs, count, job_id);
}

JW_EXPORT int32_t acj_get_job_status(AcjHandle handle, const char* job_id, int32_t* state) {
    FunctionCall call(JW_acj_get_job_status, handle, job_id, state);
    if (const Answer* scripted = call.scripted()) {
        scripted->write_ints({state});
        return scripted->status();
    }
    return call.server().acj_get_job_status(handle, job_id, state);
}

JW_EXPORT int32_t acj_get_job_status_item(AcjHandle handle, int32_t index, const char** job_id, const char** name,
                                          int32_t* state, const char** message) {
    FunctionCall call(JW_acj_get_job_status_item, handle, index, job_id, name, state, message);
    if (const Answer* scripted = call.scripted()) {
        scripted->write_texts({job_id, name, message});
        scripted->write_ints({state});
        return scripted->status();
    }
    return call.server().acj_get_job_status_item(handle, index, job_id, name, state, message);
}

JW_EXPORT int32_t acj_get_job_status_item2(AcjHandle handle, int32_t index, const char** job_id, const char** name,
                                           int32_t* state, const char** message, int64_t* sequence) {
    FunctionCall call(JW_acj_get_job_status_item2, handle, index, job_id, name, state, message, sequence);
    if (const Answer* scripted = call.scripted()) {
        scripted->write_texts({job_id, name, message});
        scripted->write_ints({state, sequence});
        return scripted->status();
    }
    return call.server().acj_get_job_status_item2(handle, index, job_id, name, state, message, sequence);
}

JW_EXPORT int32_t acj_get_job_log(AcjHandle handle, const char* job_id, const char* path) {
    FunctionCall call(JW_acj_get_job_log, handle, job_id, path);
    if (const Answer* scripted = call.scripted()) return scripted->status();
    return call.server().acj_get_job_log(handle, job_id, path);
}

JW_EXPORT int32_t acj_terminate_job(AcjHandle handle, const char* job_id) {
    FunctionCall call(JW_acj_terminate_job, handle, job_id);
    if (const Answer* scripted = call.scripted()) return scripted->status();
    return call.server().acj_terminate_job(handle, job_id);
}

JW_EXPORT int32_t acj_delete_job_log(AcjHandle handle, const char* job_id) {
    FunctionCall call(JW_acj_delete_job_log, handle, job_id);
    if (const Answer* scripted = call.scripted()) return scripted->status();
    return call.server().acj_delete_job_log(handle, job_id);
}

JW_EXPORT int32_t acj_rt_io_info(AcjHandle handle, const char* service, int32_t* input_fields, int32_t* output_fields,
                                 int32_t* max_rows, int32_t* is_workflow) {
    FunctionCall call(JW_acj_rt_io_info, handle, service, input_fields, output_fields, max_rows, is_workflow);
    if (const Answer* scripted = call.scripted()) {
        scripted->write_ints({input_fields, output_fields, max_rows, is_workflow});
        return scripted->status();
    }
    return call.server().acj_rt_io_info(handle, service, input_fields, output_fields, max_rows, is_workflow);
}

JW_EXPORT int32_t acj_rt_input_fieldinfo(AcjHandle handle, int32_t index, const char** name, int32_t* type,
                                         int32_t* length) {
    FunctionCall call(JW_acj_rt_input_fieldinfo, handle, index, name, type, length);
    if (const Answer* scripted = call.scripted()) {
        scripted->write_texts({name});
        scripted->write_ints({type, length});
        return scripted->status();
    }
    return call.server().acj_rt_input_fieldinfo(handle, index, name, type, length);
}

JW_EXPORT int32_t acj_rt_output_fieldinfo(AcjHandle handle, int32_t index, const char** name, int32_t* type,
                                          int32_t* length) {
    FunctionCall call(JW_acj_rt_output_fieldinfo, handle, index, name, type, length);
    if (const Answer* scripted = call.scripted()) {
        scripted->write_texts({name});
        scripted->write_ints({type, length});
        return scripted->status();
    }
    return call.server().acj_rt_output_fieldinfo(handle, index, name, type, length);
}
