// Any byte sequence through the PCL interpreter and the page text: never a crash, every
// page A4 and every position a finite number.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "outside/pcl_reader.h"
#include "outside/pdf_content.h"

using namespace vellano::outside;

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto pages = readPcl(bytes);
  check(!pages.empty());
  std::size_t characters = 0;
  for (const PclPage& page : pages) {
    check(page.width() > 0 && page.height() > 0);
    for (const TextRun& run : page.runs) {
      check(std::isfinite(run.x) && std::isfinite(run.baseline));
      check(run.pitch > 0 && run.advance > 0 && !run.text.empty());
      characters += run.text.size();
    }
    check(!pageContent(page).empty());
  }
  // Blanks between runs may be filled in, but never more text than bytes read.
  check(characters <= size * 257);
  return 0;
}
