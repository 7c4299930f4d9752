// Real-time services: open the real-time connection, describe and fill input rows, run the service
// and read its output table and error texts.
#include "bridge/entries.h"
#include "bridge/out_params.h"
#include "bridge/pair_call.h"
#include "frame/convert.h"

extern "C" {

// Opens the real-time connection. Unlike the batch connection it gets no SSL answer and leaves the
// record's server and port alone.
int32_t bridge_rta_initialize(BridgeInstance* rec, const char* server, int32_t port, const char* service,
                              int32_t timeout_seconds) {
    if (rec == nullptr) return -1;
    if (conv_in_args(rec, {server, service}) < 2) return 1;
    rec->rta_handle = rta_initialize(in_slot(rec, 0), port, in_slot(rec, 1), timeout_seconds);
    return rec->rta_handle != nullptr ? 0 : 1;
}

int32_t bridge_rta_set_timeout(BridgeInstance* rec, int32_t seconds) {
    return rta_set_timeout(rec->rta_handle, seconds);
}

int32_t bridge_rta_set_credentials(BridgeInstance* rec, const char* user, const char* password) {
    if (conv_in_args(rec, {user, password}) < 2) return 1;
    return rta_set_credentials(rec->rta_handle, in_slot(rec, 0), in_slot(rec, 1));
}

int32_t bridge_rta_set_orbenv(BridgeInstance* rec, const char* environment) {
    return rta_set_orbenv(rec->rta_handle, environment);
}

int32_t bridge_rta_set_infield_info(BridgeInstance* rec, int32_t index, const char* name, int32_t type,
                                    int32_t length) {
    if (conv_in_args(rec, {name}) < 1) return 1;
    return rta_set_infield_info(rec->rta_handle, index, in_slot(rec, 0), type, length);
}

int32_t bridge_rta_add_row(BridgeInstance* rec) { return rta_add_row(rec->rta_handle); }

int32_t bridge_rta_set_data_value(BridgeInstance* rec, int32_t index, const char* value) {
    if (conv_in_args(rec, {value}) < 1) return 1;
    return rta_set_data_value(rec->rta_handle, index, in_slot(rec, 0));
}

int32_t bridge_rta_run(BridgeInstance* rec) { return rta_run(rec->rta_handle); }

// The message comes back in outbound slot 0, the code and origin in slots 1 and 2. No error: null,
// and the host's two pointers stay as the client left them.
const char* bridge_rta_get_error(BridgeInstance* rec, const char** code, const char** origin) {
    const char* message = rta_get_error(rec->rta_handle, code, origin);
    if (message == nullptr) return nullptr;
    conv_out_args(rec, {message, filled_text(code), filled_text(origin)});
    hand_back(code, out_slot(rec, 1));
    hand_back(origin, out_slot(rec, 2));
    return out_slot(rec, 0);
}

int32_t bridge_rta_output_numrows(BridgeInstance* rec) { return rta_output_numrows(rec->rta_handle); }

int32_t bridge_rta_output_numfields(BridgeInstance* rec) { return rta_output_numfields(rec->rta_handle); }

int32_t bridge_rta_output_fieldinfo(BridgeInstance* rec, int32_t index, const char** name, int32_t* type,
                                    int32_t* length) {
    const int32_t status = rta_output_fieldinfo(rec->rta_handle, index, name, type, length);
    if (status != 0) return status;
    conv_out_args(rec, {filled_text(name)});
    hand_back(name, out_slot(rec, 0));
    return 0;
}

const char* bridge_rta_output_data(BridgeInstance* rec, int32_t row, int32_t field) {
    const char* value = rta_output_data(rec->rta_handle, row, field);
    if (value == nullptr) return nullptr;
    conv_out_args(rec, {value});
    return out_slot(rec, 0);
}

int32_t bridge_rta_terminate(BridgeInstance* rec) { return rta_terminate(rec->rta_handle); }

int32_t bridge_rta_run2(BridgeInstance* rec, const NameValuePair* pairs, int32_t count) {
    return with_pair_copy(rec, pairs, count,
                          [&](const NameValuePair* copy) { return rta_run2(rec->rta_handle, copy, count); });
}

}  // extern "C"
