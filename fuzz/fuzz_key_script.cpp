// Any bytes as a key script: the parser must not crash, and a script it accepts must survive
// being written back (as when a program hands the rest of the queue on) unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/key_script.h"

using namespace vellano::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ScriptParse parsed = parseKeyScript(text);
  if (const auto* error = std::get_if<ScriptError>(&parsed)) {
    if (error->line < 1 || error->message.empty()) std::abort();
    return 0;
  }
  const auto& items = std::get<std::vector<ScriptItem>>(parsed);
  const std::string written = writeKeyScript(items);
  const ScriptParse again = parseKeyScript(written);
  const auto* reread = std::get_if<std::vector<ScriptItem>>(&again);
  if (reread == nullptr || *reread != items) {
    std::fprintf(stderr, "written script does not read back the same:\n%s\n", written.c_str());
    std::abort();
  }
  return 0;
}
