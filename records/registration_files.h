// The yearly registration files of one company: register header (channel 3), registrations
// (4), payments (12), the VAT control records (5), VAT paid (13) and takings (27). Each
// layout is declared once here and read and written only through it, by both programs.
// The balance records of channel 8 belong to the customer files (customer_files.h).
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "records/catalogue.h"
#include "records/layout.h"
#include "records/record_file.h"

namespace vellano::records {

inline constexpr int kLines = 5;            // VAT lines of a registration
inline constexpr int kSections = 5;         // sezionali, each with its protocol counter
inline constexpr int kMaxRegistrations = 9999;  // what a 5-character count with its blank holds
inline constexpr int kMaxCounter = 9999;

// The file stems of the register channels, chosen by the registration screens.
struct RegisterStems {
  std::string_view index;          // channel::kRegisterHeader
  std::string_view registrations;  // channel 4
  std::string_view payments;       // channel::kPayments
  std::string_view balances;       // channel 8
};
inline constexpr RegisterStems kSalesStems{"INDVEN", "VENDIT", "PAGVEN", "PSALCL"};
inline constexpr RegisterStems kPurchaseStems{"INDACQ", "ACQUIS", "PAGACQ", "PSALFO"};
// Chooses the stems of the register channels.
void setRegisterStems(Catalogue& catalogue, const RegisterStems& stems);

// ---- Register header, INDVEN/INDACQ record 1 (90 bytes) ----
namespace header_layout {
enum Index { kCount, kReserved, kPayments, kLastPage, kProtocol1, kProtocol2, kProtocol3, kProtocol4,
             kProtocol5, kStockPercent, kStock4, kStock10, kStock20, kFieldCount };
inline constexpr std::size_t kWidths[] = {5, 5, 5, 5, 5, 5, 5, 5, 5, 15, 10, 10, 10};
inline constexpr auto kFields = fieldsFromWidths(kWidths);
inline constexpr std::size_t kLength = 90;
}  // namespace header_layout

struct RegisterHeader {
  int count = 0;      // registrations in use
  int payments = 0;   // payment records in use
  int lastPage = 0;   // Ultima Pagina Registro
  std::array<int, kSections> protocol{};  // Ultimo Protocollo 1-5
  std::string reserved;  // the bytes at offset 5, written back as read (NULs included)
  // Rimanenze Anno Precedente (purchase header): kept as stored, trailing blanks removed.
  std::string stockPercent;
  std::string stock4;
  std::string stock10;
  std::string stock20;
};

namespace header_layout {
// Counts and counters read inside 0..9999 and are written in standard text form; the bytes at
// offset 5 are written back as read.
inline constexpr std::array kTable{
    counter<RegisterHeader>(kFields[kCount], &RegisterHeader::count),
    bytes<RegisterHeader>(kFields[kReserved], &RegisterHeader::reserved),
    counter<RegisterHeader>(kFields[kPayments], &RegisterHeader::payments),
    counter<RegisterHeader>(kFields[kLastPage], &RegisterHeader::lastPage),
    trimmed<RegisterHeader>(kFields[kStockPercent], &RegisterHeader::stockPercent),
    trimmed<RegisterHeader>(kFields[kStock4], &RegisterHeader::stock4),
    trimmed<RegisterHeader>(kFields[kStock10], &RegisterHeader::stock10),
    trimmed<RegisterHeader>(kFields[kStock20], &RegisterHeader::stock20),
};
// Ultimo Protocollo 1-5, into RegisterHeader::protocol.
inline constexpr std::array<Field, kSections> kProtocols{kFields[kProtocol1], kFields[kProtocol2],
                                                         kFields[kProtocol3], kFields[kProtocol4],
                                                         kFields[kProtocol5]};
inline constexpr Kind kProtocolKind = Kind::kCounter;
}  // namespace header_layout

// ---- Registration, VENDIT/ACQUIS (200 bytes) ----
namespace registration_layout {
enum Index {
  kDate, kCounterparty, kDocumentNumber, kDocumentDate, kProtocolLetter, kProtocolNumber,
  kRate1, kTaxable1, kRate2, kTaxable2, kRate3, kTaxable3, kRate4, kTaxable4, kRate5, kTaxable5,
  kCausal1, kQuantity, kNote,
  kVatCode1, kVatCode2, kVatCode3, kVatCode4, kVatCode5,
  kSection, kSubAccount1,
  kCausal2, kSubAccount2, kCausal3, kSubAccount3, kCausal4, kSubAccount4, kCausal5, kSubAccount5,
  kReserved, kFieldCount
};
inline constexpr std::size_t kWidths[] = {6, 5, 5, 6, 1, 7,
                                          3, 10, 3, 10, 3, 10, 3, 10, 3, 10,
                                          4, 7, 50,
                                          2, 2, 2, 2, 2,
                                          1, 2,
                                          3, 2, 3, 2, 3, 2, 3, 2,
                                          11};
inline constexpr auto kFields = fieldsFromWidths(kWidths);
inline constexpr std::size_t kLength = 200;

// The fields of VAT line k (0-based) in the layout.
constexpr Field rate(int k) { return kFields[kRate1 + 2 * k]; }
constexpr Field taxable(int k) { return kFields[kTaxable1 + 2 * k]; }
constexpr Field vatCode(int k) { return kFields[kVatCode1 + k]; }
constexpr Field causal(int k) { return k == 0 ? kFields[kCausal1] : kFields[kCausal2 + 2 * (k - 1)]; }
constexpr Field subAccount(int k) {
  return k == 0 ? kFields[kSubAccount1] : kFields[kSubAccount2 + 2 * (k - 1)];
}
}  // namespace registration_layout

// One VAT line: the texts as stored and the values every reader recomputes from them.
struct VatLine {
  std::string rateText;     // Al%: "20", "I10", "E15", " 20" after a scorporo
  std::string taxableText;  // imponibile as typed, or in standard text form when computed
  std::string causalText;
  std::string subAccountText;
  std::string vatCodeText;
  float rate = 0;        // after a leading "I"; the other letters give 0
  double taxable = 0;
  double vat = 0;        // round2(rate * taxable / 100)
  double total = 0;      // taxable + vat

