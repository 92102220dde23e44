// The legend of the function-key panel, built from the labels of the keys that have one.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace vellano::screen {

struct KeyLabel {
  int key;  // 1-9
  std::string_view label;
};

// Eleven "|"-separated fields: each key 1-9 with its label (cut or padded to 10, blank when
// not given), then the two notes.
std::string legend(std::initializer_list<KeyLabel> labels, std::string_view note1 = {},
                   std::string_view note2 = {});

// The note of screens where PgUp/PgDn and "+"/"-" page through records.
inline constexpr std::string_view kPageNote = "Pag+-";

}  // namespace vellano::screen
