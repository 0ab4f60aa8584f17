#include "text_table.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace tavorin::cli {

namespace {
constexpr std::string_view kGap = "  ";
}  // namespace

TextTable::TextTable(std::string indent, std::vector<std::size_t> minimumWidths)
    : indent_(std::move(indent)), widths_(std::move(minimumWidths)) {}

void TextTable::Measure(const std::vector<std::string>& cells) {
  for (std::size_t column = 0; column < widths_.size() && column < cells.size(); ++column) {
    widths_[column] = std::max(widths_[column], std::min(cells[column].size(), kWidestColumn));
  }
}

void TextTable::Print(const std::vector<std::string>& cells, std::ostream& out) const {
  out << indent_;
  std::size_t at = indent_.size();
  for (std::size_t column = 0; column + 1 < cells.size(); ++column) {
    const std::string& cell = cells[column];
    const std::size_t width = widths_.at(column);
    out << cell;
    if (cell.size() > width) {
      out << "\n" << std::string(at + width, ' ');
    } else {
      out << std::string(width - cell.size(), ' ');
    }
    out << kGap;
    at += width + kGap.size();
  }
  if (!cells.empty()) out << cells.back();
  out << "\n";
}

}  // namespace tavorin::cli
