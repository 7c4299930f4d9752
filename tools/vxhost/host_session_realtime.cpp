// Real-time services: entries 41-55.
#include "entry_types.h"
#include "host_session.h"
#include "session_args.h"

namespace vxhost {

int32_t HostSession::rta_initialize(const Text& server, int32_t port, const Text& service, int32_t timeout_seconds) {
    SessionText session_server(encoding_, server);
    SessionText session_service(encoding_, service);
    const int32_t status =
        entry<41>(rec_)(rec_, session_server.c_str(), port, session_service.c_str(), timeout_seconds);
    out_.call(41, Entry<41>::name,
              {shown(server), std::to_string(port), shown(service), std::to_string(timeout_seconds)},
              std::to_string(status));
    return status;
}

int32_t HostSession::rta_set_timeout(int32_t seconds) {
    const int32_t status = entry<42>(rec_)(rec_, seconds);
    out_.call(42, Entry<42>::name, {std::to_string(seconds)}, std::to_string(status));
    return status;
}

int32_t HostSession::rta_set_credentials(const Text& user, const Text& password) {
    SessionText session_user(encoding_, user);
    SessionText session_password(encoding_, password);
    const int32_t status = entry<43>(rec_)(rec_, session_user.c_str(), session_password.c_str());
    out_.call(43, Entry<43>::name, {shown(user), shown(password)}, std::to_string(status));
    return status;
}

int32_t HostSession::rta_set_orbenv(const Text& environment) {
    // A pass-through entry: the client receives the text in the session encoding, as the host gives it.
    SessionText session_environment(encoding_, environment);
    const int32_t status = entry<44>(rec_)(rec_, session_environment.c_str());
    out_.call(44, Entry<44>::name, {shown(environment)}, std::to_string(status));
    return status;
}

int32_t HostSession::rta_set_infield_info(int32_t index, const Text& name, int32_t type, int32_t length) {
    SessionText session_name(encoding_, name);
    const int32_t status = entry<45>(rec_)(rec_, index, session_name.c_str(), type, length);
    out_.call(45, Entry<45>::name, {std::to_string(index), shown(name), std::to_string(type), std::to_string(length)},
              std::to_string(status));
    return status;
}

int32_t HostSession::rta_add_row() {
    const int32_t status = entry<46>(rec_)(rec_);
    out_.call(46, Entry<46>::name, {}, std::to_string(status));
    return status;
}

int32_t HostSession::rta_set_data_value(int32_t index, const Text& value) {
    SessionText session_value(encoding_, value);
    const int32_t status = entry<47>(rec_)(rec_, index, session_value.c_str());
    out_.call(47, Entry<47>::name, {std::to_string(index), shown(value)}, std::to_string(status));
    return status;
}

int32_t HostSession::rta_run() {
    const int32_t status = entry<48>(rec_)(rec_);
    out_.call(48, Entry<48>::name, {}, std::to_string(status));
    return status;
}

RealTimeError HostSession::rta_get_error() {
    const char* code = nullptr;
    const char* origin = nullptr;
    RealTimeError error;
    const char* message = entry<49>(rec_)(rec_, &code, &origin);
    std::string result = "null  (no error)";
    // With no error the bridge converts nothing and the two out-texts stay as the client left them.
    if (message != nullptr) {
        error.message = encoding_.read(message);
        error.code = encoding_.read(code);
        error.origin = encoding_.read(origin);
        result = quote(error.message) + ", code " + quote(error.code) + ", origin " + quote(error.origin);
    }
    out_.call(49, Entry<49>::name, {"&code", "&origin"}, result);
    return error;
}

int32_t HostSession::rta_output_numrows() {
    const int32_t rows = entry<50>(rec_)(rec_);
    out_.call(50, Entry<50>::name, {}, std::to_string(rows));
    return rows;
}

int32_t HostSession::rta_output_numfields() {
    const int32_t fields = entry<51>(rec_)(rec_);
    out_.call(51, Entry<51>::name, {}, std::to_string(fields));
    return fields;
}

FieldInfo HostSession::rta_output_fieldinfo(int32_t index) {
    FieldInfo field;
    const char* name = nullptr;
    field.status = entry<52>(rec_)(rec_, index, &name, &field.type, &field.length);
    std::string result = std::to_string(field.status);
    if (field.status == 0) {
        field.name = encoding_.read(name);
        result += "  " + quote(field.name) + ", type " + std::to_string(field.type) + ", length " +
                  std::to_string(field.length);
    }
    out_.call(52, Entry<52>::name, {std::to_string(index), "&name", "&type", "&length"}, result);
    return field;
}

Text HostSession::rta_output_data(int32_t row, int32_t field) {
    Text value = encoding_.read(entry<53>(rec_)(rec_, row, field));
    out_.call(53, Entry<53>::name, {std::to_string(row), std::to_string(field)}, quote(value));
    return value;
}

int32_t HostSession::rta_terminate() {
    const int32_t status = entry<54>(rec_)(rec_);
    out_.call(54, Entry<54>::name, {}, std::to_string(status));
    return status;
}

int32_t HostSession::rta_run2(const Pairs& pairs) {
    SessionPairs session_pairs(encoding_, pairs);
    const int32_t status = entry<55>(rec_)(rec_, session_pairs.data(), session_pairs.count());
    out_.call(55, Entry<55>::name, {shown(pairs), std::to_string(session_pairs.count())}, std::to_string(status));
    return status;
}

void HostSession::print_output_table() {
    const int32_t rows = rta_output_numrows();
    const int32_t fields = rta_output_numfields();
    std::vector<std::string> header;
    for (int32_t f = 0; f < fields; ++f) {
        const FieldInfo info = rta_output_fieldinfo(f);
        header.push_back(info.name.value_or("?"));
    }
    // One value per cell: listing every call would drown the table, so the calls are summed up in one line.
    TextTable table(header);
    for (int32_t r = 0; r < rows; ++r) {
        std::vector<std::string> row;
        for (int32_t f = 0; f < fields; ++f) {
            const Text value = encoding_.read(entry<53>(rec_)(rec_, r, f));
            row.push_back(value.value_or("(null)"));
        }
        table.add_row(std::move(row));
    }
    out_.call(53, Entry<53>::name, {"row", "field"},
              "for each of " + std::to_string(rows) + " rows x " + std::to_string(fields) + " fields:");
    out_.table(table);
}

}  // namespace vxhost
