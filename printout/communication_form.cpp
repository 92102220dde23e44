// Looking up the form table and placing a value in its box.
#include "printout/communication_form.h"

#include <algorithm>

namespace vellano::printout {

namespace {

// Every field has exactly one box.
constexpr bool everyFieldOnce() {
  for (int f = 0; f <= static_cast<int>(FormField::CommitmentDate); ++f) {
    int count = 0;
    for (const FormBox& box : kCommunicationBoxes) count += static_cast<int>(box.field) == f ? 1 : 0;
    if (count != 1) return false;
  }
  return true;
}
static_assert(everyFieldOnce());

}  // namespace

const FormBox& formBox(FormField field) {
  return *std::find_if(kCommunicationBoxes.begin(), kCommunicationBoxes.end(),
                       [field](const FormBox& box) { return box.field == field; });
}

std::string formSetUp() {
  std::string out;
  for (std::string_view command : {"E", "&l0O", "&l26A", "&a0P", "&l0E", "&a0L", "&k12H", "&l8C", "*t300R", "&l0L"}) {
    out += '\x1B';
    out += command;
  }
  out += "\r\n";
  for (std::string_view command : {"(s3T", "(s0S", "(s0P", "(s10H"}) {
    out += '\x1B';
    out += command;
  }
  return out + "\r\n";
}

std::string formValue(FormField field, std::string_view value) {
  const FormBox& box = formBox(field);
  std::string out = "\x1B&a" + std::to_string(box.line) + "R\x1B&a" + std::to_string(box.column) + "C";
  out += value.substr(0, static_cast<std::size_t>(box.width));
  return out;
}

}  // namespace vellano::printout
