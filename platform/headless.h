// The headless backend: keys from a script (file or in-process queue), screens to dump files.
#pragma once

#include <deque>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/console.h"
#include "platform/key_script.h"

namespace vellano::platform {

// Thrown by an in-process queue that has run dry (a script file ends the program instead).
struct KeysExhausted : std::exception {
  const char* what() const noexcept override { return "key queue exhausted"; }
};

// One screen dump: "title: " + title, 50 lines of 120 glyphs, "----", each line ending "\n".
std::string formatScreenDump(const ScreenBuffer& screen, const std::string& title);

class HeadlessBackend : public Backend {
 public:
  // In-process queue for tests. `screenFile`, when given, receives the dumps.
  explicit HeadlessBackend(std::vector<ScriptItem> items,
                           std::optional<std::filesystem::path> screenFile = std::nullopt);
  // From VELLANO_KEYS / VELLANO_SCREEN: reads and parses the script file; a malformed
  // script prints a message naming the line on stderr and exits with status 2.
  static std::unique_ptr<HeadlessBackend> fromEnvironment();

  void present(const ScreenBuffer& screen, const CursorState& cursor, const std::string& title) override;
  KeyEvent readKey() override;
  void beep() override { ++beeps_; }
  bool headless() const override { return true; }
  void releaseForChild(bool systemProgram) override;
  void reclaimAfterChild(bool systemProgram) override;
  void finish(const ScreenBuffer& screen, const std::string& title) override;

  void push(const KeyEvent& event);
  std::size_t pending() const { return queue_.size(); }
  int beeps() const { return beeps_; }
  // Every dump taken so far (<SNAP> and the final one), also kept in memory for tests.
  const std::vector<std::string>& dumps() const { return dumps_; }
  const ScreenBuffer& lastScreen() const { return last_; }
  const CursorState& lastCursor() const { return lastCursor_; }

 private:
  void appendDump();
  void reloadScript();

  std::deque<ScriptItem> queue_;
  std::optional<std::filesystem::path> scriptFile_;  // set when the keys come from a file
  std::optional<std::filesystem::path> screenFile_;
  ScreenBuffer last_;
  CursorState lastCursor_;
  std::string lastTitle_;
  std::vector<std::string> dumps_;
  int beeps_ = 0;
};

// Parses `script` into an in-process headless backend; throws std::invalid_argument on a
// malformed script. For tests and benchmarks.
std::unique_ptr<HeadlessBackend> scriptedBackend(std::string_view script);

}  // namespace vellano::platform
