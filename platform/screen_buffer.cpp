// The cell buffer: writes outside the 120 x 50 console are dropped so that a box drawn partly
// off screen never wraps onto the next row or past the end of the buffer.
#include "platform/screen_buffer.h"

namespace vellano::platform {

void ScreenBuffer::put(int row, int col, std::uint8_t ch, std::uint8_t attr) {
  if (!inside(row, col)) return;
  Cell& cell = at(row, col);
  cell.ch = ch;
  cell.attr = attr;
}

void ScreenBuffer::putText(int row, int col, std::string_view cp437, std::uint8_t attr) {
  if (row < 1 || row > kRows || col > kCols) return;
  // Work in long long so a far-off starting column cannot overflow.
  long long c = col;
  for (char byte : cp437) {
    if (c > kCols) break;
    if (c >= 1) put(row, static_cast<int>(c), static_cast<std::uint8_t>(byte), attr);
    ++c;
  }
}

void ScreenBuffer::recolour(int row, int col, std::uint8_t attr) {
  if (inside(row, col)) at(row, col).attr = attr;
}

void ScreenBuffer::fill(std::uint8_t ch, std::uint8_t attr) { cells_.fill(Cell{ch, attr}); }

std::string_view ScreenBuffer::rowBytes(int row, std::array<char, kCols>& scratch) const {
  if (row < 1 || row > kRows) return {};
  for (int c = 1; c <= kCols; ++c) scratch[c - 1] = static_cast<char>(at(row, c).ch);
  return {scratch.data(), scratch.size()};
}

}  // namespace vellano::platform
