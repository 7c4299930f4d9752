// The demo's real-time parts: a service fed row by row, one fed a row of name/value pairs, a deliberate
// error, and a workflow job run on the real-time connection with parameters from the batch connection.
#include <string>

#include "demo_steps.h"

namespace vxhost {
namespace {

constexpr int32_t kTimeoutSeconds = 30;
constexpr int32_t kTextField = 1;  // field type 1: text
constexpr int32_t kFieldLength = 40;
constexpr int32_t kNoSuchField = 7;
constexpr int32_t kReservedFlags = 0;
constexpr const char* kEnvironment = "production";

// Opens the real-time connection to `service`, ending the previous one first: a new connection replaces
// the stored handle without ending the old one.
void connect(DemoContext& demo, const char* service, bool end_previous) {
    HostSession& s = demo.session;
    if (end_previous) expect_value(s.rta_terminate(), 0, "[54] rta_terminate");
    expect_value(s.rta_initialize(demo.settings.server, demo.settings.port, service, kTimeoutSeconds), 0,
                 "[41] rta_initialize");
    expect_realtime_ok(s, s.rta_set_credentials(demo.texts.user, demo.texts.password), "[43] rta_set_credentials");
}

}  // namespace

void demo_realtime_rows(DemoContext& demo) {
    HostSession& s = demo.session;
    const DemoTexts& t = demo.texts;
    s.transcript().heading("Real-time service `upper`, fed row by row");
    connect(demo, "upper", false);
    expect_realtime_ok(s, s.rta_set_timeout(kTimeoutSeconds), "[42] rta_set_timeout");
    expect_realtime_ok(s, s.rta_set_orbenv(kEnvironment), "[44] rta_set_orbenv");
    for (int32_t f = 0; f < 2; ++f) {
        expect_realtime_ok(s, s.rta_set_infield_info(f, t.upper_fields[f], kTextField, kFieldLength),
                           "[45] rta_set_infield_info");
    }
    for (const auto& row : t.upper_rows) {
        expect_realtime_ok(s, s.rta_add_row(), "[46] rta_add_row");
        for (int32_t f = 0; f < 2; ++f) {
            expect_realtime_ok(s, s.rta_set_data_value(f, row[f]), "[47] rta_set_data_value");
        }
    }
    expect_realtime_ok(s, s.rta_run(), "[48] rta_run");
    s.print_output_table();

    s.transcript().heading("A field that is not there (a refusal on purpose)");
    expect_refused(s.rta_output_fieldinfo(kNoSuchField).status, "[52] rta_output_fieldinfo of a missing field");
    if (!s.rta_get_error().message) throw SessionFailure("[49] rta_get_error", "no error text after a refusal");
}

void demo_realtime_pairs(DemoContext& demo) {
    HostSession& s = demo.session;
    s.transcript().heading("Real-time service `split_name`, fed name/value pairs");
    connect(demo, "split_name", true);
    Pairs row{std::in_place};
    row->emplace_back("full_name", demo.texts.full_name);
    expect_realtime_ok(s, s.rta_run2(row), "[55] rta_run2");
    s.print_output_table();
}

void demo_workflow(DemoContext& demo) {
    HostSession& s = demo.session;
    s.transcript().heading("Workflow job `greeting`");
    const HandleAnswer params = s.acj_get_workflow_job_params("greeting", kReservedFlags);
    expect_batch_ok(s, params.status, "[65] acj_get_workflow_job_params");
    const TextList inputs = s.acj_get_names(64, params.handle);
    if (!inputs) throw SessionFailure("[64] acj_get_input_names", "no list of input names");
    if (!s.acj_get_names(63, params.handle)) throw SessionFailure("[63] acj_get_output_names", "no list of names");

    // The workflow reads the real-time connection's last input row, its fields matched by name.
    connect(demo, "greeting", true);
    for (int32_t i = 0; i < static_cast<int32_t>(inputs->size()); ++i) {
        expect_realtime_ok(s, s.rta_set_infield_info(i, (*inputs)[i], kTextField, kFieldLength),
                           "[45] rta_set_infield_info");
    }
    expect_realtime_ok(s, s.rta_add_row(), "[46] rta_add_row");
    for (int32_t i = 0; i < static_cast<int32_t>(inputs->size()); ++i) {
        const std::string& name = (*inputs)[i].value_or("");
        const char* value = name == "name"       ? demo.texts.greeting_name
                            : name == "language" ? demo.texts.greeting_language
                                                 : "";
        expect_realtime_ok(s, s.rta_set_data_value(i, value), "[47] rta_set_data_value");
    }
    const HandleAnswer service = s.rta_run_workflow_job("greeting", params.handle, kTimeoutSeconds);
    expect_realtime_ok(s, service.status, "[61] rta_run_workflow_job");
    const PairList outputs = s.acj_get_outputs(service.handle);
    if (!outputs || outputs->empty()) throw SessionFailure("[60] acj_get_outputs", "the workflow gave no outputs");
    TextTable table({"output", "value"});
    for (const auto& [name, value] : *outputs) table.add_row({name.value_or("(null)"), value.value_or("(null)")});
    s.transcript().table(table);
    s.acj_destroy_wf_job_params_rsp_handle(params.handle);
    s.acj_destroy_wf_svc_rsp_handle(service.handle);
}

}  // namespace vxhost
