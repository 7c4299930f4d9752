// Loads the stand-in client libraries for tests the way tests load them beside a deliverable: with
// dlopen in a local scope, controlled and observed through jwsim_api.
#pragma once

#include <dlfcn.h>

#include <cstdint>
#include <string>

#include "sim/jobwire/jwsim.h"

namespace jwtest {

// One client library in its own RTLD_LOCAL scope. Never closed: the process ends first.
class ClientLibrary {
  public:
    explicit ClientLibrary(const char* path) : handle_(dlopen(path, RTLD_LOCAL | RTLD_NOW)) {
        if (handle_ == nullptr) {
            error_ = dlerror();
            return;
        }
        auto entry = reinterpret_cast<JwSimApiFn>(dlsym(handle_, "jwsim_api"));
        api_ = entry != nullptr ? entry() : nullptr;
        if (api_ == nullptr) error_ = std::string("no jwsim_api in ") + path;
    }
    bool loaded() const { return api_ != nullptr; }
    const std::string& error() const { return error_; }
    const JwSimApi& api() const { return *api_; }
    void* symbol(const char* name) const { return dlsym(handle_, name); }
    template <class F>
    F function(const char* name) const {
        return reinterpret_cast<F>(symbol(name));
    }

  private:
    void* handle_;
    const JwSimApi* api_ = nullptr;
    std::string error_;
};

inline ClientLibrary& plain_library() {
    static ClientLibrary library(JW_PLAIN_LIBRARY);
    return library;
}

inline ClientLibrary& ssl_library() {
    static ClientLibrary library(JW_SSL_LIBRARY);
    return library;
}

// "sslenab" answers a caller may hand over.
inline int32_t answers_one() { return 1; }
inline int32_t answers_zero() { return 0; }

}  // namespace jwtest

// The client function `name` of `library`, typed as platform/jobwire.h declares it.
#define JW(library, name) (library).function<decltype(&name)>(#name)
