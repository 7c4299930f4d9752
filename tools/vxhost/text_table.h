// Aligned columns for the transcript. Widths count what a terminal shows, not bytes: a wide East Asian
// character takes two cells and a combining mark none, so non-ASCII texts line up too.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vxhost {

// Terminal cells that the UTF-8 text `text` takes.
size_t display_width(std::string_view text);

// A header row and data rows of texts; rows shorter than the header are padded with empty cells.
class TextTable {
  public:
    explicit TextTable(std::vector<std::string> header) : header_(std::move(header)) {}
    void add_row(std::vector<std::string> row) { rows_.push_back(std::move(row)); }
    size_t rows() const { return rows_.size(); }

    // One line per row, header first and a rule under it, each prefixed by `indent`; columns are two
    // cells apart and the last column carries no trailing blanks.
    std::vector<std::string> lines(std::string_view indent) const;

  private:
    std::vector<std::string> header_;
    std::vector<std::vector<std::string>> rows_;
};

}  // namespace vxhost
