// VELLA10W: start-up, main loop and exits.
#include "frame/entry_program.h"

#include "frame/catalogue.h"
#include "frame/error_box.h"
#include "frame/main_menu.h"
#include "frame/program_frame.h"
#include "frame/settings_screens.h"
#include "frame/startup_context.h"
#include "platform/commands.h"
#include "platform/headless.h"

namespace vellano::frame {
namespace {

// Main-menu rows.
enum Item {
  kSales = 1, kPurchases = 2, kTakings = 3,
  kCustomers = 5, kSuppliers = 6, kCashAndBanks = 7, kCausals = 8, kVatTable = 9,
  kZeroing = 11, kWorkingDate = 12,
  kParameters = 14, kCopies = 15, kPrints = 16,
};

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
      : console_(console), args_(args.begin(), args.end()), screens_(screens), catalogue_(context_),
        editor_(console), errorBox_(console, context_, editor_),
        session_{console, catalogue_, editor_, panel_, errorBox_} {}

  int run();

 private:
  bool startUp();
  void mainLoop();
  void serveDirectStart();
  void drawFrame();
  Resume dispatch(int item);
  Resume runScreen(const EntryScreens::Screen& screen, Resume after);
  void startPrintProgram();
  void exitPath();
  // A run-time error that reached the top: absorbed ones go on, the others end the program.
  bool survive(const std::exception& e);

  platform::Console& console_;
  std::vector<std::string> args_;
  const EntryScreens& screens_;
  Context context_;
  Catalogue catalogue_;
  FieldEditor editor_;
  FunctionKeyPanel panel_;
  ErrorBox errorBox_;
  Session session_;
  int currentItem_ = 1;
  bool leaving_ = false;
};

int EntryProgram::run() {
  if (startUp()) mainLoop();
  return 0;
}

bool EntryProgram::startUp() {
  try {
    StartupOptions options;
    options.version = std::string(kEntryVersion);
    options.folders = &errorBox_;
    resolveContext(catalogue_, args_, options);
    panel_ = FunctionKeyPanel(functionKeyLayout(context_));
    editor_.setKeyMask(std::string(kDefaultKeyMask));
    editor_.setPageKeyMode(0);
    return true;
  } catch (const platform::KeysExhausted&) {
    throw;
  } catch (const std::exception& e) {
    errorBox_.showFatal(asRuntimeError(e));
    exitPath();
    return false;
  }
}

void EntryProgram::mainLoop() {
  Resume resume = Resume::Reopen;
  bool firstEntry = true;
  while (!leaving_) {
    try {
      if (resume == Resume::ReadAndReopen) {
        catalogue_.closeAll();
        StartupOptions options;
        options.version = std::string(kEntryVersion);
        options.restart = true;
        options.folders = &errorBox_;
        resolveContext(catalogue_, args_, options);
        resume = Resume::Reopen;
      }
      if (resume == Resume::Reopen) {
        reopenContext(catalogue_);
        if (firstEntry) {
          firstEntry = false;
          serveDirectStart();
        }
        resume = Resume::Redraw;
      }
      if (resume == Resume::Redraw) drawFrame();

      const std::vector<MenuItem>& items = entryMenuItems();
      int result;
      {
        Window menu(console_.screen(), mainMenuWindow(items, context_));
        result = runMenu(console_, menu.descriptor(), items, mainMenuColours(context_), currentItem_);
      }
      if (result == kMenuEsc) {
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
  RuntimeError error = asRuntimeError(e);
  if (errorBox_.absorb(error)) return true;
  errorBox_.showFatal(error);
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

void EntryProgram::drawFrame() {
  console_.setTitle(consoleTitle(context_, kEntryProgramName));
  drawProgramScreen(console_.screen(), context_, panel_, kMainMenuLegend);
}

Resume EntryProgram::runScreen(const EntryScreens::Screen& screen, Resume after) {
  if (!screen) {
    console_.beep();
    return Resume::Menu;
  }
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
      startPrintProgram();
      leaving_ = true;
      return Resume::Menu;
    default: return Resume::Menu;
  }
}

void EntryProgram::startPrintProgram() {
  catalogue_.closeAll();
  storeHandOverRequest(catalogue_, "00");
  catalogue_.closeAll();
  platform::runCommand("VELST10W.EXE" + context_.hostSwitch + " " + context_.terminalNumber, console_);
}

void EntryProgram::exitPath() {
  leaving_ = true;
  catalogue_.closeAll();
  std::string launcher = launcherCommand(context_);
  if (!launcher.empty()) platform::runCommand(launcher, console_);
}

}  // namespace

int runEntryProgram(platform::Console& console, std::span<const std::string> args,
                    const EntryScreens& screens) {
  EntryProgram program(console, args, screens);
  return program.run();
}

}  // namespace vellano::frame
