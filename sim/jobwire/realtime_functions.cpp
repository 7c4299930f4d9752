// Client functions of real-time services.
#include "function_call.h"

using jwsim::Answer;
using jwsim::FunctionCall;

JW_EXPORT RtaHandle rta_initialize(const char* server, int32_t port, const char* service, int32_t timeout_seconds) {
    FunctionCall call(JW_rta_initialize, server, port, service, timeout_seconds);
    if (const Answer* scripted = call.scripted()) return scripted->pointer();
    return call.server().rta_initialize(server, port, service, timeout_seconds);
}

JW_EXPORT int32_t rta_set_timeout(RtaHandle handle, int32_t seconds) {
    FunctionCall call(JW_rta_set_timeout, handle, seconds);
    if (const Answer* scripted = call.scripted()) return scripted->status();
    return call.server().rta_set_timeout(handle, seconds);
}

JW_EXPORT int32_t rta_set_credentials(RtaHandle handle, const char* user, const char* password) {
    FunctionCall call(JW_rta_set_credentials, handle, user, password);
    if (const Answer* scripted = call.scripted()) return scripted->status();
    return call.server().rta_set_credentials(handle, user, password);
}

JW_EXPORT int32_t rta_set_orbenv(RtaHandle handle, const char* environment) {
    FunctionCall call(JW_rta_set_orbenv, handle, environment);
    if (const Answer* scripted = call.scripted()) return scripted->status();
    return call.server().rta_set_orbenv(handle, environment);
}

JW_EXPORT int32_t rta_set_infield_info(RtaHandle handle, int32_t index, const char* name, int32_t type,
                                       int32_t length) {
    FunctionCall call(JW_rta_set_infield_info, handle, index, name, type, length);
    if (const Answer* scripted = call.scripted()) return scripted->status();
    return call.server().rta_set_infield_info(handle, index, name, type, length);
}

JW_EXPORT int32_t rta_add_row(RtaHandle handle) {
    FunctionCall call(JW_rta_add_row, handle);
    if (const Answer* scripted = call.scripted()) return scripted->status();
    return call.server().rta_add_row(handle);
}

JW_EXPORT int32_t rta_set_data_value(RtaHandle handle, int32_t index, const char* value) {
    FunctionCall call(JW_rta_set_data_value, handle, index, value);
    if (const Answer* scripted = call.scripted()) return scripted->status();
    return call.server().rta_set_data_value(handle, index, value);
}

JW_EXPORT int32_t rta_run(RtaHandle handle) {
    FunctionCall call(JW_rta_run, handle);
    if (const Answer* scripted = call.scripted()) return scripted->status();
    return call.server().rta_run(handle);
}

JW_EXPORT int32_t rta_run2(RtaHandle handle, const NameValuePair* pairs, int32_t count) {
    FunctionCall call(JW_rta_run2, handle, pairs, count);
    call.record_pairs(pairs, count);
    if (const Answer* scripted = call.scripted()) return scripted->status();
    return call.server().rta_run2(handle, pairs, count);
}

JW_EXPORT const char* rta_get_error(RtaHandle handle, const char** code, const char** origin) {
    FunctionCall call(JW_rta_get_error, handle, code, origin);
    if (const Answer* scripted = call.scripted()) {
        scripted->write_texts({code, origin});
        return scripted->text();
    }
    return call.server().rta_get_error(handle, code, origin);
}

JW_EXPORT int32_t rta_output_numrows(RtaHandle handle) {
    FunctionCall call(JW_rta_output_numrows, handle);
    if (const Answer* scripted = call.scripted()) return scripted->status();
    return call.server().rta_output_numrows(handle);
}

JW_EXPORT int32_t rta_output_numfields(RtaHandle handle) {
    FunctionCall call(JW_rta_output_numfields, handle);
    if (const Answer* scripted = call.scripted()) return scripted->status();
    return call.server().rta_output_numfields(handle);
}

JW_EXPORT int32_t rta_output_fieldinfo(RtaHandle handle, int32_t index, const char** name, int32_t* type,
                                       int32_t* length) {
    FunctionCall call(JW_rta_output_fieldinfo, handle, index, name, type, length);
    if (const Answer* scripted = call.scripted()) {
        scripted->write_texts({name});
        scripted->write_ints({type, length});
        return scripted->status();
    }
    return call.server().rta_output_fieldinfo(handle, index, name, type, length);
}

JW_EXPORT const char* rta_output_data(RtaHandle handle, int32_t row, int32_t field) {
    FunctionCall call(JW_rta_output_data, handle, row, field);
    if (const Answer* scripted = call.scripted()) return scripted->text();
    return call.server().rta_output_data(handle, row, field);
}

JW_EXPORT int32_t rta_terminate(RtaHandle handle) {
    FunctionCall call(JW_rta_terminate, handle);
    if (const Answer* scripted = call.scripted()) return scripted->status();
    return call.server().rta_terminate(handle);
}
