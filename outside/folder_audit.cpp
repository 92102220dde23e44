// The folder check, its repair and the balances listing.
#include "outside/folder_audit.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <system_error>
#include <utility>

#include "entry/balances.h"
#include "records/cash_bank_file.h"
#include "records/sub_account_file.h"
#include "records/vat_code_file.h"
#include "records/catalogue.h"
#include "records/counters.h"
#include "records/customer_files.h"
#include "records/numbers.h"
#include "records/registration_files.h"
#include "records/save_transaction.h"
#include "records/startup_context.h"
#include "records/text.h"
#include "platform/dos_path.h"

namespace vellano::outside {
namespace {

namespace fs = std::filesystem;
using records::RegisterKind;

constexpr std::size_t kHeaderLength = records::header_layout::kLength;
constexpr std::size_t kRegistrationLength = records::registration_layout::kLength;
constexpr std::size_t kPaymentLength = records::payment_layout::kLength;
constexpr std::size_t kBalanceLength = 30;
constexpr std::size_t kCounterLength = 5;  // INDEX.DAT

bool blank(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == ' ' || c == '\0'; });
}

// A data file read whole, without creating it when it is missing.
class FileImage {
 public:
  explicit FileImage(std::string name) : name_(std::move(name)) {
    std::ifstream in(name_, std::ios::binary);
    exists_ = static_cast<bool>(in);
    if (exists_) bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  const std::string& name() const { return name_; }
  bool exists() const { return exists_; }
  bool hasBytes() const { return !bytes_.empty(); }
  long records(std::size_t length) const { return static_cast<long>(bytes_.size() / length); }
  // Record n as the programs read it: zero bytes past the end.
  records::Record record(long n, std::size_t length) const {
    std::string bytes(length, '\0');
    const std::size_t at = static_cast<std::size_t>(n - 1) * length;
    if (n >= 1 && at < bytes_.size()) bytes.replace(0, std::min(length, bytes_.size() - at), bytes_, at, length);
    return records::Record(std::move(bytes));
  }
  // The last whole record that holds anything but blanks and NULs, as the save check counts.
  long lastUsed(std::size_t length) const {
    for (long n = records(length); n >= 1; --n)
      if (!blank(record(n, length).bytes())) return n;
    return 0;
  }

 private:
  std::string name_;
  bool exists_ = false;
  std::string bytes_;
};

int counter(double value, int most) {
  if (!(value >= 1)) return 0;
  return value > most ? most : static_cast<int>(value);
}

// The files of one year and company extension, named as the programs name them.
struct YearSet {
  std::string year;
  std::string extension;
  std::string label() const { return year + "." + extension; }
};

std::string customerExtensionFor(const std::string& extension) {
  const FileImage param("PARAM.DAT");
  const std::string bytes = param.record(1, 2).bytes();
  return bytes[0] == 'S' ? std::string("DAT") : extension;
}

records::Context namingContext(const YearSet& set) {
  records::Context c;
  c.hostMode = 1;
  c.dataPrefix = "C:";
  c.companyExtension = set.extension;
  c.customerExtension = customerExtensionFor(set.extension);
  c.yearSuffix = set.year;
  return c;
}

// The host name of a channel's file under the set's names.
std::string fileName(const YearSet& set, int channel, const records::RegisterStems* stems = nullptr) {
  records::Context c = namingContext(set);
  records::Catalogue names(c);
  records::setRegisterStems(names, stems ? *stems : records::kSalesStems);
  return platform::hostPath(names.dosName(channel)).string();
}

std::vector<YearSet> yearSets() {
  static const std::regex kYearFile("(INDVEN|INDACQ|VENDIT|ACQUIS|PAGVEN|PAGACQ|PSALCL|PSALFO)([0-9]{2})\\.([A-Z0-9]{3})");
  std::set<std::pair<std::string, std::string>> found;
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(".", ec)) {
    std::smatch m;
    const std::string name = e.path().filename().string();
    if (std::regex_match(name, m, kYearFile)) found.insert({m[2].str(), m[3].str()});
  }
  std::vector<YearSet> sets;
  for (const auto& [year, extension] : found) sets.push_back({year, extension});
  return sets;
}

