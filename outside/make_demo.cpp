// Writes a demo company for the year 2011 into the folder given on the command line: the
// settings files, the VAT table, causals and sub-accounts, cash and bank accounts, customers
// and suppliers, the intermediary of the telematic files, a year of sales and purchase
// registrations with their payments and a year of daily takings. Every record goes through the programs' own record layers, and the balances
// are moved by the same posting rules the screens use, so the data always matches them.
// The random choices come from a fixed seed: the same folder every time.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "entry/balances.h"
#include "records/registration_files.h"
#include "records/catalogue.h"
#include "records/context.h"
#include "records/numbers.h"
#include "records/startup_context.h"
#include "records/cash_bank_file.h"
#include "records/causal_file.h"
#include "screen/kit.h"
#include "records/customer_files.h"
#include "records/intermediary_file.h"
#include "master/fiscal_checks.h"
#include "records/sub_account_file.h"
#include "records/tax_return_codes.h"
#include "records/vat_code_file.h"

namespace {

using namespace vellano;
using records::RegisterKind;

constexpr int kCustomers = 30;
constexpr int kSuppliers = 20;
constexpr int kSales = 200;
constexpr int kPurchases = 150;
constexpr const char* kWorkingDate = "311211";

class Demo {
 public:
  Demo() : catalogue_(context_), random_(20111231u) {}

  void write() {
    settings();
    vatTable();
    causals();
    cashBanks();
    counterparties();
    registrations(RegisterKind::Sales, kSales);
    registrations(RegisterKind::Purchases, kPurchases);
    takings();
    catalogue_.closeAll();
  }

 private:
  // Not std::uniform_int_distribution: its results differ between standard libraries, and
  // the demo must be the same everywhere.
  int pick(int low, int high) {
    return low + static_cast<int>(random_() % static_cast<unsigned>(high - low + 1));
  }
  char letter() { return static_cast<char>('A' + pick(0, 25)); }
  char digit() { return static_cast<char>('0' + pick(0, 9)); }

  // 15 characters shaped like a person's code, then its check letter.
  std::string fiscalCode() {
    static constexpr char kMonths[] = "ABCDEHLMPRST";
    std::string c;
    for (int i = 0; i < 6; ++i) c += letter();
    c += digit();
    c += digit();
    c += kMonths[pick(0, 11)];
    const int day = pick(1, 31) + (pick(0, 1) == 1 ? 40 : 0);
    c += static_cast<char>('0' + day / 10);
    c += static_cast<char>('0' + day % 10);
    c += letter();
    c += digit();
    c += digit();
    c += digit();
    const auto check = master::fiscalCodeCheckLetter(c);
    return c + *check;
  }
  std::string vatNumber() {
    std::string v;
    for (int i = 0; i < 7; ++i) v += digit();
    // Office code of a real province range (001-100).
    const int office = pick(1, 100);
    char text[16];
    std::snprintf(text, sizeof text, "%03d", office);
    v += text;
    return v + *master::vatNumberCheckDigit(v);
  }

  // TTY.DAT, DATA.DAT, PARAM.DAT and the company registry, then the context the programs build
  // from them (host mode 1, no arguments).
  void settings() {
    context_.hostMode = 1;
    context_.dataPrefix = "C:";
    records::Channel& tty = catalogue_.open(records::channel::kInstallation);
    const std::string bytes = "C      C" + std::string(27, ' ');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      records::W_10(catalogue_, bytes[i]);
      tty.write(static_cast<long>(i + 1));
    }
    context_.workingDate = kWorkingDate;
    context_.dateFileRest = std::string(11, ' ');
    records::Channel& dateFile = catalogue_.open(records::channel::kWorkingDate);
    records::W_11(catalogue_, context_);
    dateFile.write(1);
    context_.sharedCustomerArchive = 'N';
    context_.fullVatTables = 'N';
    records::Channel& parameters = catalogue_.open(records::channel::kParameters);
    records::W_18(catalogue_, context_);
    parameters.write(1);
    records::Company company;
    company.name = "FERRAMENTA BORGHI S.N.C.";
    company.address = "VIA GARIBALDI 18";
    company.town = "20121 MILANO MI";
    company.vatNumber = vatNumber();
    company.fiscalCode = company.vatNumber;
    records::Channel& registry = catalogue_.open(records::channel::kCompany);
    registry.read(1);
    records::W_14(catalogue_, company);
    registry.write(1);
    // The intermediary who sends the telematic files; it comes from outside both programs.
    context_.yearSuffix = records::yearSuffixOf(kWorkingDate);
    records::Channel& intermediary = catalogue_.open(records::channel::kIntermediary);
    intermediary.read(1);
    records::W_59(catalogue_, {"RSSMRA70A01H501U", "10", "12345", "150111"});
    intermediary.write(1);
    catalogue_.closeAll();
    records::StartupOptions options;
    options.version = "DEMO";
    records::resolveContext(catalogue_, {}, options);
  }

