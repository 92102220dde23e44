// The text operators of a page: Courier at each run's pitch, positions from the bottom.
#include "outside/pdf_content.h"

#include <cmath>
#include <cstdio>

#include "platform/cp437.h"

namespace vellano::outside {
namespace {

// Courier's glyphs are 600/1000 of the font size wide; a pitch of p needs 120/p points.
constexpr double kCourierWidth = 0.6;

std::string fixed(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.2f", std::isfinite(value) ? value : 0.0);
  return text;
}

void appendString(std::string& out, const std::string& cp437) {
  out += '(';
  for (unsigned char c : cp437) {
    const auto b = static_cast<unsigned char>(winAnsi(c));
    if (b == '(' || b == ')' || b == '\\') {
      out += '\\';
      out += static_cast<char>(b);
    } else if (b < 0x20 || b > 0x7E) {
      char octal[8];
      std::snprintf(octal, sizeof octal, "\\%03o", b);
      out += octal;
    } else {
      out += static_cast<char>(b);
    }
  }
  out += ')';
}

}  // namespace

char winAnsi(unsigned char cp437) {
  const char32_t u = platform::cp437ToUnicode(cp437);
  if (u >= 0x20 && u <= 0x7E) return static_cast<char>(u);
  if (u >= 0xA0 && u <= 0xFF) return static_cast<char>(u);
  switch (u) {
    case U'─': case U'━': return '-';
    case U'═': return '=';
    case U'│': case U'┃': case U'║': return '|';
    default: break;
  }
  if (u >= 0x2500 && u <= 0x257F) return '+';
  if (u >= 0x2580 && u <= 0x259F) return '#';
  return '?';
}

std::string pageContent(const PclPage& page) {
  std::string out = "BT\n";
  double size = -1;
  double spacing = 0;
  for (const TextRun& run : page.runs) {
    const double runSize = 120.0 / run.pitch;
    if (runSize != size) {
      size = runSize;
      out += "/F1 " + fixed(size) + " Tf\n";
    }
    const double runSpacing = run.advance - size * kCourierWidth;
    if (std::fabs(runSpacing - spacing) > 0.001) {
      spacing = runSpacing;
      out += fixed(spacing) + " Tc\n";
    }
    out += "1 0 0 1 " + fixed(run.x) + " " + fixed(page.height() - run.baseline) + " Tm ";
    appendString(out, run.text);
    out += " Tj\n";
  }
  out += "ET\n";
  return out;
}

}  // namespace vellano::outside
