// Rows of columns for the terminal, with the size of the output bounded by
// the size of what it shows.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace tavorin::cli {

/// Each column but the last is as wide as its widest cell, up to a cap, so
/// that one long cell (a key of 50,000 bytes) cannot pad every row; a cell
/// past the cap stands on a line of its own and the row goes on below it.
/// Cells are measured in bytes.
class TextTable {
 public:
  /// `minimumWidths` has one width for each column but the last.
  TextTable(std::string indent, std::vector<std::size_t> minimumWidths);

  /// Widens the columns for a row that will be printed.
  void Measure(const std::vector<std::string>& cells);
  void Print(const std::vector<std::string>& cells, std::ostream& out) const;

  static constexpr std::size_t kWidestColumn = 32;

 private:
  std::string indent_;
  std::vector<std::size_t> widths_;
};

}  // namespace tavorin::cli
