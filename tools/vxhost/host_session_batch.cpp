// Batch connection and server information: entries 22-28, 57, 58 and 67-72.
#include <algorithm>
#include <vector>

#include "entry_types.h"
#include "host_session.h"
#include "session_args.h"

namespace vxhost {

int32_t HostSession::acj_initialize(const Text& server, int32_t port) {
    SessionText session_server(encoding_, server);
    const int32_t status = entry<22>(rec_)(rec_, session_server.c_str(), port);
    out_.call(22, Entry<22>::name, {shown(server), std::to_string(port)}, std::to_string(status));
    return status;
}

int32_t HostSession::acj_set_timeout(int32_t seconds) {
    const int32_t status = entry<23>(rec_)(rec_, seconds);
    out_.call(23, Entry<23>::name, {std::to_string(seconds)}, std::to_string(status));
    return status;
}

int32_t HostSession::acj_set_credentials(const Text& user, const Text& password) {
    SessionText session_user(encoding_, user);
    SessionText session_password(encoding_, password);
    const int32_t status = entry<24>(rec_)(rec_, session_user.c_str(), session_password.c_str());
    out_.call(24, Entry<24>::name, {shown(user), shown(password)}, std::to_string(status));
    return status;
}

int32_t HostSession::acj_set_orbenv(const Text& environment) {
    // A pass-through entry: the client receives the text in the session encoding, as the host gives it.
    SessionText session_environment(encoding_, environment);
    const int32_t status = entry<25>(rec_)(rec_, session_environment.c_str());
    out_.call(25, Entry<25>::name, {shown(environment)}, std::to_string(status));
    return status;
}

int32_t HostSession::acj_terminate() {
    const int32_t status = entry<26>(rec_)(rec_);
    out_.call(26, Entry<26>::name, {}, std::to_string(status));
    return status;
}

Text HostSession::acj_get_error() {
    // Passed through unconverted: the client's text arrives in UTF-8 whatever the session encoding.
    const char* error = entry<27>(rec_)(rec_);
    Text text = error == nullptr ? Text() : Text(error);
    out_.call(27, Entry<27>::name, {}, quote(text));
    return text;
}

ServerVersion HostSession::acj_get_server_version(int32_t capacity) {
    // One byte more than the capacity so that whatever the client writes ends in a NUL.
    std::vector<char> buffer(static_cast<size_t>(std::max(capacity, 0)) + 1, '\0');
    ServerVersion version;
    version.status = entry<28>(rec_)(rec_, buffer.data(), capacity, &version.major, &version.minor, &version.revision);
    version.text = buffer.data();  // the client's UTF-8, not converted by the bridge
    out_.call(28, Entry<28>::name, {"buffer", std::to_string(capacity), "&major", "&minor", "&revision"},
              std::to_string(version.status) + "  " + quote(version.text) + ", " + std::to_string(version.major) + "." +
                  std::to_string(version.minor) + "." + std::to_string(version.revision));
    return version;
}

Text HostSession::get_server_host() {
    // Points into the record: the server text as the host gave it to entry 22, past its scheme.
    Text host = encoding_.read(entry<57>(rec_)(rec_));
    out_.call(57, Entry<57>::name, {}, quote(host));
    return host;
}

int32_t HostSession::get_server_port() {
    const int32_t port = entry<58>(rec_)(rec_);
    out_.call(58, Entry<58>::name, {}, std::to_string(port));
    return port;
}

HandleAnswer HostSession::acj_get_server_version2() {
    HandleAnswer answer;
    answer.status = entry<67>(rec_)(rec_, &answer.handle);
    if (answer.status == 0) name_handle(answer.handle, "version");
    out_.call(67, Entry<67>::name, {"&response"}, std::to_string(answer.status) + "  " + handle_name(answer.handle));
    return answer;
}

void HostSession::acj_destroy_get_server_version_rsp_handle(Handle response) {
    entry<68>(rec_)(rec_, response);
    out_.call(68, Entry<68>::name, {handle_name(response)}, "done");
}

int32_t HostSession::acj_get_product_version(int number, Handle response) {
    int32_t value = 0;
    const char* name = Entry<69>::name;
    if (number == 69) {
        value = entry<69>(rec_)(rec_, response);
    } else if (number == 70) {
        value = entry<70>(rec_)(rec_, response);
        name = Entry<70>::name;
    } else {
        value = entry<71>(rec_)(rec_, response);
        name = Entry<71>::name;
    }
    out_.call(number, name, {handle_name(response)}, std::to_string(value));
    return value;
}

Text HostSession::acj_get_product_full_version(Handle response) {
    Text full = encoding_.read(entry<72>(rec_)(rec_, response));
    out_.call(72, Entry<72>::name, {handle_name(response)}, quote(full));
    return full;
}

}  // namespace vxhost
