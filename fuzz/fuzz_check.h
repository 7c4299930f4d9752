// How a fuzz target reports a broken invariant: with a message, then abort, so libFuzzer keeps the
// input and the replay run fails.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vxfuzz {

[[noreturn]] inline void fail(const std::string& what) {
    std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
    std::abort();
}

inline void require(bool holds, const std::string& what) {
    if (!holds) fail(what);
}

}  // namespace vxfuzz
