// The cell buffer: writes outside the 120 x 50 console are dropped so that a box drawn partly
// off screen never wraps onto the next row or past the end of the buffer.
#include "platform/screen_buffer.h"

#include <algorithm>
#include <cstring>

namespace vellano::platform {

namespace {

// The part of a span of `count` cells from `col` that lies on a row: first column and length
// (length <= 0 when nothing does). Worked in long long so far-off values cannot overflow.
struct Span {
  int first;
  int length;
};
Span clip(long long col, long long count) {
  const long long first = col < 1 ? 1 : col;
  const long long last = col + count - 1 > kCols ? kCols : col + count - 1;
  return {static_cast<int>(first), last >= first ? static_cast<int>(last - first + 1) : 0};
}

// A row's worth of cells copied in 16-byte blocks, the last block overlapping the one before
// it: the compiler's own expansion of a short copy of unknown length is a slow string move.
void copyCells(Cell* to, const Cell* from, int count) {
  const std::size_t bytes = static_cast<std::size_t>(count) * sizeof(Cell);
  auto* out = reinterpret_cast<unsigned char*>(to);
  const auto* in = reinterpret_cast<const unsigned char*>(from);
  if (bytes < 16) {
    std::memcpy(out, in, bytes);
    return;
  }
  for (std::size_t i = 0; i + 16 <= bytes; i += 16) std::memcpy(out + i, in + i, 16);
  std::memcpy(out + bytes - 16, in + bytes - 16, 16);
}

}  // namespace

// Cells written eight at a time as one 16-byte pattern: a loop of two-byte cells does not
// vectorize.
void fillCells(std::span<Cell> cells, Cell cell) {
  Cell eight[8];
  std::fill_n(eight, 8, cell);
  Cell* out = cells.data();
  const std::size_t count = cells.size();
  std::size_t i = 0;
  for (; i + 8 <= count; i += 8) std::memcpy(out + i, eight, sizeof eight);
  for (; i < count; ++i) out[i] = cell;
}

void ScreenBuffer::putText(int row, int col, std::string_view cp437, std::uint8_t attr) {
  if (row < 1 || row > kRows) return;
  const Span span = clip(col, static_cast<long long>(cp437.size()));
  if (span.length <= 0) return;
  const char* text = cp437.data() + (static_cast<long long>(span.first) - col);
  Cell* out = &cells_[index(row, span.first)];
  for (int i = 0; i < span.length; ++i) out[i] = Cell{static_cast<std::uint8_t>(text[i]), attr};
}

void ScreenBuffer::fill(int row, int col, int count, std::uint8_t ch, std::uint8_t attr) {
  if (row < 1 || row > kRows) return;
  const Span span = clip(col, count);
  if (span.length <= 0) return;
  fillCells({&cells_[index(row, span.first)], static_cast<std::size_t>(span.length)}, Cell{ch, attr});
}

void ScreenBuffer::fill(int top, int left, int bottom, int right, std::uint8_t ch, std::uint8_t attr) {
  const int first = std::max(1, top), last = std::min(kRows, bottom);
  const Span span = clip(left, static_cast<long long>(right) - left + 1);
  if (first > last || span.length <= 0) return;
  for (int r = first; r <= last; ++r)
    fillCells({&cells_[index(r, span.first)], static_cast<std::size_t>(span.length)}, Cell{ch, attr});
}

void ScreenBuffer::putRows(int top, int bottom, int col, std::span<const Cell> run) {
  const int first = std::max(1, top), last = std::min(kRows, bottom);
  const Span span = clip(col, static_cast<long long>(run.size()));
  if (first > last || span.length <= 0) return;
  const Cell* from = run.data() + (static_cast<long long>(span.first) - col);
  if (span.length < kCols) {
    for (int r = first; r <= last; ++r) copyCells(&cells_[index(r, span.first)], from, span.length);
    return;
  }
  // Whole rows lie back to back: the rows done so far are copied after themselves, doubling
  // each time, so a full-width window is filled in a few long copies.
  Cell* block = &cells_[index(first, 1)];
  copyCells(block, from, kCols);
  const std::size_t rows = static_cast<std::size_t>(last - first + 1);
  for (std::size_t done = 1; done < rows;) {
    const std::size_t more = std::min(done, rows - done);
    std::memcpy(block + done * kCols, block, more * kCols * sizeof(Cell));
    done += more;
  }
}

void ScreenBuffer::recolour(int row, int col, int count, std::uint8_t attr) {
  if (row < 1 || row > kRows) return;
  const Span span = clip(col, count);
  Cell* out = span.length > 0 ? &cells_[index(row, span.first)] : nullptr;
  for (int i = 0; i < span.length; ++i) out[i].attr = attr;
}

void ScreenBuffer::fill(std::uint8_t ch, std::uint8_t attr) { cells_.fill(Cell{ch, attr}); }

std::string_view ScreenBuffer::rowBytes(int row, std::array<char, kCols>& scratch) const {
  if (row < 1 || row > kRows) return {};
  for (int c = 1; c <= kCols; ++c) scratch[c - 1] = static_cast<char>(at(row, c).ch);
  return {scratch.data(), scratch.size()};
}

}  // namespace vellano::platform
