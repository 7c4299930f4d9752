// ICU plumbing shared by the stand-in host's NLS services and by simhost::convert.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct UConverter;

namespace simhost::detail {

// Opens a fresh converter for a host encoding id; null for an unknown id. Substitution callbacks stay ICU's
// defaults, so invalid input becomes substitution characters instead of an error.
UConverter* open_converter(int32_t id);
void close_converter(UConverter* converter);

// Converts text[0..length) from `source`'s encoding to `target`'s, both converters reset first. Appends the
// result to *out when out is not null; always sets *count to the number of output bytes. False on an ICU error.
bool convert_all(UConverter* source, UConverter* target, const char* text, size_t length, std::string* out,
                 uint64_t* count);

// The number of leading bytes of the converted text that hold whole characters and fit into `capacity`.
size_t whole_character_prefix(UConverter* source, UConverter* target, const char* text, size_t length,
                              uint64_t capacity);

}  // namespace simhost::detail
