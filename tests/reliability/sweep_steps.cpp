#include "reliability/sweep_steps.h"

#include <stdexcept>

#include "support/bridge_fixture.h"

namespace vxrel {
namespace {

// Longer than the 63 bytes a blank text's slot buffer holds, in UTF-8 and in ISO-8859-1 alike.
constexpr Text kLong = "Passwort-ÄÖÜ-äöü-ß-0123456789-abcdefghijklmnopqrstuvwxyz-ABCDEFGHIJKLMNOPQRSTUVWXYZ";

AcjResponse const kResponse = reinterpret_cast<AcjResponse>(0x5100);

Outcome status(int64_t result) { return Outcome{result}; }

Outcome text_result(const char* text) {
    Outcome o;
    o.pointer = text;
    o.outs[0] = text;
    return o;
}

std::vector<Step> make_steps() {
    std::vector<Step> s;
    // ---- texts in
    s.push_back({"e22_acj_initialize",
                 22,
                 JW_acj_initialize,
                 Shape::inbound,
                 Answer::handle,
                 -1,
                 0,
                 false,
                 {"https://jobs.example:8443/ü"},
                 {{0, 0}},
                 {},
                 {},
                 {},
                 [](BridgeInstance* rec, Inputs& in) {
                     return status(ENTRY(rec, 22, bridge_acj_initialize)(rec, in.texts[0], 8443));
                 }});
    s.push_back({"e24_acj_set_credentials",
                 24,
                 JW_acj_set_credentials,
                 Shape::inbound,
                 Answer::status,
                 1,
                 0,
                 false,
                 {nullptr, kLong},
                 {{1, 0}, {2, 1}},
                 {},
                 {},
                 {},
                 [](BridgeInstance* rec, Inputs& in) {
                     return status(ENTRY(rec, 24, bridge_acj_set_credentials)(rec, in.texts[0], in.texts[1]));
                 }});
    s.push_back({"e30_acj_run_prof_job",
                 30,
                 JW_acj_run_prof_job,
                 Shape::inbound,
                 Answer::status,
                 1,
                 11,
                 false,
                 {"Profil-ü", "Projekt", "", "Kommentar é", nullptr},
                 {{1, 0}, {2, 1, true}, {3, 2, true}, {5, 3, true}, {6, 4}},
                 {{"größe", "zwölf"}, {nullptr, "wert"}},
                 {},
                 {},
                 [](BridgeInstance* rec, Inputs& in) {
                     int32_t job = 0;
                     return status(ENTRY(rec, 30, bridge_acj_run_prof_job)(
                         rec, in.texts[0], in.texts[1], in.texts[2], 4, in.texts[3], in.texts[4], in.pairs.data(),
                         static_cast<int32_t>(in.pairs.size()), &job));
                 }});
    s.push_back({"e31_acj_run_arch_job",
                 31,
                 JW_acj_run_arch_job,
                 Shape::inbound,
                 Answer::status,
                 1,
                 12,
                 false,
                 {kLong},
                 {{1, 0}},
                 {{"a", "ä"}},
                 {},
                 {},
                 [](BridgeInstance* rec, Inputs& in) {
                     return status(ENTRY(rec, 31, bridge_acj_run_arch_job)(
                         rec, in.texts[0], in.pairs.data(), static_cast<int32_t>(in.pairs.size()), nullptr));
                 }});
    s.push_back({"e32_acj_get_job_status",
                 32,
                 JW_acj_get_job_status,
                 Shape::inbound,
                 Answer::status,
                 1,
                 13,
                 false,
                 {"job-ß-17"},
                 {{1, 0}},
                 {},
                 {},
                 {},
                 [](BridgeInstance* rec, Inputs& in) {
                     int32_t state = 0;
                     return status(ENTRY(rec, 32, bridge_acj_get_job_status)(rec, in.texts[0], &state));
                 }});
    s.push_back({"e35_acj_get_job_log",
                 35,
                 JW_acj_get_job_log,
                 Shape::inbound,
                 Answer::status,
                 1,
                 14,
                 false,
                 {"job-1", "/var/log/jöb"},
                 {{1, 0}, {2, 1}},
                 {},
                 {},
                 {},
                 [](BridgeInstance* rec, Inputs& in) {
                     return status(ENTRY(rec, 35, bridge_acj_get_job_log)(rec, in.texts[0], in.texts[1]));
                 }});
    s.push_back({"e36_acj_terminate_job",
                 36,
                 JW_acj_terminate_job,
                 Shape::inbound,
                 Answer::status,
                 1,
                 15,
                 false,
                 {""},
                 {{1, 0}},
                 {},
                 {},
                 {},
                 [](BridgeInstance* rec, Inputs& in) {
                     return status(ENTRY(rec, 36, bridge_acj_terminate_job)(rec, in.texts[0]));
                 }});
    s.push_back({"e37_acj_delete_job_log",
                 37,
                 JW_acj_delete_job_log,
                 Shape::inbound,
                 Answer::status,
                 1,
                 16,
                 false,
                 {"job-2"},
                 {{1, 0}},
                 {},
                 {},
                 {},
                 [](BridgeInstance* rec, Inputs& in) {
                     return status(ENTRY(rec, 37, bridge_acj_delete_job_log)(rec, in.texts[0]));
                 }});
    s.push_back({"e38_acj_rt_io_info",
                 38,
                 JW_acj_rt_io_info,
                 Shape::inbound,
                 Answer::status,
                 1,
                 17,
                 false,
                 {"dienst-ü"},
                 {{1, 0}},
                 {},
                 {},
                 {},
                 [](BridgeInstance* rec, Inputs& in) {
                     int32_t a = 0, b = 0, c = 0, d = 0;
                     return status(ENTRY(rec, 38, bridge_acj_rt_io_info)(rec, in.texts[0], &a, &b, &c, &d));
                 }});
    s.push_back({"e41_rta_initialize",
                 41,
                 JW_rta_initialize,
                 Shape::inbound,
                 Answer::handle,
                 1,
                 0,
                 false,
                 {"rt.example", "Dienst-ä"},
                 {{0, 0}, {2, 1}},
                 {},
                 {},
                 {},
                 [](BridgeInstance* rec, Inputs& in) {
                     return status(ENTRY(rec, 41, bridge_rta_initialize)(rec, in.texts[0], 7, in.texts[1], 30));
                 }});
    s.push_back({"e43_rta_set_credentials",
                 43,
                 JW_rta_set_credentials,
                 Shape::inbound,
                 Answer::status,
                 1,
                 18,
                 false,
                 {"benutzer", ""},
                 {{1, 0}, {2, 1}},
                 {},
                 {},
                 {},
                 [](BridgeInstance* rec, Inputs& in) {
                     return status(ENTRY(rec, 43, bridge_rta_set_credentials)(rec, in.texts[0], in.texts[1]));
                 }});
    s.push_back({"e45_rta_set_infield_info",
                 45,
                 JW_rta_set_infield_info,
                 Shape::inbound,
                 Answer::status,
                 1,
                 19,
                 false,
                 {"Feld-ä"},
                 {{2, 0}},
                 {},
                 {},
                 {},
                 [](BridgeInstance* rec, Inputs& in) {
                     return status(ENTRY(rec, 45, bridge_rta_set_infield_info)(rec, 1, in.texts[0], 2, 3));
                 }});
    s.push_back({"e47_rta_set_data_value",
                 47,
                 JW_rta_set_data_value,
                 Shape::inbound,
                 Answer::status,
                 1,
                 20,
                 false,
                 {kLong},
                 {{2, 0}},
                 {},
                 {},
                 {},
                 [](BridgeInstance* rec, Inputs& in) {
                     return status(ENTRY(rec, 47, bridge_rta_set_data_value)(rec, 2, in.texts[0]));
                 }});
    s.push_back({"e55_rta_run2",
                 55,
                 JW_rta_run2,
                 Shape::inbound,
                 Answer::status,
                 1,
                 21,
                 false,
                 {},
                 {},
                 {{"name", "wert-ü"}, {"leer", ""}, {nullptr, nullptr}},
                 {},
                 {},
                 [](BridgeInstance* rec, Inputs& in) {
                     return status(
                         ENTRY(rec, 55, bridge_rta_run2)(rec, in.pairs.data(), static_cast<int32_t>(in.pairs.size())));
                 }});
    s.push_back({"e61_rta_run_workflow_job",
                 61,
                 JW_rta_run_workflow_job,
                 Shape::inbound,
                 Answer::status,
                 -1,
                 22,
                 false,
                 {"Ablauf-ö"},
                 {{1, 0}},
                 {},
                 {},
                 {},
                 [](BridgeInstance* rec, Inputs& in) {
                     AcjResponse service = nullptr;
                     return status(
                         ENTRY(rec, 61, bridge_rta_run_workflow_job)(rec, in.texts[0], kResponse, 5, &service));
                 }});
    s.push_back({"e65_acj_get_workflow_job_params",
                 65,
                 JW_acj_get_workflow_job_params,
                 Shape::inbound,
                 Answer::status,
                 -1,
                 23,
                 false,
                 {nullptr},
                 {{1, 0}},
                 {},
                 {},
                 {},
                 [](BridgeInstance* rec, Inputs& in) {
                     AcjResponse params = nullptr;
                     return status(ENTRY(rec, 65, bridge_acj_get_workflow_job_params)(rec, in.texts[0], 0, &params));
                 }});
    // ---- texts out
    s.push_back({"e33_acj_get_job_status_item",
                 33,
                 JW_acj_get_job_status_item,
                 Shape::outbound,
                 Answer::out_texts,
                 0,
                 0,
                 false,
                 {},
                 {},
                 {},
                 {"job-ü", nullptr, kLong},
                 {},
                 [](BridgeInstance* rec, Inputs&) {
                     Outcome o;
                     int32_t state = 0;
                     o.result = ENTRY(rec, 33, bridge_acj_get_job_status_item)(rec, 0, &o.outs[0], &o.outs[1], &state,
                                                                               &o.outs[2]);
                     return o;
                 }});
    s.push_back({"e34_acj_get_job_status_item2",
                 34,
                 JW_acj_get_job_status_item2,
                 Shape::outbound,
                 Answer::out_texts,
                 0,
                 0,
                 false,
                 {},
                 {},
                 {},
                 {"j", "name-ß", "m"},
                 {},
                 [](BridgeInstance* rec, Inputs&) {
                     Outcome o;
                     int32_t state = 0;
                     int64_t sequence = 0;
                     o.result = ENTRY(rec, 34, bridge_acj_get_job_status_item2)(rec, 0, &o.outs[0], &o.outs[1], &state,
                                                                                &o.outs[2], &sequence);
                     return o;
                 }});
    s.push_back({"e39_acj_rt_input_fieldinfo",
                 39,
                 JW_acj_rt_input_fieldinfo,
                 Shape::outbound,
                 Answer::out_texts,
                 0,
                 0,
                 false,
                 {},
                 {},
                 {},
                 {"feld-ä"},
                 {},
                 [](BridgeInstance* rec, Inputs&) {
                     Outcome o;
                     int32_t type = 0, length = 0;
                     o.result = ENTRY(rec, 39, bridge_acj_rt_input_fieldinfo)(rec, 0, &o.outs[0], &type, &length);
                     return o;
                 }});
    s.push_back({"e40_acj_rt_output_fieldinfo",
                 40,
                 JW_acj_rt_output_fieldinfo,
                 Shape::outbound,
                 Answer::out_texts,
                 0,
                 0,
                 false,
                 {},
                 {},
                 {},
                 {kLong},
                 {},
                 [](BridgeInstance* rec, Inputs&) {
                     Outcome o;
                     int32_t type = 0, length = 0;
                     o.result = ENTRY(rec, 40, bridge_acj_rt_output_fieldinfo)(rec, 0, &o.outs[0], &type, &length);
                     return o;
                 }});
    s.push_back({"e49_rta_get_error",
                 49,
                 JW_rta_get_error,
                 Shape::outbound,
                 Answer::text_and_out_texts,
                 0,
                 0,
                 true,
                 {},
                 {},
                 {},
                 {"Fehler-ü", "E42", nullptr},
                 {},
                 [](BridgeInstance* rec, Inputs&) {
                     Outcome o;
                     o.outs[0] = ENTRY(rec, 49, bridge_rta_get_error)(rec, &o.outs[1], &o.outs[2]);
                     o.pointer = o.outs[0];
                     return o;
                 }});
    s.push_back({"e52_rta_output_fieldinfo",
                 52,
                 JW_rta_output_fieldinfo,
                 Shape::outbound,
                 Answer::out_texts,
                 0,
                 0,
                 false,
                 {},
                 {},
                 {},
                 {nullptr},
                 {},
                 [](BridgeInstance* rec, Inputs&) {
                     Outcome o;
                     int32_t type = 0, length = 0;
                     o.result = ENTRY(rec, 52, bridge_rta_output_fieldinfo)(rec, 0, &o.outs[0], &type, &length);
                     return o;
                 }});
    s.push_back(
        {"e53_rta_output_data",
         53,
         JW_rta_output_data,
         Shape::outbound,
         Answer::text,
         0,
         0,
         true,
         {},
         {},
         {},
         {"wert-é"},
         {},
         [](BridgeInstance* rec, Inputs&) { return text_result(ENTRY(rec, 53, bridge_rta_output_data)(rec, 0, 1)); }});
    s.push_back({"e72_acj_get_product_full_version",
                 72,
                 JW_acj_get_product_full_version,
                 Shape::outbound,
                 Answer::text,
                 0,
                 0,
                 true,
                 {},
                 {},
                 {},
                 {"5.1.1 ä"},
                 {},
                 [](BridgeInstance* rec, Inputs&) {
                     return text_result(ENTRY(rec, 72, bridge_acj_get_product_full_version)(rec, kResponse));
                 }});
    // ---- lists
    s.push_back({"e29_acj_joblist",
                 29,
                 JW_acj_joblist,
                 Shape::string_list,
                 Answer::list,
                 0,
                 0,
                 false,
                 {},
                 {},
                 {},
                 {"job-ä", nullptr, "job-3"},
                 {},
                 [](BridgeInstance* rec, Inputs& in) {
                     Outcome o;
                     o.pointer = ENTRY(rec, 29, bridge_acj_joblist)(rec, -1, &in.count, 0);
                     return o;
                 }});
    s.push_back({"e63_acj_get_output_names",
                 63,
                 JW_acj_get_output_names,
                 Shape::string_list,
                 Answer::list,
                 0,
                 0,
                 false,
                 {},
                 {},
                 {},
                 {"aus-1", "aus-ü"},
                 {},
                 [](BridgeInstance* rec, Inputs& in) {
                     Outcome o;
                     o.pointer = ENTRY(rec, 63, bridge_acj_get_output_names)(rec, kResponse, &in.count);
                     return o;
                 }});
    s.push_back({"e64_acj_get_input_names",
                 64,
                 JW_acj_get_input_names,
                 Shape::string_list,
                 Answer::list,
                 0,
                 0,
                 false,
                 {},
                 {},
                 {},
                 {"ein-ß"},
                 {},
                 [](BridgeInstance* rec, Inputs& in) {
                     Outcome o;
                     o.pointer = ENTRY(rec, 64, bridge_acj_get_input_names)(rec, kResponse, &in.count);
                     return o;
                 }});
    s.push_back({"e60_acj_get_outputs",
                 60,
                 JW_acj_get_outputs,
                 Shape::pair_list,
                 Answer::pairs,
                 0,
                 0,
                 false,
                 {},
                 {},
                 {},
                 {},
                 {{"Ergebnis", "grün"}, {nullptr, "v"}, {"n", nullptr}},
                 [](BridgeInstance* rec, Inputs& in) {
                     Outcome o;
                     o.pointer = ENTRY(rec, 60, bridge_acj_get_outputs)(rec, kResponse, &in.count);
                     return o;
                 }});
    s.push_back({"e62_acj_destroy_wf_job_params_rsp_handle",
                 62,
                 JW_acj_destroy_wf_job_params_rsp_handle,
                 Shape::release,
                 Answer::none,
                 0,
                 0,
                 false,
                 {},
                 {},
                 {},
                 {},
                 {},
                 [](BridgeInstance* rec, Inputs&) {
                     ENTRY(rec, 62, bridge_acj_destroy_wf_job_params_rsp_handle)(rec, kResponse);
                     return Outcome{};
                 }});
    return s;
}

}  // namespace

const std::vector<Step>& steps() {
    static const std::vector<Step> table = make_steps();
    return table;
}

const Step& step(int entry) {
    for (const Step& s : steps()) {
        if (s.entry == entry) return s;
    }
    throw std::out_of_range("no sweep step for entry " + std::to_string(entry));
}

const std::vector<Scenario>& scenarios() {
    static const std::vector<Scenario> table = [] {
        std::vector<Scenario> out;
        for (const Step& s : steps()) {
            if (s.shape != Shape::release) out.push_back({s.label, {&s}});
        }
        auto sequence = [&](const char* label, std::initializer_list<int> entries) {
            Scenario sc{label, {}};
            for (int e : entries) sc.steps.push_back(&step(e));
            out.push_back(std::move(sc));
        };
        sequence("seq_connect_credentials_job_status_item", {22, 24, 30, 33});
        sequence("seq_joblist_names_outputs_release", {29, 63, 60, 62});
        sequence("seq_realtime_run_and_errors", {41, 43, 45, 55, 49, 53});
        sequence("seq_workflow_params_names_run_outputs", {65, 64, 61, 60, 72, 60});
        return out;
    }();
    return table;
}

}  // namespace vxrel
