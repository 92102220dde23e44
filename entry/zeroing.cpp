// The zeroing of the registrations of the year.
#include "entry/zeroing.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "entry/confirmation.h"
#include "records/customer_files.h"
#include "records/numbers.h"
#include "records/registration_files.h"
#include "records/save_transaction.h"
#include "records/text.h"
#include "screen/kit.h"
#include "screen/legend.h"
#include "screen/window.h"
#include "master/cash_banks.h"
#include "platform/commands.h"
#include "platform/dos_path.h"

namespace vellano::entry {
namespace {

constexpr std::string_view kPrompt = "CONFERMI L'AZZERAMENTO   [S/N]: ";
constexpr std::array<std::string_view, 9> kYearlyStems{"INDVEN", "INDACQ", "VENDIT", "ACQUIS", "CDIVA",
                                                       "PAGVEN", "PAGACQ", "PSALCL", "PSALFO"};
constexpr long kBalanceLength = 30;

// One blank balance record per code: reserved field, Dare and Avere all blanks.
void blankBalances(records::Catalogue& catalogue, std::string_view stem, int codes) {
  catalogue.setStem(records::channel::kBalances, std::string(stem));
  records::Channel& channel = catalogue.open(records::channel::kBalances);
  for (int code = 1; code <= codes; ++code) {
    channel.buffer().bytes().assign(kBalanceLength, ' ');
    channel.write(code);
  }
  catalogue.close(records::channel::kBalances);
}

bool zeroingConfirmed(screen::Session& session) {
  screen::Window window(session.console.screen(), screen::screenWindow(session.context(), 13, 23, 17, 59, 0));
  return confirmed(session, 15, 25, kPrompt, "");
}

std::vector<std::string> zeroedFiles(const records::Context& context) {
  std::vector<std::string> names;
  for (std::string_view stem : kYearlyStems)
    names.push_back(context.dataPrefix + std::string(stem) + context.yearSuffix + "." + context.companyExtension);
  return names;
}

}  // namespace

std::vector<std::string> zeroingCommands(const records::Context& context) {
  std::vector<std::string> commands;
  for (const std::string& name : zeroedFiles(context)) commands.push_back("CMD /C DEL " + name);
  return commands;
}

void zeroRegistrations(screen::Session& session, int customers, int suppliers) {
  records::Catalogue& catalogue = session.catalogue;
  // One save: the year's files go and the counters and balances are rewritten together, so
  // a crash leaves the year as it was or zeroed; the counts are the ones on file now.
  records::SaveTransaction transaction(catalogue);
  records::openChannel(catalogue, records::channel::kCustomerCount);
  records::openChannel(catalogue, records::channel::kSupplierCount);
  customers = std::max(customers, records::readCount(catalogue, records::CounterpartyKind::Customer));
  suppliers = std::max(suppliers, records::readCount(catalogue, records::CounterpartyKind::Supplier));
  // The cash/bank accounts to reset are the ones in use (INDEX.DAT record 2): the count kept
  // in CDIVA record 2 is written by nothing but this routine, so it would reset none.
  const int causals = records::readCounter(catalogue, records::kCausalCounter);
  const int cashBanks = records::readCounter(catalogue, records::kCashBankCounter);

  // Nothing may hold a file that is about to go; until the save commits they read as empty.
  catalogue.closeAll();
  for (const std::string& name : zeroedFiles(catalogue.context())) transaction.removeFile(platform::hostPath(name));

  records::writeCounter(catalogue, records::kCausalCounter, causals);
  records::Channel& control = catalogue.open(records::channel::kVatControl);
  control.read(2);
  records::ControlRecord record;
  records::L_5(catalogue, record);
  record.third = records::strSingle(static_cast<float>(cashBanks));
  records::W_5(catalogue, record);
  control.write(2);
  catalogue.close(records::channel::kVatControl);

  blankBalances(catalogue, records::kSalesStems.balances, customers);
  blankBalances(catalogue, records::kPurchaseStems.balances, suppliers);

  records::Channel& accounts = records::openChannel(catalogue, records::channel::kCashBanks);
  for (int n = 1; n <= cashBanks; ++n) {
    accounts.read(n);
    accounts.buffer().set(records::cash_bank_layout::kDebit, std::string(10, ' '));
    accounts.buffer().set(records::cash_bank_layout::kCredit, std::string(10, ' '));
    accounts.write(n);
  }
  transaction.commit([&] {
    for (const std::string& command : zeroingCommands(catalogue.context()))
      platform::runCommand(command, session.console);
  });
}

void runZeroing(screen::Session& session) {
  session.panel.show(session.console.screen(), screen::legend({}));
  if (!zeroingConfirmed(session)) return;
  const records::Context& context = session.context();
  zeroRegistrations(session, records::countOf(context.customerCount, records::kMaxCustomers),
                    records::countOf(context.supplierCount, records::kMaxSuppliers));
}

}  // namespace vellano::entry
