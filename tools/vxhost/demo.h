// The embedded demo session: one instance driven through every family of entries, printed as a
// transcript. Throws SessionFailure naming the step when a step does not give what the session needs.
#pragma once

#include <cstdint>
#include <string>

#include "host_session.h"

namespace vxhost {

struct DemoSettings {
    std::string server;  // for both connections, e.g. "http://jobs.example"
    int32_t port = 0;
};

void run_demo(HostSession& session, const DemoSettings& settings);

}  // namespace vxhost
