// The Windows console backend: presents the cell buffer with WriteConsoleOutputW (code page
// 437 through its Unicode glyphs, the DOS attribute byte as the console's own), only the runs
// of cells that changed, and reads keys and mouse events with ReadConsoleInputW.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <exception>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/console.h"
#include "platform/console_input.h"
#include "platform/cp437.h"

namespace vellano::platform {
namespace {

constexpr std::wstring_view kTooSmallMessage = L"Allargare la finestra a 120 x 50";
constexpr DWORD kInputMode = ENABLE_MOUSE_INPUT | ENABLE_WINDOW_INPUT | ENABLE_EXTENDED_FLAGS;

// The console as we found it, put back however the program ends.
struct SavedConsole {
  bool saved = false;
  HANDLE in = INVALID_HANDLE_VALUE;
  HANDLE out = INVALID_HANDLE_VALUE;
  DWORD inMode = 0;
  DWORD outMode = 0;
  CONSOLE_CURSOR_INFO cursor{};
  CONSOLE_SCREEN_BUFFER_INFO size{};
  std::wstring title;
};

SavedConsole savedConsole;
bool consoleTaken = false;
std::terminate_handler previousTerminate = nullptr;

void giveConsoleBack() {
  if (!consoleTaken) return;
  consoleTaken = false;
  SetConsoleMode(savedConsole.in, savedConsole.inMode);
  SetConsoleMode(savedConsole.out, savedConsole.outMode);
  SetConsoleCursorInfo(savedConsole.out, &savedConsole.cursor);
}

// Ctrl+Break and closing the window end the program the system's way, after this.
BOOL WINAPI onConsoleControl(DWORD /*event*/) {
  giveConsoleBack();
  return FALSE;
}

void installExitGuards() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  std::atexit(giveConsoleBack);
  SetConsoleCtrlHandler(onConsoleControl, TRUE);
  previousTerminate = std::set_terminate([] {
    giveConsoleBack();
    if (previousTerminate != nullptr) previousTerminate();
    std::abort();
  });
}

std::wstring wideTitle(const std::string& cp437) {
  std::wstring out;
  out.reserve(cp437.size());
  for (const char c : cp437) out.push_back(static_cast<wchar_t>(cp437ToDumpGlyph(static_cast<std::uint8_t>(c))));
  return out;
}

class ConsoleBackend final : public Backend {
 public:
  ConsoleBackend() = default;
  ~ConsoleBackend() override { shutDown(); }
  ConsoleBackend(const ConsoleBackend&) = delete;
  ConsoleBackend& operator=(const ConsoleBackend&) = delete;

  void start();

  void present(const ScreenBuffer& screen, const CursorState& cursor, const std::string& title) override;
  KeyEvent readKey() override;
  void beep() override { MessageBeep(MB_OK); }
  bool headless() const override { return false; }
  void releaseForChild(bool systemProgram) override;
  void reclaimAfterChild(bool systemProgram) override;
  void finish(const ScreenBuffer& screen, const std::string& title) override;

 private:
  void take();
  bool fits() const;
  void resize();
  void ensureSize();
  void showTooSmall();
  void drawCells(const ScreenBuffer& screen);
  void writeRun(const ScreenBuffer& screen, int row, int first, int last);
  void placeCursor(const CursorState& cursor);
  void sendTitle(const std::string& title);
  std::optional<KeyEvent> nextRecord();
  [[noreturn]] void inputGone();
  void shutDown();

  HANDLE in_ = INVALID_HANDLE_VALUE;
  HANDLE out_ = INVALID_HANDLE_VALUE;
  bool active_ = false;
  std::array<wchar_t, 256> glyphs_{};
  std::deque<KeyEvent> ready_;

  // What the console shows now, so present() sends only the difference.
  ScreenBuffer shown_;
  CursorState shownCursor_;
  std::string shownTitle_;
  bool fullRedraw_ = true;
  bool titleSent_ = false;
  bool cursorSent_ = false;
  bool resized_ = false;
};

// The console itself, even when the standard handles are redirected to files. The handles
// stay open for the life of the process: the exit guard needs them.
HANDLE openConsole(const wchar_t* name) {
  return CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     0, nullptr);
}

void ConsoleBackend::start() {
  in_ = openConsole(L"CONIN$");
  out_ = openConsole(L"CONOUT$");
  DWORD mode = 0;
  if (in_ == INVALID_HANDLE_VALUE || out_ == INVALID_HANDLE_VALUE || !GetConsoleMode(in_, &mode) ||
      !GetConsoleMode(out_, &mode)) {
    throw std::runtime_error("no console: start the program in a console window");
  }
  savedConsole.in = in_;
  savedConsole.out = out_;
  GetConsoleMode(in_, &savedConsole.inMode);
  GetConsoleMode(out_, &savedConsole.outMode);
  GetConsoleCursorInfo(out_, &savedConsole.cursor);
  GetConsoleScreenBufferInfo(out_, &savedConsole.size);
  std::wstring title(1024, L'\0');
  title.resize(GetConsoleTitleW(title.data(), static_cast<DWORD>(title.size())));
  savedConsole.title = title;
  savedConsole.saved = true;
  installExitGuards();
  for (int byte = 0; byte < 256; ++byte) {
    const char32_t glyph = cp437ToUnicode(static_cast<std::uint8_t>(byte));
    glyphs_[static_cast<std::size_t>(byte)] = glyph == 0 ? L' ' : static_cast<wchar_t>(glyph);
  }
  take();
}

