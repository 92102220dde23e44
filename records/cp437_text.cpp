#include "records/cp437_text.h"

#include "platform/cp437.h"

namespace vellano::records {

std::string cp437(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    auto lead = static_cast<unsigned char>(utf8[i]);
    int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
    if (extra < 0 || i + extra >= utf8.size()) {
      out += '?';
      ++i;
      continue;
    }
    char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      auto cont = static_cast<unsigned char>(utf8[i + k]);
      if ((cont & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (cont & 0x3F);
    }
    i += ok ? extra + 1 : 1;
    auto byte = ok ? platform::unicodeToCp437(cp) : std::nullopt;
    out += byte ? static_cast<char>(*byte) : '?';
  }
  return out;
}

}  // namespace vellano::records
