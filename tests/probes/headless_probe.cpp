// A tiny program of the system for testing the headless mode from outside: it draws a box,
// echoes typed characters on row 2, names the last extended key or mouse click on row 3,
// and ends on ESC. F5 starts a copy of itself as a child program sharing the key script.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/console.h"

using namespace vellano::platform;

namespace {

constexpr int kBoxRight = 40;

void drawBox(ScreenBuffer& s) {
  s.put(1, 1, 0xDA, 0x1F);
  s.put(1, kBoxRight, 0xBF, 0x1F);
  s.put(4, 1, 0xC0, 0x1F);
  s.put(4, kBoxRight, 0xD9, 0x1F);
  for (int col = 2; col < kBoxRight; ++col) {
    s.put(1, col, 0xC4, 0x1F);
    s.put(4, col, 0xC4, 0x1F);
  }
  for (int row = 2; row <= 3; ++row) {
    s.put(row, 1, 0xB3, 0x1F);
    s.put(row, kBoxRight, 0xB3, 0x1F);
  }
}

void showStatus(ScreenBuffer& s, const std::string& text) {
  s.putText(3, 2, std::string(kBoxRight - 2, ' '), 0x1F);
  s.putText(3, 2, text, 0x1F);
}

// Runs a copy of this program, handing it the key queue; returns its exit status.
int runChild(Console& console, const char* self) {
  console.backend().releaseForChild(true);
  int status = -1;
  const pid_t pid = ::fork();
  if (pid == 0) {
    char* const args[] = {const_cast<char*>(self), const_cast<char*>("--child"), nullptr};
    ::execv("/proc/self/exe", args);
    ::_exit(127);
  }
  if (pid > 0) {
    int raw = 0;
    while (::waitpid(pid, &raw, 0) < 0) {
    }
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }
  console.backend().reclaimAfterChild(true);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const bool child = argc > 1 && std::string_view(argv[1]) == "--child";
  Console console(makeBackend());
  console.setTitle(child ? "probe child" : "probe");
  ScreenBuffer& s = console.screen();
  drawBox(s);
  int col = 2;
  for (;;) {
    const KeyEvent key = console.readKey();
    if (key.is(Key::Esc)) break;
    switch (key.kind) {
      case KeyEvent::Kind::Char:
        if (col < kBoxRight) s.put(2, col++, key.ch, 0x1F);
        break;
      case KeyEvent::Kind::Mouse:
        showStatus(s, "mouse " + std::to_string(key.mouseRow) + " " + std::to_string(key.mouseCol));
        break;
      case KeyEvent::Kind::Extended:
        if (key.is(Key::F5)) {
          showStatus(s, "child " + std::to_string(runChild(console, argv[0])));
        } else {
          showStatus(s, "key " + std::string(keyName(key.key)));
        }
        break;
    }
  }
  return 0;
}
