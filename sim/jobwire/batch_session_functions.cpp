// Client functions of the batch connection and server information.
#include "function_call.h"

using jwsim::Answer;
using jwsim::FunctionCall;

JW_EXPORT int32_t acj_set_adv_option(const char* name, AcjOptionFn answer) {
    FunctionCall call(JW_acj_set_adv_option, name, answer);
    // The option is library-wide state that the caller hands over: it is taken even when a script
    // decides the result.
    int32_t status = call.server().acj_set_adv_option(name, answer);
    if (const Answer* scripted = call.scripted()) return scripted->status();
    return status;
}

JW_EXPORT AcjHandle acj_initialize(const char* server, int32_t port) {
    FunctionCall call(JW_acj_initialize, server, port);
    if (const Answer* scripted = call.scripted()) return scripted->pointer();
    return call.server().acj_initialize(server, port);
}

JW_EXPORT int32_t acj_set_timeout(AcjHandle handle, int32_t seconds) {
    FunctionCall call(JW_acj_set_timeout, handle, seconds);
    if (const Answer* scripted = call.scripted()) return scripted->status();
    return call.server().acj_set_timeout(handle, seconds);
}

JW_EXPORT int32_t acj_set_credentials(AcjHandle handle, const char* user, const char* password) {
    FunctionCall call(JW_acj_set_credentials, handle, user, password);
    if (const Answer* scripted = call.scripted()) return scripted->status();
    return call.server().acj_set_credentials(handle, user, password);
}

JW_EXPORT int32_t acj_set_orbenv(AcjHandle handle, const char* environment) {
    FunctionCall call(JW_acj_set_orbenv, handle, environment);
    if (const Answer* scripted = call.scripted()) return scripted->status();
    return call.server().acj_set_orbenv(handle, environment);
}

JW_EXPORT int32_t acj_terminate(AcjHandle handle) {
    FunctionCall call(JW_acj_terminate, handle);
    if (const Answer* scripted = call.scripted()) return scripted->status();
    return call.server().acj_terminate(handle);
}

JW_EXPORT const char* acj_get_error(AcjHandle handle) {
    FunctionCall call(JW_acj_get_error, handle);
    if (const Answer* scripted = call.scripted()) return scripted->text();
    return call.server().acj_get_error(handle);
}

JW_EXPORT int32_t acj_get_server_version(AcjHandle handle, char* buffer, int32_t capacity, int32_t* major,
                                         int32_t* minor, int32_t* revision) {
    FunctionCall call(JW_acj_get_server_version, handle, buffer, capacity, major, minor, revision);
    if (const Answer* scripted = call.scripted()) {
        scripted->write_buffer(buffer, capacity);
        scripted->write_ints({major, minor, revision});
        return scripted->status();
    }
    return call.server().acj_get_server_version(handle, buffer, capacity, major, minor, revision);
}

JW_EXPORT int32_t acj_get_server_version2(AcjHandle handle, AcjResponse* response) {
    FunctionCall call(JW_acj_get_server_version2, handle, response);
    if (const Answer* scripted = call.scripted()) {
        scripted->write_handle(response);
        return scripted->status();
    }
    return call.server().acj_get_server_version2(handle, response);
}

JW_EXPORT void acj_destroy_get_server_version_rsp_handle(AcjResponse response) {
    FunctionCall call(JW_acj_destroy_get_server_version_rsp_handle, response);
    if (call.scripted() != nullptr) return;
    call.server().acj_destroy_get_server_version_rsp_handle(response);
}

JW_EXPORT int32_t acj_get_product_major_version(AcjResponse response) {
    FunctionCall call(JW_acj_get_product_major_version, response);
    if (const Answer* scripted = call.scripted()) return scripted->status();
    return call.server().acj_get_product_major_version(response);
}

JW_EXPORT int32_t acj_get_product_minor_version(AcjResponse response) {
    FunctionCall call(JW_acj_get_product_minor_version, response);
    if (const Answer* scripted = call.scripted()) return scripted->status();
    return call.server().acj_get_product_minor_version(response);
}

JW_EXPORT int32_t acj_get_product_revision_version(AcjResponse response) {
    FunctionCall call(JW_acj_get_product_revision_version, response);
    if (const Answer* scripted = call.scripted()) return scripted->status();
    return call.server().acj_get_product_revision_version(response);
}

JW_EXPORT const char* acj_get_product_full_version(AcjResponse response) {
    FunctionCall call(JW_acj_get_product_full_version, response);
    if (const Answer* scripted = call.scripted()) return scripted->text();
    return call.server().acj_get_product_full_version(response);
}
