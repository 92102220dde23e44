// Legends of the function-key panel.
#include "screen/legend.h"

#include <array>

#include "records/text.h"

namespace vellano::screen {

std::string legend(std::initializer_list<KeyLabel> labels, std::string_view note1, std::string_view note2) {
  std::array<std::string_view, 9> byKey{};
  for (const KeyLabel& l : labels)
    if (l.key >= 1 && l.key <= 9) byKey[static_cast<std::size_t>(l.key - 1)] = l.label;
  std::string out;
  for (int k = 0; k < 9; ++k) {
    out += static_cast<char>('1' + k);
    out += records::fitLeft(byKey[static_cast<std::size_t>(k)], 10);
    out += '|';
  }
  out += records::fitLeft(note1, 10) + "|" + records::fitLeft(note2, 10);
  return out;
}

}  // namespace vellano::screen
