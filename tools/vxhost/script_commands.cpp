#include "script_commands.h"

#include <charconv>

#include "entry_types.h"

namespace vxhost {
namespace {

using Args = const std::vector<Resolved>&;
using P = ParamKind;

Outcome status_only(int32_t status) { return {status, {}}; }
Outcome value_only(Value kept) { return {std::nullopt, std::move(kept)}; }

// The job id a started job is known by, kept as a number; scripts pass it where a text id is wanted.
Outcome job_started(const JobStarted& started) { return {started.status, Value::of(int64_t{started.job_id})}; }

Outcome handle_answer(const HandleAnswer& answer) { return {answer.status, Value::of_handle(answer.handle)}; }

template <int Number>
constexpr const char* name_of() {
    return Entry<Number>::name;
}

const std::vector<Command> kCommands = {
    // Module and instance.
    {3, name_of<3>(), {}, nullptr, [](HostSession& s, Args) { return status_only(s.get_version(3)); }},
    {4, name_of<4>(), {}, nullptr, [](HostSession& s, Args) { return status_only(s.get_version(4)); }},
    {6, name_of<6>(), {}, nullptr, [](HostSession& s, Args) { return status_only(s.destroy()); }},
    {56,
     name_of<56>(),
     {},
     "the constant",
     [](HostSession& s, Args) { return value_only(Value::of(int64_t{s.const_minus_one()})); }},
    {59,
     name_of<59>(),
     {},
     "the constant",
     [](HostSession& s, Args) { return value_only(Value::of(int64_t{s.const_one()})); }},

    // Batch connection and server information.
    {22,
     name_of<22>(),
     {{P::text, "server"}, {P::integer, "port"}},
     nullptr,
     [](HostSession& s, Args a) { return status_only(s.acj_initialize(a[0].text, a[1].integer)); }},
    {23,
     name_of<23>(),
     {{P::integer, "seconds"}},
     nullptr,
     [](HostSession& s, Args a) { return status_only(s.acj_set_timeout(a[0].integer)); }},
    {24,
     name_of<24>(),
     {{P::text, "user"}, {P::text, "password"}},
     nullptr,
     [](HostSession& s, Args a) { return status_only(s.acj_set_credentials(a[0].text, a[1].text)); }},
    {25,
     name_of<25>(),
     {{P::text, "environment"}},
     nullptr,
     [](HostSession& s, Args a) { return status_only(s.acj_set_orbenv(a[0].text)); }},
    {26, name_of<26>(), {}, nullptr, [](HostSession& s, Args) { return status_only(s.acj_terminate()); }},
    {27,
     name_of<27>(),
     {},
     "the error text",
     [](HostSession& s, Args) { return value_only(Value::of(s.acj_get_error())); }},
    {28,
     name_of<28>(),
     {{P::integer, "capacity"}},
     "the version text",
     [](HostSession& s, Args a) {
         const ServerVersion v = s.acj_get_server_version(a[0].integer);
         return Outcome{v.status, Value::of(Text(v.text))};
     }},
    {57,
     name_of<57>(),
     {},
     "the host text",
     [](HostSession& s, Args) { return value_only(Value::of(s.get_server_host())); }},
    {58,
     name_of<58>(),
     {},
     "the port",
     [](HostSession& s, Args) { return value_only(Value::of(int64_t{s.get_server_port()})); }},
    {67,
     name_of<67>(),
     {},
     "the version response handle",
     [](HostSession& s, Args) { return handle_answer(s.acj_get_server_version2()); }},
    {68,
     name_of<68>(),
     {{P::handle, "version"}},
     nullptr,
     [](HostSession& s, Args a) {
         s.acj_destroy_get_server_version_rsp_handle(a[0].handle);
         return Outcome{};
     }},
    {69,
     name_of<69>(),
     {{P::handle, "version"}},
     "the number",
     [](HostSession& s, Args a) { return value_only(Value::of(int64_t{s.acj_get_product_version(69, a[0].handle)})); }},
    {70,
     name_of<70>(),
     {{P::handle, "version"}},
     "the number",
     [](HostSession& s, Args a) { return value_only(Value::of(int64_t{s.acj_get_product_version(70, a[0].handle)})); }},
    {71,
     name_of<71>(),
     {{P::handle, "version"}},
     "the number",
     [](HostSession& s, Args a) { return value_only(Value::of(int64_t{s.acj_get_product_version(71, a[0].handle)})); }},
    {72,
     name_of<72>(),
     {{P::handle, "version"}},
     "the version text",
     [](HostSession& s, Args a) { return value_only(Value::of(s.acj_get_product_full_version(a[0].handle))); }},

    // Batch jobs.
    {29,
     name_of<29>(),
     {{P::integer, "state_filter"}, {P::integer, "limit"}},
     nullptr,
     [](HostSession& s, Args a) {
         s.acj_joblist(a[0].integer, a[1].integer);
         return Outcome{};
     }},
    {30,
     name_of<30>(),
     {{P::text, "profile"},
      {P::text, "project"},
      {P::text, "folder"},
      {P::integer, "priority"},
      {P::text, "comment"},
      {P::text, "owner"},
      {P::pairs, "pairs"}},
     "the job id",
     [](HostSession& s, Args a) {
         return job_started(
             s.acj_run_prof_job(a[0].text, a[1].text, a[2].text, a[3].integer, a[4].text, a[5].text, a[6].pairs));
     }},
    {31,
     name_of<31>(),
     {{P::text, "job"}, {P::pairs, "pairs"}},
     "the job id",
     [](HostSession& s, Args a) { return job_started(s.acj_run_arch_job(a[0].text, a[1].pairs)); }},
    {32,
     name_of<32>(),
     {{P::text, "job_id"}},
     "the state",
     [](HostSession& s, Args a) {
         const auto [status, state] = s.acj_get_job_status(a[0].text);
         return Outcome{status, Value::of(int64_t{state})};
     }},
    {33,
     name_of<33>(),
     {{P::integer, "index"}},
     "the job id",
     [](HostSession& s, Args a) {
         const StatusItem item = s.acj_get_job_status_item(33, a[0].integer);
         return Outcome{item.status, Value::of(item.job_id)};
     }},
    {34,
     name_of<34>(),
     {{P::integer, "index"}},
     "the job id",
     [](HostSession& s, Args a) {
         const StatusItem item = s.acj_get_job_status_item(34, a[0].integer);
         return Outcome{item.status, Value::of(item.job_id)};
     }},
    {35,
     name_of<35>(),
     {{P::text, "job_id"}, {P::text, "path"}},
     nullptr,
     [](HostSession& s, Args a) { return status_only(s.acj_get_job_log(a[0].text, a[1].text)); }},
    {36,
     name_of<36>(),
     {{P::text, "job_id"}},
     nullptr,
     [](HostSession& s, Args a) { return status_only(s.acj_terminate_job(a[0].text)); }},
    {37,
     name_of<37>(),
     {{P::text, "job_id"}},
     nullptr,
     [](HostSession& s, Args a) { return status_only(s.acj_delete_job_log(a[0].text)); }},
    {38,
     name_of<38>(),
     {{P::text, "service"}},
     "the number of input fields",
     [](HostSession& s, Args a) {
         const IoInfo info = s.acj_rt_io_info(a[0].text);
         return Outcome{info.status, Value::of(int64_t{info.inputs})};
     }},
    {39,
     name_of<39>(),
     {{P::integer, "index"}},
     "the field name",
     [](HostSession& s, Args a) {
         const FieldInfo field = s.acj_rt_fieldinfo(39, a[0].integer);
         return Outcome{field.status, Value::of(field.name)};
     }},
    {40,
     name_of<40>(),
     {{P::integer, "index"}},
     "the field name",
     [](HostSession& s, Args a) {
         const FieldInfo field = s.acj_rt_fieldinfo(40, a[0].integer);
         return Outcome{field.status, Value::of(field.name)};
     }},

    // Real-time services.
    {41,
     name_of<41>(),
     {{P::text, "server"}, {P::integer, "port"}, {P::text, "service"}, {P::integer, "timeout"}},
     nullptr,
     [](HostSession& s, Args a) {
         return status_only(s.rta_initialize(a[0].text, a[1].integer, a[2].text, a[3].integer));
     }},
    {42,
     name_of<42>(),
     {{P::integer, "seconds"}},
     nullptr,
     [](HostSession& s, Args a) { return status_only(s.rta_set_timeout(a[0].integer)); }},
    {43,
     name_of<43>(),
     {{P::text, "user"}, {P::text, "password"}},
     nullptr,
     [](HostSession& s, Args a) { return status_only(s.rta_set_credentials(a[0].text, a[1].text)); }},
    {44,
     name_of<44>(),
     {{P::text, "environment"}},
     nullptr,
     [](HostSession& s, Args a) { return status_only(s.rta_set_orbenv(a[0].text)); }},
    {45,
     name_of<45>(),
     {{P::integer, "index"}, {P::text, "name"}, {P::integer, "type"}, {P::integer, "length"}},
     nullptr,
     [](HostSession& s, Args a) {
         return status_only(s.rta_set_infield_info(a[0].integer, a[1].text, a[2].integer, a[3].integer));
     }},
    {46, name_of<46>(), {}, nullptr, [](HostSession& s, Args) { return status_only(s.rta_add_row()); }},
    {47,
     name_of<47>(),
     {{P::integer, "index"}, {P::text, "value"}},
     nullptr,
     [](HostSession& s, Args a) { return status_only(s.rta_set_data_value(a[0].integer, a[1].text)); }},
    {48, name_of<48>(), {}, nullptr, [](HostSession& s, Args) { return status_only(s.rta_run()); }},
    {49,
     name_of<49>(),
     {},
     "the error message",
     [](HostSession& s, Args) { return value_only(Value::of(s.rta_get_error().message)); }},
    {50,
     name_of<50>(),
     {},
     "the number of rows",
     [](HostSession& s, Args) { return value_only(Value::of(int64_t{s.rta_output_numrows()})); }},
    {51,
     name_of<51>(),
     {},
     "the number of fields",
     [](HostSession& s, Args) { return value_only(Value::of(int64_t{s.rta_output_numfields()})); }},
    {52,
     name_of<52>(),
     {{P::integer, "index"}},
     "the field name",
     [](HostSession& s, Args a) {
         const FieldInfo field = s.rta_output_fieldinfo(a[0].integer);
         return Outcome{field.status, Value::of(field.name)};
     }},
    {53,
     name_of<53>(),
     {{P::integer, "row"}, {P::integer, "field"}},
     "the value",
     [](HostSession& s, Args a) { return value_only(Value::of(s.rta_output_data(a[0].integer, a[1].integer))); }},
    {54, name_of<54>(), {}, nullptr, [](HostSession& s, Args) { return status_only(s.rta_terminate()); }},
    {55,
     name_of<55>(),
     {{P::pairs, "pairs"}},
     nullptr,
     [](HostSession& s, Args a) { return status_only(s.rta_run2(a[0].pairs)); }},

    // Workflow jobs.
    {60,
     name_of<60>(),
     {{P::handle, "service"}},
     nullptr,
     [](HostSession& s, Args a) {
         s.acj_get_outputs(a[0].handle);
         return Outcome{};
     }},
    {61,
     name_of<61>(),
     {{P::text, "workflow"}, {P::handle, "params"}, {P::integer, "timeout"}},
     "the service response handle",
     [](HostSession& s, Args a) {
         return handle_answer(s.rta_run_workflow_job(a[0].text, a[1].handle, a[2].integer));
     }},
    {62,
     name_of<62>(),
     {{P::handle, "params"}},
     nullptr,
     [](HostSession& s, Args a) {
         s.acj_destroy_wf_job_params_rsp_handle(a[0].handle);
         return Outcome{};
     }},
    {63,
     name_of<63>(),
     {{P::handle, "params"}},
     nullptr,
     [](HostSession& s, Args a) {
         s.acj_get_names(63, a[0].handle);
         return Outcome{};
     }},
    {64,
     name_of<64>(),
     {{P::handle, "params"}},
     nullptr,
     [](HostSession& s, Args a) {
         s.acj_get_names(64, a[0].handle);
         return Outcome{};
     }},
    {65,
     name_of<65>(),
     {{P::text, "workflow"}, {P::integer, "flags"}},
     "the parameters response handle",
     [](HostSession& s, Args a) { return handle_answer(s.acj_get_workflow_job_params(a[0].text, a[1].integer)); }},
    {66,
     name_of<66>(),
     {{P::handle, "service"}},
     nullptr,
     [](HostSession& s, Args a) {
         s.acj_destroy_wf_svc_rsp_handle(a[0].handle);
         return Outcome{};
     }},
};

}  // namespace

const std::vector<Command>& commands() { return kCommands; }

const Command* find_command(std::string_view name_or_number) {
    int number = -1;
    const char* end = name_or_number.data() + name_or_number.size();
    const bool numeric = std::from_chars(name_or_number.data(), end, number).ptr == end;
    for (const Command& command : kCommands) {
        if (numeric ? command.number == number : name_or_number == command.name) return &command;
    }
    return nullptr;
}

std::string usage(const Command& command) {
    std::string text = command.name;
    for (const Param& param : command.params) {
        text += ' ';
        for (const char* c = param.name; *c != '\0'; ++c) {
            text += static_cast<char>(*c >= 'a' && *c <= 'z' ? *c - 'a' + 'A' : *c);
        }
    }
    return text;
}

}  // namespace vxhost
