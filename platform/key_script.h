// The key-script language of the headless mode: parsing it and writing back what is left.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/keys.h"

namespace vellano::platform {

struct ScriptItem {
  enum class Kind : std::uint8_t { Key, Snap };
  Kind kind = Kind::Key;
  KeyEvent event;
  friend bool operator==(const ScriptItem&, const ScriptItem&) = default;
};

struct ScriptError {
  int line = 0;          // 1-based line of the script
  std::string message;   // what is wrong there
};

using ScriptParse = std::variant<std::vector<ScriptItem>, ScriptError>;

ScriptParse parseKeyScript(std::string_view text);

// Script text that parses back to the same items (used to hand the rest of the queue on).
std::string writeKeyScript(const std::vector<ScriptItem>& items);

}  // namespace vellano::platform
