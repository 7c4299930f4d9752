// Loads a library and prints the stamp that its vxbldmk1 reports.
#pragma once

#include <cstdio>
#include <string>

namespace vxstamp {

// Prints one line per stamp field: number, name, value. Returns false with a message in `error` when
// the library cannot be loaded or has no vxbldmk1.
bool print_stamp(const std::string& library, std::FILE* out, std::string& error);

}  // namespace vxstamp
