// Look-up tables of a pass: the same names and descriptions the record reads give, for codes
// with and without a record, read when first asked for and never again by the same object.
#include "records/lookups.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "records/causal_file.h"
#include "records/customer_files.h"
#include "records/save_transaction.h"
#include "records/sub_account_file.h"
#include "support/work_folder.h"

namespace vellano::records {
namespace {

class LookupsTest : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    context_.yearSuffix = "11";
    catalogue_.emplace(context_);
    openCounterpartyFiles(catalogue(), CounterpartyKind::Customer);
    writeName(CounterpartyKind::Customer, 1, "ROSSI MARIO");
    writeName(CounterpartyKind::Customer, 3, "VERDI & FIGLI SNC");
    openCounterpartyFiles(catalogue(), CounterpartyKind::Supplier);
    writeName(CounterpartyKind::Supplier, 2, "BIANCHI SRL");
    writeCausal(catalogue(), 1, Causal{"VENDITE MERCI", 'E', 'N'});
    writeSubAccount(catalogue(), 2, 5, SubAccount{"AFFITTI PASSIVI", "RF11"});
  }
  void TearDown() override {
    catalogue_.reset();
    WorkFolder::TearDown();
  }
  Catalogue& catalogue() { return *catalogue_; }
  void writeName(CounterpartyKind kind, long code, const std::string& name) {
    Counterparty who;
    who.name = name;
    who.town = "MILANO";
    who.street = "VIA DEI MILLE CON UN NOME LUNGO";  // split 20 + 10 in the record
    who.houseNumber = "12/B";                        // ESTCNO for a supplier
    who.vatNumber = "01234567890";
    writeCounterparty(catalogue(), kind, code, who, {});
  }

  Context context_;
  std::optional<Catalogue> catalogue_;
};

TEST_F(LookupsTest, NamesAreWhatTheRecordReadsGive) {
  struct Case {
    long code;  // as a registration holds it
    const char* name;
  } cases[] = {
      {1, "ROSSI MARIO"}, {2, ""},  {3, "VERDI & FIGLI SNC"}, {4, ""},    {8999, ""},
      {0, ""},            {9000, ""}, {9002, "BIANCHI SRL"},    {9001, ""}, {9003, ""}, {99999, ""},
  };
  Lookups names(catalogue());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(names.counterpartyName(c.code), c.name);
    if (c.code > 0 && c.code < 9000) {
      EXPECT_EQ(names.customerName(c.code), readCounterparty(catalogue(), CounterpartyKind::Customer, c.code).name);
    }
    if (c.code > 9000 && c.code < 9010) {
      EXPECT_EQ(names.supplierName(c.code - 9000),
                readCounterparty(catalogue(), CounterpartyKind::Supplier, c.code - 9000).name);
    }
  }
}

TEST_F(LookupsTest, CausalAndSubAccountDescriptions) {
  Lookups lookups(catalogue());
  EXPECT_EQ(lookups.causalDescription(1), "VENDITE MERCI");
  EXPECT_EQ(lookups.causalDescription(2), "");
  EXPECT_EQ(lookups.causalDescription(0), "");
  EXPECT_EQ(lookups.subAccountDescription(2, 5), "AFFITTI PASSIVI");
  EXPECT_EQ(lookups.subAccountDescription(2, 4), "");
  EXPECT_EQ(lookups.subAccountDescription(1, 5), "");
  EXPECT_EQ(lookups.subAccountDescription(2, 0), "");
  EXPECT_EQ(lookups.subAccountDescription(1, 105), "");  // not sub-account 5 of causal 2
}

// The bulk read of a master file gives each code as reading it alone does, past the end of
// the file too.
TEST_F(LookupsTest, CounterpartiesInOneReadMatchReadsOneByOne) {
  for (CounterpartyKind kind : {CounterpartyKind::Customer, CounterpartyKind::Supplier}) {
    const std::vector<Counterparty> all = readCounterparties(catalogue(), kind, 6);
    ASSERT_EQ(all.size(), 6u);
    for (long code = 1; code <= 6; ++code) {
      SCOPED_TRACE(code);
      EXPECT_EQ(all[static_cast<std::size_t>(code - 1)], readCounterparty(catalogue(), kind, code));
    }
    EXPECT_EQ(buildSelectionList(catalogue(), kind, 3)[kind == CounterpartyKind::Customer ? 2 : 1],
              selectionEntry(kind, kind == CounterpartyKind::Customer ? 3 : 2,
                             readCounterparty(catalogue(), kind, kind == CounterpartyKind::Customer ? 3 : 2)));
    EXPECT_TRUE(readCounterparties(catalogue(), kind, 0).empty());
  }
  EXPECT_EQ(readCounterparties(catalogue(), CounterpartyKind::Supplier, 2)[1].houseNumber, "12/B");
}

// A table holds the file as it was when first asked for; the next pass reads it again, and an
// open save's records are seen like the file's.
TEST_F(LookupsTest, ReadOncePerObjectAndSeeingAnOpenSave) {
  Lookups first(catalogue());
  EXPECT_EQ(first.customerName(1), "ROSSI MARIO");
  writeName(CounterpartyKind::Customer, 1, "ROSSI MARIO SPA");
  writeName(CounterpartyKind::Customer, 5, "NERI");
  EXPECT_EQ(first.customerName(1), "ROSSI MARIO");
  EXPECT_EQ(first.customerName(5), "");
  Lookups next(catalogue());
  EXPECT_EQ(next.customerName(1), "ROSSI MARIO SPA");
  EXPECT_EQ(next.customerName(5), "NERI");
  {
    SaveTransaction save(catalogue());
    writeName(CounterpartyKind::Customer, 7, "GIALLI");
    EXPECT_EQ(Lookups(catalogue()).customerName(7), "GIALLI");
  }
  EXPECT_EQ(Lookups(catalogue()).customerName(7), "");  // never committed
}

}  // namespace
}  // namespace vellano::records
