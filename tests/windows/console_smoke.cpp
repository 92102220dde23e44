// Smoke test of the Windows console backend in a real console: the title, a full 120 x 50
// buffer written and read back, keys and a click injected into the console's input, and a
// child program's exit code and arguments. Prints one line per check and a closing count.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/commands.h"
#include "platform/console.h"
#include "platform/console_input.h"
#include "platform/cp437.h"
#include "platform/process.h"
#include "platform/programs.h"

using namespace vellano::platform;

namespace {

// The console even while the standard output goes to the log file.
HANDLE conout() {
  static const HANDLE h = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
  return h;
}
HANDLE conin() {
  static const HANDLE h = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
  return h;
}

int passed = 0;
int failed = 0;

void check(bool ok, const std::string& what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
  (ok ? passed : failed)++;
}

// The arguments the parent sends, with blanks, quotes and a trailing backslash.
const std::vector<std::string> kChildArgs = {"a b", "q\"x", "C:\\dati ditta\\", ""};

int runChild(int argc, wchar_t** argv) {
  if (argc != static_cast<int>(kChildArgs.size()) + 2) return 41;
  for (std::size_t i = 0; i < kChildArgs.size(); ++i) {
    const std::wstring expected(kChildArgs[i].begin(), kChildArgs[i].end());
    if (expected != argv[i + 2]) return 41;
  }
  return 42;
}

void checkTitle(Console& console) {
  console.setTitle("VELLA10W - Contabilit\x85 IVA");
  console.present();
  wchar_t title[256] = {};
  GetConsoleTitleW(title, 256);
  check(std::wstring(title) == L"VELLA10W - Contabilit\u00E0 IVA", "title set through the console");
}

// Every byte in every colour somewhere on the screen: glyphs and attributes must come back.
void checkFullBuffer(Console& console) {
  ScreenBuffer& screen = console.screen();
  for (int row = 1; row <= kRows; ++row) {
    for (int col = 1; col <= kCols; ++col) {
      const int n = (row - 1) * kCols + (col - 1);
      screen.put(row, col, static_cast<std::uint8_t>(n % 256), static_cast<std::uint8_t>((n / 256 + n) % 256));
    }
  }
  console.present();
  std::vector<CHAR_INFO> back(static_cast<std::size_t>(kRows * kCols));
  SMALL_RECT area{0, 0, kCols - 1, kRows - 1};
  const bool read = ReadConsoleOutputW(conout(), back.data(), COORD{kCols, kRows},
                                       COORD{0, 0}, &area) != 0;
  check(read && area.Right == kCols - 1 && area.Bottom == kRows - 1, "full 120 x 50 buffer read back");
  int wrongGlyphs = 0;
  int wrongColours = 0;
  for (int row = 1; row <= kRows; ++row) {
    for (int col = 1; col <= kCols; ++col) {
      const Cell& cell = screen.at(row, col);
      const CHAR_INFO& got = back[static_cast<std::size_t>((row - 1) * kCols + (col - 1))];
      const char32_t glyph = cell.ch == 0 ? U' ' : cp437ToUnicode(cell.ch);
      if (static_cast<char32_t>(got.Char.UnicodeChar) != glyph) ++wrongGlyphs;
      if ((got.Attributes & 0xFF) != cell.attr) ++wrongColours;
    }
  }
  check(wrongGlyphs == 0, "every cell's glyph (" + std::to_string(wrongGlyphs) + " wrong)");
  check(wrongColours == 0, "every cell's colours (" + std::to_string(wrongColours) + " wrong)");

  // One changed cell reaches the console too.
  screen.put(25, 60, 'X', 0x1E);
  console.present();
  CHAR_INFO one{};
  SMALL_RECT cell{59, 24, 59, 24};
  ReadConsoleOutputW(conout(), &one, COORD{1, 1}, COORD{0, 0}, &cell);
  check(one.Char.UnicodeChar == L'X' && (one.Attributes & 0xFF) == 0x1E, "a single changed cell");
}

void checkCursor(Console& console) {
  console.setCursor(10, 20);
  console.showCursor(true);
  console.present();
  CONSOLE_SCREEN_BUFFER_INFO info{};
  GetConsoleScreenBufferInfo(conout(), &info);
  CONSOLE_CURSOR_INFO shape{};
  GetConsoleCursorInfo(conout(), &shape);
  check(info.dwCursorPosition.X == 19 && info.dwCursorPosition.Y == 9 && shape.bVisible,
        "cursor shown at row 10, column 20");
  console.showCursor(false);
  console.present();
  GetConsoleCursorInfo(conout(), &shape);
  check(!shape.bVisible, "cursor hidden");
}

INPUT_RECORD keyRecord(WORD vk, wchar_t ch, DWORD state, bool down = true) {
  INPUT_RECORD r{};
  r.EventType = KEY_EVENT;
  r.Event.KeyEvent.bKeyDown = down ? TRUE : FALSE;
  r.Event.KeyEvent.wRepeatCount = 1;
  r.Event.KeyEvent.wVirtualKeyCode = vk;
  r.Event.KeyEvent.uChar.UnicodeChar = ch;
  r.Event.KeyEvent.dwControlKeyState = state;
  return r;
}

void checkKeys(Console& console) {
  // The console's own constants: our copies of them must agree.
  std::vector<INPUT_RECORD> records = {
      keyRecord(VK_F1, 0, 0),
      keyRecord(VK_F1, 0, 0, false),
      keyRecord(VK_F12, 0, 0),
      keyRecord(VK_END, 0, LEFT_CTRL_PRESSED | ENHANCED_KEY),
      keyRecord(VK_DELETE, 0, RIGHT_CTRL_PRESSED | ENHANCED_KEY),
      keyRecord('X', L'x', LEFT_ALT_PRESSED),
      keyRecord(VK_NEXT, 0, ENHANCED_KEY),
      keyRecord(VK_SHIFT, 0, SHIFT_PRESSED),
      keyRecord('A', L'A', SHIFT_PRESSED),
      keyRecord(0, L'\u00E8', 0),
      keyRecord(VK_RETURN, L'\r', 0),
  };
  INPUT_RECORD click{};
  click.EventType = MOUSE_EVENT;
  click.Event.MouseEvent.dwMousePosition = COORD{9, 4};
  click.Event.MouseEvent.dwButtonState = FROM_LEFT_1ST_BUTTON_PRESSED;
  records.push_back(click);
  DWORD written = 0;
  const bool injected = WriteConsoleInputW(conin(), records.data(),
                                           static_cast<DWORD>(records.size()), &written) != 0;
  check(injected && written == records.size(), "key and mouse records injected");
  const std::vector<std::pair<KeyEvent, std::string>> expected = {
      {KeyEvent::extended(Key::F1), "F1"},
      {KeyEvent::extended(Key::F12), "F12"},
      {KeyEvent::extended(Key::CtrlEnd, kLeftCtrl), "Ctrl+End"},
      {KeyEvent::extended(Key::CtrlDel, kRightCtrl), "right Ctrl+Del"},
      {KeyEvent::extended(Key::AltX, kLeftAlt), "Alt+X"},
      {KeyEvent::extended(Key::PgDn), "PgDn"},
      {KeyEvent::character('A', kShift), "Shift+A"},
      {KeyEvent::character(0x8A), "e grave as its cp437 byte"},
      {KeyEvent::extended(Key::Enter), "Enter"},
      {KeyEvent::mouse(5, 10), "click at row 5, column 10"},
  };
  for (const auto& [event, name] : expected) check(console.readKey() == event, "key read back: " + name);
}

void checkChild(const wchar_t* self) {
  SpawnRequest request;
  request.executable = self;
  request.args = {"child"};
  request.args.insert(request.args.end(), kChildArgs.begin(), kChildArgs.end());
  const SpawnResult result = spawnProgram(request);
  check(result.started && result.exitCode == 42,
        "child started with its arguments intact, exit code " + std::to_string(result.exitCode));
  SpawnRequest missing;
  missing.executable = L"C:\\nowhere\\missing.exe";
  check(!spawnProgram(missing).started, "a missing program is reported as not started");
}

// Around a child the console goes back to the modes we found; afterwards Ctrl+C is a key again.
void checkHandover(Console& console, DWORD modeFound, const wchar_t* self) {
  DWORD mode = 0;
  GetConsoleMode(conin(), &mode);
  check((mode & ENABLE_PROCESSED_INPUT) == 0 && (mode & ENABLE_MOUSE_INPUT) != 0,
        "our input mode: Ctrl+C is a key, the mouse reports");
  console.backend().releaseForChild(false);
  GetConsoleMode(conin(), &mode);
  check(mode == modeFound, "the child gets the input mode we found");
  checkChild(self);
  console.backend().reclaimAfterChild(false);
  GetConsoleMode(conin(), &mode);
  check((mode & ENABLE_PROCESSED_INPUT) == 0, "our input mode again after the child");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 2 && std::wstring(argv[1]) == L"child") return runChild(argc, argv);
  DWORD modeFound = 0;
  GetConsoleMode(conin(), &modeFound);
  {
    Console console(makeTerminalBackend());
    checkTitle(console);
    checkFullBuffer(console);
    checkCursor(console);
    checkKeys(console);
    checkHandover(console, modeFound, argv[0]);
  }
  DWORD modeLeft = 0;
  GetConsoleMode(conin(), &modeLeft);
  check(modeLeft == modeFound, "the input mode we found is left behind at the end");
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
