// Loads a deliverable the way a host runtime does: dlopen in a scope of its own, then the exports found
// by name. vxhost never links a deliverable or a client library; it finds them at run time.
#pragma once

#include <cstdint>
#include <string>

#include "frame/instance.h"
#include "frame/stamp.h"

namespace vxhost {

struct LoadedLibrary {
    std::string path;         // as opened
    std::string export_name;  // "vxjobc" or "vxjobcssl": the entry export that makes instances
    void* handle = nullptr;
    BridgeInstance* (*make_instance)(HostContext*, void*) = nullptr;
    int32_t (*vxextver)(HostServices*, int64_t*, int64_t*) = nullptr;
    int32_t (*vxbldmk1)(VersionStamp*) = nullptr;
};

// vxjobc.so in ../lib relative to the directory of the running executable: the layout of both the build
// tree and an installed tree.
std::string default_library_path();

// Opens the library at `path` and finds its exports. On failure returns false with the reason in `error`.
// The library stays loaded for the life of the process.
bool load_library(const std::string& path, LoadedLibrary& library, std::string& error);

}  // namespace vxhost
