// The marker texts of a built library: a name and "=" followed by room for a value, 65 characters and
// a NUL in all, found and rewritten in the file's bytes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vxstamp {

inline constexpr size_t kMarkerTextLength = 65;

struct Marker {
    const char* name;    // including the "=": "ORB_VERSION_HOTFIX_NUMBER="
    const char* option;  // the command-line option that sets it
};

inline constexpr Marker kHotfixMarker{"ORB_VERSION_HOTFIX_NUMBER=", "--hotfix"};
inline constexpr Marker kImageDescriptionMarker{"BLDMRK_IMAGE_DESCRIPTION=", "--image-description"};

// Characters a value may have: printable ASCII and the printable upper half of 8-bit codes.
bool is_printable(unsigned char byte);

// Room for a value after the marker's name.
size_t value_room(const Marker& marker);

// Offsets of every text in `file` that starts with the marker's name and is 65 printable characters
// followed by a NUL, whether its room still holds blanks or a value written earlier.
std::vector<size_t> find_marker_texts(const std::vector<unsigned char>& file, const Marker& marker);

// Why `value` cannot go into the marker, or an empty text when it can.
std::string value_problem(const Marker& marker, const std::string& value);

// Writes the marker's name, `value` and blanks over the 65 characters at `offset`.
void write_marker_text(std::vector<unsigned char>& file, size_t offset, const Marker& marker, const std::string& value);

}  // namespace vxstamp
