// The operation entries of an instance record as vxhost calls them: each entry number with the
// signature of the bridge function behind it and the name the transcript and scripts use.
//
// Only the declarations of the bridge are used (decltype never needs the definitions): vxhost reaches
// every entry through the record it got from the loaded deliverable, as any host does.
#pragma once

#include "bridge/entries.h"
#include "frame/instance.h"

namespace vxhost {

template <int Number>
struct Entry;

#define VXHOST_ENTRY(number, function, entry_name)      \
    template <>                                         \
    struct Entry<number> {                              \
        using Fn = decltype(&function);                 \
        static constexpr const char* name = entry_name; \
    }

VXHOST_ENTRY(3, bridge_get_version, "get_version");
VXHOST_ENTRY(4, bridge_get_version, "get_version");
VXHOST_ENTRY(6, bridge_destroy, "destroy");
VXHOST_ENTRY(22, bridge_acj_initialize, "acj_initialize");
VXHOST_ENTRY(23, bridge_acj_set_timeout, "acj_set_timeout");
VXHOST_ENTRY(24, bridge_acj_set_credentials, "acj_set_credentials");
VXHOST_ENTRY(25, bridge_acj_set_orbenv, "acj_set_orbenv");
VXHOST_ENTRY(26, bridge_acj_terminate, "acj_terminate");
VXHOST_ENTRY(27, bridge_acj_get_error, "acj_get_error");
VXHOST_ENTRY(28, bridge_acj_get_server_version, "acj_get_server_version");
VXHOST_ENTRY(29, bridge_acj_joblist, "acj_joblist");
VXHOST_ENTRY(30, bridge_acj_run_prof_job, "acj_run_prof_job");
VXHOST_ENTRY(31, bridge_acj_run_arch_job, "acj_run_arch_job");
VXHOST_ENTRY(32, bridge_acj_get_job_status, "acj_get_job_status");
VXHOST_ENTRY(33, bridge_acj_get_job_status_item, "acj_get_job_status_item");
VXHOST_ENTRY(34, bridge_acj_get_job_status_item2, "acj_get_job_status_item2");
VXHOST_ENTRY(35, bridge_acj_get_job_log, "acj_get_job_log");
VXHOST_ENTRY(36, bridge_acj_terminate_job, "acj_terminate_job");
VXHOST_ENTRY(37, bridge_acj_delete_job_log, "acj_delete_job_log");
VXHOST_ENTRY(38, bridge_acj_rt_io_info, "acj_rt_io_info");
VXHOST_ENTRY(39, bridge_acj_rt_input_fieldinfo, "acj_rt_input_fieldinfo");
VXHOST_ENTRY(40, bridge_acj_rt_output_fieldinfo, "acj_rt_output_fieldinfo");
VXHOST_ENTRY(41, bridge_rta_initialize, "rta_initialize");
VXHOST_ENTRY(42, bridge_rta_set_timeout, "rta_set_timeout");
VXHOST_ENTRY(43, bridge_rta_set_credentials, "rta_set_credentials");
VXHOST_ENTRY(44, bridge_rta_set_orbenv, "rta_set_orbenv");
VXHOST_ENTRY(45, bridge_rta_set_infield_info, "rta_set_infield_info");
VXHOST_ENTRY(46, bridge_rta_add_row, "rta_add_row");
VXHOST_ENTRY(47, bridge_rta_set_data_value, "rta_set_data_value");
VXHOST_ENTRY(48, bridge_rta_run, "rta_run");
VXHOST_ENTRY(49, bridge_rta_get_error, "rta_get_error");
VXHOST_ENTRY(50, bridge_rta_output_numrows, "rta_output_numrows");
VXHOST_ENTRY(51, bridge_rta_output_numfields, "rta_output_numfields");
VXHOST_ENTRY(52, bridge_rta_output_fieldinfo, "rta_output_fieldinfo");
VXHOST_ENTRY(53, bridge_rta_output_data, "rta_output_data");
VXHOST_ENTRY(54, bridge_rta_terminate, "rta_terminate");
VXHOST_ENTRY(55, bridge_rta_run2, "rta_run2");
VXHOST_ENTRY(56, bridge_const_minus_one, "const_minus_one");
VXHOST_ENTRY(57, bridge_get_server_host, "get_server_host");
VXHOST_ENTRY(58, bridge_get_server_port, "get_server_port");
VXHOST_ENTRY(59, bridge_const_one, "const_one");
VXHOST_ENTRY(60, bridge_acj_get_outputs, "acj_get_outputs");
VXHOST_ENTRY(61, bridge_rta_run_workflow_job, "rta_run_workflow_job");
VXHOST_ENTRY(62, bridge_acj_destroy_wf_job_params_rsp_handle, "acj_destroy_wf_job_params_rsp_handle");
VXHOST_ENTRY(63, bridge_acj_get_output_names, "acj_get_output_names");
VXHOST_ENTRY(64, bridge_acj_get_input_names, "acj_get_input_names");
VXHOST_ENTRY(65, bridge_acj_get_workflow_job_params, "acj_get_workflow_job_params");
VXHOST_ENTRY(66, bridge_acj_destroy_wf_svc_rsp_handle, "acj_destroy_wf_svc_rsp_handle");
VXHOST_ENTRY(67, bridge_acj_get_server_version2, "acj_get_server_version2");
VXHOST_ENTRY(68, bridge_acj_destroy_get_server_version_rsp_handle, "acj_destroy_get_server_version_rsp_handle");
VXHOST_ENTRY(69, bridge_acj_get_product_major_version, "acj_get_product_major_version");
VXHOST_ENTRY(70, bridge_acj_get_product_minor_version, "acj_get_product_minor_version");
VXHOST_ENTRY(71, bridge_acj_get_product_revision_version, "acj_get_product_revision_version");
VXHOST_ENTRY(72, bridge_acj_get_product_full_version, "acj_get_product_full_version");

#undef VXHOST_ENTRY

// The function stored at entry `Number` of `rec`, typed for calling.
template <int Number>
typename Entry<Number>::Fn entry(BridgeInstance* rec) {
    return reinterpret_cast<typename Entry<Number>::Fn>(rec->entry[Number]);
}

}  // namespace vxhost
