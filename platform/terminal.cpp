// The terminal backend on ncursesw: presents the cell buffer (code page 437 through its
// Unicode glyphs, 16 colours), sending only the cells that changed, and reads keys and mouse
// events. The only file that talks to curses besides the key decoder.
#define NCURSES_NOMACROS
#include <curses.h>
#include <langinfo.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <exception>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/console.h"
#include "platform/cp437.h"
#include "platform/terminal_colours.h"
#include "platform/terminal_keys.h"

namespace vellano::platform {
namespace {

// Long enough for a terminal's escape sequence to arrive whole, short enough that ESC feels
// immediate.
constexpr int kEscDelayMs = 25;
// Blocking reads that fail at once this many times in a row mean the input has ended.
constexpr int kDeadInputErrors = 100;
constexpr std::string_view kResizeRequest = "\033[8;50;120t";
constexpr std::string_view kTooSmallMessage = "Allargare la finestra a 120 x 50";

// True while curses owns the terminal, so the exit guards know to give it back.
bool cursesActive = false;
std::terminate_handler previousTerminate = nullptr;

void restoreTerminal() {
  if (!cursesActive) return;
  cursesActive = false;
  endwin();
}

// The terminal must be given back however the program ends: std::exit and a return from main
// run the atexit guard, an escaping exception the terminate handler.
void installExitGuards() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  std::atexit(restoreTerminal);
  previousTerminate = std::set_terminate([] {
    restoreTerminal();
    if (previousTerminate != nullptr) previousTerminate();
    std::abort();
  });
}

void writeAll(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // the terminal is gone; nothing left to tell it
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

// ncursesw shows wide characters only under a UTF-8 character type. A program started with an
// empty environment still gets line drawing instead of question marks.
void chooseUtf8Locale() {
  std::setlocale(LC_CTYPE, "");
  if (std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0) return;
  if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr) std::setlocale(LC_CTYPE, "");
}

int capabilityCode(std::string_view name) {
  const std::string capability(name);
  const char* sequence = tigetstr(capability.c_str());
  if (sequence == nullptr || sequence == reinterpret_cast<char*>(-1)) return 0;
  const int code = key_defined(sequence);
  return code > 0 ? code : 0;
}

class TerminalBackend final : public Backend {
 public:
  TerminalBackend() : decoder_(standardKeyTable()) {}
  ~TerminalBackend() override { shutDown(); }
  TerminalBackend(const TerminalBackend&) = delete;
  TerminalBackend& operator=(const TerminalBackend&) = delete;

  void start();

  void present(const ScreenBuffer& screen, const CursorState& cursor, const std::string& title) override;
  KeyEvent readKey() override;
  void beep() override {
    if (active_) ::beep();
  }
  bool headless() const override { return false; }
  void releaseForChild(bool systemProgram) override;
  void reclaimAfterChild(bool systemProgram) override;
  void finish(const ScreenBuffer& screen, const std::string& title) override;

 private:
  void enableInput();
  void initColours();
  void buildGlyphs();
  void ensureSize();
  void showTooSmall();
  void waitForResize();
  void drawCells(const ScreenBuffer& screen);
  void putCell(int row, int col, const Cell& cell);
  int pairFor(const CellStyle& style);
  void placeCursor(const CursorState& cursor);
  void sendTitle(const std::string& title);
  void noteReadFailure();
  void shutDown();

  SCREEN* screen_ = nullptr;
  bool active_ = false;
  KeyDecoder decoder_;
  std::array<wchar_t, 256> glyphs_{};

  // What the terminal shows now, so present() sends only the difference.
  ScreenBuffer shown_;
  CursorState shownCursor_;
  std::string shownTitle_;
  bool fullRedraw_ = true;
  bool titleSent_ = false;
  std::optional<bool> cursorVisible_;

  bool colours_ = false;
  int terminalColours_ = 0;
  std::array<int, 256> pairs_{};  // curses pair per curses (background * 16 + foreground)
  int nextPair_ = 1;

