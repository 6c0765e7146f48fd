#include "cli/TextTable.h"

#include <algorithm>

namespace trawlix::cli {

std::size_t DisplayWidth(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

void TextTable::AddRow(std::vector<std::string> cells) {
  cells.resize(columns_.size());
  // Line breaks inside a cell would break the alignment of every following row.
  for (auto& cell : cells)
    std::replace_if(
        cell.begin(), cell.end(), [](char c) { return c == '\n' || c == '\r' || c == '\t'; }, ' ');
  rows_.push_back(std::move(cells));
}

void TextTable::Print(std::ostream& out) const {
  std::vector<std::size_t> widths;
  for (const auto& column : columns_) widths.push_back(DisplayWidth(column.header));
  for (const auto& row : rows_) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      widths[i] = std::max(widths[i], DisplayWidth(row[i]));
    }
  }
  const auto printLine = [&](const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      const std::string padding(widths[i] - DisplayWidth(cells[i]), ' ');
      if (i > 0) line += "  ";
      if (columns_[i].align == Align::Right) {
        line += padding + cells[i];
      } else {
        line += cells[i] + padding;
      }
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out << line << '\n';
  };
  std::vector<std::string> headers;
  for (const auto& column : columns_) headers.push_back(column.header);
  printLine(headers);
  for (const auto& row : rows_) printLine(row);
}

}  // namespace trawlix::cli
