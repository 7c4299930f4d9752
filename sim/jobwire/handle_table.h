// The opaque handles the library gives out: connections and response handles.
//
// A handle is a number, never an address, so a stale or foreign handle can be recognised instead of
// dereferenced. Numbers are never reused, not even across a reset, and carry a tag derived from the
// library's name, so a handle of one client library is unknown to the other.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

namespace jwsim {

enum class HandleKind : uint8_t {
    batch,             // acj_initialize
    realtime,          // rta_initialize
    version_response,  // acj_get_server_version2
    params_response,   // acj_get_workflow_job_params
    service_response,  // rta_run_workflow_job
};

// The last failure reported on a handle, or on no handle at all.
struct Failure {
    std::string message;  // empty when nothing failed yet
    std::string code;     // the failed call's status as decimal text
};

struct HandleEntry {
    HandleKind kind;
    bool ended = false;  // a connection after acj_terminate / rta_terminate
    Failure last_failure;
};

class HandleTable {
  public:
    void* make(HandleKind kind);
    // The entry of `handle` when it is a live handle of this kind, else null.
    HandleEntry* find(const void* handle, HandleKind kind);
    // Forgets `handle` when it is a live handle of this kind; false otherwise.
    bool release(const void* handle, HandleKind kind);

  private:
    std::unordered_map<uintptr_t, HandleEntry> entries_;
};

}  // namespace jwsim
