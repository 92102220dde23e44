// Script names of the extended keys, shared by the key-script parser and writer.
#include "platform/keys.h"

#include <array>
#include <utility>

namespace vellano::platform {

namespace {

constexpr std::array<std::pair<Key, std::string_view>, 29> kNames{{
    {Key::Enter, "ENTER"},   {Key::Esc, "ESC"},   {Key::Tab, "TAB"},    {Key::Backspace, "BS"},
    {Key::Up, "UP"},         {Key::Down, "DOWN"}, {Key::Left, "LEFT"},  {Key::Right, "RIGHT"},
    {Key::PgUp, "PGUP"},     {Key::PgDn, "PGDN"}, {Key::Home, "HOME"},  {Key::End, "END"},
    {Key::Ins, "INS"},       {Key::Del, "DEL"},   {Key::F1, "F1"},      {Key::F2, "F2"},
    {Key::F3, "F3"},         {Key::F4, "F4"},     {Key::F5, "F5"},      {Key::F6, "F6"},
    {Key::F7, "F7"},         {Key::F8, "F8"},     {Key::F9, "F9"},      {Key::F10, "F10"},
    {Key::F11, "F11"},       {Key::F12, "F12"},   {Key::CtrlEnd, "CTRL-END"},
    {Key::CtrlDel, "CTRL-DEL"}, {Key::AltX, "ALT-X"},
}};

}  // namespace

std::string_view keyName(Key key) {
  for (const auto& [k, name] : kNames) {
    if (k == key) return name;
  }
  return {};
}

Key keyFromName(std::string_view name) {
  for (const auto& [k, n] : kNames) {
    if (n == name) return k;
  }
  return Key::None;
}

}  // namespace vellano::platform
