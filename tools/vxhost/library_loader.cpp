#include "library_loader.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace vxhost {
namespace {

// The entry export is named like the deliverable; a renamed file still carries one of the two names.
constexpr const char* kEntryExports[] = {"vxjobc", "vxjobcssl"};

template <class Fn>
Fn find_symbol(void* handle, const std::string& name) {
    return reinterpret_cast<Fn>(dlsym(handle, name.c_str()));
}

}  // namespace

std::string default_library_path() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return "vxjobc.so";
    const std::filesystem::path library = self.parent_path().parent_path() / "lib" / "vxjobc.so";
    return library.lexically_normal().string();
}

bool load_library(const std::string& path, LoadedLibrary& library, std::string& error) {
    library.path = path;
    // RTLD_LOCAL keeps the deliverable and the client library it pulls in out of the global scope, so
    // nothing else in the process binds to them.
    library.handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library.handle == nullptr) {
        error = std::string("cannot load the deliverable: ") + dlerror();
        return false;
    }
    // The file's own name first, then the two names a deliverable can carry.
    std::string stem = std::filesystem::path(path).stem().string();
    for (const std::string& name : {stem, std::string(kEntryExports[0]), std::string(kEntryExports[1])}) {
        library.make_instance = find_symbol<decltype(library.make_instance)>(library.handle, name);
        if (library.make_instance != nullptr) {
            library.export_name = name;
            break;
        }
    }
    library.vxextver = find_symbol<decltype(library.vxextver)>(library.handle, "vxextver");
    library.vxbldmk1 = find_symbol<decltype(library.vxbldmk1)>(library.handle, "vxbldmk1");
    if (library.make_instance == nullptr) {
        error = path + " exports neither vxjobc nor vxjobcssl: not a vxjobs deliverable";
        return false;
    }
    if (library.vxextver == nullptr) {
        error = path + " does not export vxextver";
        return false;
    }
    return true;
}

}  // namespace vxhost
