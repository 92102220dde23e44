// Shared by the registration tests: a working folder with a working date in 2011, master
// data and registrations written through their own file layers, in-process runs of the
// registration screen (for beeps) and cells of the screen dumps of real VELLA10W runs.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/work_folder.h"
#include "records/registration_files.h"
#include "entry/registration_screen.h"
#include "records/catalogue.h"
#include "records/context.h"
#include "screen/error_box.h"
#include "screen/field_editor.h"
#include "screen/function_keys.h"
#include "screen/session.h"
#include "records/causal_file.h"
#include "screen/kit.h"
#include "records/customer_files.h"
#include "records/sub_account_file.h"
#include "records/vat_code_file.h"
#include "platform/console.h"
#include "platform/headless.h"
#include "support/headless_run.h"
#include "support/dump_text.h"

namespace vellano::entry::testing {

inline constexpr const char* kWorkingDate = "150511";

// The data files of one company (extension DAT, year 11) in the test's working folder.
class RegisterFolder : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    writeFile("DATA.DAT", std::string(kWorkingDate) + std::string(11, ' '));
    context_.yearSuffix = "11";
    context_.workingDate = kWorkingDate;
    catalogue_ = std::make_unique<records::Catalogue>(context_);
  }
  void TearDown() override {
    catalogue_.reset();
    WorkFolder::TearDown();
  }

  records::Catalogue& catalogue() { return *catalogue_; }

  void customers(const std::vector<std::string>& names) {
    counterparties(records::CounterpartyKind::Customer, names);
    context_.customerCount = static_cast<float>(names.size());
  }
  void suppliers(const std::vector<std::string>& names) {
    counterparties(records::CounterpartyKind::Supplier, names);
    context_.supplierCount = static_cast<float>(names.size());
  }
  void vatCode(int position, const std::string& code, const std::string& rate, const std::string& note) {
    records::VatCode v;
    v.code = code;
    v.rateText = rate;
    v.ventilationText = "100";
    v.compensationText = "";
    v.note = note;
    records::writeVatCode(catalogue(), position, v);
  }
  void causals(const std::vector<std::string>& descriptions) {
    for (std::size_t i = 0; i < descriptions.size(); ++i) {
      records::Causal c;
      c.description = descriptions[i];
      c.kind = 'E';
      c.ventilation = 'N';
      records::writeCausal(catalogue(), static_cast<int>(i + 1), c);
    }
    records::writeCounter(catalogue(), records::kCausalCounter, static_cast<int>(descriptions.size()));
    context_.causalCount = static_cast<float>(descriptions.size());
  }
  void subAccount(int causal, int n, const std::string& description) {
    records::SubAccount a;
    a.description = description;
    a.code = "K100";
    records::writeSubAccount(catalogue(), causal, n, a);
  }
  // Registrations 1..n and the header counting them, through the register's own layer.
  void registrations(records::RegisterKind kind, const std::vector<records::Registration>& list, records::RegisterHeader header = {}) {
    records::openRegister(catalogue(), kind);
    for (std::size_t i = 0; i < list.size(); ++i) records::writeRegistration(catalogue(), static_cast<long>(i + 1), list[i]);
    header.count = static_cast<int>(list.size());
    records::writeHeader(catalogue(), header);
  }
  void header(records::RegisterKind kind, const records::RegisterHeader& h) {
    records::openRegister(catalogue(), kind);
    records::writeHeader(catalogue(), h);
  }
  // Dare (sales) / Avere of a balance record.
  records::BalanceTotals balance(records::RegisterKind kind, long record) {
    records::openRegister(catalogue(), kind);
    return records::readBalance(catalogue(), record);
  }
  records::RegisterHeader readHeader(records::RegisterKind kind) { return records::openRegister(catalogue(), kind); }
  records::Registration read(records::RegisterKind kind, long n) {
    records::openRegister(catalogue(), kind);
    return records::readRegistration(catalogue(), n);
  }
  std::string rawRecord(const std::string& file, std::size_t length, long n) {
    const std::string bytes = readFile(file);
    const std::size_t at = static_cast<std::size_t>(n - 1) * length;
    return at >= bytes.size() ? std::string() : bytes.substr(at, length);
  }

  // VELLA10W run headless in this folder, after the files written here are closed.
  vellano::testing::HeadlessRun run(const std::string& script, const std::vector<std::string>& args = {}) {
    catalogue().closeAll();
    return vellano::testing::runHeadless("VELLA10W", args, std::filesystem::current_path(), script);
  }

  // The registration screen run in-process until the keys run out; the beeps it gave.
  struct InProcess {
    int beeps = 0;
    int row = 0;  // where the cursor was when the keys ran out: the field being asked
    int col = 0;
  };
  InProcess runScreen(records::RegisterKind kind, const std::string& script) {
    catalogue().closeAll();
    auto backend = platform::scriptedBackend(script);
    platform::HeadlessBackend* keys = backend.get();
    platform::Console console(std::move(backend));
    screen::FieldEditor editor(console);
    screen::FunctionKeyPanel panel;
    screen::ErrorBox errorBox(console, context_, editor);
    screen::Session session{console, catalogue(), editor, panel, errorBox};
    try {
      runRegistrationScreen(session, kind);
    } catch (const platform::KeysExhausted&) {
    }
    InProcess result{keys->beeps(), keys->lastCursor().row, keys->lastCursor().col};
    catalogue().closeAll();
    return result;
  }

  records::Context context_;

 private:
  void counterparties(records::CounterpartyKind kind, const std::vector<std::string>& names) {
    records::openCounterpartyFiles(catalogue(), kind);
    for (std::size_t i = 0; i < names.size(); ++i) {
      records::Counterparty who;
      who.name = names[i];
      who.town = "MILANO";
      who.street = "VIA ROMA 1";
      records::writeCounterparty(catalogue(), kind, static_cast<long>(i + 1), who, {});
    }
    records::writeCount(catalogue(), kind, static_cast<int>(names.size()));
  }

  std::unique_ptr<records::Catalogue> catalogue_;
};

// `n` characters of a dump line from column `col` (1-based), counting UTF-8 characters.
inline std::string cells(const std::string& dump, int row, int col, int n) {
  return vellano::testing::cells(dump, row, col, n);
}

// A registration as the screen would store it, with one VAT line.
inline records::Registration oneLine(const std::string& counterparty, const std::string& rate, const std::string& taxable,
                            const std::string& protocol = "1") {
  records::Registration r;
  r.date = kWorkingDate;
  r.counterparty = counterparty;
  r.documentNumber = "12";
  r.documentDate = kWorkingDate;
  r.protocolLetter = "V";
  r.protocolNumber = protocol;
  r.section = "1";
  r.lines[0].rateText = rate;
  r.lines[0].taxableText = taxable;
  for (records::VatLine& line : r.lines) records::computeLine(line);
  return r;
}

}  // namespace vellano::entry::testing
