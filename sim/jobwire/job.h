// One batch job: its deterministic state machine and its log.
#pragma once

#include <cstdint>
#include <string>

#include "platform/jobwire.h"

namespace jwsim {

class Job {
  public:
    // A QUEUED job; its log starts with the submission and one line per parameter. A parameter named
    // "fail" makes the job end FAILED instead of COMPLETED.
    Job(int32_t id, std::string name, const NameValuePair* pairs, int32_t count);

    int32_t id() const { return id_; }
    const std::string& id_text() const { return id_text_; }
    const std::string& name() const { return name_; }
    JobState state() const { return state_; }
    bool finished() const { return state_ != JOB_QUEUED && state_ != JOB_RUNNING; }

    // One step on: QUEUED → RUNNING → COMPLETED (or FAILED); a finished job stays as it is.
    void advance();
    // QUEUED or RUNNING → TERMINATED; false for a finished job, which is left alone.
    bool terminate();

    // The log, or null once it was deleted.
    const std::string* log() const { return log_deleted_ ? nullptr : &log_; }
    // False when the log was already deleted.
    bool delete_log();

  private:
    void enter(JobState state);
    void log_line(const std::string& line);

    int32_t id_;
    std::string id_text_;
    std::string name_;
    JobState state_ = JOB_QUEUED;
    bool fails_ = false;
    std::string log_;
    bool log_deleted_ = false;
};

// "QUEUED", "RUNNING", ...: as the log names states.
const char* state_name(JobState state);
// "queued", "running", ...: the message of a status item.
const char* state_message(JobState state);

}  // namespace jwsim
