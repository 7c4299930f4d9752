// vxhost's aligned columns: widths count terminal cells, so tables of non-ASCII texts line up.
#include "tools/vxhost/text_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using vxhost::display_width;
using vxhost::TextTable;

struct WidthCase {
    const char* text;
    size_t cells;
};

TEST(DisplayWidth, CountsTerminalCells) {
    const WidthCase cases[] = {
        {"", 0},
        {"abc", 3},
        {"Straße", 6},              // two-byte characters take one cell
        {"東京", 4},                // wide characters take two
        {"ｶﾀｶﾅ", 4},                // half-width katakana take one
        {"e\xCC\x81t\xC3\xA9", 3},  // a combining accent takes none
        {"こんにちは、花子さん", 20},
        {"\xFF", 1},  // a malformed byte shows as one replacement character
    };
    for (const WidthCase& c : cases) EXPECT_EQ(display_width(c.text), c.cells) << c.text;
}

// The display width of `line` up to where `cell` (its last cell) starts.
size_t start_of_last_cell(const std::string& line, const std::string& cell) {
    EXPECT_GE(line.size(), cell.size());
    EXPECT_EQ(line.substr(line.size() - cell.size()), cell) << line;
    return display_width(line.substr(0, line.size() - cell.size()));
}

TEST(TextTable, AlignsColumnsByDisplayWidth) {
    TextTable table({"Stadt", "Straße"});
    table.add_row({"東京 TOKYO", "銀座通り"});
    table.add_row({"MÜNCHEN", "KÖNIGSTRASSE"});
    table.add_row({"e\xCC\x81", "x"});
    const std::vector<std::string> lines = table.lines("  ");
    ASSERT_EQ(lines.size(), 5u);  // header, rule, three rows
    const std::vector<std::string> second = {"Straße", std::string(12, '-'), "銀座通り", "KÖNIGSTRASSE", "x"};
    // The widest first cell is "東京 TOKYO" (10 cells); two blanks separate the columns.
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(start_of_last_cell(lines[i], second[i]), 2u + 10u + 2u) << lines[i];
        EXPECT_EQ(lines[i].substr(0, 2), "  ");
    }
    EXPECT_EQ(lines[1], "  " + std::string(10, '-') + "  " + std::string(12, '-'));
}

TEST(TextTable, PadsShortRowsAndLeavesNoTrailingBlanks) {
    TextTable table({"a", "b", "c"});
    table.add_row({"long value"});
    table.add_row({"x", "y", "z"});
    const std::vector<std::string> lines = table.lines("");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], "long value");
    EXPECT_EQ(lines[3], "x           y  z");
    for (const std::string& line : lines) EXPECT_NE(line.back(), ' ') << line;
}

}  // namespace
