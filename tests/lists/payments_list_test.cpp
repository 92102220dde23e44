// The payments list of a register: the names by code, the period, the heading only when a
// payment is listed, and a page every 55 payment lines.
#include "lists/payments_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/cash_bank_file.h"
#include "records/catalogue.h"
#include "records/context.h"
#include "records/customer_files.h"
#include "records/text.h"
#include "support/work_folder.h"

namespace vellano::lists {
namespace {

class PaymentsListTest : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    context_.hostMode = 1;
    context_.yearSuffix = "11";
    catalogue_ = std::make_unique<records::Catalogue>(context_);
    records::openCounterpartyFiles(*catalogue_, records::CounterpartyKind::Customer);
    records::Counterparty who;
    who.name = "ROSSI MARIO";
    records::writeCounterparty(*catalogue_, records::CounterpartyKind::Customer, 3, who, {});
    records::openCounterpartyFiles(*catalogue_, records::CounterpartyKind::Supplier);
    who.name = "CARTIERE DEL NORD SPA";
    records::writeCounterparty(*catalogue_, records::CounterpartyKind::Supplier, 3, who, {});
    records::writeCashBank(*catalogue_, 2, {"BANCA POPOLARE DI SONDRIO AGENZIA 4", 0, 0});
  }
  void TearDown() override {
    catalogue_.reset();
    WorkFolder::TearDown();
  }
  std::vector<std::string> print(bool sales, const std::vector<records::Payment>& payments) {
    printout::PrintChannel channel;
    channel.open("LASER");
    ReportNames names(*catalogue_);
    printPaymentsList(channel, names, {sales, "  VENDITE", "Mese MARZO 2011", "COMPANY LINE", "010311", "310311"},
                      payments);
    channel.close();
    std::vector<std::string> lines;
    const std::string bytes = readFile("LASER");
    std::size_t at = 0;
    for (std::size_t end; (end = bytes.find("\r\n", at)) != std::string::npos; at = end + 2)
      lines.push_back(bytes.substr(at, end - at));
    return lines;
  }

  records::Context context_;
  std::unique_ptr<records::Catalogue> catalogue_;
};

const std::string kRule =
    "+--------+-----------------------------------+----------------------------------------------------------------------+------------+";

TEST_F(PaymentsListTest, NamesByCodeAndRegister) {
  struct Case {
    bool sales;
    std::string code;
    std::string name;  // as printed from column 16, 30 wide
  };
  const std::vector<Case> cases = {
      {true, "3", "ROSSI MARIO"},
      {true, "8002", "BANCA POPOLARE DI SONDRIO"},  // a cash or bank account (26 characters)
      {true, "9003", "CARTIERE DEL NORD SPA"},
      {true, "8000", ""},
      {true, "9000", ""},
      {true, "4", ""},  // no such customer
      {false, "3", "CARTIERE DEL NORD SPA"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    const std::vector<std::string> lines = print(c.sales, {{c.code, "150311", "Rata", "12.5", "0"}});
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[5].substr(15, 30), records::fitLeft(c.name, 30));
  }
}

TEST_F(PaymentsListTest, LineWithItsAccountAndTheBarAfterTheAmount) {
  const std::vector<std::string> lines = print(true, {{"3", "150311", "Acconto", "1234567.5", "2"}});
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], "Mese MARZO 2011" + std::string(39, ' ') + "LISTA PAGAMENTI -   VENDITE");
  EXPECT_EQ(lines[1], "COMPANY LINE");
  EXPECT_EQ(lines[2], kRule);
  EXPECT_EQ(lines[5], "|15/03/11|   3 ROSSI MARIO                   |Acconto" + std::string(44, ' ') +
                          "BANCA POPOLARE DI " + std::string(1, 'S') + "|" + " 1,234,567.50|");
  EXPECT_EQ(lines[6], kRule);
  EXPECT_EQ(lines[7], "Ultima pagina.");
}

TEST_F(PaymentsListTest, HeadingOnlyWithAPaymentAndAPageEvery55Lines) {
  // Out of the period: nothing but the closing rule.
  EXPECT_EQ(print(true, {{"3", "010411", "Fuori", "1", "0"}, {"3", "280211", "Fuori", "1", "0"}}),
            (std::vector<std::string>{kRule, "Ultima pagina."}));

  std::vector<records::Payment> many(56, records::Payment{"3", "150311", "Rata", "1", "0"});
  const std::vector<std::string> lines = print(true, many);
  // Heading (5), 55 lines, the rule and a form feed; the form feed takes a print column, so
  // the tab to column 1 of the 56th line starts a new line; then the rule at the end.
  ASSERT_EQ(lines.size(), 5u + 55u + 1u + 1u + 1u + 1u + 1u);
  EXPECT_EQ(lines[60], kRule);
  EXPECT_EQ(lines[61], "\x0C");
  EXPECT_EQ(lines[62].substr(0, 10), "|15/03/11|") << "the 56th payment on the next page, without a heading";
  EXPECT_EQ(lines[63], kRule);
  EXPECT_EQ(lines[64], "Ultima pagina.");
}

}  // namespace
}  // namespace vellano::lists
