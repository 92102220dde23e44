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
#include "support/screen_helpers.h"

namespace vellano::master::testing {

// Everything a screen needs, in the test's working folder (host mode 1, data prefix "C:").
struct ScriptedSession {
  explicit ScriptedSession(std::string_view script)
      : scripted(script), catalogue(context), editor(scripted.console()),
        errorBox(scripted.console(), context, editor),
        session{scripted.console(), catalogue, editor, panel, errorBox} {}

  platform::HeadlessBackend& backend() { return scripted.backend(); }
  const platform::ScreenBuffer& screen() { return scripted.console().screen(); }

  vellano::testing::ScriptedConsole scripted;
  records::Context context;
  records::Catalogue catalogue;
  screen::FieldEditor editor;
  screen::FunctionKeyPanel panel;
  screen::ErrorBox errorBox;
  screen::Session session;
};

// `n` characters of a dump line from column `col` (1-based), counting UTF-8 characters.
inline std::string columns(const std::string& line, int col, int n) {
  std::size_t start = std::string::npos, end = line.size();
  int index = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if ((static_cast<unsigned char>(line[i]) & 0xC0) == 0x80) continue;  // continuation byte
    ++index;
    if (index == col) start = i;
    if (index == col + n) {
      end = i;
      break;
    }
  }
  return start == std::string::npos ? std::string() : line.substr(start, end - start);
}

// Record `n` of a fixed-length file, as bytes ("" past the end).
inline std::string recordOf(const std::string& file, std::size_t length, long n) {
  std::ifstream in(file, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t at = static_cast<std::size_t>(n - 1) * length;
  return at >= bytes.size() ? std::string() : bytes.substr(at, length);
}

}  // namespace vellano::master::testing
