// Test program for the terminal backend: draws a box, a row of input dots and the last key
// read, and logs every decoded key to the file named by its argument. ESC ends it.
// F2 gives the terminal away and takes it back, as around a child program, with the child's
// output standing in between. F4 ends it through an uncaught exception and F5 through
// std::exit, to show that the terminal is restored either way.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>

#include "platform/console.h"
#include "platform/keys.h"

namespace {

using vellano::platform::Console;
using vellano::platform::Key;
using vellano::platform::KeyEvent;
using vellano::platform::ScreenBuffer;

constexpr std::uint8_t kBoxAttr = 0x1F;  // white on blue
constexpr std::uint8_t kKeyAttr = 0x4E;  // yellow on red
constexpr int kKeyRow = 10;

std::string modifierNames(std::uint8_t mods) {
  using namespace vellano::platform;
  std::string out;
  const std::pair<std::uint8_t, const char*> names[] = {
      {kLeftAlt, "LALT"}, {kRightAlt, "RALT"}, {kLeftCtrl, "LCTRL"}, {kRightCtrl, "RCTRL"}, {kShift, "SHIFT"}};
  for (const auto& [bit, name] : names) {
    if (mods & bit) {
      out += ' ';
      out += name;
    }
  }
  return out;
}

std::string describe(const KeyEvent& event) {
  switch (event.kind) {
    case KeyEvent::Kind::Extended:
      return std::string(vellano::platform::keyName(event.key)) + modifierNames(event.modifiers);
    case KeyEvent::Kind::Char:
      return "CHAR " + std::to_string(event.ch) + modifierNames(event.modifiers);
    case KeyEvent::Kind::Mouse:
      return "MOUSE " + std::to_string(event.mouseRow) + " " + std::to_string(event.mouseCol);
  }
  return "?";
}

void drawBox(ScreenBuffer& screen, int top, int left, int bottom, int right) {
  screen.put(top, left, 0xDA, kBoxAttr);
  screen.put(top, right, 0xBF, kBoxAttr);
  screen.put(bottom, left, 0xC0, kBoxAttr);
  screen.put(bottom, right, 0xD9, kBoxAttr);
  for (int col = left + 1; col < right; ++col) {
    screen.put(top, col, 0xC4, kBoxAttr);
    screen.put(bottom, col, 0xC4, kBoxAttr);
    for (int row = top + 1; row < bottom; ++row) screen.put(row, col, ' ', kBoxAttr);
  }
  for (int row = top + 1; row < bottom; ++row) {
    screen.put(row, left, 0xB3, kBoxAttr);
    screen.put(row, right, 0xB3, kBoxAttr);
  }
}

void showKey(Console& console, const std::string& text) {
  const std::string line = "Tasto: " + text;
  console.screen().putText(kKeyRow, 1, std::string(vellano::platform::kCols, ' '), 0x07);
  console.screen().putText(kKeyRow, 1, line, kKeyAttr);
  console.setCursor(kKeyRow, static_cast<int>(line.size()) + 1);
  console.setTitle("Sonda: " + text);
}

// Stands in for a child program that draws on the terminal while it has it.
void actAsChild() {
  const std::string scribble = "\033[2J\033[HCHILD OUTPUT\r\n";
  if (::write(STDOUT_FILENO, scribble.data(), scribble.size()) < 0) std::perror("write");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: term_probe LOGFILE\n";
    return 2;
  }
  std::ofstream log(argv[1], std::ios::app);
  if (!log) {
    std::cerr << argv[1] << ": cannot open\n";
    return 2;
  }
  Console console(vellano::platform::makeTerminalBackend());
  ScreenBuffer& screen = console.screen();
  screen.putText(1, 1, "Prova del terminale", 0x0F);
  drawBox(screen, 2, 2, 8, 61);
  screen.putText(5, 5, std::string(40, '\xFA'), kBoxAttr);
  showKey(console, "-");
  console.setTitle("Sonda tasti");

  for (;;) {
    const KeyEvent event = console.readKey();
    if (event.is(Key::F2)) {
      console.backend().releaseForChild(false);
      actAsChild();
      console.backend().reclaimAfterChild(false);
    }
    if (event.is(Key::F4)) throw std::runtime_error("term_probe: uncaught on purpose");
    if (event.is(Key::F5)) std::exit(4);
    const std::string text = describe(event);
    showKey(console, text);
    console.present();
    log << text << '\n' << std::flush;
    if (event.is(Key::Esc)) break;
  }
  console.finish();
  return 0;
}
