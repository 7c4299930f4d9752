// Batch jobs: entries 29-40.
#include <fstream>

#include "entry_types.h"
#include "host_session.h"
#include "session_args.h"

namespace vxhost {
namespace {

std::string listed(const TextList& list) {
    if (!list) return "null";
    std::string out = std::to_string(list->size()) + (list->size() == 1 ? " item" : " items");
    for (size_t i = 0; i < list->size(); ++i) out += (i == 0 ? ": " : ", ") + quote((*list)[i]);
    return out;
}

}  // namespace

TextList HostSession::acj_joblist(int32_t state_filter, int32_t limit) {
    int32_t count = 0;
    char** ids = entry<29>(rec_)(rec_, state_filter, &count, limit);
    TextList list;
    if (ids != nullptr) {
        list.emplace();
        for (int32_t i = 0; i < count; ++i) list->push_back(encoding_.read(ids[i]));
    }
    out_.call(29, Entry<29>::name, {std::to_string(state_filter), "&count", std::to_string(limit)}, listed(list));
    return list;
}

JobStarted HostSession::acj_run_prof_job(const Text& profile, const Text& project, const Text& folder, int32_t priority,
                                         const Text& comment, const Text& owner, const Pairs& pairs) {
    SessionText session_profile(encoding_, profile);
    SessionText session_project(encoding_, project);
    SessionText session_folder(encoding_, folder);
    SessionText session_comment(encoding_, comment);
    SessionText session_owner(encoding_, owner);
    SessionPairs session_pairs(encoding_, pairs);
    JobStarted started;
    started.status = entry<30>(rec_)(rec_, session_profile.c_str(), session_project.c_str(), session_folder.c_str(),
                                     priority, session_comment.c_str(), session_owner.c_str(), session_pairs.data(),
                                     session_pairs.count(), &started.job_id);
    out_.call(30, Entry<30>::name,
              {shown(profile), shown(project), shown(folder), std::to_string(priority), shown(comment), shown(owner),
               shown(pairs), std::to_string(session_pairs.count()), "&job_id"},
              std::to_string(started.status) +
                  (started.status == 0 ? "  job id " + std::to_string(started.job_id) : std::string()));
    return started;
}

JobStarted HostSession::acj_run_arch_job(const Text& job, const Pairs& pairs) {
    SessionText session_job(encoding_, job);
    SessionPairs session_pairs(encoding_, pairs);
    JobStarted started;
    started.status =
        entry<31>(rec_)(rec_, session_job.c_str(), session_pairs.data(), session_pairs.count(), &started.job_id);
    out_.call(31, Entry<31>::name, {shown(job), shown(pairs), std::to_string(session_pairs.count()), "&job_id"},
              std::to_string(started.status) +
                  (started.status == 0 ? "  job id " + std::to_string(started.job_id) : std::string()));
    return started;
}

std::pair<int32_t, int32_t> HostSession::acj_get_job_status(const Text& job_id) {
    SessionText session_id(encoding_, job_id);
    int32_t state = -1;
    const int32_t status = entry<32>(rec_)(rec_, session_id.c_str(), &state);
    out_.call(32, Entry<32>::name, {shown(job_id), "&state"},
              std::to_string(status) + (status == 0 ? "  state " + state_name(state) : std::string()));
    return {status, state};
}

StatusItem HostSession::acj_get_job_status_item(int number, int32_t index) {
    StatusItem item;
    const char* job_id = nullptr;
    const char* name = nullptr;
    const char* message = nullptr;
    std::vector<std::string> arguments = {std::to_string(index), "&job_id", "&name", "&state", "&message"};
    if (number == 34) {
        item.status = entry<34>(rec_)(rec_, index, &job_id, &name, &item.state, &message, &item.sequence);
        arguments.emplace_back("&sequence");
    } else {
        item.status = entry<33>(rec_)(rec_, index, &job_id, &name, &item.state, &message);
    }
    std::string result = std::to_string(item.status);
    // Only a successful call hands back converted texts; otherwise they are the client's, if anything.
    if (item.status == 0) {
        item.job_id = encoding_.read(job_id);
        item.name = encoding_.read(name);
        item.message = encoding_.read(message);
        result += "  job " + quote(item.job_id) + ", name " + quote(item.name) + ", state " + state_name(item.state) +
                  ", message " + quote(item.message);
        if (number == 34) result += ", sequence " + std::to_string(item.sequence);
    }
    out_.call(number, number == 34 ? Entry<34>::name : Entry<33>::name, arguments, result);
    return item;
}

int32_t HostSession::acj_get_job_log(const Text& job_id, const Text& path) {
    SessionText session_id(encoding_, job_id);
    SessionText session_path(encoding_, path);
    const int32_t status = entry<35>(rec_)(rec_, session_id.c_str(), session_path.c_str());
    out_.call(35, Entry<35>::name, {shown(job_id), shown(path)}, std::to_string(status));
    if (status != 0 || !path) return status;
    // The client wrote the file under the UTF-8 form of the path; its lines are the server's UTF-8.
    std::ifstream log(*path);
    if (!log) {
        out_.detail("(the log file cannot be read)");
        return status;
    }
    for (std::string line; std::getline(log, line);) out_.detail("| " + line);
    return status;
}

int32_t HostSession::acj_terminate_job(const Text& job_id) {
    SessionText session_id(encoding_, job_id);
    const int32_t status = entry<36>(rec_)(rec_, session_id.c_str());
    out_.call(36, Entry<36>::name, {shown(job_id)}, std::to_string(status));
    return status;
}

int32_t HostSession::acj_delete_job_log(const Text& job_id) {
    SessionText session_id(encoding_, job_id);
    const int32_t status = entry<37>(rec_)(rec_, session_id.c_str());
    out_.call(37, Entry<37>::name, {shown(job_id)}, std::to_string(status));
    return status;
}

IoInfo HostSession::acj_rt_io_info(const Text& service) {
    SessionText session_service(encoding_, service);
    IoInfo info;
    info.status =
        entry<38>(rec_)(rec_, session_service.c_str(), &info.inputs, &info.outputs, &info.max_rows, &info.is_workflow);
    std::string result = std::to_string(info.status);
    if (info.status == 0) {
        result += "  " + std::to_string(info.inputs) + " input fields, " + std::to_string(info.outputs) +
                  " output fields, at most " + std::to_string(info.max_rows) + " rows, " +
                  (info.is_workflow != 0 ? "a workflow service" : "not a workflow service");
    }
    out_.call(38, Entry<38>::name, {shown(service), "&inputs", "&outputs", "&max_rows", "&is_workflow"}, result);
    return info;
}

FieldInfo HostSession::acj_rt_fieldinfo(int number, int32_t index) {
    FieldInfo field;
    const char* name = nullptr;
    field.status = number == 40 ? entry<40>(rec_)(rec_, index, &name, &field.type, &field.length)
                                : entry<39>(rec_)(rec_, index, &name, &field.type, &field.length);
    std::string result = std::to_string(field.status);
    if (field.status == 0) {
        field.name = encoding_.read(name);
        result += "  " + quote(field.name) + ", type " + std::to_string(field.type) + ", length " +
                  std::to_string(field.length);
    }
    out_.call(number, number == 40 ? Entry<40>::name : Entry<39>::name,
              {std::to_string(index), "&name", "&type", "&length"}, result);
    return field;
}

}  // namespace vxhost