// The master files and their counts, for the references of one set.
struct Masters {
  explicit Masters(const YearSet& set)
      : customerCount(fileName(set, records::channel::kCustomerCount)),
        supplierCount(fileName(set, records::channel::kSupplierCount)),
        counters(fileName(set, records::channel::kCounters)),
        customerFile(fileName(set, records::channel::kCustomers)),
        supplierFile(fileName(set, records::channel::kSuppliers)),
        causalFile(fileName(set, records::channel::kCausals)),
        cashBankFile(fileName(set, records::channel::kCashBanks)),
        subAccountFile(fileName(set, records::channel::kSubAccounts)),
        vatFile(fileName(set, records::channel::kVatCodes)) {
    customers = counter(customerCount.record(1, 4).number(records::kCounter), records::kMaxCustomers);
    suppliers = counter(supplierCount.record(1, 4).number(records::kCounter), records::kMaxSuppliers);
    causals = counter(counters.record(records::kCausalCounter, kCounterLength).number({0, kCounterLength}), 9999);
    cashBanks = counter(counters.record(records::kCashBankCounter, kCounterLength).number({0, kCounterLength}), 9999);
  }
  FileImage customerCount, supplierCount, counters;
  FileImage customerFile, supplierFile, causalFile, cashBankFile, subAccountFile, vatFile;
  int customers = 0, suppliers = 0, causals = 0, cashBanks = 0;
};

std::string number(long n) { return std::to_string(n); }

// ---- One register ----

struct RegisterFiles {
  RegisterFiles(const YearSet& set, RegisterKind kind)
      : kind(kind),
        header(fileName(set, records::channel::kRegisterHeader, &records::registerInfo(kind).stems)),
        registrations(fileName(set, records::channel::kRegistrations, &records::registerInfo(kind).stems)),
        payments(fileName(set, records::channel::kPayments, &records::registerInfo(kind).stems)),
        balances(fileName(set, records::channel::kBalances, &records::registerInfo(kind).stems)) {}
  bool present() const { return header.exists() || registrations.exists() || payments.exists(); }
  records::RegisterHeader readHeader() const { return records::unpackHeader(header.record(1, kHeaderLength)); }
  records::Registration registration(long n) const {
    return records::unpackRegistration(registrations.record(n, kRegistrationLength));
  }
  records::Payment payment(long n) const {
    namespace P = records::payment_layout;
    const records::Record r = payments.record(n, kPaymentLength);
    records::Payment p;
    p.counterparty = r.trimmed(P::kFields[P::kCounterparty]);
    p.date = r.trimmed(P::kFields[P::kDate]);
    p.description = r.trimmed(P::kFields[P::kDescription]);
    p.amount = r.trimmed(P::kFields[P::kAmount]);
    p.cashBank = r.trimmed(P::kFields[P::kCashBank]);
    return p;
  }
  // The highest protocol number used in each sezionale.
  std::array<int, records::kSections> highestProtocols() const {
    std::array<int, records::kSections> highest{};
    for (long n = 1; n <= registrations.lastUsed(kRegistrationLength); ++n) {
      const records::Registration r = registration(n);
      const int s = r.sectionNumber();
      const double p = records::val(r.protocolNumber);
      if (s >= 1 && p >= 1 && p <= records::kMaxCounter && p == static_cast<int>(p))
        highest[static_cast<std::size_t>(s - 1)] = std::max(highest[static_cast<std::size_t>(s - 1)], static_cast<int>(p));
    }
    return highest;
  }

  RegisterKind kind;
  FileImage header, registrations, payments, balances;
};

void checkCounts(const RegisterFiles& f, std::vector<Finding>& out) {
  const records::RegisterHeader h = f.readHeader();
  const long lastRegistration = f.registrations.lastUsed(kRegistrationLength);
  const long lastPayment = f.payments.lastUsed(kPaymentLength);
  if (h.count != lastRegistration)
    out.push_back({f.header.name(), "registrazioni in testata " + number(h.count) + ", ultima registrazione in " +
                                        f.registrations.name() + ": " + number(lastRegistration)});
  if (h.payments != lastPayment)
    out.push_back({f.header.name(), "pagamenti in testata " + number(h.payments) + ", ultimo pagamento in " +
                                        f.payments.name() + ": " + number(lastPayment)});
  const auto highest = f.highestProtocols();
  for (std::size_t s = 0; s < highest.size(); ++s)
    if (h.protocol[s] < highest[s])
      out.push_back({f.header.name(), "ultimo protocollo del sezionale " + number(static_cast<long>(s + 1)) +
                                          " in testata " + number(h.protocol[s]) + ", il piu' alto usato: " +
                                          number(highest[s])});
}

