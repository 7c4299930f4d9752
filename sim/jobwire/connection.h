// What the server keeps for each connection, and for calls that had no usable connection.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "job.h"
#include "returned_texts.h"
#include "service.h"
#include "statuses.h"

namespace jwsim {

// The last failed call, as the error functions report it.
struct Failure {
    int32_t status = kOk;  // kOk: the last call succeeded
    std::string message;
    const char* origin = "";  // the name of the client function that failed
};

// What every connection has; also the record of calls without a usable handle.
struct Connection {
    bool ended = false;  // after acj_terminate / rta_terminate
    Failure last_failure;
    ReturnedTexts returned;
    int32_t timeout_seconds = 0;
    std::string environment;
    std::string user;
    std::string password;

    int32_t fail(int32_t status, std::string message, const char* origin) {
        last_failure = Failure{status, std::move(message), origin};
        return status;
    }
    int32_t succeed() {
        last_failure = Failure{};
        return kOk;
    }
    bool has_credentials() const { return !user.empty() && !password.empty(); }
};

struct BatchConnection : Connection {
    std::vector<Job*> jobs;             // submitted over this connection, in submission order
    const Service* selected = nullptr;  // by acj_rt_io_info, for the field descriptions
};

struct RealtimeConnection : Connection {
    const Service* service = nullptr;
    std::map<int32_t, FieldInfo> input_fields;               // declared, by index
    std::vector<std::map<int32_t, std::string>> input_rows;  // values by field index
    Table output;                                            // of the last run

    // The declared fields in index order with the rows given so far (unset values empty).
    Table input_table() const;
};

}  // namespace jwsim
