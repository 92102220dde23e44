// Running balances: the posting table, records moved in place or created past the end, and a
// random run of saves and corrections through the payments window that must leave every
// balance equal to what the final payments alone would post.
#include "entry/balances.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "entry/payments.h"
#include "payments_support.h"

namespace vellano::entry {
namespace {

using testing::balanceSides;
using testing::cashBankSides;
using testing::Masters;
using testing::PaymentSession;
using testing::writeMasters;

TEST(PostingTable, EachSideFollowsTheRegister) {
  using F = AccountFile;
  struct Case {
    records::RegisterKind kind;
    PaymentEffect effect;
    std::vector<Posting> expected;
  };
  const Case cases[] = {
      {records::RegisterKind::Sales, {3, 100, 1}, {{F::Balance, 3, Side::Avere, 100}, {F::CashBank, 1, Side::Dare, 100}}},
      {records::RegisterKind::Purchases, {3, 100, 1}, {{F::Balance, 3, Side::Dare, 100}, {F::CashBank, 1, Side::Avere, 100}}},
      {records::RegisterKind::Sales, {8002, 50, 1}, {{F::CashBank, 2, Side::Avere, 50}, {F::CashBank, 1, Side::Dare, 50}}},
      {records::RegisterKind::Purchases, {8002, 50, 0}, {{F::CashBank, 2, Side::Dare, 50}}},
      {records::RegisterKind::Sales, {7999, -5, 0}, {{F::Balance, 7999, Side::Avere, -5}}},
      {records::RegisterKind::Sales, {8000, 10, 2}, {{F::CashBank, 2, Side::Dare, 10}}},  // 8000 names no account
      {records::RegisterKind::Sales, {0, 10, 0}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(postingsOf(c.kind, c.effect), c.expected) << c.effect.counterparty;
}

TEST(PaymentEffectOf, CodesThatAreNotWholeNumbersNameNoAccount) {
  struct Case {
    records::Payment payment;
    PaymentEffect expected;
  };
  const Case cases[] = {
      {{"3", "", "", "100.5", "1"}, {3, 100.5, 1}},
      {{" 8002", "", "", "-7", " 2"}, {8002, -7, 2}},
      {{"2.5", "", "", "1", "x"}, {0, 1, 0}},
      {{"-4", "", "", "", "-1"}, {0, 0, 0}},
      {{std::string(5, '\0'), "", "", std::string(10, '\0'), ""}, {0, 0, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(effectOf(c.payment), c.expected) << c.payment.counterparty;
}

class BalanceFiles : public vellano::testing::WorkFolder {};

TEST_F(BalanceFiles, RecordsPastTheEndAreCreatedAndTheReservedBytesKept) {
  records::Context context;
  context.yearSuffix = "11";
  records::Catalogue catalogue(context);
  records::openRegister(catalogue, records::RegisterKind::Sales);
  catalogue.channel(8).buffer().bytes() = "ABCDEF" + records::fitLeft(" 10", 12) + records::fitLeft(" 2.5", 12);
  catalogue.channel(8).write(2);

  post(catalogue, {AccountFile::Balance, 2, Side::Dare, 0.1});
  post(catalogue, {AccountFile::Balance, 2, Side::Avere, -2.5});
  post(catalogue, {AccountFile::Balance, 4, Side::Avere, 12.25});
  post(catalogue, {AccountFile::CashBank, 3, Side::Dare, 1e7});
  catalogue.closeAll();

  EXPECT_EQ(testing::recordOf("PSALCL11.DAT", 30, 2).bytes(),
            "ABCDEF" + records::fitLeft(" 10.1", 12) + records::fitLeft(" 0", 12));
  EXPECT_EQ(testing::recordOf("PSALCL11.DAT", 30, 3).bytes(), std::string(30, '\0'));
  EXPECT_EQ(balanceSides("PSALCL11.DAT", 4).avere, " 12.25");
  EXPECT_EQ(cashBankSides(3).dare, " 10000000");
  EXPECT_EQ(testing::recordOf("CASBAN.DAT", 50, 1).bytes(), std::string(50, '\0'));
}

// ---- The property: running totals equal a recomputation from the final payments ----

std::string amountText(int cents) {
  const int whole = std::abs(cents) / 100, part = std::abs(cents) % 100;
  return std::string(cents < 0 ? "-" : "") + std::to_string(whole) + "." + (part < 10 ? "0" : "") + std::to_string(part);
}

struct Expected {
  std::map<std::tuple<bool, long, bool>, double> sides;  // (cash/bank?, record, Dare?) -> amount
  void add(bool cashBank, long record, bool dare, double amount) { sides[{cashBank, record, dare}] += amount; }
  double at(bool cashBank, long record, bool dare) const {
    const auto it = sides.find({cashBank, record, dare});
    return it == sides.end() ? 0 : it->second;
  }
};

// The posting rules written out again, independent of the code under test.
Expected recompute(records::RegisterKind kind, const std::vector<records::Payment>& payments) {
  const bool sales = kind == records::RegisterKind::Sales;
  Expected e;
  for (const records::Payment& p : payments) {
    const long c = static_cast<long>(records::val(p.counterparty));
    const long k = static_cast<long>(records::val(p.cashBank));
    const double a = records::val(p.amount);
    if (c > 0 && c < 8000) e.add(false, c, !sales, a);
    if (c > 8000) e.add(true, c - 8000, !sales, a);
    if (k > 0) e.add(true, k, sales, a);
  }
  return e;
}

void expectSide(const std::string& stored, double expected, const std::string& what) {
  if (records::isBlank(stored)) {
    EXPECT_EQ(records::round2(expected), 0) << what;
  } else {
    EXPECT_EQ(stored, records::str(records::round2(expected))) << what;
  }
}

TEST_F(BalanceFiles, RandomSavesAndCorrectionsLeaveTheBalancesOfTheFinalPayments) {
  const Masters masters{{"A", "B", "C", "D", "E"}, {"F1", "F2", "F3"}, {"Cassa", "Banca", "Posta"}};
  for (records::RegisterKind kind : {records::RegisterKind::Sales, records::RegisterKind::Purchases}) {
    for (unsigned seed : {7u, 11u, 2026u}) {
      SCOPED_TRACE("seed " + std::to_string(seed) + (kind == records::RegisterKind::Sales ? " sales" : " purchases"));
      for (const char* file : {"PSALCL11.DAT", "PSALFO11.DAT", "PAGVEN11.DAT", "PAGACQ11.DAT", "INDVEN11.DAT",
                               "INDACQ11.DAT", "CASBAN.DAT"})
        std::filesystem::remove(file);
      std::mt19937 rng(seed);
      auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
      const bool sales = kind == records::RegisterKind::Sales;
      std::string script;
      int count = 0;
      for (int op = 0; op < 40; ++op) {
        const bool isNew = count == 0 || pick(0, 9) < 3;
        script += isNew ? "\"0\" <ENTER> " : "\"" + std::to_string(pick(1, count)) + "\" <ENTER> ";
        const int party = sales ? (pick(0, 3) == 0 ? 8000 + pick(1, 3) : pick(1, 5)) : pick(1, 3);
        script += "<CTRL-DEL> \"" + std::to_string(party) + "\" <ENTER> <ENTER> ";
        const int cents = pick(0, 5) == 0 ? 0 : pick(-20000, 500000);
        script += "<CTRL-DEL> \"" + amountText(cents) + "\" <ENTER> ";
        if (pick(0, 9) == 0) {  // abandoned: nothing of it may reach the files
          script += "<ESC> ";
          continue;
        }
        const int k = pick(0, 3);
        script += "<CTRL-DEL> " + (k > 0 ? "\"" + std::to_string(k) + "\" " : std::string()) + "<ENTER> <ENTER> ";
        if (isNew) ++count;
      }
      script += "<ESC>";

      PaymentSession s(script);
      writeMasters(s, masters);
      records::RegisterHeader header = records::openRegister(s.catalogue, kind);
      runPaymentsWindow(s.session, kind, header);
      ASSERT_EQ(s.backend().pending(), 0u);
      ASSERT_EQ(s.backend().beeps(), 0);
      s.catalogue.closeAll();

      const records::RegisterHeader onFile = testing::headerOnFile(kind);
      ASSERT_EQ(onFile.payments, count);
      std::vector<records::Payment> payments;
      const std::string paymentFile = std::string(records::registerInfo(kind).stems.payments) + "11.DAT";
      for (long n = 1; n <= count; ++n) {
        const records::Record r = testing::recordOf(paymentFile, 95, n);
        namespace L = records::payment_layout;
        payments.push_back(records::Payment{r.trimmed(L::kFields[L::kCounterparty]), "", "", r.trimmed(L::kFields[L::kAmount]),
                                   r.trimmed(L::kFields[L::kCashBank])});
      }
      const Expected e = recompute(kind, payments);
      const std::string balanceFile = std::string(records::registerInfo(kind).stems.balances) + "11.DAT";
      for (long n = 1; n <= 5; ++n) {
        expectSide(balanceSides(balanceFile, n).dare, e.at(false, n, true), "Dare of " + std::to_string(n));
        expectSide(balanceSides(balanceFile, n).avere, e.at(false, n, false), "Avere of " + std::to_string(n));
      }
      for (long n = 1; n <= 3; ++n) {
        expectSide(cashBankSides(n).dare, e.at(true, n, true), "Dare of account " + std::to_string(n));
        expectSide(cashBankSides(n).avere, e.at(true, n, false), "Avere of account " + std::to_string(n));
      }
    }
  }
}

}  // namespace
}  // namespace vellano::entry