std::string counterpartyProblem(RegisterKind kind, long code, const Masters& m) {
  if (code == 0) return {};
  if (kind == RegisterKind::Sales) {
    if (code < 9000 && code <= m.customers) return {};
    return "cliente " + number(code) + " non in " + m.customerFile.name() + " (" + number(m.customers) + " clienti)";
  }
  if (code > 9000 && code - 9000 <= m.suppliers) return {};
  return "fornitore " + number(code) + " non in " + m.supplierFile.name() + " (9000 + " + number(m.suppliers) +
         " fornitori)";
}

void checkRegistrations(const RegisterFiles& f, const Masters& m, std::vector<Finding>& out) {
  const std::string& file = f.registrations.name();
  std::map<std::string, long> protocols;
  const long last = f.registrations.lastUsed(kRegistrationLength);
  for (long n = 1; n <= last; ++n) {
    const std::string where = "registrazione " + number(n);
    if (blank(f.registrations.record(n, kRegistrationLength).bytes())) {
      out.push_back({file, where + ": vuota"});
      continue;
    }
    const records::Registration r = f.registration(n);
    if (const std::string problem = counterpartyProblem(f.kind, r.counterpartyCode(), m); !problem.empty())
      out.push_back({file, where + ": " + problem});
    for (int k = 0; k < records::kLines; ++k) {
      const records::VatLine& line = r.lines[static_cast<std::size_t>(k)];
      const std::string at = where + " riga " + number(k + 1) + ": ";
      const int causal = line.causal();
      const int sub = line.subAccount();
      const int vat = line.vatCode();
      if (causal > m.causals)
        out.push_back({file, at + "causale " + number(causal) + " non in " + m.causalFile.name() + " (" +
                                 number(m.causals) + " causali)"});
      if (sub > 0 && causal == 0) {
        out.push_back({file, at + "sottoconto " + number(sub) + " senza causale"});
      } else if (sub > 0 && causal <= m.causals &&
                 (sub > records::kSubAccountsPerCausal ||
                  blank(m.subAccountFile.record(records::subAccountRecord(causal, sub), 500).bytes()))) {
        out.push_back({file, at + "sottoconto " + number(sub) + " della causale " + number(causal) + " vuoto in " +
                                 m.subAccountFile.name()});
      }
      if (vat > records::kVatPositions)
        out.push_back({file, at + "codice IVA " + number(vat) + " non in " + m.vatFile.name()});
      else if (vat > 0 && blank(m.vatFile.record(vat, 200).bytes()))
        out.push_back({file, at + "codice IVA " + number(vat) + " vuoto in " + m.vatFile.name()});
    }
    const double p = records::val(r.protocolNumber);
    if (r.sectionNumber() >= 1 && p >= 1) {
      const std::string protocol = r.protocolLetter + "." + r.section + "." + records::trim(r.protocolNumber);
      const auto [it, fresh] = protocols.emplace(protocol, n);
      if (!fresh)
        out.push_back({file, where + ": protocollo " + protocol + " gia' della registrazione " + number(it->second)});
    }
  }
}

