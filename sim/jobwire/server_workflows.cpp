// Workflow jobs: parameters responses over the batch connection, runs over the real-time connection.
#include <string>
#include <utility>

#include "argument_checks.h"
#include "server.h"

namespace jwsim {
namespace {

const Service* find_workflow(const char* name) {
    const Service* service = find_service(name);
    return service != nullptr && service->is_workflow ? service : nullptr;
}

std::vector<std::string> field_names(const std::vector<FieldInfo>& fields) {
    std::vector<std::string> names;
    for (const FieldInfo& field : fields) names.push_back(field.name);
    return names;
}

}  // namespace

int32_t Server::acj_get_workflow_job_params(AcjHandle handle, const char* workflow, int32_t, AcjResponse* params) {
    auto [connection, status] = open_batch(handle, __func__, Needs::credentials);
    if (connection == nullptr) return status;
    if (missing(workflow)) return connection->fail(kMissingArgument, "missing argument: workflow", __func__);
    if (params == nullptr) return connection->fail(kMissingArgument, "missing argument: params", __func__);
    const Service* found = find_workflow(workflow);
    if (found == nullptr) {
        return connection->fail(kUnknownService, std::string("unknown workflow: ") + workflow, __func__);
    }
    auto [made, response] = params_.make();
    response->input_names = TextList(field_names(found->inputs));
    response->output_names = TextList(field_names(found->outputs));
    *params = made;
    return connection->succeed();
}

const char** Server::list_names(AcjResponse params, TextList ParamsResponse::*names, int32_t* count,
                                const char* origin) {
    put(count, 0);
    ParamsResponse* response = find_response(params_, params, origin);
    if (response == nullptr) return nullptr;
    TextList& list = response->*names;
    put(count, list.size());
    return list.pointers();
}

const char** Server::acj_get_input_names(AcjResponse params, int32_t* count) {
    return list_names(params, &ParamsResponse::input_names, count, __func__);
}

const char** Server::acj_get_output_names(AcjResponse params, int32_t* count) {
    return list_names(params, &ParamsResponse::output_names, count, __func__);
}

int32_t Server::rta_run_workflow_job(RtaHandle handle, const char* workflow, AcjResponse params, int32_t,
                                     AcjResponse* service) {
    auto [connection, status] = open_realtime(handle, __func__);
    if (connection == nullptr) return status;
    if (missing(workflow)) return connection->fail(kMissingArgument, "missing argument: workflow", __func__);
    if (service == nullptr) return connection->fail(kMissingArgument, "missing argument: service", __func__);
    if (params != nullptr && params_.find(params) == nullptr) {
        return connection->fail(kBadHandle, "unknown handle", __func__);
    }
    const Service* found = find_workflow(workflow);
    if (found == nullptr) {
        return connection->fail(kUnknownService, std::string("unknown workflow: ") + workflow, __func__);
    }

    // The last input row, or one of empty values when there is none; the rows stay for later runs.
    Table input = connection->input_table();
    if (input.rows.empty()) input.rows.emplace_back(input.fields.size());
    input.rows.erase(input.rows.begin(), input.rows.end() - 1);
    Table output = found->run(input);

    std::vector<std::pair<std::string, std::string>> outputs;
    for (size_t field = 0; field < output.fields.size(); ++field) {
        outputs.emplace_back(output.fields[field].name, output.rows.front()[field]);
    }
    auto [made, response] = services_.make();
    response->outputs = PairList(std::move(outputs));
    *service = made;
    return connection->succeed();
}

NameValuePair** Server::acj_get_outputs(AcjResponse service, int32_t* count) {
    put(count, 0);
    ServiceResponse* response = find_response(services_, service, __func__);
    if (response == nullptr) return nullptr;
    put(count, response->outputs.size());
    return response->outputs.pointers();
}

void Server::acj_destroy_wf_job_params_rsp_handle(AcjResponse params) {
    if (find_response(params_, params, __func__) != nullptr) params_.release(params);
}

void Server::acj_destroy_wf_svc_rsp_handle(AcjResponse service) {
    if (find_response(services_, service, __func__) != nullptr) services_.release(service);
}

}  // namespace jwsim
