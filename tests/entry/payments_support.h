// Shared by the payment and movement-list tests: an in-process session on a key script in a
// fresh working folder, data written through the record layers, and reading the files back.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "records/registration_files.h"
#include "records/catalogue.h"
#include "records/context.h"
#include "screen/error_box.h"
#include "screen/field_editor.h"
#include "screen/function_keys.h"
#include "records/numbers.h"
#include "records/record_file.h"
#include "support/screen_helpers.h"
#include "screen/session.h"
#include "records/text.h"
#include "support/work_folder.h"
#include "records/cash_bank_file.h"
#include "screen/kit.h"
#include "records/customer_files.h"
#include "support/dump_text.h"
#include "support/scripted_session.h"

namespace vellano::entry::testing {

// Company "DAT", year 11, working date 10/05/11, data in the working folder.
struct PaymentSession : vellano::testing::ScriptedSession {
  explicit PaymentSession(std::string_view script) : ScriptedSession(script) {
    context.yearSuffix = "11";
    context.workingDate = "100511";
  }
};

// What a test folder holds before the window opens.
struct Masters {
  std::vector<std::string> customers;
  std::vector<std::string> suppliers;
  std::vector<std::string> cashBanks;
};

// Writes the customers, suppliers and accounts through their record layers and sets the
// counts a session reads at start-up.
inline void writeMasters(PaymentSession& s, const Masters& m) {
  records::Catalogue& c = s.catalogue;
  const struct {
    records::CounterpartyKind kind;
    const std::vector<std::string>& names;
  } kinds[] = {{records::CounterpartyKind::Customer, m.customers}, {records::CounterpartyKind::Supplier, m.suppliers}};
  for (const auto& k : kinds) {
    records::openCounterpartyFiles(c, k.kind);
    for (std::size_t i = 0; i < k.names.size(); ++i) {
      records::Counterparty who;
      who.name = k.names[i];
      // Written straight into the master record: the yearly balances stay untouched.
      const long code = static_cast<long>(i + 1);
      if (k.kind == records::CounterpartyKind::Customer) {
        c.channel(1).read(code);
        records::W_1(c, who);
        c.channel(1).write(code);
      } else {
        c.channel(7).read(code);
        records::W_7(c, who);
        c.channel(7).write(code);
      }
    }
    records::writeCount(c, k.kind, static_cast<int>(k.names.size()));
  }
  for (std::size_t i = 0; i < m.cashBanks.size(); ++i)
    records::writeCashBank(c, static_cast<int>(i + 1), records::CashBank{m.cashBanks[i], 0, 0});
  records::writeCounter(c, records::kCashBankCounter, static_cast<int>(m.cashBanks.size()));
  s.context.customerCount = static_cast<float>(m.customers.size());
  s.context.supplierCount = static_cast<float>(m.suppliers.size());
  c.closeAll();
}

// Stores payments 1..n and the header count through the register's record layer.
inline void writePayments(PaymentSession& s, records::RegisterKind kind, const std::vector<records::Payment>& payments,
                          records::RegisterHeader header = {}) {
  records::Catalogue& c = s.catalogue;
  records::openRegister(c, kind);
  for (std::size_t i = 0; i < payments.size(); ++i) {
    records::W_12(c, payments[i]);
    c.channel(12).write(static_cast<long>(i + 1));
  }
  header.payments = static_cast<int>(payments.size());
  records::writeHeader(c, header);
  c.closeAll();
}

// Record `n` of a data file read on its own, outside any session.
inline records::Record recordOf(const std::string& file, std::size_t length, long n) {
  records::RecordFile f(file, length);
  return records::Record(f.read(n));
}

// Dare and Avere fields of a balance record (30 bytes) or a cash/bank record (50 bytes).
struct Sides {
  std::string dare;
  std::string avere;
};
inline Sides balanceSides(const std::string& file, long n) {
  const records::Record r = recordOf(file, 30, n);
  return {r.trimmed(records::balance::kDare), r.trimmed(records::balance::kAvere)};
}
inline Sides cashBankSides(long n) {
  const records::Record r = recordOf("CASBAN.DAT", 50, n);
  return {r.trimmed(records::cash_bank_layout::kDebit), r.trimmed(records::cash_bank_layout::kCredit)};
}

inline records::RegisterHeader headerOnFile(records::RegisterKind kind) {
  return records::unpackHeader(recordOf(std::string(records::registerInfo(kind).stems.index) + "11.DAT", 90, 1));
}

// `n` glyphs from column `col` of row `row` of a screen dump (line 0 is the title line).
inline std::string dumpCells(const std::string& dump, int row, int col, int n) {
  return vellano::testing::cells(dump, row, col, n);
}

}  // namespace vellano::entry::testing
