// Look-up tables for one pass over a register: the names and descriptions a list or a report
// prints beside its lines (customers' and suppliers' names, causal and sub-account
// descriptions). Each file is read whole, in one call, the first time the pass asks for it;
// nothing outlives the object, which a pass makes when it starts and drops when it ends, so
// every run sees what another terminal has written since.
#pragma once

#include <string>
#include <vector>

#include "records/catalogue.h"

namespace vellano::records {

class Lookups {
 public:
  explicit Lookups(Catalogue& catalogue) : catalogue_(catalogue) {}

  // Ragione sociale of customer `code` (CLIFOR) or supplier `code` (ESTC), as a screen shows
  // it; "" for a code that has no record in the file.
  const std::string& customerName(long code);
  const std::string& supplierName(long code);
  // The counterparty of a registration: customer below 9000, supplier code - 9000 above it,
  // "" for 0 and for 9000 itself.
  const std::string& counterpartyName(long code);
  // Description of causal n (CAUCON) and of sub-account n (1-100) of a causal (SOTCON).
  const std::string& causalDescription(int causal);
  const std::string& subAccountDescription(int causal, int n);

 private:
  // One text field of every record of a channel's file, record k + 1 at k.
  struct Column {
    bool read = false;
    std::vector<std::string> values;
  };
  const std::string& lookUp(Column& column, int channel, long record);

  Catalogue& catalogue_;
  Column customers_;
  Column suppliers_;
  Column causals_;
  Column subAccounts_;
};

}  // namespace vellano::records
