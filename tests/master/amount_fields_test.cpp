// Running totals written to the balance records and the cash/bank records: a total whose text
// is one character too wide keeps every digit, one that cannot fit stops the write with error
// 6 and leaves the record on file as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/work_folder.h"
#include "records/catalogue.h"
#include "records/context.h"
#include "records/numbers.h"
#include "records/text.h"
#include "master/cash_banks.h"
#include "records/customer_files.h"
#include "platform/error.h"

namespace vellano::master {
namespace {

struct TotalCase {
  double dare;
  double avere;
  std::optional<std::string> stored;  // bytes 7-30 of the record; none: error 6, record kept
};

// The same cases serve both records: Dare and Avere are 12 wide in each.
const std::vector<TotalCase> kCases = {
    {1500.25, -20, " 1500.25    -20         "},
    {123456789.12, 0, "123456789.12 0          "},
    {0, 999999999.99, " 0          999999999.99"},
    {-123456789.12, 0, std::nullopt},
    {5, 12345678901.5, std::nullopt},
};

int overflowNumber(const std::function<void()>& write) {
  try {
    write();
  } catch (const RuntimeError& e) {
    return e.number();
  }
  return 0;
}

class AmountFields : public vellano::testing::WorkFolder {
 protected:
  records::Context context_;
};

TEST_F(AmountFields, BalanceRecordKeepsEveryDigitOrRefusesTheWrite) {
  context_.yearSuffix = "11";
  for (const TotalCase& c : kCases) {
    SCOPED_TRACE(records::str(c.dare) + " /" + records::str(c.avere));
    records::Catalogue catalogue(context_);
    records::openCounterpartyFiles(catalogue, records::CounterpartyKind::Customer);
    records::Channel& balances = catalogue.channel(8);
    balances.read(3);
    records::W_8(catalogue, records::BalanceTotals{100, 50});
    balances.write(3);
    const std::string before = readFile("PSALCL11.DAT");

    balances.read(3);
    const int error = overflowNumber([&] {
      records::W_8(catalogue, records::BalanceTotals{c.dare, c.avere});
      balances.write(3);
    });
    catalogue.closeAll();
    const std::string after = readFile("PSALCL11.DAT");
    if (c.stored) {
      EXPECT_EQ(error, 0);
      ASSERT_EQ(after.size(), 90u);
      EXPECT_EQ(after.substr(66, 24), *c.stored);
      records::Catalogue again(context_);
      records::openCounterpartyFiles(again, records::CounterpartyKind::Customer);
      const records::BalanceTotals back = records::readBalance(again, 3);
      EXPECT_EQ(back.dare, c.dare);
      EXPECT_EQ(back.avere, c.avere);
      again.closeAll();
    } else {
      EXPECT_EQ(error, vellano::error::kOverflow);
      EXPECT_EQ(after, before);
    }
    std::filesystem::remove("PSALCL11.DAT");
  }
}

TEST_F(AmountFields, CashBankRecordKeepsEveryDigitOrRefusesTheWrite) {
  for (const TotalCase& c : kCases) {
    SCOPED_TRACE(records::str(c.dare) + " /" + records::str(c.avere));
    records::Catalogue catalogue(context_);
    records::writeCashBank(catalogue, 1, records::CashBank{"Banca Popolare", 100, 50});
    catalogue.closeAll();
    const std::string before = readFile("CASBAN.DAT");

    const int error = overflowNumber([&] { records::writeCashBank(catalogue, 1, records::CashBank{"Banca nuova", c.dare, c.avere}); });
    catalogue.closeAll();
    const std::string after = readFile("CASBAN.DAT");
    if (c.stored) {
      EXPECT_EQ(error, 0);
      EXPECT_EQ(after, records::fitLeft("Banca nuova", 26) + *c.stored);
      const records::CashBank back = records::readCashBank(catalogue, 1);
      catalogue.closeAll();
      EXPECT_EQ(back.debit, c.dare);
      EXPECT_EQ(back.credit, c.avere);
    } else {
      EXPECT_EQ(error, vellano::error::kOverflow);
      EXPECT_EQ(after, before);
    }
    std::filesystem::remove("CASBAN.DAT");
  }
}

}  // namespace
}  // namespace vellano::master
