// The console object and the one place that picks a backend for the run.
#include "platform/console.h"

#include <cstdlib>
#include <stdexcept>

#include "platform/headless.h"

namespace vellano::platform {

Console::Console(std::unique_ptr<Backend> backend) : backend_(std::move(backend)) {
  if (!backend_) throw std::invalid_argument("Console needs a backend");
}

Console::~Console() {
  try {
    finish();
  } catch (...) {
    // A destructor must not throw; the final dump is best effort here.
  }
}

void Console::beep() {
  ++beeps_;
  backend_->beep();
}

KeyEvent Console::readKey() {
  present();
  return backend_->readKey();
}

void Console::present() { backend_->present(screen_, cursor_, title_); }

void Console::finish() {
  if (finished_) return;
  finished_ = true;
  backend_->finish(screen_, title_);
}

std::unique_ptr<Backend> makeBackend() {
  const char* keys = std::getenv("VELLANO_KEYS");
  if (keys != nullptr && *keys != '\0') return HeadlessBackend::fromEnvironment();
  return makeTerminalBackend();
}

}  // namespace vellano::platform