  bool empty() const { return rate == 0 && taxable == 0; }
  bool nonDeductible() const;  // aliquota text starting with "I"
  int causal() const;
  int subAccount() const;
  int vatCode() const;
};

struct Totals {
  double taxable = 0;
  double vat = 0;
  double nonDeductible = 0;  // VAT of the "I" lines, also inside `vat`
  double total = 0;
};

struct Registration {
  std::string date;            // ddmmyy; "~" first when annulled
  std::string counterparty;    // customer c, or 9000 + supplier code
  std::string documentNumber;
  std::string documentDate;
  std::string protocolLetter;  // Registro
  std::string protocolNumber;  // Numero
  std::string quantity;
  std::string note;
  std::string section;         // sezionale "1"-"5"
  std::array<VatLine, kLines> lines;

  bool annulled() const { return !date.empty() && date[0] == '~'; }
  long counterpartyCode() const;
  int sectionNumber() const;  // 1-5, 0 when the field holds anything else
  Totals totals() const;
};

namespace registration_layout {
// Texts as stored; the reserved tail is blanked on every write. The VAT lines have a table of
// their own, and their numbers are computed from the texts after loading (computeLine).
inline constexpr std::array kTable{
    trimmed<Registration>(kFields[kDate], &Registration::date),
    trimmed<Registration>(kFields[kCounterparty], &Registration::counterparty),
    trimmed<Registration>(kFields[kDocumentNumber], &Registration::documentNumber),
    trimmed<Registration>(kFields[kDocumentDate], &Registration::documentDate),
    trimmed<Registration>(kFields[kProtocolLetter], &Registration::protocolLetter),
    trimmed<Registration>(kFields[kProtocolNumber], &Registration::protocolNumber),
    trimmed<Registration>(kFields[kQuantity], &Registration::quantity),
    trimmed<Registration>(kFields[kNote], &Registration::note),
    trimmed<Registration>(kFields[kSection], &Registration::section),
    blank<Registration>(kFields[kReserved]),
};
// VAT line k (0-based).
constexpr std::array<Column<VatLine>, 5> lineTable(int k) {
  return {trimmed<VatLine>(rate(k), &VatLine::rateText), trimmed<VatLine>(taxable(k), &VatLine::taxableText),
          trimmed<VatLine>(causal(k), &VatLine::causalText),
          trimmed<VatLine>(subAccount(k), &VatLine::subAccountText),
          trimmed<VatLine>(vatCode(k), &VatLine::vatCodeText)};
}
// The five line tables by name, for unpacking with loadEach.
inline constexpr auto kLine1Table = lineTable(0);
inline constexpr auto kLine2Table = lineTable(1);
inline constexpr auto kLine3Table = lineTable(2);
inline constexpr auto kLine4Table = lineTable(3);
inline constexpr auto kLine5Table = lineTable(4);
static_assert(kLines == 5);
}  // namespace registration_layout

// The numeric rate of an aliquota text: the value after a leading "I", else the value.
float rateOf(std::string_view rateText);
// Recomputes rate, taxable, VAT and total of a line from its texts.
void computeLine(VatLine& line);

// Pure packing of one record, the reserved tail blanked; unpacking computes the lines. The
// bytes may be one record of a block; unpacking into a registration reuses its storage.
Registration unpackRegistration(const Record& record);
void unpackRegistration(std::string_view bytes, Registration& into);
void packRegistration(const Registration& registration, Record& record);
RegisterHeader unpackHeader(const Record& record);
void packHeader(const RegisterHeader& header, Record& record);

// An amount in standard text form fitted to a field: the leading blank is dropped when only
// that makes it fit; empty when even then it does not fit (the caller refuses the value).
std::string amountForField(double value, std::size_t width);
// A code as stored by the screens: digits without the leading blank, blank for 0.
std::string codeText(long code);

// ---- Payment, PAGVEN/PAGACQ (95 bytes) ----
namespace payment_layout {
enum Index { kCounterparty, kDate, kDescription, kAmount, kCashBank, kFieldCount };
inline constexpr std::size_t kWidths[] = {5, 6, 70, 10, 4};
inline constexpr auto kFields = fieldsFromWidths(kWidths);
inline constexpr std::size_t kLength = 95;
}  // namespace payment_layout

struct Payment {
  std::string counterparty;  // below 8000: balance record; 8000 + n: cash/bank account n
  std::string date;
  std::string description;
  std::string amount;        // as typed
  std::string cashBank;      // Contropartita, 0 = none
};

namespace payment_layout {
inline constexpr std::array kTable{
    trimmed<Payment>(kFields[kCounterparty], &Payment::counterparty),
    trimmed<Payment>(kFields[kDate], &Payment::date),
    trimmed<Payment>(kFields[kDescription], &Payment::description),
    trimmed<Payment>(kFields[kAmount], &Payment::amount),
    trimmed<Payment>(kFields[kCashBank], &Payment::cashBank),
};
}  // namespace payment_layout

// ---- VAT control records, CDIVA (21 bytes) ----
namespace control_layout {
enum Index { kKind, kAmount, kThird, kInterest, kFieldCount };
inline constexpr std::size_t kWidths[] = {1, 10, 5, 5};
inline constexpr auto kFields = fieldsFromWidths(kWidths);
inline constexpr std::size_t kLength = 21;
}  // namespace control_layout

struct ControlRecord {
  std::string kind;      // "C" credit or "D" debit at the start of the year
  std::string amount;
  std::string third;     // record 2: cash/bank accounts carried through a zeroing
  std::string interest;  // % Interessi
};

namespace control_layout {
inline constexpr std::array kTable{
    trimmed<ControlRecord>(kFields[kKind], &ControlRecord::kind),
    trimmed<ControlRecord>(kFields[kAmount], &ControlRecord::amount),
    trimmed<ControlRecord>(kFields[kThird], &ControlRecord::third),
    trimmed<ControlRecord>(kFields[kInterest], &ControlRecord::interest),
};
}  // namespace control_layout

// ---- VAT paid, IVVER record 1 (120 bytes): month m at (m - 1) * 10 ----
inline constexpr std::size_t kVatPaidLength = 120;
constexpr Field vatPaidField(int month) {
  return Field{static_cast<std::size_t>(month - 1) * 10, 10};
}
inline constexpr auto kVatPaidMonths = repeatedFields<12>(0, 10);
inline constexpr Kind kVatPaidKind = Kind::kTrimmed;
struct VatPaid {
  std::array<std::string, 12> month;  // IVA VERSATA of months 1-12, as stored
};

// ---- Takings, CORRIS record m (5000 bytes): four blocks of 31 days ----
inline constexpr std::size_t kTakingsLength = 5000;
inline constexpr int kTakingsBlocks = 4;  // at 4 %, 10 %, 20 %, under ventilation
inline constexpr int kDays = 31;
constexpr Field takingsField(int block, int day) {
  return Field{static_cast<std::size_t>(block * 310 + (day - 1) * 10), 10};
}
// The 31 days of one block, and the reserved rest, blanked on every write.
constexpr std::array<Field, kDays> takingsBlock(int block) {
  return repeatedFields<kDays>(takingsField(block, 1).offset, 10);
}
inline constexpr Kind kTakingsKind = Kind::kTrimmed;
inline constexpr Field kTakingsReserved{1240, 3760};
inline constexpr Cell kTakingsRest{kTakingsReserved, Kind::kBlank};
struct Takings {
  std::array<std::array<std::string, kDays>, kTakingsBlocks> day;  // [block][day - 1]
};

// ---- Channel operations: buffer to working values (L_) and back (W_) ----
void L_3(const Catalogue& catalogue, RegisterHeader& header);
void W_3(Catalogue& catalogue, const RegisterHeader& header);
void L_4(const Catalogue& catalogue, Registration& registration);
void W_4(Catalogue& catalogue, const Registration& registration);
void L_5(const Catalogue& catalogue, ControlRecord& control);
void W_5(Catalogue& catalogue, const ControlRecord& control);
void L_12(const Catalogue& catalogue, Payment& payment);
void W_12(Catalogue& catalogue, const Payment& payment);
void L_13(const Catalogue& catalogue, VatPaid& paid);
void W_13(Catalogue& catalogue, const VatPaid& paid);
void L_27(const Catalogue& catalogue, Takings& takings);
void W_27(Catalogue& catalogue, const Takings& takings);

// ---- The register set ----
enum class RegisterKind { Sales, Purchases };

struct RegisterInfo {
  std::string_view code;       // "FE" / "FR"
  std::string_view title;      // "  VENDITE" / " ACQUISTI"
  std::string_view letter;     // default protocol letter
  RegisterStems stems;
};
const RegisterInfo& registerInfo(RegisterKind kind);

// Chooses the stems, opens channels 3, 4, 12 and 8 and reads the header.
RegisterHeader openRegister(Catalogue& catalogue, RegisterKind kind);
Registration readRegistration(Catalogue& catalogue, long n);
void writeRegistration(Catalogue& catalogue, long n, const Registration& registration);
// Registrations 1..count of channel 4 (and payments 1..count of the payment channel) from one
// bulk read, for a pass over the register; element k is record k + 1. Nothing is kept.
std::vector<Registration> readRegistrations(const Catalogue& catalogue, long count);
std::vector<Payment> readPayments(const Catalogue& catalogue, long count);
// The same bulk read for a pass that looks at one registration at a time: each is unpacked
// into one value in turn and handed to `visit(n, registration)`, so a pass over a full register
// holds one block of bytes and one registration, not ten thousand of them.
template <class Visit>
void forEachRegistration(const Catalogue& catalogue, long count, Visit&& visit);
void writeHeader(Catalogue& catalogue, const RegisterHeader& header);

template <class Visit>
void forEachRegistration(const Catalogue& catalogue, long count, Visit&& visit) {
  if (count <= 0) return;
  const std::string block = catalogue.channel(channel::kRegistrations).readBlock(1, count);
  const std::string_view all(block);
  Registration registration;
  for (long k = 0; k < count; ++k) {
    unpackRegistration(all.substr(static_cast<std::size_t>(k) * registration_layout::kLength,
                                  registration_layout::kLength),
                       registration);
    visit(k + 1, static_cast<const Registration&>(registration));
  }
}

}  // namespace vellano::records
