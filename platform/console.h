// The console the program talks to: its cell buffer, title and cursor, and the backend that
// presents them and reads keys (terminal or headless). Nothing else touches the terminal.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/keys.h"
#include "platform/screen_buffer.h"

namespace vellano::platform {

struct CursorState {
  int row = 1;
  int col = 1;
  bool visible = true;
  friend bool operator==(const CursorState&, const CursorState&) = default;
};

class Backend {
 public:
  virtual ~Backend() = default;
  // Shows the buffer; only cells changed since the last call need to reach the device.
  virtual void present(const ScreenBuffer& screen, const CursorState& cursor, const std::string& title) = 0;
  // Waits for the next key or mouse event.
  virtual KeyEvent readKey() = 0;
  virtual void beep() = 0;
  virtual bool headless() const = 0;
  // Around another program that runs in this console: the terminal backend gives the terminal
  // away; the headless one writes back the keys not consumed when `systemProgram` (a program
  // of ours that reads the same key script) and reads the script again afterwards.
  virtual void releaseForChild(bool systemProgram) = 0;
  virtual void reclaimAfterChild(bool systemProgram) = 0;
  // The program ends: the headless backend appends the final screen dump.
  virtual void finish(const ScreenBuffer& screen, const std::string& title) = 0;
};

class Console {
 public:
  explicit Console(std::unique_ptr<Backend> backend);
  ~Console();
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  ScreenBuffer& screen() { return screen_; }
  const ScreenBuffer& screen() const { return screen_; }

  void setTitle(std::string title) { title_ = std::move(title); }
  const std::string& title() const { return title_; }

  void setCursor(int row, int col) { cursor_.row = row; cursor_.col = col; }
  void showCursor(bool visible) { cursor_.visible = visible; }
  const CursorState& cursor() const { return cursor_; }

  void beep();
  int beepCount() const { return beeps_; }

  // Presents the buffer, then waits for a key.
  KeyEvent readKey();
  void present();

  Backend& backend() { return *backend_; }
  bool headless() const { return backend_->headless(); }

  // Appends the final screen (headless) once; also done by the destructor.
  void finish();

 private:
  std::unique_ptr<Backend> backend_;
  ScreenBuffer screen_;
  CursorState cursor_;
  std::string title_;
  int beeps_ = 0;
  bool finished_ = false;
};

// Picks the backend for this run: headless when VELLANO_KEYS is set, the terminal otherwise.
// A malformed key script is reported on stderr naming its line and ends the run with status 2.
std::unique_ptr<Backend> makeBackend();

// The terminal backend on ncursesw.
std::unique_ptr<Backend> makeTerminalBackend();

}  // namespace vellano::platform
