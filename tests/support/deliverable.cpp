#include "support/deliverable.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <map>

namespace vxtest {

std::string library_path(const std::string& file) { return std::string(VXTEST_LIB_DIR) + "/" + file; }

namespace {

void* symbol(void* handle, const char* name) {
    void* found = dlsym(handle, name);
    if (found == nullptr) {
        std::fprintf(stderr, "missing symbol %s: %s\n", name, dlerror());
        std::abort();
    }
    return found;
}

}  // namespace

const Loaded& load(const Deliverable& deliverable) {
    static std::map<std::string, Loaded> loaded;
    auto found = loaded.find(deliverable.name);
    if (found != loaded.end()) return found->second;
    const std::string path = library_path(std::string(deliverable.name) + ".so");
    void* handle = dlopen(path.c_str(), RTLD_LOCAL | RTLD_NOW);
    if (handle == nullptr) {
        std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), dlerror());
        std::abort();
    }
    Loaded l{};
    l.handle = handle;
    l.make_instance = reinterpret_cast<decltype(l.make_instance)>(symbol(handle, deliverable.name));
    l.vxextver = reinterpret_cast<decltype(l.vxextver)>(symbol(handle, "vxextver"));
    l.vxextent = reinterpret_cast<decltype(l.vxextent)>(symbol(handle, "vxextent"));
    l.vxbldmk1 = reinterpret_cast<decltype(l.vxbldmk1)>(symbol(handle, "vxbldmk1"));
    // dlsym searches the deliverable's dependencies too: this is its own client library.
    auto api = reinterpret_cast<const JwSimApi* (*)(void)>(symbol(handle, "jwsim_api"));
    l.sim = api();
    return loaded.emplace(deliverable.name, l).first->second;
}

}  // namespace vxtest