void checkPayments(const RegisterFiles& f, const Masters& m, std::vector<Finding>& out) {
  const std::string& file = f.payments.name();
  const bool sales = f.kind == RegisterKind::Sales;
  const long last = f.payments.lastUsed(kPaymentLength);
  for (long n = 1; n <= last; ++n) {
    const std::string where = "pagamento " + number(n) + ": ";
    const entry::PaymentEffect e = entry::effectOf(f.payment(n));
    const long c = e.counterparty;
    if (c <= 0 || c == entry::kCashBankBase) {
      out.push_back({file, where + "controparte mancante"});
    } else if (c > entry::kCashBankBase) {
      if (!sales)
        out.push_back({file, where + "conto " + number(c) + ": un conto cassa/banca non paga acquisti"});
      else if (c - entry::kCashBankBase > m.cashBanks)
        out.push_back({file, where + "conto " + number(c) + " non in " + m.cashBankFile.name() + " (8000 + " +
                                 number(m.cashBanks) + " conti)"});
    } else if (c > (sales ? m.customers : m.suppliers)) {
      out.push_back({file, where + (sales ? "cliente " : "fornitore ") + number(c) + " non in " +
                               (sales ? m.customerFile.name() : m.supplierFile.name()) + " (" +
                               number(sales ? m.customers : m.suppliers) + (sales ? " clienti)" : " fornitori)")});
    }
    if (e.cashBank > m.cashBanks)
      out.push_back({file, where + "contropartita " + number(e.cashBank) + " non in " + m.cashBankFile.name() + " (" +
                               number(m.cashBanks) + " conti)"});
  }
}

// Balance records of codes past the count that hold totals.
void checkBalancesPastCount(const RegisterFiles& f, const Masters& m, std::vector<Finding>& out) {
  const bool sales = f.kind == RegisterKind::Sales;
  const int count = sales ? m.customers : m.suppliers;
  for (long n = count + 1; n <= f.balances.records(kBalanceLength); ++n) {
    const records::Record r = f.balances.record(n, kBalanceLength);
    if (r.number(records::balance::kDare) != 0 || r.number(records::balance::kAvere) != 0)
      out.push_back({f.balances.name(), "saldo del codice " + number(n) + " oltre i " + number(count) +
                                            (sales ? " clienti" : " fornitori")});
  }
}

// ---- Master counters ----

struct MasterCount {
  const FileImage* counterFile;
  const FileImage* file;
  std::size_t length;
  int count;
  int most;
  const char* what;  // plural
};

std::vector<MasterCount> masterCounts(const Masters& m) {
  return {{&m.customerCount, &m.customerFile, 500, m.customers, records::kMaxCustomers, "clienti"},
          {&m.supplierCount, &m.supplierFile, 200, m.suppliers, records::kMaxSuppliers, "fornitori"},
          {&m.counters, &m.causalFile, 500, m.causals, 999, "causali"},
          {&m.counters, &m.cashBankFile, 50, m.cashBanks, 9999, "conti cassa/banca"}};
}

void checkMasters(const Masters& m, std::vector<Finding>& out) {
  for (const MasterCount& c : masterCounts(m)) {
    const long last = c.file->lastUsed(c.length);
    if (last > c.count)
      out.push_back({c.counterFile->name(), number(c.count) + " " + c.what + ", ultimo in uso in " + c.file->name() +
                                                ": " + number(last)});
  }
}

std::string shown(std::string_view bytes) {
  std::string out;
  for (char c : bytes) out += c >= 0x20 && c < 0x7F ? c : '?';
  return out;
}

// The balances listing covers the year of the working date, or the latest year found.
std::optional<std::string> listedYear(const std::vector<YearSet>& sets) {
  const FileImage date("DATA.DAT");
  records::Context c;
  c.workingDate = date.record(1, 17).text({0, 6});
  if (records::workingDateValid(c)) return records::yearSuffixOf(c.workingDate);
  if (sets.empty()) return std::nullopt;
  return std::max_element(sets.begin(), sets.end(), [](const YearSet& a, const YearSet& b) { return a.year < b.year; })
      ->year;
}

}  // namespace

std::vector<Finding> checkFolder() {
  std::vector<Finding> out;
  if (records::journalPending("."))
    out.push_back({std::string(records::kJournalName), "salvataggio interrotto, da completare (--repair)"});
  const FileImage date("DATA.DAT");
  if (date.hasBytes()) {
    records::Context c;
    c.workingDate = date.record(1, 17).text({0, 6});
    if (!records::workingDateValid(c))
      out.push_back({date.name(), "data di lavoro non valida: \"" + shown(c.workingDate) + "\""});
  }
  const std::vector<YearSet> sets = yearSets();
  std::set<std::string> mastersChecked;
  for (const YearSet& set : sets) {
    const Masters masters(set);
    if (mastersChecked.insert(masters.customerFile.name()).second) checkMasters(masters, out);
    for (RegisterKind kind : {RegisterKind::Sales, RegisterKind::Purchases}) {
      const RegisterFiles files(set, kind);
      if (!files.present()) continue;
      checkCounts(files, out);
      checkRegistrations(files, masters, out);
      checkPayments(files, masters, out);
      checkBalancesPastCount(files, masters, out);
    }
  }
  if (sets.empty()) {
    const Masters masters(YearSet{"00", "DAT"});
    checkMasters(masters, out);
  }
  return out;
}

