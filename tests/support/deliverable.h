// Loads the two deliverables as a host does: each with dlopen in a scope of its own, so each binds to
// its own client library, whose control API is reached through the same handle.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "frame/instance.h"
#include "frame/stamp.h"
#include "sim/jobwire/jwsim.h"

namespace vxtest {

struct Deliverable {
    const char* name;    // "vxjobc" or "vxjobcssl"; also the entry export's name
    const char* client;  // the client library it links
    int32_t ssl;         // what it answers to "sslenab"
};

inline const Deliverable kPlain{"vxjobc", "libJOBWIRE.so", 0};
inline const Deliverable kSsl{"vxjobcssl", "libJOBWIRESSL.so", 1};
inline const Deliverable kBothDeliverables[] = {kPlain, kSsl};

inline std::ostream& operator<<(std::ostream& out, const Deliverable& d) { return out << d.name; }

// What a host finds in a loaded deliverable. Loaded once per process and kept loaded.
struct Loaded {
    void* handle;
    BridgeInstance* (*make_instance)(HostContext*, void*);
    int32_t (*vxextver)(HostServices*, int64_t*, int64_t*);
    int32_t (*vxextent)(HostServices*);
    int32_t (*vxbldmk1)(VersionStamp*);
    const JwSimApi* sim;  // the control API of the client library the deliverable bound to
};

// Path of a built library in the build's lib directory.
std::string library_path(const std::string& file);
// dlopens the deliverable (RTLD_LOCAL | RTLD_NOW) on first use; aborts the test run when it cannot.
const Loaded& load(const Deliverable& deliverable);

}  // namespace vxtest
