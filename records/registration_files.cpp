// Packing and unpacking of the yearly registration files.
#include "records/registration_files.h"

#include <cmath>

#include "records/numbers.h"
#include "records/text.h"

namespace vellano::records {

namespace H = header_layout;
namespace R = registration_layout;

// The offsets the print program relies on.
static_assert(H::kFields[H::kStockPercent].offset == 45);
static_assert(H::kFields[H::kStock20].offset + H::kFields[H::kStock20].width == H::kLength);
static_assert(R::kFields[R::kRate1].offset == 30 && R::kFields[R::kTaxable5].offset == 85);
static_assert(R::kFields[R::kCausal1].offset == 95 && R::kFields[R::kNote].offset == 106);
static_assert(R::kFields[R::kVatCode1].offset == 156 && R::kFields[R::kSection].offset == 166);
static_assert(R::subAccount(0).offset == 167 && R::causal(1).offset == 169);
static_assert(R::causal(4).offset == 184 && R::subAccount(4).offset == 187);
static_assert(R::kFields[R::kReserved].offset == 189 && R::kFields[R::kReserved].width == 11);
static_assert(R::kFields[R::kReserved].offset + R::kFields[R::kReserved].width == R::kLength);
static_assert(payment_layout::kFields[payment_layout::kCashBank].offset == 91);
static_assert(control_layout::kFields[control_layout::kInterest].offset == 16);
static_assert(takingsField(3, 31).offset + 10 == kTakingsReserved.offset);

namespace {

// A header number: counts and counters live in 0..9999; anything else is damage.
int counterValue(const Record& record, Field f) {
  const double v = record.number(f);
  if (!(v > 0)) return 0;
  if (v > kMaxCounter) return kMaxCounter;
  return static_cast<int>(std::floor(v));
}

std::string counterText(int value) { return strSingle(static_cast<float>(value)); }

int intOf(std::string_view text) {
  const double v = val(text);
  if (!(v > 0) || v > 1e6) return 0;
  return static_cast<int>(std::floor(v));
}

std::string rawBytes(const Record& record, Field f) {
  std::string bytes = record.bytes().size() > f.offset ? record.bytes().substr(f.offset, f.width) : std::string();
  bytes.resize(f.width, '\0');
  return bytes;
}

void setRaw(Record& record, Field f, const std::string& bytes) {
  std::string value = bytes;
  value.resize(f.width, '\0');
  if (record.bytes().size() < f.offset + f.width) record.bytes().resize(f.offset + f.width, '\0');
  record.bytes().replace(f.offset, f.width, value);
}

}  // namespace

// ---- Lines and totals ----

float rateOf(std::string_view rateText) {
  const std::string text = trimLeft(rateText);
  if (!text.empty() && text[0] == 'I') return static_cast<float>(val(std::string_view(text).substr(1)));
  return static_cast<float>(val(text));
}

void computeLine(VatLine& line) {
  line.rate = rateOf(line.rateText);
  line.taxable = val(line.taxableText);
  const long double product = static_cast<long double>(line.rate) * line.taxable / 100.0L;
  line.vat = round2(static_cast<double>(product));
  line.total = line.taxable + line.vat;
}

bool VatLine::nonDeductible() const {
  const std::string text = trimLeft(rateText);
  return !text.empty() && text[0] == 'I';
}
int VatLine::causal() const { return intOf(causalText); }
int VatLine::subAccount() const { return intOf(subAccountText); }
int VatLine::vatCode() const { return intOf(vatCodeText); }

long Registration::counterpartyCode() const {
  const double v = val(counterparty);
  if (!(v > 0) || v > 99999) return 0;
  return static_cast<long>(std::floor(v));
}

int Registration::sectionNumber() const {
  const std::string s = trim(section);
  return s.size() == 1 && s[0] >= '1' && s[0] <= '5' ? s[0] - '0' : 0;
}

Totals Registration::totals() const {
  Totals t;
  for (const VatLine& line : lines) {
    t.taxable += line.taxable;
    t.vat += line.vat;
    if (line.nonDeductible()) t.nonDeductible += line.vat;
  }
  t.total = t.vat + t.taxable;
  return t;
}

std::string amountForField(double value, std::size_t width) { return fitAmount(value, width); }

std::string codeText(long code) { return code > 0 ? std::to_string(code) : std::string(); }

// ---- Registration record ----

Registration unpackRegistration(const Record& record) {
  const auto& f = R::kFields;
  Registration r;
  r.date = record.trimmed(f[R::kDate]);
  r.counterparty = record.trimmed(f[R::kCounterparty]);
  r.documentNumber = record.trimmed(f[R::kDocumentNumber]);
  r.documentDate = record.trimmed(f[R::kDocumentDate]);
  r.protocolLetter = record.trimmed(f[R::kProtocolLetter]);
  r.protocolNumber = record.trimmed(f[R::kProtocolNumber]);
  r.quantity = record.trimmed(f[R::kQuantity]);
  r.note = record.trimmed(f[R::kNote]);
  r.section = record.trimmed(f[R::kSection]);
  for (int k = 0; k < kLines; ++k) {
    VatLine& line = r.lines[static_cast<std::size_t>(k)];
    line.rateText = record.trimmed(R::rate(k));
    line.taxableText = record.trimmed(R::taxable(k));
    line.causalText = record.trimmed(R::causal(k));
    line.subAccountText = record.trimmed(R::subAccount(k));
    line.vatCodeText = record.trimmed(R::vatCode(k));
    computeLine(line);
  }
  return r;
}

void packRegistration(const Registration& r, Record& record) {
  if (record.bytes().size() < R::kLength) record.bytes().resize(R::kLength, '\0');
  const auto& f = R::kFields;
  record.set(f[R::kDate], r.date);
  record.set(f[R::kCounterparty], r.counterparty);
  record.set(f[R::kDocumentNumber], r.documentNumber);
  record.set(f[R::kDocumentDate], r.documentDate);
  record.set(f[R::kProtocolLetter], r.protocolLetter);
  record.set(f[R::kProtocolNumber], r.protocolNumber);
  record.set(f[R::kQuantity], r.quantity);
  record.set(f[R::kNote], r.note);
  record.set(f[R::kSection], r.section);
  for (int k = 0; k < kLines; ++k) {
    const VatLine& line = r.lines[static_cast<std::size_t>(k)];
    record.set(R::rate(k), line.rateText);
    record.set(R::taxable(k), line.taxableText);
    record.set(R::causal(k), line.causalText);
    record.set(R::subAccount(k), line.subAccountText);
    record.set(R::vatCode(k), line.vatCodeText);
  }
  record.set(f[R::kReserved], "");
}

// ---- Register header ----

RegisterHeader unpackHeader(const Record& record) {
  const auto& f = H::kFields;
  RegisterHeader h;
  h.count = counterValue(record, f[H::kCount]);
  h.reserved = rawBytes(record, f[H::kReserved]);
  h.payments = counterValue(record, f[H::kPayments]);
  h.lastPage = counterValue(record, f[H::kLastPage]);
  for (int s = 0; s < kSections; ++s)
    h.protocol[static_cast<std::size_t>(s)] = counterValue(record, f[H::kProtocol1 + s]);
  h.stockPercent = record.trimmed(f[H::kStockPercent]);
  h.stock4 = record.trimmed(f[H::kStock4]);
  h.stock10 = record.trimmed(f[H::kStock10]);
  h.stock20 = record.trimmed(f[H::kStock20]);
  return h;
}

void packHeader(const RegisterHeader& h, Record& record) {
  if (record.bytes().size() < H::kLength) record.bytes().resize(H::kLength, '\0');
  const auto& f = H::kFields;
  record.set(f[H::kCount], counterText(h.count));
  setRaw(record, f[H::kReserved], h.reserved);
  record.set(f[H::kPayments], counterText(h.payments));
  record.set(f[H::kLastPage], counterText(h.lastPage));
  for (int s = 0; s < kSections; ++s)
    record.set(f[H::kProtocol1 + s], counterText(h.protocol[static_cast<std::size_t>(s)]));
  record.set(f[H::kStockPercent], h.stockPercent);
  record.set(f[H::kStock4], h.stock4);
  record.set(f[H::kStock10], h.stock10);
  record.set(f[H::kStock20], h.stock20);
}

// ---- Channel operations ----

void L_3(const Catalogue& catalogue, RegisterHeader& header) {
  header = unpackHeader(catalogue.channel(3).buffer());
}
void W_3(Catalogue& catalogue, const RegisterHeader& header) {
  packHeader(header, catalogue.channel(3).buffer());
}
void L_4(const Catalogue& catalogue, Registration& registration) {
  registration = unpackRegistration(catalogue.channel(4).buffer());
}
void W_4(Catalogue& catalogue, const Registration& registration) {
  packRegistration(registration, catalogue.channel(4).buffer());
}

void L_5(const Catalogue& catalogue, ControlRecord& control) {
  const Record& r = catalogue.channel(5).buffer();
  const auto& f = control_layout::kFields;
  control.kind = r.trimmed(f[control_layout::kKind]);
  control.amount = r.trimmed(f[control_layout::kAmount]);
  control.third = r.trimmed(f[control_layout::kThird]);
  control.interest = r.trimmed(f[control_layout::kInterest]);
}
void W_5(Catalogue& catalogue, const ControlRecord& control) {
  Record& r = catalogue.channel(5).buffer();
  const auto& f = control_layout::kFields;
  r.set(f[control_layout::kKind], control.kind);
  r.set(f[control_layout::kAmount], control.amount);
  r.set(f[control_layout::kThird], control.third);
  r.set(f[control_layout::kInterest], control.interest);
}

void L_12(const Catalogue& catalogue, Payment& payment) {
  const Record& r = catalogue.channel(12).buffer();
  const auto& f = payment_layout::kFields;
  payment.counterparty = r.trimmed(f[payment_layout::kCounterparty]);
  payment.date = r.trimmed(f[payment_layout::kDate]);
  payment.description = r.trimmed(f[payment_layout::kDescription]);
  payment.amount = r.trimmed(f[payment_layout::kAmount]);
  payment.cashBank = r.trimmed(f[payment_layout::kCashBank]);
}
void W_12(Catalogue& catalogue, const Payment& payment) {
  Record& r = catalogue.channel(12).buffer();
  const auto& f = payment_layout::kFields;
  r.set(f[payment_layout::kCounterparty], payment.counterparty);
  r.set(f[payment_layout::kDate], payment.date);
  r.set(f[payment_layout::kDescription], payment.description);
  r.set(f[payment_layout::kAmount], payment.amount);
  r.set(f[payment_layout::kCashBank], payment.cashBank);
}

void L_13(const Catalogue& catalogue, VatPaid& paid) {
  const Record& r = catalogue.channel(13).buffer();
  for (int m = 1; m <= 12; ++m) paid.month[static_cast<std::size_t>(m - 1)] = r.trimmed(vatPaidField(m));
}
void W_13(Catalogue& catalogue, const VatPaid& paid) {
  Record& r = catalogue.channel(13).buffer();
  for (int m = 1; m <= 12; ++m) r.set(vatPaidField(m), paid.month[static_cast<std::size_t>(m - 1)]);
}

void L_27(const Catalogue& catalogue, Takings& takings) {
  const Record& r = catalogue.channel(27).buffer();
  for (int b = 0; b < kTakingsBlocks; ++b)
    for (int d = 1; d <= kDays; ++d)
      takings.day[static_cast<std::size_t>(b)][static_cast<std::size_t>(d - 1)] = r.trimmed(takingsField(b, d));
}
void W_27(Catalogue& catalogue, const Takings& takings) {
  Record& r = catalogue.channel(27).buffer();
  for (int b = 0; b < kTakingsBlocks; ++b)
    for (int d = 1; d <= kDays; ++d)
      r.set(takingsField(b, d), takings.day[static_cast<std::size_t>(b)][static_cast<std::size_t>(d - 1)]);
  r.set(kTakingsReserved, "");
}

// ---- Register set ----

const RegisterInfo& registerInfo(RegisterKind kind) {
  static const RegisterInfo kSales{"FE", "  VENDITE", "V", kSalesStems};
  static const RegisterInfo kPurchases{"FR", " ACQUISTI", "A", kPurchaseStems};
  return kind == RegisterKind::Sales ? kSales : kPurchases;
}

RegisterHeader openRegister(Catalogue& catalogue, RegisterKind kind) {
  setRegisterStems(catalogue, registerInfo(kind).stems);
  catalogue.open(channel::kRegisterHeader);
  catalogue.open(channel::kRegistrations);
  catalogue.open(channel::kPayments);
  catalogue.open(channel::kBalances);
  catalogue.channel(3).read(1);
  RegisterHeader header;
  L_3(catalogue, header);
  return header;
}

Registration readRegistration(Catalogue& catalogue, long n) {
  catalogue.channel(4).read(n);
  Registration r;
  L_4(catalogue, r);
  return r;
}

void writeRegistration(Catalogue& catalogue, long n, const Registration& registration) {
  W_4(catalogue, registration);
  catalogue.channel(4).write(n);
}

void writeHeader(Catalogue& catalogue, const RegisterHeader& header) {
  W_3(catalogue, header);
  catalogue.channel(3).write(1);
}

void setRegisterStems(Catalogue& catalogue, const RegisterStems& stems) {
  catalogue.setStem(channel::kRegisterHeader, std::string(stems.index));
  catalogue.setStem(channel::kRegistrations, std::string(stems.registrations));
  catalogue.setStem(channel::kPayments, std::string(stems.payments));
  catalogue.setStem(channel::kBalances, std::string(stems.balances));
}

}  // namespace vellano::records