std::vector<std::string> repairFolder() {
  std::vector<std::string> changes;
  const std::string journal(records::kJournalName);
  if (records::journalPending(".")) {
    const records::FolderLock lock(".");
    changes.push_back(journal + (records::rollForward(".") ? ": salvataggio interrotto completato"
                                                           : ": salvataggio interrotto prima di toccare i file, scartato"));
  }
  records::Context context = namingContext(YearSet{"00", "DAT"});
  records::Catalogue catalogue(context);
  records::SaveTransaction save(catalogue);
  const std::vector<YearSet> sets = yearSets();
  std::set<std::string> mastersRepaired;
  for (const YearSet& set : sets) {
    context = namingContext(set);
    const Masters masters(set);
    if (mastersRepaired.insert(masters.customerFile.name()).second) {
      const std::vector<MasterCount> counts = masterCounts(masters);
      for (std::size_t i = 0; i < counts.size(); ++i) {
        const MasterCount& c = counts[i];
        const long last = std::min<long>(c.file->lastUsed(c.length), c.most);
        if (last <= c.count) continue;
        const int now = static_cast<int>(last);
        if (i < 2) {
          const auto kind = i == 0 ? records::CounterpartyKind::Customer : records::CounterpartyKind::Supplier;
          records::openChannel(catalogue, i == 0 ? records::channel::kCustomerCount : records::channel::kSupplierCount);
          records::writeCount(catalogue, kind, now);
        } else {
          records::writeCounter(catalogue, i == 2 ? records::kCausalCounter : records::kCashBankCounter, now);
        }
        changes.push_back(c.counterFile->name() + ": " + c.what + " " + number(c.count) + " -> " + number(now));
      }
    }
    for (RegisterKind kind : {RegisterKind::Sales, RegisterKind::Purchases}) {
      const RegisterFiles files(set, kind);
      if (!files.present()) continue;
      records::RegisterHeader h = files.readHeader();
      const records::RegisterHeader before = h;
      h.count = static_cast<int>(files.registrations.lastUsed(kRegistrationLength));
      h.payments = static_cast<int>(files.payments.lastUsed(kPaymentLength));
      const auto highest = files.highestProtocols();
      for (std::size_t s = 0; s < highest.size(); ++s) h.protocol[s] = std::max(h.protocol[s], highest[s]);
      const std::string& name = files.header.name();
      if (h.count != before.count)
        changes.push_back(name + ": registrazioni " + number(before.count) + " -> " + number(h.count));
      if (h.payments != before.payments)
        changes.push_back(name + ": pagamenti " + number(before.payments) + " -> " + number(h.payments));
      for (std::size_t s = 0; s < highest.size(); ++s)
        if (h.protocol[s] != before.protocol[s])
          changes.push_back(name + ": ultimo protocollo del sezionale " + number(static_cast<long>(s + 1)) + " " +
                            number(before.protocol[s]) + " -> " + number(h.protocol[s]));
      if (h.count == before.count && h.payments == before.payments && h.protocol == before.protocol) continue;
      records::setRegisterStems(catalogue, records::registerInfo(kind).stems);
      records::Channel& header = catalogue.open(records::channel::kRegisterHeader);
      header.read(1);
      records::writeHeader(catalogue, h);
    }
  }
  save.commit();
  return changes;
}

