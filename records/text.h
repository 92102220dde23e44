// Text helpers for fixed-width fields (no dates here).
#pragma once

#include <string>
#include <string_view>

namespace vellano::records {

// NUL bytes read from never-written record positions count as blanks.
std::string nulAsBlank(std::string_view text);
std::string trimRight(std::string_view text);  // blanks and NULs
std::string trimLeft(std::string_view text);
std::string trim(std::string_view text);
// Cut to `width` and pad with blanks on the right: the shape of every stored text field.
std::string fitLeft(std::string_view text, std::size_t width);
// Pad with blanks on the left (right-aligned), cutting from the left when longer.
std::string fitRight(std::string_view text, std::size_t width);
std::string upper(std::string_view text);  // ASCII letters only
// BASIC LEFT$/RIGHT$/MID$ that never throw: out-of-range parts give what exists.
std::string left(std::string_view text, std::size_t n);
std::string right(std::string_view text, std::size_t n);
std::string mid(std::string_view text, std::size_t start1, std::size_t n = std::string_view::npos);
// True when the text is empty or only blanks and NULs.
bool isBlank(std::string_view text);

}  // namespace vellano::records
