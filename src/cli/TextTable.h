#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace trawlix::cli {

// Rows printed in aligned columns under a header line, for people reading a terminal.
class TextTable {
 public:
  enum class Align { Left, Right };
  struct Column {
    std::string header;
    Align align = Align::Left;
  };

  explicit TextTable(std::vector<Column> columns) : columns_(std::move(columns)) {}

  // Missing cells print empty; extra cells are ignored.
  void AddRow(std::vector<std::string> cells);
  void Print(std::ostream& out) const;

 private:
  std::vector<Column> columns_;
  std::vector<std::vector<std::string>> rows_;
};

// Display width of UTF-8 text: one per code point, so accented names keep the columns straight.
std::size_t DisplayWidth(const std::string& text);

}  // namespace trawlix::cli