  void vatTable() {
    struct Row {
      const char* code;
      const char* rate;
      const char* note;
    };
    static constexpr Row kRows[] = {
        {"20", "20", "Aliquota ordinaria"},     {"10", "10", "Aliquota ridotta"},
        {"4", "4", "Aliquota minima"},          {"I20", "I20", "Indetraibile 20%"},
        {"I10", "I10", "Indetraibile 10%"},     {"E10", "E10", "Esente art.10"},
        {"N15", "N15", "Non soggetto art.15"},  {"F2", "F2", "Fuori campo art.2"},
    };
    int position = 1;
    for (const Row& row : kRows) {
      records::VatCode v;
      v.code = row.code;
      v.rateText = row.rate;
      v.ventilationText = "100";
      v.note = row.note;
      records::writeVatCode(catalogue_, position++, v);
    }
  }

  // Causal, its ventilation flag, and its sub-accounts with their catalogue codes.
  struct CausalRow {
    const char* description;
    char kind;
    char ventilation;
    std::vector<std::pair<const char*, const char*>> subAccounts;
  };
  static const std::vector<CausalRow>& causalRows() {
    static const std::vector<CausalRow> rows = {
        {"VENDITA MERCI", 'E', 'N', {{"Vendite al dettaglio", "K100"}, {"Vendite all'ingrosso", "K100.1"}}},
        {"PRESTAZIONI DI SERVIZI", 'E', 'N', {{"Riparazioni", "K100"}, {"Consulenze", "K102"}}},
        {"ALTRI PROVENTI", 'E', 'N', {{"Rimborsi spese", "K102.1"}, {"Sopravvenienze", "K131"}}},
        {"ACQUISTO MERCI RIVENDITA", 'E', 'S', {{"Merci per la rivendita", "K200"}, {"Imballaggi", "K200"}}},
        {"MATERIALI DI CONSUMO", 'E', 'N', {{"Cancelleria", "K201"}, {"Materiale pulizia", "K201"}}},
        {"CARBURANTI", 'E', 'N', {{"Gasolio furgone", "K202"}, {"Benzina auto", "K202.01"}}},
        {"SERVIZI", 'E', 'N', {{"Energia elettrica", "K210"}, {"Telefono", "K210.01"}}},
        {"CONSULENZE PROFESSIONALI", 'E', 'N', {{"Commercialista", "K211"}, {"Avvocato", "K211"}}},
        {"ONERI FINANZIARI", 'E', 'N', {{"Interessi c/c", "K220"}, {"Interessi mutuo", "K220.01"}}},
        {"BENI STRUMENTALI", 'P', 'N', {{"Attrezzature", "K200"}, {"Arredi negozio", "K200"}}},
    };
    return rows;
  }

