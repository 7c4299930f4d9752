// The readable record of a session that vxhost prints: each entry call with its arguments and what came
// back, section headings, detail lines and tables. Everything printed is UTF-8.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "session_encoding.h"
#include "text_table.h"

namespace vxhost {

// `"text"` with quotes and backslashes escaped and control bytes as \xNN, or `null`.
std::string quote(const Text& text);
// The name of a job state as the client library numbers them, e.g. "1 running".
std::string state_name(int32_t state);

class Transcript {
  public:
    explicit Transcript(std::FILE* out) : out_(out) {}

    // Put before every call line from now on, e.g. "12: " for script line 12.
    void set_label(std::string label) { label_ = std::move(label); }

    void heading(std::string_view title);
    void line(std::string_view text);
    // "[22] acj_initialize("http://jobs.example", 8080) -> 0"
    void call(int number, std::string_view name, const std::vector<std::string>& arguments, std::string_view result);
    // An indented line under the last call.
    void detail(std::string_view text);
    void table(const TextTable& table);

  private:
    std::FILE* out_;
    std::string label_;
};

}  // namespace vxhost
