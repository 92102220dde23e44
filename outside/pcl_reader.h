// Reads the PCL the print module writes and places its text the way a PCL printer would:
// A4 pages, Courier at the selected pitch, lines at the vertical motion index, a new page at
// every form feed. Unknown escape sequences are skipped; no byte sequence is refused.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vellano::outside {

// A4 in points.
inline constexpr double kA4Width = 595.276;
inline constexpr double kA4Height = 841.890;

// Text set in one go: code page 437 bytes starting at (x, baseline) in points from the
// top-left corner of the page, in Courier with `pitch` characters per inch, each character
// `advance` points after the one before (the horizontal motion index).
struct TextRun {
  double x = 0;
  double baseline = 0;
  double pitch = 10;
  double advance = 7.2;
  std::string text;
};

struct PclPage {
  bool landscape = false;
  std::vector<TextRun> runs;

  double width() const { return landscape ? kA4Height : kA4Width; }
  double height() const { return landscape ? kA4Width : kA4Height; }
};

// Hands every page of the job to `onPage` as soon as it ends, so a job of any length is never
// held whole; a job without any page gives one blank page. Returns the number of pages.
std::size_t readPcl(std::string_view bytes, const std::function<void(PclPage&&)>& onPage);

// Every page of the job at once.
std::vector<PclPage> readPcl(std::string_view bytes);

}  // namespace vellano::outside
