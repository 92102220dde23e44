// Fixed-length record files and record layouts.
// Record n starts at byte (n - 1) * length; a read past the end gives zero bytes; a missing
// file is created empty when opened; a write past the end fills the gap with NUL bytes.
// Every write goes straight to the file, so nothing typed is lost if the program ends; a write
// into a file whose name no longer leads to it (removed or replaced under the program) is
// refused instead of going nowhere.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace vellano::records {

class RecordFile {
 public:
  // Opens (creating when missing). A missing folder throws RuntimeError 76 naming it; other
  // failures throw the matching error number.
  RecordFile(std::filesystem::path path, std::size_t recordLength);
  ~RecordFile();
  RecordFile(RecordFile&& other) noexcept;
  RecordFile& operator=(RecordFile&& other) noexcept;
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;

  std::size_t recordLength() const { return length_; }
  const std::filesystem::path& path() const { return path_; }

  // Exactly recordLength() bytes; record numbers start at 1 (0 or less throws error 63).
  std::string read(long record) const;
  // Records first..first+count-1 in one read, back to back; what lies past the end is NUL.
  std::string readBlock(long first, long count) const;
  // `bytes` is cut or NUL-padded to the record length.
  void write(long record, std::string_view bytes);
  // Whole records in the file.
  long recordCount() const;
  // Byte offset of a record; 0 or less, or beyond what a file can hold, throws error 63.
  long long offsetOf(long record, const char* where) const;
  // Error 53 naming the file when its directory entry is gone or names another file now.
  void checkLinked() const;

 private:
  std::filesystem::path path_;
  std::size_t length_ = 0;
  int fd_ = -1;
};

// One field of a record layout.
struct Field {
  std::size_t offset = 0;  // 0-based
  std::size_t width = 0;
};

// Builds the fields of a layout from their widths in order (offsets follow each other).
template <std::size_t N>
constexpr std::array<Field, N> fieldsFromWidths(const std::size_t (&widths)[N]) {
  std::array<Field, N> fields{};
  std::size_t offset = 0;
  for (std::size_t i = 0; i < N; ++i) {
    fields[i] = Field{offset, widths[i]};
    offset += widths[i];
  }
  return fields;
}

// A record buffer: the bytes of one record with field access through a layout.
class Record {
 public:
  explicit Record(std::size_t length) : bytes_(length, '\0') {}
  explicit Record(std::string bytes) : bytes_(std::move(bytes)) {}

  // The field's text, NULs as blanks (not trimmed).
  std::string text(Field f) const;
  // The field's text with trailing blanks and NULs removed.
  std::string trimmed(Field f) const;
  // Numeric value of the field (blank is 0).
  double number(Field f) const;
  // Stores `value` left-aligned, blank-padded, cut to the width.
  void set(Field f, std::string_view value);

  const std::string& bytes() const { return bytes_; }
  std::string& bytes() { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace vellano::records
