// The PCL interpreter: cursor, motion indexes, margins, orientation and pages.
#include "outside/pcl_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

namespace vellano::outside {
namespace {

constexpr double kPointsPerInch = 72.0;
// Where the logical page starts on A4 paper, as PCL printers place it (71 and 59 dots at 300 dpi).
constexpr double kPortraitOffset = 71 * kPointsPerInch / 300;
constexpr double kLandscapeOffset = 59 * kPointsPerInch / 300;
constexpr double kDefaultTopMargin = kPointsPerInch / 2;
constexpr double kDefaultVmi = kPointsPerInch * 8 / 48;
constexpr double kDefaultHmi = kPointsPerInch * 12 / 120;
// Values beyond this are nonsense from a damaged file; they are held to it.
constexpr double kLargest = 100000;
constexpr int kTabColumns = 8;

struct Value {
  double number = 0;
  bool signed_ = false;  // a leading "+" or "-": a move relative to the cursor
};

class Interpreter {
 public:
  Interpreter(std::string_view bytes, const std::function<void(PclPage&&)>& onPage)
      : in_(bytes), onPage_(onPage) {
    reset();
  }

  std::size_t run() {
    while (pos_ < in_.size()) {
      const auto c = static_cast<std::uint8_t>(in_[pos_++]);
      if (c == 0x1B) {
        escape();
      } else {
        byte(c);
      }
    }
    if (marked_ || pages_ == 0) endPage();
    return pages_;
  }

 private:
  // ---- page and cursor ----
  void reset() {
    if (marked_) endPage();
    landscape_ = false;
    hmi_ = kDefaultHmi;
    vmi_ = kDefaultVmi;
    pitch_ = 10;
    leftMargin_ = 0;
    topMargin_ = kDefaultTopMargin;
    x_ = 0;
    toTop();
  }

  void toTop() { y_ = topMargin_ + 0.75 * vmi_; }

  void endPage() {
    page_.landscape = landscape_;
    ++pages_;
    onPage_(std::move(page_));
    page_ = PclPage{};
    marked_ = false;
    open_ = false;
  }

  double pageLength() const { return landscape_ ? kA4Width : kA4Height; }
  double offset() const { return landscape_ ? kLandscapeOffset : kPortraitOffset; }

  void lineFeed() {
    y_ += vmi_;
    if (y_ > pageLength()) {
      endPage();
      toTop();
    }
  }

  // ---- text ----
  void byte(std::uint8_t c) {
    switch (c) {
      case '\r': x_ = leftMargin_; return;
      case '\n': lineFeed(); return;
      case '\f':
        endPage();
        toTop();
        return;
      case '\b': x_ = std::max(0.0, x_ - hmi_); return;
      case '\t': {
        const double tab = hmi_ * kTabColumns;
        if (tab > 0) x_ = leftMargin_ + (std::floor((x_ - leftMargin_) / tab + 1e-9) + 1) * tab;
        return;
      }
      default: break;
    }
    if (c < 0x20 || c == 0x7F) return;  // condensed print on/off and other controls
    if (c != ' ') place(static_cast<char>(c));
    x_ += hmi_;
  }

  void place(char c) {
    const double x = offset() + x_;
    if (open_) {
      TextRun& run = page_.runs.back();
      const double end = run.x + static_cast<double>(run.text.size()) * run.advance;
      const double gap = (x - end) / run.advance;
      const double blanks = std::round(gap);
      if (run.baseline == y_ && run.pitch == pitch_ && run.advance == hmi_ && blanks >= 0 &&
          std::fabs(gap - blanks) < 1e-6 && blanks < 256) {
        run.text.append(static_cast<std::size_t>(blanks), ' ');
        run.text += c;
        marked_ = true;
        return;
      }
    }
    page_.runs.push_back(TextRun{x, y_, pitch_, hmi_, std::string(1, c)});
    open_ = true;
    marked_ = true;
  }

  // ---- escape sequences ----
  void escape() {
    if (pos_ >= in_.size()) return;
    const auto c = static_cast<std::uint8_t>(in_[pos_++]);
    if (c >= 0x21 && c <= 0x2F) {
      parameterized(static_cast<char>(c));
      return;
    }
    switch (c) {
      case 'E': reset(); break;
      case '9': leftMargin_ = 0; break;
      case '=': y_ += vmi_ / 2; break;
      default: break;  // display functions and the rest: nothing to place
    }
  }

  std::optional<Value> number() {
    Value v;
    std::string digits;
    if (pos_ < in_.size() && (in_[pos_] == '+' || in_[pos_] == '-')) {
      v.signed_ = true;
      digits += in_[pos_++];
    }
    bool point = false;
    while (pos_ < in_.size()) {
      const char c = in_[pos_];
      if (c >= '0' && c <= '9') {
        if (digits.size() < 24) digits += c;
      } else if (c == '.' && !point) {
        point = true;
        if (digits.size() < 24) digits += c;
      } else {
        break;
      }
      ++pos_;
    }
    double n = 0;
    double sign = 1;
    double scale = 0;
    for (char c : digits) {
      if (c == '-') sign = -1;
      if (c == '.') scale = 1;
      if (c >= '0' && c <= '9') {
        if (scale > 0) {
          scale /= 10;
          n += (c - '0') * scale;
        } else {
          n = n * 10 + (c - '0');
        }
      }
    }
    v.number = std::clamp(sign * n, -kLargest, kLargest);
    return v;
  }

