// Print channel 99: the sequential file or port every report writes to. Lines end in CR LF,
// printer commands are ESC + text, pages end with a form feed. The line width is 200: a
// line longer than that is broken with CR LF before its 201st character.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace vellano::printout {

inline constexpr int kPrintChannel = 99;
inline constexpr int kPrintWidth = 200;

class PrintChannel {
 public:
  PrintChannel() = default;
  ~PrintChannel();
  PrintChannel(const PrintChannel&) = delete;
  PrintChannel& operator=(const PrintChannel&) = delete;

  // Opens the DOS name ("LASER", "LPT1:") for output, emptying it. A channel already open
  // is closed first. Failure is a run-time error with the matching error number. `width` 0
  // never breaks a line (a data file such as the FDF, not a print).
  void open(std::string_view dosName, int width = kPrintWidth);
  void close();
  // Pushes what is buffered to the file or port, so a failure shows before the report
  // records that it printed; on failure the channel is closed and it is a run-time error.
  void flush();
  bool isOpen() const { return file_ != nullptr; }
  const std::string& dosName() const { return dosName_; }

  // Text without line end.
  void print(std::string_view text);
  // Text and CR LF.
  void printLine(std::string_view text = {});
  // ESC followed by the command text, no line end.
  void escape(std::string_view command);
  // One control byte without line end (15, 18 for condensed print on and off).
  void control(char byte);
  // Form feed: the end of a page.
  void formFeed();
  // Moves to print column `column` (from 1) with blanks; past it already, on the next line.
  void tab(int column);

  // Print column of the next character (from 1).
  int column() const { return column_ + 1; }

 private:
  void put(char c);
  void raw(std::string_view bytes);
  [[noreturn]] void fail(int err);

  std::FILE* file_ = nullptr;
  std::string dosName_;
  int column_ = 0;  // characters since the last line end
  int width_ = kPrintWidth;
};

}  // namespace vellano::printout
