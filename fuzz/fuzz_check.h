// How a fuzz target reports a broken invariant: with a message, then abort, so libFuzzer keeps the
// input and the replay run fails.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "sim/host/sim_host.h"

namespace vxfuzz {

[[noreturn]] inline void fail(const std::string& what) {
    std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
    std::abort();
}

inline void require(bool holds, const std::string& what) {
    if (!holds) fail(what);
}

// The text a conversion must give, by ICU directly: the bytes themselves when the session converts
// nothing, empty for a null text.
inline std::string expected_conversion(const char* text, int32_t encoding, bool converting, bool inbound) {
    if (text == nullptr) return {};
    if (!converting) return text;
    return inbound ? simhost::convert(text, encoding, simhost::kUtf8)
                   : simhost::convert(text, simhost::kUtf8, encoding);
}

}  // namespace vxfuzz
