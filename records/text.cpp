// Text helpers for fixed-width fields: blanks and NULs, padding, BASIC LEFT$/RIGHT$/MID$.
#include "records/text.h"

#include <algorithm>

namespace vellano::records {

namespace {

bool isBlankChar(char c) { return c == ' ' || c == '\0'; }

}  // namespace

std::string nulAsBlank(std::string_view text) {
  std::string out(text);
  std::replace(out.begin(), out.end(), '\0', ' ');
  return out;
}

std::string trimRight(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && isBlankChar(text[end - 1])) --end;
  return std::string(text.substr(0, end));
}

std::string trimLeft(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && isBlankChar(text[start])) ++start;
  return std::string(text.substr(start));
}

std::string trim(std::string_view text) {
  std::size_t start = 0;
  std::size_t end = text.size();
  while (start < end && isBlankChar(text[start])) ++start;
  while (end > start && isBlankChar(text[end - 1])) --end;
  return std::string(text.substr(start, end - start));
}

std::string fitLeft(std::string_view text, std::size_t width) {
  std::string out(text.substr(0, width));
  out.resize(width, ' ');
  return out;
}

std::string fitRight(std::string_view text, std::size_t width) {
  if (text.size() >= width) return std::string(text.substr(text.size() - width));
  return std::string(width - text.size(), ' ') + std::string(text);
}

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::string left(std::string_view text, std::size_t n) { return std::string(text.substr(0, n)); }

std::string right(std::string_view text, std::size_t n) {
  return n >= text.size() ? std::string(text) : std::string(text.substr(text.size() - n));
}

std::string mid(std::string_view text, std::size_t start1, std::size_t n) {
  // MID$ counts from 1; a start of 0 is taken as 1 rather than an error.
  const std::size_t start0 = start1 == 0 ? 0 : start1 - 1;
  if (start0 >= text.size()) return {};
  return std::string(text.substr(start0, n));
}

bool isBlank(std::string_view text) {
  return std::all_of(text.begin(), text.end(), isBlankChar);
}

}  // namespace vellano::records
