#include "cases.h"

#include "bench_texts.h"
#include "case_factories.h"

namespace vxbench {

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"set_timeout", 23, "pass-through", 0, make_set_timeout},
        {"terminate_job", 36, "1 text in", 0, make_terminate_job},
        {"run_prof_job", 30, "5 texts + 3 pairs in", 0, make_run_prof_job},
        {"get_job_status_item", 33, "3 texts out", 0, make_get_job_status_item},
        {"joblist", 29, "list of 100 texts out", 0, make_joblist},
        {"get_outputs", 60, "20 pairs out", 0, make_get_outputs},
        {"terminate_job_1MiB", 36, "1 MiB text in", kLongTextBytes, make_terminate_job_long},
        {"output_data_1MiB", 53, "1 MiB text out", kLongTextBytes, make_output_data_long},
    };
    return all;
}

const Case* find_case(std::string_view name) {
    for (const Case& c : cases()) {
        if (name == c.name) return &c;
    }
    return nullptr;
}

void warm_up(CaseRun& run) {
    for (int i = 0; i < 3; ++i) {
        run.entry();
        run.baseline();
    }
}

}  // namespace vxbench
