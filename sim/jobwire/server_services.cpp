// Real-time connections: declaring fields, giving rows, running the service and reading its output.
#include <string>

#include "argument_checks.h"
#include "server.h"

namespace jwsim {

RtaHandle Server::rta_initialize(const char* server, int32_t port, const char* service, int32_t timeout_seconds) {
    if (!may_connect(server, port, __func__)) return nullptr;
    if (missing(service)) {
        unattached_.fail(kMissingArgument, "missing argument: service", __func__);
        return nullptr;
    }
    const Service* found = find_service(service);
    if (found == nullptr) {
        unattached_.fail(kUnknownService, std::string("unknown service: ") + service, __func__);
        return nullptr;
    }
    auto [handle, connection] = realtimes_.make();
    connection->service = found;
    connection->timeout_seconds = timeout_seconds;
    return handle;
}

int32_t Server::rta_set_timeout(RtaHandle handle, int32_t seconds) {
    auto [connection, status] = open_realtime(handle, __func__);
    if (connection == nullptr) return status;
    connection->timeout_seconds = seconds;
    return connection->succeed();
}

int32_t Server::rta_set_credentials(RtaHandle handle, const char* user, const char* password) {
    auto [connection, status] = open_realtime(handle, __func__);
    if (connection == nullptr) return status;
    return store_credentials(*connection, user, password, __func__);
}

int32_t Server::rta_set_orbenv(RtaHandle handle, const char* environment) {
    auto [connection, status] = open_realtime(handle, __func__);
    if (connection == nullptr) return status;
    connection->environment = environment != nullptr ? environment : "";
    return connection->succeed();
}

int32_t Server::rta_set_infield_info(RtaHandle handle, int32_t index, const char* name, int32_t type, int32_t length) {
    auto [connection, status] = open_realtime(handle, __func__);
    if (connection == nullptr) return status;
    if (index < 0) return connection->fail(kOutOfRange, "wrong field index: " + std::to_string(index), __func__);
    if (missing(name)) return connection->fail(kMissingArgument, "missing argument: name", __func__);
    connection->input_fields[index] = FieldInfo{name, type, length};
    return connection->succeed();
}

int32_t Server::rta_add_row(RtaHandle handle) {
    auto [connection, status] = open_realtime(handle, __func__);
    if (connection == nullptr) return status;
    connection->input_rows.emplace_back();
    return connection->succeed();
}

int32_t Server::rta_set_data_value(RtaHandle handle, int32_t index, const char* value) {
    auto [connection, status] = open_realtime(handle, __func__);
    if (connection == nullptr) return status;
    if (!connection->input_fields.contains(index)) {
        return connection->fail(kOutOfRange, "wrong field index: " + std::to_string(index), __func__);
    }
    if (connection->input_rows.empty()) connection->input_rows.emplace_back();
    connection->input_rows.back()[index] = value != nullptr ? value : "";
    return connection->succeed();
}

int32_t Server::rta_run(RtaHandle handle) {
    auto [connection, status] = open_realtime(handle, __func__);
    if (connection == nullptr) return status;
    connection->output = connection->service->run(connection->input_table());
    connection->input_rows.clear();
    return connection->succeed();
}

int32_t Server::rta_run2(RtaHandle handle, const NameValuePair* pairs, int32_t count) {
    auto [connection, status] = open_realtime(handle, __func__);
    if (connection == nullptr) return status;
    // One row whose fields are the named pairs, in their order.
    Table input;
    std::vector<std::string>& row = input.rows.emplace_back();
    for (int32_t i = 0; pairs != nullptr && i < count; ++i) {
        if (pairs[i].name == nullptr) continue;
        input.fields.push_back(FieldInfo{pairs[i].name, kTextField, kDefaultTextLength});
        row.emplace_back(pairs[i].value != nullptr ? pairs[i].value : "");
    }
    connection->output = connection->service->run(input);
    return connection->succeed();
}

const char* Server::rta_get_error(RtaHandle handle, const char** code, const char** origin) {
    Connection& record = record_of(realtimes_, handle);
    const Failure& failure = record.last_failure;
    if (failure.status == kOk) {
        put(code, "");
        put(origin, "");
        return nullptr;
    }
    const char** texts =
        record.returned.keep(__func__, {failure.message, "E" + std::to_string(failure.status), failure.origin});
    put(code, texts[1]);
    put(origin, texts[2]);
    return texts[0];
}

int32_t Server::rta_output_numrows(RtaHandle handle) {
    const RealtimeConnection* connection = quiet_realtime(handle);
    return connection != nullptr ? static_cast<int32_t>(connection->output.rows.size()) : -1;
}

int32_t Server::rta_output_numfields(RtaHandle handle) {
    const RealtimeConnection* connection = quiet_realtime(handle);
    return connection != nullptr ? static_cast<int32_t>(connection->output.fields.size()) : -1;
}

int32_t Server::rta_output_fieldinfo(RtaHandle handle, int32_t index, const char** name, int32_t* type,
                                     int32_t* length) {
    auto [connection, status] = open_realtime(handle, __func__);
    if (connection == nullptr) return status;
    return describe_field(*connection, connection->output.fields, index, name, type, length, __func__);
}

const char* Server::rta_output_data(RtaHandle handle, int32_t row, int32_t field) {
    RealtimeConnection* connection = quiet_realtime(handle);
    if (connection == nullptr) return nullptr;
    const Table& output = connection->output;
    if (row < 0 || row >= static_cast<int32_t>(output.rows.size())) return nullptr;
    if (field < 0 || field >= static_cast<int32_t>(output.fields.size())) return nullptr;
    return connection->returned.keep(__func__, output.rows[static_cast<size_t>(row)][static_cast<size_t>(field)]);
}

int32_t Server::rta_terminate(RtaHandle handle) {
    auto [connection, status] = open_realtime(handle, __func__);
    if (connection == nullptr) return status;
    connection->ended = true;
    return connection->succeed();
}

}  // namespace jwsim