  void causals() {
    const auto& rows = causalRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
      records::Causal c;
      c.description = rows[i].description;
      c.kind = rows[i].kind;
      c.ventilation = rows[i].ventilation;
      const int number = static_cast<int>(i + 1);
      records::writeCausal(catalogue_, number, c);
      int n = 1;
      for (const auto& [description, code] : rows[i].subAccounts) {
        records::SubAccount a;
        a.description = description;
        a.code = records::storedTaxCode(records::findTaxReturnCode(code));
        records::writeSubAccount(catalogue_, number, n++, a);
      }
    }
    records::writeCounter(catalogue_, records::kCausalCounter, static_cast<int>(rows.size()));
  }

  void cashBanks() {
    for (std::size_t i = 0; i < kAccounts.size(); ++i)
      records::writeCashBank(catalogue_, static_cast<int>(i + 1), records::CashBank{kAccounts[i], 0, 0});
    records::writeCounter(catalogue_, records::kCashBankCounter, static_cast<int>(kAccounts.size()));
  }

  void counterparties() {
    static constexpr const char* kFirst[] = {"ROSSI", "BIANCHI", "COLOMBO", "FERRARI", "ESPOSITO", "RICCI",
                                             "MARINO", "GRECO", "BRUNO", "GALLO", "CONTI", "DE LUCA"};
    static constexpr const char* kForms[] = {"S.R.L.", "S.N.C.", "S.A.S.", "& C."};
    static constexpr const char* kTrades[] = {"EDILIZIA", "IDRAULICA", "ELETTRO", "LEGNAMI", "COLORI", "UTENSILI"};
    static constexpr struct {
      const char* town;
      const char* cap;
      const char* province;
    } kTowns[] = {{"MILANO", "20121", "MI"}, {"MONZA", "20900", "MB"}, {"BERGAMO", "24121", "BG"},
                  {"COMO", "22100", "CO"},   {"LODI", "26900", "LO"},  {"PAVIA", "27100", "PV"}};
    static constexpr const char* kStreets[] = {"VIA ROMA", "VIA MAZZINI", "CORSO VENEZIA", "VIA DANTE",
                                               "PIAZZA DUOMO", "VIALE MONZA"};
    for (const auto kind : {records::CounterpartyKind::Customer, records::CounterpartyKind::Supplier}) {
      const bool customers = kind == records::CounterpartyKind::Customer;
      const int count = customers ? kCustomers : kSuppliers;
      catalogue_.open(customers ? records::channel::kCustomers : records::channel::kSuppliers);
      catalogue_.open(customers ? records::channel::kCustomerCount : records::channel::kSupplierCount);
      if (!customers) catalogue_.open(records::channel::kOtherSuppliers);
      for (int code = 1; code <= count; ++code) {
        records::Counterparty who;
        who.name = std::string(kTrades[pick(0, 5)]) + " " + kFirst[pick(0, 11)] + " " + kForms[pick(0, 3)];
        const auto& town = kTowns[pick(0, 5)];
        who.street = kStreets[pick(0, 5)];
        who.houseNumber = std::to_string(pick(1, 180));
        who.town = town.town;
        who.postcode = town.cap;
        who.province = town.province;
        who.fiscalCode = fiscalCode();
        who.vatNumber = vatNumber();
        // Straight into the master records: the balance records start at zero and are moved
        // only by the postings below.
        if (customers) {
          catalogue_.channel(records::channel::kCustomers).read(code);
          records::W_1(catalogue_, who);
          catalogue_.channel(records::channel::kCustomers).write(code);
        } else {
          catalogue_.channel(records::channel::kSuppliers).read(code);
          records::W_7(catalogue_, who);
          catalogue_.channel(records::channel::kSuppliers).write(code);
          catalogue_.channel(records::channel::kOtherSuppliers).read(code);
          records::W_71(catalogue_, who);
          catalogue_.channel(records::channel::kOtherSuppliers).write(code);
        }
      }
      records::writeCount(catalogue_, kind, count);
    }
  }

  static std::string date(int day, int month) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d11", day, month);
    return text;
  }
  static int daysIn(int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return kDays[month - 1];
  }

  // One VAT line: position in the VAT table, causal and sub-account.
  void line(records::VatLine& l, int vatPosition, int causal, double taxable) {
    l.vatCodeText = records::codeText(vatPosition);
    l.rateText = records::readVatCode(catalogue_, vatPosition).rateText;
    l.taxableText = records::amountForField(taxable, 10);
    l.causalText = records::codeText(causal);
    l.subAccountText = records::codeText(pick(1, 2));
    records::computeLine(l);
  }

  void registrations(RegisterKind kind, int count) {
    const bool sales = kind == RegisterKind::Sales;
    records::RegisterHeader header = records::openRegister(catalogue_, kind);
    const std::string letter(records::registerInfo(kind).letter);
    // Spread over the year in date order: registration i falls on day-of-year i * 365 / count.
    std::vector<records::Payment> payments;
    for (int n = 1; n <= count; ++n) {
      int dayOfYear = (n - 1) * 365 / count;
      int month = 1;
      while (dayOfYear >= daysIn(month)) dayOfYear -= daysIn(month++);
      const std::string when = date(dayOfYear + 1, month);

      records::Registration r;
      r.date = when;
      r.documentDate = when;
      const int section = pick(1, 4) == 1 ? 2 : 1;
      r.section = std::to_string(section);
      int& protocol = header.protocol[static_cast<std::size_t>(section - 1)];
      ++protocol;
      r.protocolLetter = letter;
      r.protocolNumber = std::to_string(protocol);
      r.documentNumber = sales ? std::to_string(protocol) + (section == 2 ? "/B" : "") : std::to_string(pick(1, 9999));
      const long who = pick(1, sales ? kCustomers : kSuppliers);
      r.counterparty = records::codeText(sales ? who : 9000 + who);

      // The first line is the common case; a few registrations carry a second one.
      const double amount = pick(2000, 250000) / 100.0;
      if (sales) {
        static constexpr int kSaleVat[] = {1, 1, 1, 2, 3, 6, 7};
        line(r.lines[0], kSaleVat[pick(0, 6)], pick(1, 3), amount);
      } else {
        static constexpr int kBuyVat[] = {1, 1, 2, 3, 4, 5, 6, 8};
        const int causal = pick(4, 10);
        // Goods for resale at the three ventilation rates.
        line(r.lines[0], causal == 4 ? pick(1, 3) : kBuyVat[pick(0, 7)], causal, amount);
      }
      if (pick(1, 5) == 1) line(r.lines[1], sales ? 2 : 4, sales ? 1 : 5, pick(1000, 30000) / 100.0);
      r.note = sales ? "Fattura di vendita" : "Fattura di acquisto";
      records::writeRegistration(catalogue_, n, r);
      const double total = r.totals().total;
      entry::post(catalogue_, {entry::AccountFile::Balance, who, sales ? entry::Side::Dare : entry::Side::Avere, total});

      // Most invoices are paid, within two months, to the cash box or a bank; some partly.
      if (pick(1, 10) <= 7) {
        records::Payment p;
        p.counterparty = records::codeText(who);
        const int payMonth = std::min(12, month + pick(0, 2));
        p.date = date(std::min(28, dayOfYear + 1), payMonth);
        p.description = (sales ? "Incasso fatt. n. " : "Pagamento fatt. n. ") + r.documentNumber;
        const double paid = pick(1, 4) == 1 ? records::roundTo(total / 2, 2) : total;
        p.amount = records::amountForField(paid, 10);
        p.cashBank = records::codeText(pick(1, static_cast<int>(kAccounts.size())));
        payments.push_back(p);
      }
    }
    for (std::size_t i = 0; i < payments.size(); ++i) {
      records::W_12(catalogue_, payments[i]);
      catalogue_.channel(records::channel::kPayments).write(static_cast<long>(i + 1));
      for (const entry::Posting& posting : entry::postingsOf(kind, entry::effectOf(payments[i])))
        entry::post(catalogue_, posting);
    }
    header.count = count;
    header.payments = static_cast<int>(payments.size());
    header.lastPage = 0;
    records::writeHeader(catalogue_, header);
  }

  // Every day's takings at 4, 10 and 20 % and under ventilation; Sundays closed.
  void takings() {
    records::Channel& corris = catalogue_.open(records::channel::kTakings);
    int weekday = 5;  // 1 January 2011 was a Saturday (0 = Monday)
    for (int month = 1; month <= 12; ++month) {
      records::Takings t;
      for (int day = 1; day <= records::kDays; ++day) {
        const bool open = day <= daysIn(month) && weekday != 6;
        if (day <= daysIn(month)) weekday = (weekday + 1) % 7;
        for (int block = 0; block < records::kTakingsBlocks; ++block) {
          static constexpr int kHigh[] = {4000, 8000, 30000, 60000};
          t.day[static_cast<std::size_t>(block)][static_cast<std::size_t>(day - 1)] =
              open ? records::amountForField(pick(500, kHigh[block]) / 100.0, 10) : std::string();
        }
      }
      corris.read(month);
      records::W_27(catalogue_, t);
      corris.write(month);
    }
  }

  static inline const std::vector<std::string> kAccounts = {"CASSA CONTANTI", "BANCA INTESA C/C 1234",
                                                            "UNICREDIT C/C 5678", "POSTA C/C 9012"};

  records::Context context_;
  records::Catalogue catalogue_;
  std::mt19937 random_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_demo FOLDER\n");
    return 2;
  }
  try {
    std::filesystem::create_directories(argv[1]);
    std::filesystem::current_path(argv[1]);
    Demo().write();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_demo: %s\n", e.what());
    return 1;
  }
  return 0;
}
