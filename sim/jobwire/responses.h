// The response handles' contents: fixed when the response is made, so what they hand out stays valid
// until the response is destroyed.
#pragma once

#include "text_list.h"

namespace jwsim {

// From acj_get_server_version2: the product version is the server's own, nothing to keep.
struct VersionResponse {};

// From acj_get_workflow_job_params.
struct ParamsResponse {
    TextList input_names;
    TextList output_names;
};

// From rta_run_workflow_job.
struct ServiceResponse {
    PairList outputs;
};

}  // namespace jwsim
