// Every job the server was given, by id. Ids count up from 1000 across all connections.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "job.h"

namespace jwsim {

class JobBook {
  public:
    // A new job with the next id; it stays at its address until the book is dropped.
    Job& submit(std::string name, const NameValuePair* pairs, int32_t count);
    // The job whose id is exactly `id_text` ("1000", not "01000" or " 1000"), or null.
    Job* find(std::string_view id_text);

  private:
    static constexpr int32_t kFirstId = 1000;
    int32_t next_id_ = kFirstId;
    std::map<std::string, Job, std::less<>> jobs_;
};

}  // namespace jwsim
