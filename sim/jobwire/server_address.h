// Which server addresses a connection may be opened to.
#pragma once

#include <cstdint>
#include <string>

#include "platform/jobwire.h"

namespace jwsim {

struct AddressVerdict {
    int32_t status;       // kOk when the connection may be opened
    std::string message;  // why not
};

// `server` must be an http:// or https:// address with a non-empty host and `port` 1-65535. For an
// https:// address `ssl_answer` (the function handed over with "sslenab", may be null) is asked last,
// at every attempt, and must answer 1.
AddressVerdict check_address(const char* server, int32_t port, AcjOptionFn ssl_answer);

}  // namespace jwsim
