// The operation entries that bridge the client library. Each takes the instance record first and hands
// the client the stored connection handle (or the response handle the host passes) in its place.
#pragma once

#include <cstdint>

#include "frame/instance.h"
#include "platform/jobwire.h"

extern "C" {

// Batch connection and server information.
int32_t bridge_acj_initialize(BridgeInstance* rec, const char* server, int32_t port);
int32_t bridge_acj_set_timeout(BridgeInstance* rec, int32_t seconds);
int32_t bridge_acj_set_credentials(BridgeInstance* rec, const char* user, const char* password);
int32_t bridge_acj_set_orbenv(BridgeInstance* rec, const char* environment);
int32_t bridge_acj_terminate(BridgeInstance* rec);
const char* bridge_acj_get_error(BridgeInstance* rec);
int32_t bridge_acj_get_server_version(BridgeInstance* rec, char* buffer, int32_t capacity, int32_t* major,
                                      int32_t* minor, int32_t* revision);
const char* bridge_get_server_host(BridgeInstance* rec);
int32_t bridge_get_server_port(BridgeInstance* rec);
int32_t bridge_acj_get_server_version2(BridgeInstance* rec, AcjResponse* response);
void bridge_acj_destroy_get_server_version_rsp_handle(BridgeInstance* rec, AcjResponse response);
int32_t bridge_acj_get_product_major_version(BridgeInstance* rec, AcjResponse response);
int32_t bridge_acj_get_product_minor_version(BridgeInstance* rec, AcjResponse response);
int32_t bridge_acj_get_product_revision_version(BridgeInstance* rec, AcjResponse response);
const char* bridge_acj_get_product_full_version(BridgeInstance* rec, AcjResponse response);

// Batch jobs.
char** bridge_acj_joblist(BridgeInstance* rec, int32_t state_filter, int32_t* count, int32_t limit);
int32_t bridge_acj_run_prof_job(BridgeInstance* rec, const char* profile, const char* project, const char* folder,
                                int32_t priority, const char* comment, const char* owner, const NameValuePair* pairs,
                                int32_t count, int32_t* job_id);
int32_t bridge_acj_run_arch_job(BridgeInstance* rec, const char* job, const NameValuePair* pairs, int32_t count,
                                int32_t* job_id);
int32_t bridge_acj_get_job_status(BridgeInstance* rec, const char* job_id, int32_t* state);
int32_t bridge_acj_get_job_status_item(BridgeInstance* rec, int32_t index, const char** job_id, const char** name,
                                       int32_t* state, const char** message);
int32_t bridge_acj_get_job_status_item2(BridgeInstance* rec, int32_t index, const char** job_id, const char** name,
                                        int32_t* state, const char** message, int64_t* sequence);
int32_t bridge_acj_get_job_log(BridgeInstance* rec, const char* job_id, const char* path);
int32_t bridge_acj_terminate_job(BridgeInstance* rec, const char* job_id);
int32_t bridge_acj_delete_job_log(BridgeInstance* rec, const char* job_id);
int32_t bridge_acj_rt_io_info(BridgeInstance* rec, const char* service, int32_t* input_fields, int32_t* output_fields,
                              int32_t* max_rows, int32_t* is_workflow);
int32_t bridge_acj_rt_input_fieldinfo(BridgeInstance* rec, int32_t index, const char** name, int32_t* type,
                                      int32_t* length);
int32_t bridge_acj_rt_output_fieldinfo(BridgeInstance* rec, int32_t index, const char** name, int32_t* type,
                                       int32_t* length);

// Real-time services.
int32_t bridge_rta_initialize(BridgeInstance* rec, const char* server, int32_t port, const char* service,
                              int32_t timeout_seconds);
int32_t bridge_rta_set_timeout(BridgeInstance* rec, int32_t seconds);
int32_t bridge_rta_set_credentials(BridgeInstance* rec, const char* user, const char* password);
int32_t bridge_rta_set_orbenv(BridgeInstance* rec, const char* environment);
int32_t bridge_rta_set_infield_info(BridgeInstance* rec, int32_t index, const char* name, int32_t type, int32_t length);
int32_t bridge_rta_add_row(BridgeInstance* rec);
int32_t bridge_rta_set_data_value(BridgeInstance* rec, int32_t index, const char* value);
int32_t bridge_rta_run(BridgeInstance* rec);
const char* bridge_rta_get_error(BridgeInstance* rec, const char** code, const char** origin);
int32_t bridge_rta_output_numrows(BridgeInstance* rec);
int32_t bridge_rta_output_numfields(BridgeInstance* rec);
int32_t bridge_rta_output_fieldinfo(BridgeInstance* rec, int32_t index, const char** name, int32_t* type,
                                    int32_t* length);
const char* bridge_rta_output_data(BridgeInstance* rec, int32_t row, int32_t field);
int32_t bridge_rta_terminate(BridgeInstance* rec);
int32_t bridge_rta_run2(BridgeInstance* rec, const NameValuePair* pairs, int32_t count);

// Workflow jobs.
NameValuePair** bridge_acj_get_outputs(BridgeInstance* rec, AcjResponse service, int32_t* count);
int32_t bridge_rta_run_workflow_job(BridgeInstance* rec, const char* workflow, AcjResponse params,
                                    int32_t timeout_seconds, AcjResponse* service);
void bridge_acj_destroy_wf_job_params_rsp_handle(BridgeInstance* rec, AcjResponse params);
char** bridge_acj_get_output_names(BridgeInstance* rec, AcjResponse params, int32_t* count);
char** bridge_acj_get_input_names(BridgeInstance* rec, AcjResponse params, int32_t* count);
int32_t bridge_acj_get_workflow_job_params(BridgeInstance* rec, const char* workflow, int32_t flags,
                                           AcjResponse* params);
void bridge_acj_destroy_wf_svc_rsp_handle(BridgeInstance* rec, AcjResponse service);

}  // extern "C"