void ConsoleBackend::take() {
  // Without processed input Ctrl+C is a key like the others, as the field editor expects.
  SetConsoleMode(in_, kInputMode);
  SetConsoleMode(out_, 0);
  active_ = true;
  consoleTaken = true;
  fullRedraw_ = true;
  titleSent_ = false;
  cursorSent_ = false;
  ensureSize();
}

bool ConsoleBackend::fits() const {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!GetConsoleScreenBufferInfo(out_, &info)) return true;  // nothing to measure: draw anyway
  const int width = info.srWindow.Right - info.srWindow.Left + 1;
  const int height = info.srWindow.Bottom - info.srWindow.Top + 1;
  return width >= kCols && height >= kRows && info.dwSize.X >= kCols && info.dwSize.Y >= kRows;
}

// The window must lie inside the buffer at every step: shrink it, size the buffer, grow it.
void ConsoleBackend::resize() {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!GetConsoleScreenBufferInfo(out_, &info)) return;
  SMALL_RECT small{0, 0, static_cast<SHORT>(std::min<int>(info.srWindow.Right - info.srWindow.Left, kCols - 1)),
                   static_cast<SHORT>(std::min<int>(info.srWindow.Bottom - info.srWindow.Top, kRows - 1))};
  SetConsoleWindowInfo(out_, TRUE, &small);
  SetConsoleScreenBufferSize(out_, COORD{static_cast<SHORT>(kCols), static_cast<SHORT>(kRows)});
  SMALL_RECT full{0, 0, static_cast<SHORT>(kCols - 1), static_cast<SHORT>(kRows - 1)};
  SetConsoleWindowInfo(out_, TRUE, &full);
}

void ConsoleBackend::ensureSize() {
  if (fits()) return;
  if (!resized_) {
    resized_ = true;
    resize();
    if (fits()) return;
  }
  // Keys typed while the console is too small would act on a screen nobody can see.
  while (!fits()) {
    showTooSmall();
    INPUT_RECORD record{};
    DWORD got = 0;
    if (!ReadConsoleInputW(in_, &record, 1, &got)) inputGone();
    if (got == 1 && record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown) MessageBeep(MB_OK);
  }
  fullRedraw_ = true;
}

void ConsoleBackend::showTooSmall() {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  GetConsoleScreenBufferInfo(out_, &info);
  DWORD written = 0;
  const DWORD cells = static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y);
  FillConsoleOutputCharacterW(out_, L' ', cells, COORD{0, 0}, &written);
  FillConsoleOutputAttribute(out_, 0x07, cells, COORD{0, 0}, &written);
  const COORD at{0, static_cast<SHORT>(std::max(0, (info.srWindow.Bottom - info.srWindow.Top) / 2))};
  WriteConsoleOutputCharacterW(out_, kTooSmallMessage.data(), static_cast<DWORD>(kTooSmallMessage.size()), at,
                               &written);
}

void ConsoleBackend::present(const ScreenBuffer& screen, const CursorState& cursor, const std::string& title) {
  if (!active_) return;
  ensureSize();
  drawCells(screen);
  placeCursor(cursor);
  sendTitle(title);
}

void ConsoleBackend::drawCells(const ScreenBuffer& screen) {
  for (int row = 1; row <= kRows; ++row) {
    int first = 0;
    int last = 0;
    for (int col = 1; col <= kCols; ++col) {
      if (!fullRedraw_ && screen.at(row, col) == shown_.at(row, col)) continue;
      if (first == 0) first = col;
      last = col;
    }
    if (first != 0) writeRun(screen, row, first, last);
  }
  shown_ = screen;
  fullRedraw_ = false;
}

// One call per row carries the cells from the first change to the last.
void ConsoleBackend::writeRun(const ScreenBuffer& screen, int row, int first, int last) {
  std::array<CHAR_INFO, kCols> cells{};
  const int count = last - first + 1;
  for (int i = 0; i < count; ++i) {
    const Cell& cell = screen.at(row, first + i);
    cells[static_cast<std::size_t>(i)].Char.UnicodeChar = glyphs_[cell.ch];
    // The console's attribute word is the DOS attribute byte: foreground low, background high.
    cells[static_cast<std::size_t>(i)].Attributes = cell.attr;
  }
  SMALL_RECT area{static_cast<SHORT>(first - 1), static_cast<SHORT>(row - 1), static_cast<SHORT>(last - 1),
                  static_cast<SHORT>(row - 1)};
  WriteConsoleOutputW(out_, cells.data(), COORD{static_cast<SHORT>(count), 1}, COORD{0, 0}, &area);
}

