#include "text_table.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>

namespace vxhost {
namespace {

constexpr size_t kColumnGap = 2;

size_t cells_of(UChar32 c) {
    if (c < 0) return 1;  // a malformed byte shows as one replacement character
    const auto category = static_cast<UCharCategory>(u_charType(c));
    if (category == U_NON_SPACING_MARK || category == U_ENCLOSING_MARK || category == U_FORMAT_CHAR) return 0;
    const auto width = static_cast<UEastAsianWidth>(u_getIntPropertyValue(c, UCHAR_EAST_ASIAN_WIDTH));
    return width == U_EA_WIDE || width == U_EA_FULLWIDTH ? 2 : 1;
}

}  // namespace

size_t display_width(std::string_view text) {
    size_t cells = 0;
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t i = 0;
    while (i < length) {
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        cells += cells_of(c);
    }
    return cells;
}

std::vector<std::string> TextTable::lines(std::string_view indent) const {
    size_t columns = header_.size();
    for (const auto& row : rows_) columns = std::max(columns, row.size());
    std::vector<size_t> widths(columns, 0);
    auto measure = [&widths](const std::vector<std::string>& row) {
        for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], display_width(row[c]));
    };
    measure(header_);
    for (const auto& row : rows_) measure(row);

    auto render = [&](const std::vector<std::string>& row) {
        std::string line(indent);
        for (size_t c = 0; c < columns; ++c) {
            const std::string cell = c < row.size() ? row[c] : std::string();
            line += cell;
            if (c + 1 < columns) line.append(widths[c] - display_width(cell) + kColumnGap, ' ');
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        return line;
    };

    std::vector<std::string> out;
    out.push_back(render(header_));
    std::vector<std::string> rule;
    for (size_t c = 0; c < columns; ++c) rule.emplace_back(widths[c], '-');
    out.push_back(render(rule));
    for (const auto& row : rows_) out.push_back(render(row));
    return out;
}

}  // namespace vxhost
