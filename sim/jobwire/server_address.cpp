#include "server_address.h"

#include <string_view>

#include "statuses.h"

namespace jwsim {
namespace {

constexpr std::string_view kHttp = "http://";
constexpr std::string_view kHttps = "https://";

}  // namespace

AddressVerdict check_address(const char* server, int32_t port, AcjOptionFn ssl_answer) {
    if (server == nullptr || *server == '\0') return {kMissingArgument, "missing argument: server"};
    std::string_view address = server;
    bool ssl = address.starts_with(kHttps);
    if (!ssl && !address.starts_with(kHttp)) {
        return {kAddressRefused, "address refused: " + std::string(address) + " is not an http:// or https:// address"};
    }
    std::string_view rest = address.substr(ssl ? kHttps.size() : kHttp.size());
    std::string_view host = rest.substr(0, rest.find_first_of(":/?#"));
    if (host.empty()) return {kAddressRefused, "address refused: no host in " + std::string(address)};
    if (port < 1 || port > 65535) {
        return {kAddressRefused, "address refused: port " + std::to_string(port) + " is outside 1-65535"};
    }
    if (ssl && (ssl_answer == nullptr || ssl_answer() != 1))
        return {kAddressRefused, "https:// needs an SSL-enabled client"};
    return {kOk, {}};
}

}  // namespace jwsim
