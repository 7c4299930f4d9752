// Connections, errors and server versions.
#include "server.h"

#include <cstring>
#include <string>

#include "argument_checks.h"
#include "server_address.h"

namespace jwsim {

// ---- looking up handles -------------------------------------------------------------------------------

Server::Found<BatchConnection> Server::open_batch(AcjHandle handle, const char* origin, Needs needs) {
    BatchConnection* connection = batches_.find(handle);
    if (connection == nullptr) return {nullptr, unattached_.fail(kBadHandle, "unknown handle", origin)};
    if (connection->ended) return {nullptr, connection->fail(kEnded, "connection terminated", origin)};
    if (needs == Needs::credentials && !connection->has_credentials()) {
        return {nullptr, connection->fail(kNoCredentials, "credentials required", origin)};
    }
    return {connection, kOk};
}

Server::Found<RealtimeConnection> Server::open_realtime(RtaHandle handle, const char* origin) {
    RealtimeConnection* connection = realtimes_.find(handle);
    if (connection == nullptr) return {nullptr, unattached_.fail(kBadHandle, "unknown handle", origin)};
    if (connection->ended) return {nullptr, connection->fail(kEnded, "connection terminated", origin)};
    return {connection, kOk};
}

RealtimeConnection* Server::quiet_realtime(RtaHandle handle) const {
    RealtimeConnection* connection = realtimes_.find(handle);
    return connection != nullptr && !connection->ended ? connection : nullptr;
}

// ---- connections --------------------------------------------------------------------------------------

int32_t Server::acj_set_adv_option(const char* name, AcjOptionFn answer) {
    if (name == nullptr || std::strcmp(name, "sslenab") != 0) {
        return unattached_.fail(kUnknownOption, std::string("unknown option: ") + (name != nullptr ? name : ""),
                                __func__);
    }
    ssl_answer_ = answer;
    return kOk;
}

bool Server::may_connect(const char* server, int32_t port, const char* origin) {
    AddressVerdict verdict = check_address(server, port, ssl_answer_);
    if (verdict.status != kOk) {
        unattached_.fail(verdict.status, std::move(verdict.message), origin);
        return false;
    }
    unattached_.succeed();
    return true;
}

AcjHandle Server::acj_initialize(const char* server, int32_t port) {
    if (!may_connect(server, port, __func__)) return nullptr;
    return batches_.make().first;
}

int32_t Server::store_credentials(Connection& connection, const char* user, const char* password, const char* origin) {
    if (user == nullptr || *user == '\0' || password == nullptr || *password == '\0') {
        return connection.fail(kNoCredentials, "credentials required", origin);
    }
    connection.user = user;
    connection.password = password;
    return connection.succeed();
}

int32_t Server::acj_set_timeout(AcjHandle handle, int32_t seconds) {
    auto [connection, status] = open_batch(handle, __func__);
    if (connection == nullptr) return status;
    connection->timeout_seconds = seconds;
    return connection->succeed();
}

int32_t Server::acj_set_credentials(AcjHandle handle, const char* user, const char* password) {
    auto [connection, status] = open_batch(handle, __func__);
    if (connection == nullptr) return status;
    return store_credentials(*connection, user, password, __func__);
}

int32_t Server::acj_set_orbenv(AcjHandle handle, const char* environment) {
    auto [connection, status] = open_batch(handle, __func__);
    if (connection == nullptr) return status;
    connection->environment = environment != nullptr ? environment : "";
    return connection->succeed();
}

int32_t Server::acj_terminate(AcjHandle handle) {
    auto [connection, status] = open_batch(handle, __func__);
    if (connection == nullptr) return status;
    connection->ended = true;
    return connection->succeed();
}

const char* Server::acj_get_error(AcjHandle handle) {
    Connection& record = record_of(batches_, handle);
    if (record.last_failure.status == kOk) return nullptr;
    return record.returned.keep(__func__, record.last_failure.message);
}

// ---- server versions ----------------------------------------------------------------------------------

int32_t Server::acj_get_server_version(AcjHandle handle, char* buffer, int32_t capacity, int32_t* major, int32_t* minor,
                                       int32_t* revision) {
    auto [connection, status] = open_batch(handle, __func__);
    if (connection == nullptr) return status;
    if (buffer == nullptr) return connection->fail(kMissingArgument, "missing argument: buffer", __func__);
    auto needed = static_cast<int32_t>(std::strlen(kServerVersionText) + 1);
    if (capacity < needed) {
        return connection->fail(kBufferTooSmall, "buffer too small: " + std::to_string(needed) + " bytes needed",
                                __func__);
    }
    std::memcpy(buffer, kServerVersionText, static_cast<size_t>(needed));
    put(major, kServerMajor);
    put(minor, kServerMinor);
    put(revision, kServerRevision);
    return connection->succeed();
}

int32_t Server::acj_get_server_version2(AcjHandle handle, AcjResponse* response) {
    auto [connection, status] = open_batch(handle, __func__);
    if (connection == nullptr) return status;
    if (response == nullptr) return connection->fail(kMissingArgument, "missing argument: response", __func__);
    *response = versions_.make().first;
    return connection->succeed();
}

void Server::acj_destroy_get_server_version_rsp_handle(AcjResponse response) {
    if (find_response(versions_, response, __func__) != nullptr) versions_.release(response);
}

int32_t Server::acj_get_product_major_version(AcjResponse response) {
    return find_response(versions_, response, __func__) != nullptr ? kServerMajor : -1;
}

int32_t Server::acj_get_product_minor_version(AcjResponse response) {
    return find_response(versions_, response, __func__) != nullptr ? kServerMinor : -1;
}

int32_t Server::acj_get_product_revision_version(AcjResponse response) {
    return find_response(versions_, response, __func__) != nullptr ? kServerRevision : -1;
}

const char* Server::acj_get_product_full_version(AcjResponse response) {
    return find_response(versions_, response, __func__) != nullptr ? kProductFullVersion : nullptr;
}

}  // namespace jwsim
