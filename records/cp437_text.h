// Screen texts are written in the sources as UTF-8 ("┌─Codice──┐") and kept on screen as
// code page 437 bytes; this turns the one into the other.
#pragma once

#include <string>
#include <string_view>

namespace vellano::records {

// Characters code page 437 lacks become "?".
std::string cp437(std::string_view utf8);

}  // namespace vellano::records
