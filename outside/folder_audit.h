// The check of a data folder, as fsck checks a disk: the register headers against their
// files, the references of registrations and payments within the master files, the master
// counters against their files. It reads the working folder without changing it; the repair
// rebuilds the counters through the save journal. Balances are listed, never repaired: their
// Dare and Avere may be typed by hand.
#pragma once

#include <string>
#include <vector>

namespace vellano::outside {

// One finding, printed on one line: "FILE: text".
struct Finding {
  std::string file;
  std::string text;
  std::string line() const { return file + ": " + text; }
};

// One account of the balances listing.
struct AccountBalance {
  std::string year;     // yy.ext of the files it comes from
  std::string account;  // "Cliente    3 NAME"
  double storedDare = 0;
  double storedAvere = 0;
  double postedDare = 0;   // recomputed from the registrations and payments in use
  double postedAvere = 0;
};

// Everything found wrong in the working folder, in a stable order.
std::vector<Finding> checkFolder();

// Completes a journal left behind, sets every register's registration and payment counts to
// their files, raises protocol counters to the highest protocol used and master counters to
// the last record in use; all of it in one save. Returns one line per change.
std::vector<std::string> repairFolder();

// Per account in use (customers, suppliers, cash and bank accounts of each year found).
std::vector<AccountBalance> folderBalances();

// The listing lines of folderBalances(), a heading first.
std::vector<std::string> balanceListing(const std::vector<AccountBalance>& balances);

}  // namespace vellano::outside
