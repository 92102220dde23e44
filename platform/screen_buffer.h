// The program's own 120 x 50 console: a code page 437 byte and a colour attribute per cell.
// Every screen routine writes here; a backend only presents it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace vellano::platform {

inline constexpr int kRows = 50;
inline constexpr int kCols = 120;

// Two bytes a cell, character first: the buffer is filled and copied as bytes.
struct Cell {
  std::uint8_t ch = ' ';
  std::uint8_t attr = 0x07;  // low nibble foreground, high nibble background
  friend bool operator==(const Cell&, const Cell&) = default;
};

static_assert(sizeof(Cell) == 2);

// Every cell of `cells` set to `cell`, eight cells to a 16-byte store.
void fillCells(std::span<Cell> cells, Cell cell);

class ScreenBuffer {
 public:
  using Cells = std::array<Cell, kRows * kCols>;

  // Rows and columns are 1-based, as on the console.
  static bool inside(int row, int col) { return row >= 1 && row <= kRows && col >= 1 && col <= kCols; }

  Cell& at(int row, int col) { return cells_[index(row, col)]; }
  const Cell& at(int row, int col) const { return cells_[index(row, col)]; }

  // Writes that fall outside the buffer are dropped, never wrapped.
  void put(int row, int col, std::uint8_t ch, std::uint8_t attr) {
    if (inside(row, col)) cells_[index(row, col)] = Cell{ch, attr};
  }
  void putText(int row, int col, std::string_view cp437, std::uint8_t attr);
  void recolour(int row, int col, std::uint8_t attr) {
    if (inside(row, col)) cells_[index(row, col)].attr = attr;
  }
  void fill(std::uint8_t ch, std::uint8_t attr);
  // Spans along one row: `count` cells from (row, col), clipped to the row once.
  void fill(int row, int col, int count, std::uint8_t ch, std::uint8_t attr);
  void recolour(int row, int col, int count, std::uint8_t attr);
  // Every cell of rows top-bottom, columns left-right, clipped to the buffer.
  void fill(int top, int left, int bottom, int right, std::uint8_t ch, std::uint8_t attr);
  // The same run of cells on every row top-bottom from column `col`, clipped once.
  void putRows(int top, int bottom, int col, std::span<const Cell> run);

  // The text of one row (cp437 bytes), for tests and dumps.
  std::string_view rowBytes(int row, std::array<char, kCols>& scratch) const;

  const Cells& cells() const { return cells_; }
  Cells& cells() { return cells_; }
  friend bool operator==(const ScreenBuffer&, const ScreenBuffer&) = default;

 private:
  static int index(int row, int col) { return (row - 1) * kCols + (col - 1); }
  Cells cells_{};
};

}  // namespace vellano::platform
