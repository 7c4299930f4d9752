// Batch jobs and the service descriptions read over the batch connection.
#include <cstdio>
#include <string>

#include "argument_checks.h"
#include "server.h"

namespace jwsim {

Server::Found<Job> Server::find_job(Connection& connection, const char* job_id, const char* origin) {
    if (missing(job_id)) return {nullptr, connection.fail(kMissingArgument, "missing argument: job_id", origin)};
    Job* job = jobs_.find(job_id);
    if (job == nullptr) return {nullptr, connection.fail(kUnknownJob, std::string("unknown job: ") + job_id, origin)};
    return {job, kOk};
}

const char** Server::acj_joblist(AcjHandle handle, int32_t state_filter, int32_t* count, int32_t limit) {
    put(count, 0);
    auto [connection, status] = open_batch(handle, __func__, Needs::credentials);
    if (connection == nullptr) return nullptr;
    std::vector<std::string> ids;
    for (const Job* job : connection->jobs) {
        if (limit > 0 && static_cast<int32_t>(ids.size()) == limit) break;
        if (state_filter == -1 || job->state() == state_filter) ids.push_back(job->id_text());
    }
    put(count, static_cast<int32_t>(ids.size()));
    connection->succeed();
    return connection->returned.keep(__func__, std::move(ids));
}

int32_t Server::run_job(AcjHandle handle, const char* kind, const char* name, const char* name_argument,
                        const NameValuePair* pairs, int32_t count, int32_t* job_id, const char* origin) {
    auto [connection, status] = open_batch(handle, origin, Needs::credentials);
    if (connection == nullptr) return status;
    if (missing(name)) {
        return connection->fail(kMissingArgument, std::string("missing argument: ") + name_argument, origin);
    }
    Job& job = jobs_.submit(std::string(kind) + "/" + name, pairs, count);
    connection->jobs.push_back(&job);
    put(job_id, job.id());
    return connection->succeed();
}

int32_t Server::acj_run_prof_job(AcjHandle handle, const char* profile, const char*, const char*, int32_t, const char*,
                                 const char*, const NameValuePair* pairs, int32_t count, int32_t* job_id) {
    return run_job(handle, "profile", profile, "profile", pairs, count, job_id, __func__);
}

int32_t Server::acj_run_arch_job(AcjHandle handle, const char* job, const NameValuePair* pairs, int32_t count,
                                 int32_t* job_id) {
    return run_job(handle, "arch", job, "job", pairs, count, job_id, __func__);
}

int32_t Server::acj_get_job_status(AcjHandle handle, const char* job_id, int32_t* state) {
    auto [connection, status] = open_batch(handle, __func__, Needs::credentials);
    if (connection == nullptr) return status;
    auto [job, lookup] = find_job(*connection, job_id, __func__);
    if (job == nullptr) return lookup;
    job->advance();
    put(state, job->state());
    return connection->succeed();
}

int32_t Server::status_item(AcjHandle handle, int32_t index, const char** job_id, const char** name, int32_t* state,
                            const char** message, int64_t* sequence, const char* origin) {
    auto [connection, status] = open_batch(handle, origin, Needs::credentials);
    if (connection == nullptr) return status;
    if (index < 0 || index >= static_cast<int32_t>(connection->jobs.size())) {
        return connection->fail(kOutOfRange, "no status item " + std::to_string(index), origin);
    }
    const Job& job = *connection->jobs[static_cast<size_t>(index)];
    const char** texts = connection->returned.keep(origin, {job.id_text(), job.name(), state_message(job.state())});
    put(job_id, texts[0]);
    put(name, texts[1]);
    put(message, texts[2]);
    put(state, job.state());
    put(sequence, int64_t{index} + 1);
    return connection->succeed();
}

int32_t Server::acj_get_job_status_item(AcjHandle handle, int32_t index, const char** job_id, const char** name,
                                        int32_t* state, const char** message) {
    return status_item(handle, index, job_id, name, state, message, nullptr, __func__);
}

int32_t Server::acj_get_job_status_item2(AcjHandle handle, int32_t index, const char** job_id, const char** name,
                                         int32_t* state, const char** message, int64_t* sequence) {
    return status_item(handle, index, job_id, name, state, message, sequence, __func__);
}

int32_t Server::acj_get_job_log(AcjHandle handle, const char* job_id, const char* path) {
    auto [connection, status] = open_batch(handle, __func__, Needs::credentials);
    if (connection == nullptr) return status;
    if (missing(path)) return connection->fail(kMissingArgument, "missing argument: path", __func__);
    auto [job, lookup] = find_job(*connection, job_id, __func__);
    if (job == nullptr) return lookup;
    const std::string* log = job->log();
    if (log == nullptr)
        return connection->fail(kJobFinished, "log of job " + job->id_text() + " was deleted", __func__);

    std::FILE* file = std::fopen(path, "wb");
    bool written = file != nullptr && std::fwrite(log->data(), 1, log->size(), file) == log->size();
    if (file != nullptr && std::fclose(file) != 0) written = false;
    if (!written) return connection->fail(kCannotWrite, std::string("cannot write ") + path, __func__);
    return connection->succeed();
}

int32_t Server::acj_terminate_job(AcjHandle handle, const char* job_id) {
    auto [connection, status] = open_batch(handle, __func__, Needs::credentials);
    if (connection == nullptr) return status;
    auto [job, lookup] = find_job(*connection, job_id, __func__);
    if (job == nullptr) return lookup;
    if (!job->terminate()) {
        return connection->fail(kJobFinished, "job " + job->id_text() + " already finished", __func__);
    }
    return connection->succeed();
}

int32_t Server::acj_delete_job_log(AcjHandle handle, const char* job_id) {
    auto [connection, status] = open_batch(handle, __func__, Needs::credentials);
    if (connection == nullptr) return status;
    auto [job, lookup] = find_job(*connection, job_id, __func__);
    if (job == nullptr) return lookup;
    if (!job->delete_log()) {
        return connection->fail(kJobFinished, "log of job " + job->id_text() + " was deleted", __func__);
    }
    return connection->succeed();
}

// ---- service descriptions -----------------------------------------------------------------------------

int32_t Server::acj_rt_io_info(AcjHandle handle, const char* service, int32_t* input_fields, int32_t* output_fields,
                               int32_t* max_rows, int32_t* is_workflow) {
    auto [connection, status] = open_batch(handle, __func__, Needs::credentials);
    if (connection == nullptr) return status;
    if (missing(service)) return connection->fail(kMissingArgument, "missing argument: service", __func__);
    const Service* found = find_service(service);
    if (found == nullptr) {
        return connection->fail(kUnknownService, std::string("unknown service: ") + service, __func__);
    }
    connection->selected = found;
    put(input_fields, static_cast<int32_t>(found->inputs.size()));
    put(output_fields, static_cast<int32_t>(found->outputs.size()));
    put(max_rows, kMaxRows);
    put(is_workflow, found->is_workflow ? 1 : 0);
    return connection->succeed();
}

int32_t Server::describe_field(Connection& connection, const std::vector<FieldInfo>& fields, int32_t index,
                               const char** name, int32_t* type, int32_t* length, const char* origin) {
    if (index < 0 || index >= static_cast<int32_t>(fields.size())) {
        return connection.fail(kOutOfRange, "wrong field index: " + std::to_string(index), origin);
    }
    const FieldInfo& field = fields[static_cast<size_t>(index)];
    put(name, connection.returned.keep(origin, field.name));
    put(type, field.type);
    put(length, field.length);
    return connection.succeed();
}

int32_t Server::describe_selected(AcjHandle handle, bool inputs, int32_t index, const char** name, int32_t* type,
                                  int32_t* length, const char* origin) {
    auto [connection, status] = open_batch(handle, origin, Needs::credentials);
    if (connection == nullptr) return status;
    static const std::vector<FieldInfo> kNoFields;
    const Service* selected = connection->selected;
    const std::vector<FieldInfo>& fields =
        selected == nullptr ? kNoFields : (inputs ? selected->inputs : selected->outputs);
    return describe_field(*connection, fields, index, name, type, length, origin);
}

int32_t Server::acj_rt_input_fieldinfo(AcjHandle handle, int32_t index, const char** name, int32_t* type,
                                       int32_t* length) {
    return describe_selected(handle, true, index, name, type, length, __func__);
}

int32_t Server::acj_rt_output_fieldinfo(AcjHandle handle, int32_t index, const char** name, int32_t* type,
                                        int32_t* length) {
    return describe_selected(handle, false, index, name, type, length, __func__);
}

}  // namespace jwsim
