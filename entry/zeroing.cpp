// The zeroing of the registrations of the year.
#include "entry/zeroing.h"

#include <array>
#include <string_view>

#include "entry/registration_files.h"
#include "frame/numbers.h"
#include "frame/text.h"
#include "frame/window.h"
#include "master/cash_banks.h"
#include "master/causals_fields.h"
#include "master/customer_files.h"
#include "platform/commands.h"

namespace vellano::entry {
namespace {

constexpr std::string_view kPrompt = "CONFERMI L'AZZERAMENTO   [S/N]: ";
constexpr std::array<std::string_view, 9> kYearlyStems{"INDVEN", "INDACQ", "VENDIT", "ACQUIS", "CDIVA",
                                                       "PAGVEN", "PAGACQ", "PSALCL", "PSALFO"};
constexpr long kBalanceLength = 30;

int countOf(float value, int most) {
  if (!(value > 0)) return 0;
  return value > static_cast<float>(most) ? most : static_cast<int>(value);
}

// One blank balance record per code: reserved field, Dare and Avere all blanks.
void blankBalances(frame::Catalogue& catalogue, std::string_view stem, int codes) {
  catalogue.setStem(8, std::string(stem));
  frame::Channel& channel = catalogue.O_8();
  for (int code = 1; code <= codes; ++code) {
    channel.buffer().bytes().assign(kBalanceLength, ' ');
    channel.write(code);
  }
  catalogue.close(8);
}

bool confirmed(frame::Session& session) {
  const master::ScreenColours colours = master::screenColours(session.context());
  platform::ScreenBuffer& screen = session.console.screen();
  frame::Window window(screen, master::screenWindow(session.context(), 13, 23, 17, 59, 0));
  screen.putText(15, 25, kPrompt, colours.text);
  for (;;) {
    session.editor.setColours(colours.editing, colours.text);
    const frame::FieldResult r =
        master::editField(session, {15, 25 + static_cast<int>(kPrompt.size()), -1, master::kMaskNone, 0, true}, "");
    if (r.exitCode == frame::kExitEsc) return false;
    if (r.exitCode != frame::kExitEnter) continue;
    const std::string answer = frame::trim(r.text);
    if (answer == "S") return true;
    if (answer == "N") return false;
    session.console.beep();
  }
}

}  // namespace

std::vector<std::string> zeroingCommands(const frame::Context& context) {
  std::vector<std::string> commands;
  for (std::string_view stem : kYearlyStems)
    commands.push_back("CMD /C DEL " + context.dataPrefix + std::string(stem) + context.yearSuffix + "." +
                       context.companyExtension);
  return commands;
}

void zeroRegistrations(frame::Session& session, int customers, int suppliers) {
  frame::Catalogue& catalogue = session.catalogue;
  // The cash/bank accounts to reset are the ones in use (INDEX.DAT record 2): the count kept
  // in CDIVA record 2 is written by nothing but this routine, so it would reset none.
  const int causals = master::readCounter(catalogue, master::kCausalCounter);
  const int cashBanks = master::readCounter(catalogue, master::kCashBankCounter);

  // Nothing may hold a file that is about to go.
  catalogue.closeAll();
  for (const std::string& command : zeroingCommands(catalogue.context()))
    platform::runCommand(command, session.console);

  master::writeCounter(catalogue, master::kCausalCounter, causals);
  frame::Channel& control = catalogue.O_5();
  control.read(2);
  ControlRecord record;
  L_5(catalogue, record);
  record.third = frame::strSingle(static_cast<float>(cashBanks));
  W_5(catalogue, record);
  control.write(2);
  catalogue.close(5);

  blankBalances(catalogue, frame::kSalesStems.balances, customers);
  blankBalances(catalogue, frame::kPurchaseStems.balances, suppliers);

  frame::Channel& accounts = master::openChannel(catalogue, 15);
  for (int n = 1; n <= cashBanks; ++n) {
    accounts.read(n);
    accounts.buffer().set(master::cash_bank_layout::kDebit, std::string(10, ' '));
    accounts.buffer().set(master::cash_bank_layout::kCredit, std::string(10, ' '));
    accounts.write(n);
  }
}

void runZeroing(frame::Session& session) {
  master::EditorSettings keep(session.editor);
  session.panel.show(session.console.screen(), master::legend("", "", "", "", "", "", "", "", ""));
  if (!confirmed(session)) return;
  const frame::Context& context = session.context();
  zeroRegistrations(session, countOf(context.customerCount, master::kMaxCustomers),
                    countOf(context.supplierCount, master::kMaxSuppliers));
}

}  // namespace vellano::entry
