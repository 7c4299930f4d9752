#include "job.h"

#include <cstring>
#include <utility>

namespace jwsim {

Job::Job(int32_t id, std::string name, const NameValuePair* pairs, int32_t count)
    : id_(id), id_text_(std::to_string(id)), name_(std::move(name)) {
    log_line("job " + id_text_ + " submitted: " + name_);
    for (int32_t i = 0; pairs != nullptr && i < count; ++i) {
        const char* pair_name = pairs[i].name != nullptr ? pairs[i].name : "";
        const char* value = pairs[i].value != nullptr ? pairs[i].value : "";
        log_line(std::string("parameter ") + pair_name + " = " + value);
        if (std::strcmp(pair_name, "fail") == 0) fails_ = true;
    }
}

void Job::advance() {
    if (state_ == JOB_QUEUED) {
        enter(JOB_RUNNING);
    } else if (state_ == JOB_RUNNING) {
        enter(fails_ ? JOB_FAILED : JOB_COMPLETED);
    }
}

bool Job::terminate() {
    if (finished()) return false;
    enter(JOB_TERMINATED);
    return true;
}

bool Job::delete_log() {
    if (log_deleted_) return false;
    log_deleted_ = true;
    log_.clear();
    return true;
}

void Job::enter(JobState state) {
    state_ = state;
    log_line(std::string("state: ") + state_name(state));
}

void Job::log_line(const std::string& line) {
    if (log_deleted_) return;
    log_ += line;
    log_ += '\n';
}

const char* state_name(JobState state) {
    switch (state) {
        case JOB_QUEUED:
            return "QUEUED";
        case JOB_RUNNING:
            return "RUNNING";
        case JOB_COMPLETED:
            return "COMPLETED";
        case JOB_FAILED:
            return "FAILED";
        case JOB_TERMINATED:
            return "TERMINATED";
    }
    return "UNKNOWN";
}

const char* state_message(JobState state) {
    switch (state) {
        case JOB_QUEUED:
            return "queued";
        case JOB_RUNNING:
            return "running";
        case JOB_COMPLETED:
            return "completed";
        case JOB_FAILED:
            return "failed";
        case JOB_TERMINATED:
            return "terminated";
    }
    return "unknown";
}

}  // namespace jwsim
