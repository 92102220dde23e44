// The headless backend: keys come from a key script, screens go to dump files.
//
// A script file is a queue shared by every program of the system started from it. Besides
// handing the rest on before starting another program of ours, a program also writes the
// rest back when it ends (normally or because the keys ran out): otherwise the program that
// started it would read again, on its return, the keys its child has already used.
#include "platform/headless.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "platform/cp437.h"

namespace vellano::platform {

namespace {

constexpr int kExitKeysExhausted = 3;
constexpr int kExitBadScript = 2;

std::optional<std::string> readWholeFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(text).str();
}

[[noreturn]] void endRun(int status) {
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  std::exit(status);
}

[[noreturn]] void refuseScript(const std::filesystem::path& file, const std::string& message) {
  std::cerr << file.string() << ": " << message << '\n';
  endRun(kExitBadScript);
}

// Reads and parses a script file; a missing or malformed one ends the run with status 2.
std::vector<ScriptItem> loadScript(const std::filesystem::path& file) {
  const auto text = readWholeFile(file);
  if (!text) refuseScript(file, "cannot read the key script");
  auto parsed = parseKeyScript(*text);
  if (const auto* error = std::get_if<ScriptError>(&parsed)) {
    refuseScript(file, "line " + std::to_string(error->line) + ": " + error->message);
  }
  return std::get<std::vector<ScriptItem>>(std::move(parsed));
}

// Hands the keys not consumed on to the next program that reads the script file.
void writeBack(const std::deque<ScriptItem>& queue, const std::optional<std::filesystem::path>& file) {
  if (!file) return;
  const std::string text = writeKeyScript({queue.begin(), queue.end()});
  std::ofstream out(*file, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  // A queue that cannot be handed on would make the next program replay used keys.
  if (!out) refuseScript(*file, "cannot write back the key script");
}

}  // namespace

std::string formatScreenDump(const ScreenBuffer& screen, const std::string& title) {
  std::string out;
  out.reserve(kRows * (kCols * 3 + 1) + title.size() + 16);
  // The title is code page 437 text like everything else the program writes.
  out += "title: ";
  out += cp437ToUtf8(title);
  out += '\n';
  for (int row = 1; row <= kRows; ++row) {
    for (int col = 1; col <= kCols; ++col) appendUtf8(out, cp437ToDumpGlyph(screen.at(row, col).ch));
    out += '\n';
  }
  out += "----\n";
  return out;
}

HeadlessBackend::HeadlessBackend(std::vector<ScriptItem> items,
                                 std::optional<std::filesystem::path> screenFile)
    : queue_(items.begin(), items.end()), screenFile_(std::move(screenFile)) {}

std::unique_ptr<HeadlessBackend> HeadlessBackend::fromEnvironment() {
  const char* keys = std::getenv("VELLANO_KEYS");
  if (keys == nullptr || *keys == '\0') {
    std::cerr << "VELLANO_KEYS does not name a key script\n";
    endRun(kExitBadScript);
  }
  const std::filesystem::path scriptFile(keys);
  std::optional<std::filesystem::path> screenFile;
  if (const char* screen = std::getenv("VELLANO_SCREEN"); screen != nullptr && *screen != '\0') {
    screenFile = screen;
  }
  auto backend = std::make_unique<HeadlessBackend>(loadScript(scriptFile), std::move(screenFile));
  backend->scriptFile_ = scriptFile;
  return backend;
}

void HeadlessBackend::present(const ScreenBuffer& screen, const CursorState& cursor,
                              const std::string& title) {
  last_ = screen;
  lastCursor_ = cursor;
  lastTitle_ = title;
}

KeyEvent HeadlessBackend::readKey() {
  for (;;) {
    if (queue_.empty()) {
      if (!scriptFile_) throw KeysExhausted{};
      appendDump();
      writeBack(queue_, scriptFile_);
      // The program is over: nothing more may reach the files, even from static destructors.
      scriptFile_.reset();
      screenFile_.reset();
      endRun(kExitKeysExhausted);
    }
    const ScriptItem item = queue_.front();
    queue_.pop_front();
    if (item.kind == ScriptItem::Kind::Snap) {
      appendDump();
      continue;
    }
    return item.event;
  }
}

void HeadlessBackend::releaseForChild(bool systemProgram) {
  if (systemProgram) writeBack(queue_, scriptFile_);
}

void HeadlessBackend::reclaimAfterChild(bool systemProgram) {
  if (systemProgram && scriptFile_) reloadScript();
}

void HeadlessBackend::finish(const ScreenBuffer& screen, const std::string& title) {
  last_ = screen;
  lastTitle_ = title;
  appendDump();
  writeBack(queue_, scriptFile_);
}

void HeadlessBackend::push(const KeyEvent& event) {
  queue_.push_back({ScriptItem::Kind::Key, event});
}

void HeadlessBackend::appendDump() {
  std::string dump = formatScreenDump(last_, lastTitle_);
  if (screenFile_) {
    // Opened and closed per dump: the programs of one run append to the same file in turn.
    std::ofstream out(*screenFile_, std::ios::binary | std::ios::app);
    out << dump;
    out.close();
    if (!out) std::cerr << screenFile_->string() << ": cannot append the screen dump\n";
  }
  dumps_.push_back(std::move(dump));
}

void HeadlessBackend::reloadScript() {
  const auto items = loadScript(*scriptFile_);
  queue_.assign(items.begin(), items.end());
}

std::unique_ptr<HeadlessBackend> scriptedBackend(std::string_view script) {
  auto parsed = parseKeyScript(script);
  if (const auto* error = std::get_if<ScriptError>(&parsed)) {
    throw std::invalid_argument("key script line " + std::to_string(error->line) + ": " +
                                error->message);
  }
  return std::make_unique<HeadlessBackend>(std::get<std::vector<ScriptItem>>(std::move(parsed)));
}

}  // namespace vellano::platform
