// VELLA10W, the entry program.
#include <string>
#include <vector>

#include "entry/registration_screen.h"
#include "frame/entry_program.h"
#include "master/cash_banks.h"
#include "master/causals.h"
#include "master/customers.h"
#include "master/vat_table.h"
#include "platform/console.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  vellano::platform::Console console(vellano::platform::makeBackend());
  vellano::frame::EntryScreens screens;
  screens.sales = vellano::entry::runSalesRegister;
  screens.purchases = vellano::entry::runPurchaseRegister;
  screens.customers = vellano::master::runCustomerScreen;
  screens.suppliers = vellano::master::runSupplierScreen;
  screens.cashAndBanks = vellano::master::runCashAndBanks;
  screens.causals = vellano::master::runCausals;
  screens.vatTable = vellano::master::runVatTable;
  return vellano::frame::runEntryProgram(console, args, screens);
}
