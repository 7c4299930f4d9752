// Unicode operations on UTF-8 texts, done with ICU. Ill-formed input bytes count as U+FFFD.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace jwsim {

// Full upper-casing with the root locale: one character may become several ("ß" → "SS").
std::string upper_case(std::string_view utf8);
// The number of Unicode code points.
int32_t character_count(std::string_view utf8);

}  // namespace jwsim
