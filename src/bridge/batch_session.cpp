// Batch connection and server information: open, configure and end the batch connection, read the
// server's version and the product version of a server-version response.
#include <cstring>

#include "bridge/entries.h"
#include "frame/convert.h"

namespace {

// Handed to hosts for a null product-version response; never written.
const char kEmptyText[] = "";
constexpr int32_t kVersionUnknown = 1;

// Keeps the first 63 bytes of the host's server text, as given, for bridge_get_server_host.
void remember_server(BridgeInstance* rec, const char* server) {
    size_t length = server == nullptr ? 0 : strnlen(server, sizeof(rec->server) - 1);
    if (length != 0) std::memcpy(rec->server, server, length);
    rec->server[length] = '\0';
}

}  // namespace

extern "C" {

// Opens the batch connection. The SSL answer goes to the client on every call, before anything else.
int32_t bridge_acj_initialize(BridgeInstance* rec, const char* server, int32_t port) {
    acj_set_adv_option("sslenab", bridge_ssl_enabled);
    if (rec == nullptr) return -1;
    remember_server(rec, server);
    rec->port = port;
    if (conv_in_args(rec, {server}) < 1) return -1;
    rec->acj_handle = acj_initialize(in_slot(rec, 0), port);
    return rec->acj_handle != nullptr ? 0 : 1;
}

int32_t bridge_acj_set_timeout(BridgeInstance* rec, int32_t seconds) {
    return acj_set_timeout(rec->acj_handle, seconds);
}

int32_t bridge_acj_set_credentials(BridgeInstance* rec, const char* user, const char* password) {
    if (conv_in_args(rec, {user, password}) < 2) return 1;
    return acj_set_credentials(rec->acj_handle, in_slot(rec, 0), in_slot(rec, 1));
}

int32_t bridge_acj_set_orbenv(BridgeInstance* rec, const char* environment) {
    return acj_set_orbenv(rec->acj_handle, environment);
}

int32_t bridge_acj_terminate(BridgeInstance* rec) { return acj_terminate(rec->acj_handle); }

// Passed through: the host receives the client's UTF-8 text as it is.
const char* bridge_acj_get_error(BridgeInstance* rec) { return acj_get_error(rec->acj_handle); }

// A server that cannot tell its version is reported as 7.1.0.
int32_t bridge_acj_get_server_version(BridgeInstance* rec, char* buffer, int32_t capacity, int32_t* major,
                                      int32_t* minor, int32_t* revision) {
    const int32_t status = acj_get_server_version(rec->acj_handle, buffer, capacity, major, minor, revision);
    if (status != kVersionUnknown) return status;
    if (buffer != nullptr && capacity >= 2) {
        buffer[0] = '7';
        buffer[1] = '\0';
    }
    if (major != nullptr) *major = 7;
    if (minor != nullptr) *minor = 1;
    if (revision != nullptr) *revision = 0;
    return 0;
}

// The stored server text without one leading scheme; points into the record.
const char* bridge_get_server_host(BridgeInstance* rec) {
    if (rec == nullptr) return nullptr;
    if (std::memcmp(rec->server, "http://", 7) == 0) return rec->server + 7;
    if (std::memcmp(rec->server, "https://", 8) == 0) return rec->server + 8;
    return rec->server;
}

int32_t bridge_get_server_port(BridgeInstance* rec) { return rec == nullptr ? -1 : rec->port; }

int32_t bridge_acj_get_server_version2(BridgeInstance* rec, AcjResponse* response) {
    return acj_get_server_version2(rec->acj_handle, response);
}

void bridge_acj_destroy_get_server_version_rsp_handle(BridgeInstance*, AcjResponse response) {
    if (response != nullptr) acj_destroy_get_server_version_rsp_handle(response);
}

int32_t bridge_acj_get_product_major_version(BridgeInstance*, AcjResponse response) {
    return response == nullptr ? 0 : acj_get_product_major_version(response);
}

int32_t bridge_acj_get_product_minor_version(BridgeInstance*, AcjResponse response) {
    return response == nullptr ? 0 : acj_get_product_minor_version(response);
}

int32_t bridge_acj_get_product_revision_version(BridgeInstance*, AcjResponse response) {
    return response == nullptr ? 0 : acj_get_product_revision_version(response);
}

// Lives in outbound slot 0 until the next entry that writes it.
const char* bridge_acj_get_product_full_version(BridgeInstance* rec, AcjResponse response) {
    if (response == nullptr) return kEmptyText;
    conv_out_args(rec, {acj_get_product_full_version(response)});
    return out_slot(rec, 0);
}

}  // extern "C"
