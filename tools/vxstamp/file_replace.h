// Reading a file whole and replacing it atomically, so that a reader never sees half a library.
#pragma once

#include <string>
#include <vector>

namespace vxstamp {

// Reads the regular file at `path`. Returns false with a message in `error`.
bool read_file(const std::string& path, std::vector<unsigned char>& bytes, std::string& error);

// Why the file at `path` cannot be replaced (the file or its directory not writable), or an empty text.
std::string replace_problem(const std::string& path);

// Writes `bytes` to a temporary file beside `path` with the file's mode and owner, then renames it over
// `path`. On failure the original stays as it was and no temporary file is left behind.
bool replace_file(const std::string& path, const std::vector<unsigned char>& bytes, std::string& error);

}  // namespace vxstamp
