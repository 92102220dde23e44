// Names and descriptions a report prints beside codes: customers, suppliers, cash and bank
// accounts, causals and sub-accounts. Each file is read in one block the first time one of
// its names is asked for, and kept only as long as the object: one report run.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "records/catalogue.h"

namespace vellano::lists {

class ReportNames {
 public:
  explicit ReportNames(records::Catalogue& catalogue) : catalogue_(catalogue) {}

  // Texts without trailing blanks; a code with no record (0, past the end) gives "".
  const std::string& customer(long code);
  const std::string& supplier(long code);
  const std::string& cashBank(long code);
  const std::string& causal(long code);
  // Sub-account n (1-100) of causal c.
  const std::string& subAccount(long causal, long n);

 private:
  struct Table {
    bool loaded = false;
    std::vector<std::string> names;  // [code - 1]
  };
  const std::string& lookUp(Table& table, int channel, long code);
  // Names of records first..first+count-1 of the channel's file, in one read.
  std::vector<std::string> readNames(int channel, long first, long count);

  records::Catalogue& catalogue_;
  Table customers_, suppliers_, cashBanks_, causals_;
  std::map<long, std::vector<std::string>> subAccounts_;  // by causal: the 100 slots of its block
};

}  // namespace vellano::lists