  // ESC <parameterized> [group] (value parameter)*: lower-case parameters go on, an upper-case
  // one ends the sequence.
  void parameterized(char kind) {
    char group = 0;
    if (pos_ < in_.size()) {
      const auto g = static_cast<std::uint8_t>(in_[pos_]);
      if (g >= 0x60 && g <= 0x7E) {
        group = static_cast<char>(g);
        ++pos_;
      }
    }
    while (pos_ < in_.size()) {
      const Value v = *number();
      if (pos_ >= in_.size()) return;
      const auto p = static_cast<std::uint8_t>(in_[pos_]);
      if (p < 0x40 || p > 0x7E) return;  // broken sequence: the byte is read as data
      ++pos_;
      const bool last = p <= 0x5E;
      const char parameter = static_cast<char>(last ? p : p - 0x20);
      command(kind, group, parameter, v);
      if (last) return;
    }
  }

  void command(char kind, char group, char parameter, const Value& v) {
    // Binary data follows "W" commands (fonts, raster rows): skipped, never read as text.
    if (parameter == 'W') {
      skip(v.number);
      return;
    }
    if (kind == '&' && group == 'p' && parameter == 'X') {
      transparent(v.number);
      return;
    }
    if (kind == '&' && group == 'l') return pageCommand(parameter, v);
    if (kind == '&' && group == 'k' && parameter == 'H') {
      if (v.number > 0) hmi_ = v.number * kPointsPerInch / 120;
      return;
    }
    if (kind == '&' && group == 'a') return positionCommand(parameter, v);
    if (kind == '*' && group == 'p') {
      const double dots = v.number * kPointsPerInch / 300;
      if (parameter == 'X') x_ = std::max(0.0, v.signed_ ? x_ + dots : dots);
      if (parameter == 'Y') y_ = v.signed_ ? y_ + dots : topMargin_ + dots;
      return;
    }
    if (kind == '(' && group == 's' && parameter == 'H' && v.number > 0) {
      pitch_ = std::min(v.number, 1000.0);
      hmi_ = kPointsPerInch / pitch_;
    }
  }

  void pageCommand(char parameter, const Value& v) {
    switch (parameter) {
      case 'O':  // orientation: a new page with default margins
      case 'A':  // page size: every size reads as A4
        if (marked_) endPage();
        if (parameter == 'O') landscape_ = static_cast<int>(v.number) % 2 != 0;
        topMargin_ = kDefaultTopMargin;
        leftMargin_ = 0;
        x_ = 0;
        toTop();
        return;
      case 'E':
        topMargin_ = std::clamp(v.number * vmi_, 0.0, pageLength());
        if (!marked_) toTop();
        return;
      case 'C':
        if (v.number >= 0) vmi_ = v.number * kPointsPerInch / 48;
        return;
      case 'D':
        if (v.number > 0) vmi_ = kPointsPerInch / v.number;
        return;
      default: return;  // perforation skip, paper source, copies, ...
    }
  }

  void positionCommand(char parameter, const Value& v) {
    switch (parameter) {
      case 'L': leftMargin_ = std::max(0.0, v.number * hmi_); return;
      case 'C': {
        const double to = v.number * hmi_;
        x_ = std::max(0.0, v.signed_ ? x_ + to : to);
        return;
      }
      case 'H': {
        const double to = v.number / 10;
        x_ = std::max(0.0, v.signed_ ? x_ + to : to);
        return;
      }
      case 'R':
        y_ = v.signed_ ? y_ + v.number * vmi_ : topMargin_ + (v.number + 0.75) * vmi_;
        return;
      case 'V':
        y_ = v.signed_ ? y_ + v.number / 10 : topMargin_ + v.number / 10;
        return;
      default: return;  // print direction, right margin
    }
  }

  void skip(double count) {
    const double left = static_cast<double>(in_.size() - pos_);
    pos_ += static_cast<std::size_t>(std::clamp(count, 0.0, left));
  }

  void transparent(double count) {
    const double left = static_cast<double>(in_.size() - pos_);
    const auto n = static_cast<std::size_t>(std::clamp(count, 0.0, left));
    for (std::size_t i = 0; i < n; ++i) {
      const auto c = static_cast<std::uint8_t>(in_[pos_++]);
      if (c > 0x20 && c != 0x7F) place(static_cast<char>(c));
      x_ += hmi_;
    }
  }

  std::string_view in_;
  const std::function<void(PclPage&&)>& onPage_;
  std::size_t pos_ = 0;
  std::size_t pages_ = 0;  // handed on so far
  PclPage page_;
  bool marked_ = false;
  bool open_ = false;  // the last run of the page may still grow
  bool landscape_ = false;
  double hmi_ = kDefaultHmi;
  double vmi_ = kDefaultVmi;
  double pitch_ = 10;
  double leftMargin_ = 0;
  double topMargin_ = kDefaultTopMargin;
  double x_ = 0;  // from the left edge of the logical page
  double y_ = 0;  // baseline, from the top of the page
};

}  // namespace

std::size_t readPcl(std::string_view bytes, const std::function<void(PclPage&&)>& onPage) {
  return Interpreter(bytes, onPage).run();
}

std::vector<PclPage> readPcl(std::string_view bytes) {
  std::vector<PclPage> pages;
  readPcl(bytes, [&](PclPage&& page) { pages.push_back(std::move(page)); });
  return pages;
}

}  // namespace vellano::outside