  bool resizeAsked_ = false;
  int readFailures_ = 0;
};

void TerminalBackend::start() {
  chooseUtf8Locale();
  installExitGuards();
  screen_ = newterm(nullptr, stdout, stdin);
  if (screen_ == nullptr) {
    const char* term = std::getenv("TERM");
    throw std::runtime_error(std::string("terminal not usable (TERM=") + (term ? term : "") + ")");
  }
  active_ = true;
  cursesActive = true;
  set_escdelay(kEscDelayMs);
  raw();
  noecho();
  nonl();
  intrflush(stdscr, FALSE);
  leaveok(stdscr, FALSE);
  scrollok(stdscr, FALSE);
  enableInput();
  // Codes for the modified keys exist only once curses has read the terminal description.
  KeyTable table = standardKeyTable();
  addModifiedKeys(table, capabilityCode);
  decoder_ = KeyDecoder(std::move(table));
  initColours();
  buildGlyphs();
}

void TerminalBackend::enableInput() {
  keypad(stdscr, TRUE);
  // Presses and releases come as they happen: waiting to assemble clicks only adds delay.
  mouseinterval(0);
  mousemask(ALL_MOUSE_EVENTS | REPORT_MOUSE_POSITION, nullptr);
}

void TerminalBackend::initColours() {
  pairs_.fill(-1);
  if (!has_colors()) return;
  start_color();
  colours_ = true;
  terminalColours_ = COLORS;
}

void TerminalBackend::buildGlyphs() {
  for (int byte = 0; byte < 256; ++byte) {
    const char32_t glyph = cp437ToUnicode(static_cast<std::uint8_t>(byte));
    const wchar_t wide = static_cast<wchar_t>(glyph);
    // A glyph the terminal would not show one column wide would shift the rest of the row.
    glyphs_[static_cast<std::size_t>(byte)] = (glyph == 0) ? L' ' : (::wcwidth(wide) == 1 ? wide : L'?');
  }
}

void TerminalBackend::present(const ScreenBuffer& screen, const CursorState& cursor, const std::string& title) {
  if (!active_) return;
  ensureSize();
  drawCells(screen);
  placeCursor(cursor);
  wrefresh(stdscr);
  sendTitle(title);
}

void TerminalBackend::ensureSize() {
  bool waited = false;
  while (getmaxy(stdscr) < kRows || getmaxx(stdscr) < kCols) {
    if (!resizeAsked_) {
      resizeAsked_ = true;
      writeAll(kResizeRequest);
    }
    showTooSmall();
    waitForResize();
    waited = true;
  }
  if (waited) fullRedraw_ = true;
}

void TerminalBackend::showTooSmall() {
  werase(stdscr);
  const int rows = getmaxy(stdscr);
  const int cols = getmaxx(stdscr);
  const int width = std::min(cols, static_cast<int>(kTooSmallMessage.size()));
  const int col = std::max(0, (cols - width) / 2);
  mvwaddnstr(stdscr, std::max(0, rows / 2), col, kTooSmallMessage.data(), width);
  clearok(stdscr, TRUE);
  wrefresh(stdscr);
}

// Keys typed while the console is too small would act on a screen nobody can see.
void TerminalBackend::waitForResize() {
  wtimeout(stdscr, -1);
  wint_t ch = 0;
  const int result = wget_wch(stdscr, &ch);
  if (result == KEY_CODE_YES && ch == KEY_RESIZE) return;
  if (result == ERR) {
    noteReadFailure();
    return;
  }
  ::beep();
}

void TerminalBackend::drawCells(const ScreenBuffer& screen) {
  if (fullRedraw_) {
    werase(stdscr);
    clearok(stdscr, TRUE);
  }
  for (int row = 1; row <= kRows; ++row) {
    for (int col = 1; col <= kCols; ++col) {
      const Cell& cell = screen.at(row, col);
      if (!fullRedraw_ && cell == shown_.at(row, col)) continue;
      putCell(row, col, cell);
    }
  }
  shown_ = screen;
  fullRedraw_ = false;
}

void TerminalBackend::putCell(int row, int col, const Cell& cell) {
  const CellStyle style = cellStyle(cell.attr, terminalColours_);
  attr_t attrs = style.bold ? A_BOLD : A_NORMAL;
  int pair = 0;
  if (colours_) {
    pair = pairFor(style);
  } else if ((cell.attr & 0x70) != 0) {
    attrs |= A_REVERSE;  // no colours: a coloured background still stands out
  }
  const wchar_t text[2] = {glyphs_[cell.ch], L'\0'};
  cchar_t shaped;
  setcchar(&shaped, text, attrs, 0, &pair);
  // The bottom-right cell reports an error because the cursor cannot move past it, yet it
  // is written.
  mvwadd_wch(stdscr, row - 1, col - 1, &shaped);
}

// Pairs are made as colours are first used: screens use a few dozen combinations, and an
// 8-colour terminal may not have room for all 256.
int TerminalBackend::pairFor(const CellStyle& style) {
  const std::size_t index = static_cast<std::size_t>(style.background * 16 + style.foreground);
  if (pairs_[index] >= 0) return pairs_[index];
  if (nextPair_ >= COLOR_PAIRS) return 0;
  const int pair = nextPair_;
  if (init_extended_pair(pair, style.foreground, style.background) != OK) return 0;
  ++nextPair_;
  pairs_[index] = pair;
  return pair;
}

void TerminalBackend::placeCursor(const CursorState& cursor) {
  const bool visible = cursor.visible && ScreenBuffer::inside(cursor.row, cursor.col);
  if (visible) wmove(stdscr, cursor.row - 1, cursor.col - 1);
  if (cursorVisible_ != visible) {
    curs_set(visible ? 1 : 0);
    cursorVisible_ = visible;
  }
  shownCursor_ = cursor;
}

void TerminalBackend::sendTitle(const std::string& title) {
  if (titleSent_ && title == shownTitle_) return;
  // Control bytes become blanks in the conversion, so a title cannot end the sequence early.
  std::string sequence = "\033]0;";
  sequence += cp437ToUtf8(title);
  sequence += '\007';
  writeAll(sequence);
  shownTitle_ = title;
  titleSent_ = true;
}

KeyEvent TerminalBackend::readKey() {
  if (screen_ == nullptr) throw std::logic_error("terminal already given back");
  if (!active_) reclaimAfterChild(false);
  for (;;) {
    if (std::optional<KeyEvent> event = decoder_.take()) return *event;
    ensureSize();
    wtimeout(stdscr, decoder_.pending() ? kEscDelayMs : -1);
    wint_t ch = 0;
    const int result = wget_wch(stdscr, &ch);
    if (result == ERR) {
      if (decoder_.pending()) {
        decoder_.timeout();
      } else {
        noteReadFailure();
      }
      continue;
    }
    readFailures_ = 0;
    if (result != KEY_CODE_YES) {
      decoder_.feed(RawKey::character(static_cast<char32_t>(ch)));
      continue;
    }
    if (ch == KEY_RESIZE) {
      // Repaint what the program last showed at the new size.
      fullRedraw_ = true;
      present(shown_, shownCursor_, shownTitle_);
      continue;
    }
    RawKey raw = RawKey::keyCode(static_cast<int>(ch));
    if (ch == KEY_MOUSE) {
      MEVENT mouse{};
      if (getmouse(&mouse) != OK) continue;
      raw.mouseRow = mouse.y;
      raw.mouseCol = mouse.x;
    }
    decoder_.feed(raw);
  }
}

// A blocking read fails at once only when the terminal has gone away (hang-up, input at
// end); a signal can interrupt one now and then, so only a run of failures ends the program.
void TerminalBackend::noteReadFailure() {
  pollfd input{STDIN_FILENO, POLLIN, 0};
  const bool hungUp = ::poll(&input, 1, 0) > 0 && (input.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
  if (!hungUp && ++readFailures_ < kDeadInputErrors) return;
  shutDown();
  std::fputs("terminal closed\n", stderr);
  std::exit(1);
}

void TerminalBackend::releaseForChild(bool /*systemProgram*/) {
  if (!active_) return;
  def_prog_mode();
  endwin();
  active_ = false;
  cursesActive = false;
}

void TerminalBackend::reclaimAfterChild(bool /*systemProgram*/) {
  if (active_ || screen_ == nullptr) return;
  reset_prog_mode();
  active_ = true;
  cursesActive = true;
  enableInput();
  // The child drew over everything and may have set its own title and cursor.
  fullRedraw_ = true;
  titleSent_ = false;
  cursorVisible_.reset();
  clearok(stdscr, TRUE);
  wrefresh(stdscr);
}

void TerminalBackend::finish(const ScreenBuffer& /*screen*/, const std::string& /*title*/) { shutDown(); }

void TerminalBackend::shutDown() {
  if (screen_ == nullptr) return;
  if (active_) {
    active_ = false;
    cursesActive = false;
    endwin();
  }
  delscreen(screen_);
  screen_ = nullptr;
}

}  // namespace

std::unique_ptr<Backend> makeTerminalBackend() {
  auto backend = std::make_unique<TerminalBackend>();
  backend->start();
  return backend;
}

}  // namespace vellano::platform