std::vector<AccountBalance> folderBalances() {
  std::vector<AccountBalance> out;
  const std::vector<YearSet> sets = yearSets();
  const std::optional<std::string> year = listedYear(sets);
  if (!year) return out;
  for (const YearSet& set : sets) {
    if (set.year != *year) continue;
    const Masters m(set);
    // Totals by account: 0 customers, 1 suppliers, 2 cash and bank accounts.
    std::array<std::map<long, std::pair<long double, long double>>, 3> posted;
    for (RegisterKind kind : {RegisterKind::Sales, RegisterKind::Purchases}) {
      const RegisterFiles f(set, kind);
      const bool sales = kind == RegisterKind::Sales;
      auto& accounts = posted[sales ? 0 : 1];
      // Everything on file was posted when it was saved, counted or not.
      for (long n = 1; n <= f.registrations.lastUsed(kRegistrationLength); ++n) {
        const records::Registration r = f.registration(n);
        const long code = r.counterpartyCode();
        if (code <= 0) continue;
        auto& totals = accounts[code > 9000 ? code - 9000 : code];
        (sales ? totals.first : totals.second) += r.totals().total;
      }
      for (long n = 1; n <= f.payments.lastUsed(kPaymentLength); ++n) {
        for (const entry::Posting& p : entry::postingsOf(kind, entry::effectOf(f.payment(n)))) {
          if (p.record < 1) continue;
          auto& totals = (p.file == entry::AccountFile::Balance ? accounts : posted[2])[p.record];
          (p.side == entry::Side::Dare ? totals.first : totals.second) += p.amount;
        }
      }
    }
    const std::array<int, 3> counts{m.customers, m.suppliers, m.cashBanks};
    const std::array<const char*, 3> labels{"Cliente", "Fornitore", "Cassa/Banca"};
    const RegisterFiles sales(set, RegisterKind::Sales), purchases(set, RegisterKind::Purchases);
    for (std::size_t kind = 0; kind < 3; ++kind) {
      std::set<long> codes;
      for (long c = 1; c <= counts[kind]; ++c) codes.insert(c);
      for (const auto& [code, totals] : posted[kind]) codes.insert(code);
      for (long code : codes) {
        AccountBalance b;
        b.year = set.label();
        std::string name;
        if (kind == 2) {
          const records::Record r = m.cashBankFile.record(code, 50);
          b.storedDare = r.number(records::cash_bank_layout::kDebit);
          b.storedAvere = r.number(records::cash_bank_layout::kCredit);
          name = r.trimmed(records::cash_bank_layout::kDescription);
        } else {
          const records::Record r = (kind == 0 ? sales : purchases).balances.record(code, kBalanceLength);
          b.storedDare = r.number(records::balance::kDare);
          b.storedAvere = r.number(records::balance::kAvere);
          name = kind == 0 ? m.customerFile.record(code, 500).trimmed(records::clifor::kName)
                           : m.supplierFile.record(code, 200).trimmed(records::estc::kName);
        }
        const auto it = posted[kind].find(code);
        if (it != posted[kind].end()) {
          b.postedDare = records::round2(static_cast<double>(it->second.first));
          b.postedAvere = records::round2(static_cast<double>(it->second.second));
        }
        b.account = records::fitLeft(labels[kind], 12) + records::printUsing("#####", static_cast<double>(code)) + " " +
                    records::fitLeft(name, 26);
        out.push_back(b);
      }
    }
  }
  return out;
}

std::vector<std::string> balanceListing(const std::vector<AccountBalance>& balances) {
  constexpr const char* kMask = "###,###,###.##";
  std::vector<std::string> lines;
  lines.push_back(records::fitLeft("Anno   Conto", 51) + records::fitRight("Dare", 15) + records::fitRight("Avere", 15) +
                  records::fitRight("Dare mov.", 15) + records::fitRight("Avere mov.", 15) +
                  records::fitRight("Diff. Dare", 15) + records::fitRight("Diff. Avere", 15));
  for (const AccountBalance& b : balances) {
    auto amount = [&](double v) { return " " + records::printUsing(kMask, records::round2(v)); };
    lines.push_back(records::fitLeft(b.year, 7) + b.account + amount(b.storedDare) + amount(b.storedAvere) +
                    amount(b.postedDare) + amount(b.postedAvere) + amount(b.storedDare - b.postedDare) +
                    amount(b.storedAvere - b.postedAvere));
  }
  return lines;
}

}  // namespace vellano::outside
