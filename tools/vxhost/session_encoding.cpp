#include "session_encoding.h"

namespace vxhost {

std::string SessionEncoding::to_session(std::string_view utf8) const {
    return simhost::convert(utf8, simhost::kUtf8, info_.id);
}

std::string SessionEncoding::to_utf8(std::string_view session) const {
    return simhost::convert(session, info_.id, simhost::kUtf8);
}

Text SessionEncoding::read(const char* session) const {
    if (session == nullptr) return std::nullopt;
    return to_utf8(session);
}

bool SessionEncoding::can_hold(std::string_view utf8) const { return to_utf8(to_session(utf8)) == utf8; }

}  // namespace vxhost
