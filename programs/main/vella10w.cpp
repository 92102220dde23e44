// VELLA10W, the entry program.
#include <string>
#include <vector>

#include "entry/backup_copies.h"
#include "entry/movement_list.h"
#include "entry/registration_screen.h"
#include "entry/takings.h"
#include "entry/zeroing.h"
#include "programs/entry_program.h"
#include "master/cash_banks.h"
#include "master/causals.h"
#include "master/customers.h"
#include "master/vat_table.h"
#include "platform/console.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  vellano::platform::Console console(vellano::platform::makeBackend());
  vellano::programs::EntryScreens screens;
  screens.sales = vellano::entry::runSalesRegister;
  screens.purchases = vellano::entry::runPurchaseRegister;
  screens.customers = vellano::master::runCustomerScreen;
  screens.suppliers = vellano::master::runSupplierScreen;
  // The movement list lives with the payments, which the master data cannot reach.
  screens.cashAndBanks = [](vellano::screen::Session& session) {
    vellano::master::CashBankOptions options;
    options.movementList = vellano::entry::runMovementList;
    vellano::master::pickCashBank(session, options);
  };
  screens.causals = vellano::master::runCausals;
  screens.vatTable = vellano::master::runVatTable;
  screens.takings = vellano::entry::runTakings;
  screens.zeroing = vellano::entry::runZeroing;
  screens.copies = vellano::entry::runBackupCopies;
  return vellano::programs::runEntryProgram(console, args, screens);
}
