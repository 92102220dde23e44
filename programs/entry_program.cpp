// VELLA10W: start-up, main loop and exits.
#include "programs/entry_program.h"

#include "records/catalogue.h"
#include "screen/error_box.h"
#include "programs/main_menu.h"
#include "screen/print_handover.h"
#include "programs/program_frame.h"
#include "programs/program_shell.h"
#include "programs/settings_screens.h"
#include "records/startup_context.h"
#include "platform/commands.h"
#include "platform/headless.h"

namespace vellano::programs {
namespace {

// Main-menu rows.
enum Item {
  kSales = 1, kPurchases = 2, kTakings = 3,
  kCustomers = 5, kSuppliers = 6, kCashAndBanks = 7, kCausals = 8, kVatTable = 9,
  kZeroing = 11, kWorkingDate = 12,
  kParameters = 14, kCopies = 15, kPrints = 16,
};

// The screens of the menu set the editor's keys for each field they type and leave them set for
// their last one; the working date and the parameters type with the keys as they find them, so
// each screen gives them back as it found them, however it ends.

// Where the main loop goes on after an item: the start-up steps it repeats.
enum class Resume {
  Menu,          // just the menu again
  Redraw,        // title, screen and menu
  Reopen,        // parameters, counters and master files, then redraw
  ReadAndReopen, // all files closed, date and company read again, then reopen
};

class EntryProgram {
 public:
  EntryProgram(platform::Console& console, std::span<const std::string> args, const EntryScreens& screens)
      : shell_(console, args, kEntryVersion, kEntryProgramName), console_(console), screens_(screens),
        context_(shell_.context()), catalogue_(shell_.catalogue()), session_(shell_.session()) {}

  int run();

 private:
  bool startUp();
  void mainLoop();
  void serveDirectStart();
  void drawFrame();
  Resume dispatch(int item);
  Resume runScreen(const EntryScreens::Screen& screen, Resume after);
  void exitPath();
  // A run-time error that reached the top: absorbed ones go on, the others end the program.
  bool survive(const std::exception& e);

  ProgramShell shell_;
  platform::Console& console_;
  const EntryScreens& screens_;
  records::Context& context_;
  records::Catalogue& catalogue_;
  screen::Session& session_;
  int currentItem_ = 1;
  bool leaving_ = false;
};

int EntryProgram::run() {
  try {
    if (startUp()) mainLoop();
  } catch (const screen::ProgramEnd& end) {
    return end.status;
  }
  return 0;
}

bool EntryProgram::startUp() {
  if (!shell_.startUp()) {
    exitPath();
    return false;
  }
  // A date file without a valid date would pick the year files of year 00 or 99: the date is
  // asked first, and without one there is nothing to work on.
  while (records::workingDateDamaged(catalogue_)) {
    try {
      if (!runWorkingDateScreen(session_)) {
        exitPath();
        return false;
      }
    } catch (const platform::KeysExhausted&) {
      throw;
    } catch (const std::exception& e) {
      if (!survive(e)) return false;
    }
  }
  return true;
}

void EntryProgram::mainLoop() {
  Resume resume = Resume::Reopen;
  bool firstEntry = true;
  while (!leaving_) {
    try {
      if (resume == Resume::ReadAndReopen) {
        shell_.readAgain();
        resume = Resume::Reopen;
      }
      if (resume == Resume::Reopen) {
        records::reopenContext(catalogue_);
        if (firstEntry) {
          firstEntry = false;
          serveDirectStart();
        }
        resume = Resume::Redraw;
      }
      if (resume == Resume::Redraw) drawFrame();

      const int result = shell_.runMainMenu(entryMenuItems(), currentItem_);
      if (result == screen::kMenuEsc) {
        exitPath();
        return;
      }
      resume = result < 1 ? Resume::Menu : dispatch(result);
    } catch (const platform::KeysExhausted&) {
      throw;
    } catch (const std::exception& e) {
      if (!survive(e)) return;
      resume = Resume::Reopen;
    }
  }
}

bool EntryProgram::survive(const std::exception& e) {
  if (shell_.survive(e)) return true;
  exitPath();
  return false;
}

void EntryProgram::serveDirectStart() {
  const std::string& request = context_.directStartRequest;
  if (request == "41" || request == "43") {
    if (screens_.customers) screens_.customers(session_, request); else console_.beep();
  } else if (request == "42" || request == "44") {
    if (screens_.suppliers) screens_.suppliers(session_, request); else console_.beep();
  }
}

void EntryProgram::drawFrame() { shell_.drawFrame(); }

Resume EntryProgram::runScreen(const EntryScreens::Screen& screen, Resume after) {
  if (!screen) {
    console_.beep();
    return Resume::Menu;
  }
  const screen::EditorKeysKept keep(session_.editor);
  screen(session_);
  return after;
}

Resume EntryProgram::dispatch(int item) {
  switch (item) {
    case kSales: return runScreen(screens_.sales, Resume::Redraw);
    case kPurchases: return runScreen(screens_.purchases, Resume::Redraw);
    case kTakings: return runScreen(screens_.takings, Resume::Redraw);
    case kCustomers:
    case kSuppliers: {
      auto& screen = item == kCustomers ? screens_.customers : screens_.suppliers;
      if (!screen) {
        console_.beep();
        return Resume::Menu;
      }
      screen(session_, "");
      return Resume::ReadAndReopen;
    }
    case kCashAndBanks: return runScreen(screens_.cashAndBanks, Resume::Redraw);
    case kCausals: return runScreen(screens_.causals, Resume::Redraw);
    case kVatTable: return runScreen(screens_.vatTable, Resume::Redraw);
    case kZeroing: return runScreen(screens_.zeroing, Resume::Reopen);
    case kWorkingDate:
      runWorkingDateScreen(session_);
      return Resume::ReadAndReopen;
    case kParameters:
      runParametersScreen(session_);
      return Resume::Reopen;
    case kCopies: return runScreen(screens_.copies, Resume::ReadAndReopen);
    case kPrints:
      screen::handOverToPrintProgram(session_, "00");
    default: return Resume::Menu;
  }
}

void EntryProgram::exitPath() {
  leaving_ = true;
  catalogue_.closeAll();
  std::string launcher = records::launcherCommand(context_);
  if (!launcher.empty()) platform::runCommand(launcher, console_);
}

}  // namespace

int runEntryProgram(platform::Console& console, std::span<const std::string> args,
                    const EntryScreens& screens) {
  EntryProgram program(console, args, screens);
  return program.run();
}

}  // namespace vellano::programs
