// Real-time services: their field descriptions and what they compute.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace jwsim {

inline constexpr int32_t kTextField = 1;
// The rows one call of any built-in service accepts, as described to callers.
inline constexpr int32_t kMaxRows = 100;
// The length of a text field the caller did not declare.
inline constexpr int32_t kDefaultTextLength = 255;

struct FieldInfo {
    std::string name;
    int32_t type = kTextField;
    int32_t length = kDefaultTextLength;  // the most characters a value holds
};

// Rows of text values, one per field in field order.
struct Table {
    std::vector<FieldInfo> fields;
    std::vector<std::vector<std::string>> rows;
};

struct Service {
    std::string_view name;
    std::vector<FieldInfo> inputs;  // as acj_rt_io_info describes them
    std::vector<FieldInfo> outputs;
    bool is_workflow = false;
    // The output table for `input`: one output row per input row. Services look their inputs up by
    // field name (a missing field is an empty text), except `upper`, which takes every field there is.
    Table (*run)(const Table& input) = nullptr;
};

// The built-in service called `name`, or null.
const Service* find_service(std::string_view name);

}  // namespace jwsim
