// Workflow jobs: entries 60-66.
#include "entry_types.h"
#include "host_session.h"
#include "session_args.h"

namespace vxhost {

PairList HostSession::acj_get_outputs(Handle service) {
    int32_t count = 0;
    NameValuePair** outputs = entry<60>(rec_)(rec_, service, &count);
    PairList list;
    std::string result = "null";
    if (outputs != nullptr) {
        list.emplace();
        result = std::to_string(count) + (count == 1 ? " output" : " outputs");
        for (int32_t i = 0; i < count; ++i) {
            const NameValuePair* pair = outputs[i];
            list->emplace_back(encoding_.read(pair == nullptr ? nullptr : pair->name),
                               encoding_.read(pair == nullptr ? nullptr : pair->value));
            result += (i == 0 ? ": " : ", ") + quote(list->back().first) + "=" + quote(list->back().second);
        }
    }
    out_.call(60, Entry<60>::name, {handle_name(service), "&count"}, result);
    return list;
}

HandleAnswer HostSession::rta_run_workflow_job(const Text& workflow, Handle params, int32_t timeout_seconds) {
    SessionText session_workflow(encoding_, workflow);
    HandleAnswer answer;
    answer.status = entry<61>(rec_)(rec_, session_workflow.c_str(), params, timeout_seconds, &answer.handle);
    if (answer.status == 0) name_handle(answer.handle, "service");
    out_.call(61, Entry<61>::name, {shown(workflow), handle_name(params), std::to_string(timeout_seconds), "&service"},
              std::to_string(answer.status) + (answer.status == 0 ? "  " + handle_name(answer.handle) : ""));
    return answer;
}

void HostSession::acj_destroy_wf_job_params_rsp_handle(Handle params) {
    entry<62>(rec_)(rec_, params);
    out_.call(62, Entry<62>::name, {handle_name(params)}, "done");
}

TextList HostSession::acj_get_names(int number, Handle params) {
    int32_t count = 0;
    char** names = number == 63 ? entry<63>(rec_)(rec_, params, &count) : entry<64>(rec_)(rec_, params, &count);
    TextList list;
    std::string result = "null";
    if (names != nullptr) {
        list.emplace();
        result = std::to_string(count) + (count == 1 ? " name" : " names");
        for (int32_t i = 0; i < count; ++i) {
            list->push_back(encoding_.read(names[i]));
            result += (i == 0 ? ": " : ", ") + quote(list->back());
        }
    }
    out_.call(number, number == 63 ? Entry<63>::name : Entry<64>::name, {handle_name(params), "&count"}, result);
    return list;
}

HandleAnswer HostSession::acj_get_workflow_job_params(const Text& workflow, int32_t flags) {
    SessionText session_workflow(encoding_, workflow);
    HandleAnswer answer;
    answer.status = entry<65>(rec_)(rec_, session_workflow.c_str(), flags, &answer.handle);
    if (answer.status == 0) name_handle(answer.handle, "params");
    out_.call(65, Entry<65>::name, {shown(workflow), std::to_string(flags), "&params"},
              std::to_string(answer.status) + (answer.status == 0 ? "  " + handle_name(answer.handle) : ""));
    return answer;
}

void HostSession::acj_destroy_wf_svc_rsp_handle(Handle service) {
    entry<66>(rec_)(rec_, service);
    out_.call(66, Entry<66>::name, {handle_name(service)}, "done");
}

}  // namespace vxhost
