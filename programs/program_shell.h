// What the two programs share around their menus: the objects every screen works with, the
// start-up steps, the frame drawn behind the menu, the main-menu window and the way a
// run-time error that reached the top is absorbed or ends the program.
#pragma once

#include <exception>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "records/catalogue.h"
#include "records/context.h"
#include "screen/error_box.h"
#include "screen/field_editor.h"
#include "screen/function_keys.h"
#include "screen/menu.h"
#include "screen/session.h"
#include "platform/console.h"

namespace vellano::programs {

class ProgramShell {
 public:
  // `version` is the program's version text, `name` the word shown in the title.
  ProgramShell(platform::Console& console, std::span<const std::string> args,
               std::string_view version, std::string_view name);
  ProgramShell(const ProgramShell&) = delete;
  ProgramShell& operator=(const ProgramShell&) = delete;

  platform::Console& console() { return console_; }
  records::Context& context() { return context_; }
  records::Catalogue& catalogue() { return catalogue_; }
  screen::FieldEditor& editor() { return editor_; }
  screen::FunctionKeyPanel& panel() { return panel_; }
  screen::ErrorBox& errorBox() { return errorBox_; }
  screen::Session& session() { return session_; }

  // Start-up steps 1-4: context values, function-key layout, editor key mask and page-key
  // mode. A fatal error is shown in the error box and false returned: the caller leaves
  // through its exit path.
  bool startUp();
  // Files closed, working date and company read again (the command line stays as settled).
  void readAgain();
  // A run-time error that reached the main loop: true when absorbed (the work goes on);
  // otherwise the box is shown and false returned, and the caller leaves through its exit path.
  bool survive(const std::exception& e);

  // Console title and the screen behind the menu.
  void drawFrame();
  // The main menu in its window at row 10, column 30; `current` keeps the highlighted item.
  int runMainMenu(const std::vector<screen::MenuItem>& items, int& current);

 private:
  platform::Console& console_;
  std::vector<std::string> args_;
  std::string version_;
  std::string name_;
  records::Context context_;
  records::Catalogue catalogue_;
  screen::FieldEditor editor_;
  screen::FunctionKeyPanel panel_;
  screen::ErrorBox errorBox_;
  screen::Session session_;
};

}  // namespace vellano::programs
