#include "marker_text.h"

#include <algorithm>
#include <cstring>

namespace vxstamp {

bool is_printable(unsigned char byte) { return (byte >= 0x20 && byte <= 0x7E) || byte >= 0xA0; }

size_t value_room(const Marker& marker) { return kMarkerTextLength - std::strlen(marker.name); }

std::vector<size_t> find_marker_texts(const std::vector<unsigned char>& file, const Marker& marker) {
    const auto* name = reinterpret_cast<const unsigned char*>(marker.name);
    const size_t name_length = std::strlen(marker.name);
    std::vector<size_t> found;
    auto at = file.begin();
    while ((at = std::search(at, file.end(), name, name + name_length)) != file.end()) {
        const auto offset = static_cast<size_t>(at - file.begin());
        if (file.size() - offset > kMarkerTextLength && file[offset + kMarkerTextLength] == '\0' &&
            std::all_of(at, at + kMarkerTextLength, is_printable)) {
            found.push_back(offset);
        }
        ++at;
    }
    return found;
}

std::string value_problem(const Marker& marker, const std::string& value) {
    if (value.size() > value_room(marker)) {
        return std::string(marker.option) + " takes at most " + std::to_string(value_room(marker)) +
               " characters; the value has " + std::to_string(value.size());
    }
    for (size_t i = 0; i < value.size(); ++i) {
        if (!is_printable(static_cast<unsigned char>(value[i]))) {
            return std::string(marker.option) + " value has a control character at position " + std::to_string(i + 1) +
                   " (only 0x20-0x7E and 0xA0-0xFF are allowed)";
        }
    }
    return {};
}

void write_marker_text(std::vector<unsigned char>& file, size_t offset, const Marker& marker,
                       const std::string& value) {
    std::string text = std::string(marker.name) + value;
    text.resize(kMarkerTextLength, ' ');
    std::copy(text.begin(), text.end(), file.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace vxstamp
