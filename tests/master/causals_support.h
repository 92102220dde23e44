// Shared by the master-data screen tests: an in-process session on a key script (for beeps,
// cells and return values) and reading cells out of the UTF-8 screen dumps of a real run.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "records/catalogue.h"
#include "records/context.h"
#include "screen/error_box.h"
#include "screen/field_editor.h"
#include "screen/function_keys.h"
#include "screen/session.h"
#include "support/dump_text.h"
#include "support/scripted_session.h"

namespace vellano::master::testing {

using vellano::testing::ScriptedSession;

// `n` cells of a dump line from column `col` (1-based).
inline std::string columns(const std::string& line, int col, int n) { return vellano::testing::cells(line, col, n); }

// Record `n` of a fixed-length file, as bytes ("" past the end).
inline std::string recordOf(const std::string& file, std::size_t length, long n) {
  std::ifstream in(file, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t at = static_cast<std::size_t>(n - 1) * length;
  return at >= bytes.size() ? std::string() : bytes.substr(at, length);
}

}  // namespace vellano::master::testing
