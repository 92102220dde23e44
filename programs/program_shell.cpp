// Start-up, frame, main menu and error handling shared by VELLA10W and VELST10W.
#include "programs/program_shell.h"

#include "programs/main_menu.h"
#include "programs/program_frame.h"
#include "records/startup_context.h"
#include "screen/window.h"
#include "platform/headless.h"

namespace vellano::programs {

ProgramShell::ProgramShell(platform::Console& console, std::span<const std::string> args,
                           std::string_view version, std::string_view name)
    : console_(console), args_(args.begin(), args.end()), version_(version), name_(name),
      catalogue_(context_), editor_(console), errorBox_(console, context_, editor_),
      session_{console, catalogue_, editor_, panel_, errorBox_} {}

bool ProgramShell::startUp() {
  try {
    records::StartupOptions options;
    options.version = version_;
    options.folders = &errorBox_;
    records::resolveContext(catalogue_, args_, options);
    panel_ = screen::FunctionKeyPanel(functionKeyLayout(context_));
    editor_.setKeyMask(std::string(screen::kDefaultKeyMask));
    editor_.setPageKeyMode(0);
    return true;
  } catch (const platform::KeysExhausted&) {
    throw;
  } catch (const std::exception& e) {
    errorBox_.showFatal(screen::asRuntimeError(e));
    return false;
  }
}

void ProgramShell::readAgain() {
  catalogue_.closeAll();
  records::StartupOptions options;
  options.version = version_;
  options.restart = true;
  options.folders = &errorBox_;
  records::resolveContext(catalogue_, args_, options);
}

bool ProgramShell::survive(const std::exception& e) {
  RuntimeError error = screen::asRuntimeError(e);
  if (errorBox_.absorb(error)) return true;
  errorBox_.showFatal(error);
  return false;
}

void ProgramShell::drawFrame() {
  console_.setTitle(consoleTitle(context_, name_));
  drawProgramScreen(console_.screen(), context_, panel_, screen::kMainMenuLegend);
}

int ProgramShell::runMainMenu(const std::vector<screen::MenuItem>& items, int& current) {
  screen::Window menu(console_.screen(), mainMenuWindow(items, context_));
  return screen::runMenu(console_, menu.descriptor(), items, mainMenuColours(context_), current);
}

}  // namespace vellano::programs
