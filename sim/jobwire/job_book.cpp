#include "job_book.h"

#include <utility>

namespace jwsim {

Job& JobBook::submit(std::string name, const NameValuePair* pairs, int32_t count) {
    Job job(next_id_++, std::move(name), pairs, count);
    std::string key = job.id_text();
    return jobs_.emplace(std::move(key), std::move(job)).first->second;
}

Job* JobBook::find(std::string_view id_text) {
    auto found = jobs_.find(id_text);
    return found != jobs_.end() ? &found->second : nullptr;
}

}  // namespace jwsim
