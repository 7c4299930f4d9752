// The module's exports, the making and ending of an instance, and the entries that bridge nothing.
//
// No loader callback: on ELF a shared library needs none, and this one has no load-time work — all
// state is made per instance, apart from the service pointer that vxextver/vxextent hand over.
#include "frame/instance.h"

#include "bridge/entries.h"
#include "frame/convert.h"
#include "frame/stamp.h"

HostServices* g_host_services = nullptr;

namespace {

constexpr int64_t kInterfaceMajor = 5;
constexpr int64_t kInterfaceMinor = 1;
constexpr int64_t kInterfaceRevision = 1;
constexpr char kPoolName[] = "vxjobs Pool";
constexpr char16_t kSessionEncodingKey[] = u"VXNLS.OMX_SESSION_CEI";
constexpr int32_t kOptionTypeInteger = 3;

struct EntryRow {
    int number;
    EntryFn function;
};

template <typename F>
EntryFn entry(F* function) {
    return reinterpret_cast<EntryFn>(function);
}

// Entry number -> operation. The only list of the record's operation entries.
const EntryRow kEntryTable[] = {
    {3, entry(bridge_get_version)},
    {4, entry(bridge_get_version)},
    {6, entry(bridge_destroy)},
    {22, entry(bridge_acj_initialize)},
    {23, entry(bridge_acj_set_timeout)},
    {24, entry(bridge_acj_set_credentials)},
    {25, entry(bridge_acj_set_orbenv)},
    {26, entry(bridge_acj_terminate)},
    {27, entry(bridge_acj_get_error)},
    {28, entry(bridge_acj_get_server_version)},
    {29, entry(bridge_acj_joblist)},
    {30, entry(bridge_acj_run_prof_job)},
    {31, entry(bridge_acj_run_arch_job)},
    {32, entry(bridge_acj_get_job_status)},
    {33, entry(bridge_acj_get_job_status_item)},
    {34, entry(bridge_acj_get_job_status_item2)},
    {35, entry(bridge_acj_get_job_log)},
    {36, entry(bridge_acj_terminate_job)},
    {37, entry(bridge_acj_delete_job_log)},
    {38, entry(bridge_acj_rt_io_info)},
    {39, entry(bridge_acj_rt_input_fieldinfo)},
    {40, entry(bridge_acj_rt_output_fieldinfo)},
    {41, entry(bridge_rta_initialize)},
    {42, entry(bridge_rta_set_timeout)},
    {43, entry(bridge_rta_set_credentials)},
    {44, entry(bridge_rta_set_orbenv)},
    {45, entry(bridge_rta_set_infield_info)},
    {46, entry(bridge_rta_add_row)},
    {47, entry(bridge_rta_set_data_value)},
    {48, entry(bridge_rta_run)},
    {49, entry(bridge_rta_get_error)},
    {50, entry(bridge_rta_output_numrows)},
    {51, entry(bridge_rta_output_numfields)},
    {52, entry(bridge_rta_output_fieldinfo)},
    {53, entry(bridge_rta_output_data)},
    {54, entry(bridge_rta_terminate)},
    {55, entry(bridge_rta_run2)},
    {56, entry(bridge_const_minus_one)},
    {57, entry(bridge_get_server_host)},
    {58, entry(bridge_get_server_port)},
    {59, entry(bridge_const_one)},
    {60, entry(bridge_acj_get_outputs)},
    {61, entry(bridge_rta_run_workflow_job)},
    {62, entry(bridge_acj_destroy_wf_job_params_rsp_handle)},
    {63, entry(bridge_acj_get_output_names)},
    {64, entry(bridge_acj_get_input_names)},
    {65, entry(bridge_acj_get_workflow_job_params)},
    {66, entry(bridge_acj_destroy_wf_svc_rsp_handle)},
    {67, entry(bridge_acj_get_server_version2)},
    {68, entry(bridge_acj_destroy_get_server_version_rsp_handle)},
    {69, entry(bridge_acj_get_product_major_version)},
    {70, entry(bridge_acj_get_product_minor_version)},
    {71, entry(bridge_acj_get_product_revision_version)},
    {72, entry(bridge_acj_get_product_full_version)},
};

void destroy_transcoder(HostTranscoder** transcoder) {
    if (*transcoder == nullptr) return;
    (*transcoder)->destroy(*transcoder);
    *transcoder = nullptr;
}

// Asks the host for the session encoding; false when the option is not there.
bool lookup_session_encoding(int32_t* encoding) {
    uint16_t key[sizeof(kSessionEncodingKey) / sizeof(char16_t)];
    for (size_t i = 0; i < sizeof(key) / sizeof(key[0]); ++i) key[i] = kSessionEncodingKey[i];
    uint64_t value = 0;
    uint64_t size = sizeof(value);
    const uint64_t key_length = sizeof(key) / sizeof(key[0]) - 1;
    if (g_host_services->get_option(g_host_services, key, key_length, kOptionTypeInteger, &value, &size) != 0) {
        return false;
    }
    *encoding = static_cast<int32_t>(static_cast<uint32_t>(value));
    return true;
}

// Both transcoders, or neither: false (with nothing left behind) when one cannot be made.
bool make_transcoders(ConversionState* state) {
    HostNls* nls = g_host_services->nls;
    const int64_t session = state->session_encoding;
    if ((nls->needs_conversion(nls, session, UTF8_ENCODING_ID, 0) & 0xFFu) == 0) return true;
    state->to_utf8 = nls->create_transcoder(nls, session, UTF8_ENCODING_ID, 0, 0);
    if (state->to_utf8 == nullptr) return false;
    state->from_utf8 = nls->create_transcoder(nls, UTF8_ENCODING_ID, session, 0, 0);
    if (state->from_utf8 == nullptr) {
        destroy_transcoder(&state->to_utf8);
        return false;
    }
    return true;
}

}  // namespace

