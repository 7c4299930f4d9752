// Statuses the library's own failures answer with (0 is success).
#pragma once

#include <cstdint>

namespace jwsim {

inline constexpr int32_t kOk = 0;
inline constexpr int32_t kBadHandle = 2;        // null, unknown, or a handle of another kind
inline constexpr int32_t kEnded = 3;            // the connection was terminated
inline constexpr int32_t kMissingArgument = 4;  // null out-address, null or empty required text
inline constexpr int32_t kUnknownOption = 5;
inline constexpr int32_t kAddressRefused = 6;
inline constexpr int32_t kNoCredentials = 7;
inline constexpr int32_t kUnknownJob = 8;
inline constexpr int32_t kJobFinished = 9;  // also: the job's log was deleted
inline constexpr int32_t kCannotWrite = 10;
inline constexpr int32_t kOutOfRange = 11;
inline constexpr int32_t kUnknownService = 12;  // also: unknown workflow
inline constexpr int32_t kBufferTooSmall = 13;

}  // namespace jwsim
