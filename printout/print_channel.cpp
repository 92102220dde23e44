// Channel 99 on a stdio stream: buffered, flushed when closed.
#include "printout/print_channel.h"

#include <cerrno>

#include "platform/dos_path.h"
#include "platform/error.h"

namespace vellano::printout {

PrintChannel::~PrintChannel() {
  if (file_ != nullptr) std::fclose(file_);
}

void PrintChannel::open(std::string_view dosName, int width) {
  close();
  const std::string path = platform::hostPath(dosName).string();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) throw RuntimeError(errorNumberFromErrno(errno), "O_99", path);
  file_ = f;
  dosName_ = std::string(dosName);
  column_ = 0;
  width_ = width;
}

void PrintChannel::close() {
  if (file_ == nullptr) return;
  std::FILE* f = file_;
  file_ = nullptr;
  dosName_.clear();
  column_ = 0;
  const bool failed = std::fflush(f) != 0;
  const int err = errno;
  std::fclose(f);
  // A full disk must not pass for a finished print.
  if (failed) throw RuntimeError(errorNumberFromErrno(err), "CLOSE 99");
}

void PrintChannel::flush() {
  if (file_ == nullptr) throw RuntimeError(error::kBadFileMode, "PRINT 99");
  if (std::fflush(file_) != 0) fail(errno);
}

// A stream that failed once is given up: left open, its close would fail again later.
void PrintChannel::fail(int err) {
  std::fclose(file_);
  file_ = nullptr;
  dosName_.clear();
  column_ = 0;
  throw RuntimeError(errorNumberFromErrno(err), "PRINT 99");
}

void PrintChannel::raw(std::string_view bytes) {
  if (file_ == nullptr) throw RuntimeError(error::kBadFileMode, "PRINT 99");
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) fail(errno);
}

void PrintChannel::put(char c) {
  if (c == '\r' || c == '\n') {
    column_ = 0;
  } else {
    if (width_ > 0 && column_ >= width_) {
      raw("\r\n");
      column_ = 0;
    }
    ++column_;
  }
  raw(std::string_view(&c, 1));
}

void PrintChannel::print(std::string_view text) {
  // Runs that fit before the width and hold no line end go out in one write: a register of a
  // year is millions of bytes.
  while (!text.empty()) {
    const std::size_t room = column_ < kPrintWidth ? static_cast<std::size_t>(kPrintWidth - column_) : 0;
    std::size_t n = 0;
    while (n < text.size() && n < room && text[n] != '\r' && text[n] != '\n') ++n;
    if (n == 0) {
      put(text.front());
      text.remove_prefix(1);
      continue;
    }
    raw(text.substr(0, n));
    column_ += static_cast<int>(n);
    text.remove_prefix(n);
  }
}

void PrintChannel::printLine(std::string_view text) {
  print(text);
  raw("\r\n");
  column_ = 0;
}

void PrintChannel::escape(std::string_view command) {
  put('\x1B');
  print(command);
}

void PrintChannel::control(char byte) { put(byte); }

void PrintChannel::formFeed() { put('\x0C'); }

void PrintChannel::tab(int column) {
  if (column < 1) column = 1;
  if (column > kPrintWidth) column = kPrintWidth;
  if (column_ + 1 > column) printLine();
  while (column_ + 1 < column) put(' ');
}

}  // namespace vellano::printout