extern "C" {

int32_t vxextver(HostServices* services, int64_t* major, int64_t* minor) {
    *major = kInterfaceMajor;
    *minor = kInterfaceMinor;
    g_host_services = services;
    return 0;
}

int32_t vxextent(HostServices* services) {
    g_host_services = services;
    return 0;
}

BridgeInstance* bridge_create_instance(HostContext* context, void* handed_on) {
    // Without a service record there is no option lookup and no NLS to convert with.
    if (g_host_services == nullptr) return nullptr;
    const unsigned char attributes[24] = {};
    HostPool* pool = context->create_pool(context, attributes, handed_on, kPoolName);
    if (pool == nullptr) return nullptr;

    auto* rec = static_cast<BridgeInstance*>(pool->allocate(pool, sizeof(BridgeInstance), 0));
    auto* state =
        rec == nullptr ? nullptr : static_cast<ConversionState*>(pool->allocate(pool, sizeof(ConversionState), 0));
    if (state == nullptr) {
        pool->destroy(pool);
        return nullptr;
    }
    rec->conversion = state;
    *state = ConversionState{};
    if (!lookup_session_encoding(&state->session_encoding) || !make_transcoders(state)) {
        pool->destroy(pool);
        return nullptr;
    }

    rec->pool = pool;
    rec->acj_handle = nullptr;
    rec->rta_handle = nullptr;
    rec->eyecatcher[0] = 'n';
    rec->eyecatcher[1] = 'e';
    rec->eyecatcher[2] = 'v';
    rec->eyecatcher[3] = 'o';
    rec->server[0] = '\0';
    rec->port = -1;
    for (const EntryRow& row : kEntryTable) rec->entry[row.number] = row.function;
    return rec;
}

int32_t bridge_get_version(BridgeInstance* rec, int64_t* major, int64_t* minor, int64_t* revision) {
    if (rec == nullptr) return 1;
    *major = kInterfaceMajor;
    *minor = kInterfaceMinor;
    *revision = kInterfaceRevision;
    return 0;
}

int32_t bridge_destroy(BridgeInstance* rec) {
    if (rec == nullptr) return 1;
    if (rec->conversion != nullptr) {
        destroy_transcoder(&rec->conversion->to_utf8);
        destroy_transcoder(&rec->conversion->from_utf8);
    }
    // The pool takes the record, the conversion state and every slot and list with it.
    if (rec->pool != nullptr) rec->pool->destroy(rec->pool);
    return 0;
}

int32_t bridge_const_minus_one(void) { return -1; }

int32_t bridge_const_one(void) { return 1; }

}  // extern "C"
