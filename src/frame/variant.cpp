// The only source compiled differently for the two deliverables: the entry export's name, the answer
// the client library gets to "sslenab", and the build code in the version stamp.
#include "frame/instance.h"
#include "frame/stamp.h"

#ifndef VX_ENTRY_EXPORT
#error "VX_ENTRY_EXPORT names the deliverable's entry export"
#endif

extern "C" {

__attribute__((visibility("default"))) BridgeInstance* VX_ENTRY_EXPORT(HostContext* context, void* handed_on) {
    return bridge_create_instance(context, handed_on);
}

int32_t bridge_ssl_enabled(void) { return VX_SSL_ENABLED; }

const char vx_stamp_build_code[] = VX_STAMP_BUILD_CODE;

}  // extern "C"
