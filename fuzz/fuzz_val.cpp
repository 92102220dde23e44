// Arbitrary bytes through the number readers and writers and through field reads of a record:
// damaged data must read as something, never crash.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "records/numbers.h"
#include "records/record_file.h"
#include "records/text.h"

namespace records = vellano::records;

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const double v = records::val(text);
  check(!std::isnan(v) && !std::isinf(v));
  const std::string s = records::str(v);
  check(!s.empty() && (s[0] == ' ' || s[0] == '-'));
  const std::string single = records::strSingle(static_cast<float>(v));
  check(!single.empty());
  // Our own standard text reads back to the value at 15 digits.
  const double back = records::val(s);
  check(back == v || std::fabs(back - v) <= std::fabs(v) * 1e-14);

  for (std::string_view mask : {"#,###,###.##", "####", "##.#", "###.##########", ".##"}) {
    const std::string shown = records::printUsing(mask, v);
    check(shown.size() >= mask.size() || shown[0] == '%');
    check(shown.size() == mask.size() || shown[0] == '%');
  }
  check(records::roundTo(v, 2) == records::roundTo(v, 2));

  // Field reads on a record made of the data, with a layout taken from its first bytes that
  // may run past the end.
  const records::Record record{std::string(text)};
  const std::size_t offset = size > 0 ? data[0] % 64 : 0;
  const std::size_t width = size > 1 ? data[1] % 64 : 0;
  const records::Field f{offset, width};
  const std::string fieldText = record.text(f);
  check(fieldText.size() == width);
  check(fieldText.find('\0') == std::string::npos);
  check(record.trimmed(f).size() <= width);
  const double n = record.number(f);
  check(!std::isnan(n));
  records::Record copy = record;
  copy.set(f, text.substr(0, 20));
  check(copy.bytes().size() == record.bytes().size());

  check(records::trim(text).size() <= size);
  check(records::mid(text, offset, width).size() <= width);
  return 0;
}
