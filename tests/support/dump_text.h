// Reading the screen dumps of the headless mode: a dump line holds 120 cells as UTF-8, so a
// cell is a code point, not a byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vellano::testing {

// The number of code points of a UTF-8 text.
inline std::size_t codePoints(std::string_view utf8) {
  std::size_t n = 0;
  for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
  return n;
}

// `n` cells of a dump line from column `col` (1-based).
inline std::string cells(std::string_view line, int col, int n) {
  std::string out;
  int cell = 0;
  for (char c : line) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++cell;
    if (cell >= col && cell < col + n) out += c;
  }
  return out;
}

// Line `row` of a dump (line 0 is its title line); empty past its end.
inline std::string dumpLine(const std::string& dump, int row) {
  std::size_t start = 0;
  for (int i = 0; i < row; ++i) {
    start = dump.find('\n', start);
    if (start == std::string::npos) return std::string();
    ++start;
  }
  return dump.substr(start, dump.find('\n', start) - start);
}

// `n` cells from (row, col) of a dump.
inline std::string cells(const std::string& dump, int row, int col, int n) { return cells(dumpLine(dump, row), col, n); }

}  // namespace vellano::testing
