// Makers of the individual cases; cases.cpp lists them.
#pragma once

#include <memory>

#include "cases.h"

namespace vxbench {

// Texts in: a pass-through, one text, five texts with three pairs, one long text.
std::unique_ptr<CaseRun> make_set_timeout(Session& session);
std::unique_ptr<CaseRun> make_terminate_job(Session& session);
std::unique_ptr<CaseRun> make_run_prof_job(Session& session);
std::unique_ptr<CaseRun> make_terminate_job_long(Session& session);

// Texts out: three texts through out-parameters, one long result.
std::unique_ptr<CaseRun> make_get_job_status_item(Session& session);
std::unique_ptr<CaseRun> make_output_data_long(Session& session);

// Lists out: 100 names, 20 pairs.
std::unique_ptr<CaseRun> make_joblist(Session& session);
std::unique_ptr<CaseRun> make_get_outputs(Session& session);

}  // namespace vxbench
