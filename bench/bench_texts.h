// Texts the cases send and receive. Every one holds a character outside ASCII, so a converting session
// really converts and the sizes differ between the session encoding and UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "bench_session.h"

namespace vxbench {

inline constexpr size_t kLongTextBytes = size_t{1} << 20;

// A 16-byte UTF-8 text (15 bytes in ISO-8859-1), different for each n.
std::string short_utf8(int n);
// The first `count` short texts, numbered from `first`.
std::vector<std::string> short_utf8_texts(int first, int count);
// Exactly kLongTextBytes of text made of whole characters, in the session encoding or in UTF-8.
std::string long_text(const Session& session, bool in_session_encoding);

}  // namespace vxbench