void ConsoleBackend::placeCursor(const CursorState& cursor) {
  const bool visible = cursor.visible && ScreenBuffer::inside(cursor.row, cursor.col);
  if (visible) SetConsoleCursorPosition(out_, COORD{static_cast<SHORT>(cursor.col - 1), static_cast<SHORT>(cursor.row - 1)});
  if (!cursorSent_ || visible != shownCursor_.visible) {
    cursorSent_ = true;
    CONSOLE_CURSOR_INFO info{};
    GetConsoleCursorInfo(out_, &info);
    info.bVisible = visible ? TRUE : FALSE;
    SetConsoleCursorInfo(out_, &info);
  }
  shownCursor_ = cursor;
  shownCursor_.visible = visible;
}

void ConsoleBackend::sendTitle(const std::string& title) {
  if (titleSent_ && title == shownTitle_) return;
  SetConsoleTitleW(wideTitle(title).c_str());
  shownTitle_ = title;
  titleSent_ = true;
}

std::optional<KeyEvent> ConsoleBackend::nextRecord() {
  INPUT_RECORD record{};
  DWORD got = 0;
  if (!ReadConsoleInputW(in_, &record, 1, &got)) inputGone();
  if (got == 0) return std::nullopt;
  ConsoleInput input;
  switch (record.EventType) {
    case KEY_EVENT: {
      const KEY_EVENT_RECORD& k = record.Event.KeyEvent;
      input.type = ConsoleInput::Type::Key;
      input.keyDown = k.bKeyDown != 0;
      input.repeatCount = k.wRepeatCount;
      input.virtualKey = k.wVirtualKeyCode;
      input.unicodeChar = static_cast<char16_t>(k.uChar.UnicodeChar);
      input.controlKeyState = k.dwControlKeyState;
      break;
    }
    case MOUSE_EVENT: {
      const MOUSE_EVENT_RECORD& m = record.Event.MouseEvent;
      input = ConsoleInput::mouse(m.dwMousePosition.X, m.dwMousePosition.Y, m.dwButtonState, m.dwEventFlags,
                                  m.dwControlKeyState);
      break;
    }
    case WINDOW_BUFFER_SIZE_EVENT:
      // Repaint what the program last showed at the new size.
      fullRedraw_ = true;
      present(shown_, shownCursor_, shownTitle_);
      return std::nullopt;
    default:
      return std::nullopt;
  }
  std::optional<KeyEvent> event = translateConsoleInput(input);
  if (event && input.type == ConsoleInput::Type::Key) {
    for (int extra = 1; extra < input.repeatCount; ++extra) ready_.push_back(*event);
  }
  return event;
}

KeyEvent ConsoleBackend::readKey() {
  if (!active_) reclaimAfterChild(false);
  for (;;) {
    if (!ready_.empty()) {
      const KeyEvent event = ready_.front();
      ready_.pop_front();
      return event;
    }
    if (std::optional<KeyEvent> event = nextRecord()) return *event;
  }
}

void ConsoleBackend::inputGone() {
  shutDown();
  std::fputs("console closed\n", stderr);
  std::exit(1);
}

// The child gets the console as we found it; one of ours sets it up again for itself.
void ConsoleBackend::releaseForChild(bool /*systemProgram*/) {
  if (!active_) return;
  giveConsoleBack();
  active_ = false;
}

void ConsoleBackend::reclaimAfterChild(bool /*systemProgram*/) {
  if (active_) return;
  // The child drew over everything and may have set its own title and cursor: take() redraws.
  take();
}

void ConsoleBackend::finish(const ScreenBuffer& /*screen*/, const std::string& /*title*/) { shutDown(); }

void ConsoleBackend::shutDown() {
  if (!active_) return;
  active_ = false;
  // The prompt comes back on a clean console, not over the last screen.
  DWORD written = 0;
  const DWORD cells = static_cast<DWORD>(kRows) * static_cast<DWORD>(kCols);
  FillConsoleOutputCharacterW(out_, L' ', cells, COORD{0, 0}, &written);
  FillConsoleOutputAttribute(out_, 0x07, cells, COORD{0, 0}, &written);
  SetConsoleCursorPosition(out_, COORD{0, 0});
  giveConsoleBack();
  if (!savedConsole.saved) return;
  SetConsoleTitleW(savedConsole.title.c_str());
  // Back to the size we found, window inside buffer at each step as in resize().
  if (resized_) {
    const SMALL_RECT& old = savedConsole.size.srWindow;
    SMALL_RECT small{0, 0, static_cast<SHORT>(std::min<int>(old.Right - old.Left, kCols - 1)),
                     static_cast<SHORT>(std::min<int>(old.Bottom - old.Top, kRows - 1))};
    SetConsoleWindowInfo(out_, TRUE, &small);
    SetConsoleScreenBufferSize(out_, savedConsole.size.dwSize);
    SetConsoleWindowInfo(out_, TRUE, &old);
  }
}

}  // namespace

std::unique_ptr<Backend> makeTerminalBackend() {
  auto backend = std::make_unique<ConsoleBackend>();
  backend->start();
  return backend;
}

}  // namespace vellano::platform
