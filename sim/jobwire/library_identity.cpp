// Compiled once per client library, with JW_LIBRARY_NAME set to that library's name.
#include "library_identity.h"

#ifndef JW_LIBRARY_NAME
#error "JW_LIBRARY_NAME names the client library being built"
#endif

namespace jwsim {

const char* library_name() { return JW_LIBRARY_NAME; }

}  // namespace jwsim
