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
static_assert(tiles(joined(fieldsOf(H::kTable), H::kProtocols), H::kLength));
static_assert(tiles(joined(fieldsOf(R::kTable),
                           joined(joined(fieldsOf(R::lineTable(0)), fieldsOf(R::lineTable(1))),
                                  joined(joined(fieldsOf(R::lineTable(2)), fieldsOf(R::lineTable(3))),
                                         fieldsOf(R::lineTable(4))))),
                    R::kLength));
static_assert(tiles(payment_layout::kTable, payment_layout::kLength));
static_assert(tiles(control_layout::kTable, control_layout::kLength));
static_assert(tiles(kVatPaidMonths, kVatPaidLength));
static_assert(tiles(joined(joined(joined(takingsBlock(0), takingsBlock(1)), joined(takingsBlock(2), takingsBlock(3))),
                           std::array{kTakingsReserved}),
                    kTakingsLength));

namespace {

int intOf(std::string_view text) {
  const double v = val(text);
  if (!(v > 0) || v > 1e6) return 0;
  return static_cast<int>(std::floor(v));
}

}  // namespace

// ---- Lines and totals ----

namespace {

// The aliquota text without its leading blanks and NULs.
std::string_view rateBody(std::string_view rateText) {
  std::size_t start = 0;
  while (start < rateText.size() && (rateText[start] == ' ' || rateText[start] == '\0')) ++start;
  return rateText.substr(start);
}

}  // namespace

float rateOf(std::string_view rateText) {
  const std::string_view text = rateBody(rateText);
  if (!text.empty() && text[0] == 'I') return static_cast<float>(val(text.substr(1)));
  return static_cast<float>(val(text));
}

void computeLine(VatLine& line) {
  // An empty text is 0, without going through the reading of a number.
  line.rate = line.rateText.empty() ? 0.0f : rateOf(line.rateText);
  line.taxable = line.taxableText.empty() ? 0.0 : val(line.taxableText);
  const long double scaled = static_cast<long double>(line.rate) * line.taxable;
  // A zero product divides and rounds to itself, sign and all: an empty line skips both.
  line.vat = scaled == 0 ? static_cast<double>(scaled) : round2(saturated(scaled / 100.0L));
  line.total = saturated(line.taxable + line.vat);
}

bool VatLine::nonDeductible() const {
  const std::string_view text = rateBody(rateText);
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
    t.taxable = saturated(t.taxable + line.taxable);
    t.vat = saturated(t.vat + line.vat);
    if (line.nonDeductible()) t.nonDeductible = saturated(t.nonDeductible + line.vat);
  }
  t.total = saturated(t.vat + t.taxable);
  return t;
}

std::string amountForField(double value, std::size_t width) { return fitAmount(value, width); }

std::string codeText(long code) { return code > 0 ? std::to_string(code) : std::string(); }

// ---- Registration record ----

namespace {
// Most registrations use one or two of their five lines. A line never typed is blanks and
// NULs in every field, and every text of its table (all trimmed) reads empty: they are
// emptied at once, and the numbers worked out as for any line.
template <const auto& Table>
void unpackLine(std::string_view bytes, VatLine& line) {
  const bool blank = [&]<std::size_t... I>(std::index_sequence<I...>) {
    static_assert(((Table[I].kind == Kind::kTrimmed && Table[I].text != nullptr) && ...));
    if (!((detail::trimmedEnd(detail::fieldBytes(bytes, Table[I].field)) == 0) && ...)) return false;
    ((line.*(Table[I].text)).clear(), ...);
    return true;
  }(std::make_index_sequence<Table.size()>{});
  if (!blank) loadEach<Table>(bytes, line);
  computeLine(line);
}
}  // namespace

void unpackRegistration(std::string_view bytes, Registration& r) {
  loadEach<R::kTable>(bytes, r);
  unpackLine<R::kLine1Table>(bytes, r.lines[0]);
  unpackLine<R::kLine2Table>(bytes, r.lines[1]);
  unpackLine<R::kLine3Table>(bytes, r.lines[2]);
  unpackLine<R::kLine4Table>(bytes, r.lines[3]);
  unpackLine<R::kLine5Table>(bytes, r.lines[4]);
}

Registration unpackRegistration(const Record& record) {
  Registration r;
  unpackRegistration(std::string_view(record.bytes()), r);
  return r;
}

void packRegistration(const Registration& r, Record& record) {
  if (record.bytes().size() < R::kLength) record.bytes().resize(R::kLength, '\0');
  store(record, R::kTable, r, "W_4");
  for (int k = 0; k < kLines; ++k) store(record, R::lineTable(k), r.lines[static_cast<std::size_t>(k)], "W_4");
}

// ---- Register header ----

RegisterHeader unpackHeader(const Record& record) {
  RegisterHeader h;
  load(record, H::kTable, h);
  loadRun(record, H::kProtocols, H::kProtocolKind, h.protocol);
  return h;
}

void packHeader(const RegisterHeader& h, Record& record) {
  if (record.bytes().size() < H::kLength) record.bytes().resize(H::kLength, '\0');
  store(record, H::kTable, h, "W_3");
  storeRun(record, H::kProtocols, H::kProtocolKind, h.protocol, "W_3");
}

// ---- Channel operations ----

void L_3(const Catalogue& catalogue, RegisterHeader& header) {
  header = unpackHeader(catalogue.channel(channel::kRegisterHeader).buffer());
}
void W_3(Catalogue& catalogue, const RegisterHeader& header) {
  packHeader(header, catalogue.channel(channel::kRegisterHeader).buffer());
}
void L_4(const Catalogue& catalogue, Registration& registration) {
  registration = unpackRegistration(catalogue.channel(channel::kRegistrations).buffer());
}
void W_4(Catalogue& catalogue, const Registration& registration) {
  packRegistration(registration, catalogue.channel(channel::kRegistrations).buffer());
}

void L_5(const Catalogue& catalogue, ControlRecord& control) {
  load(catalogue.channel(channel::kVatControl).buffer(), control_layout::kTable, control);
}
void W_5(Catalogue& catalogue, const ControlRecord& control) {
  store(catalogue.channel(channel::kVatControl).buffer(), control_layout::kTable, control, "W_5");
}

void L_12(const Catalogue& catalogue, Payment& payment) {
  load(catalogue.channel(channel::kPayments).buffer(), payment_layout::kTable, payment);
}
void W_12(Catalogue& catalogue, const Payment& payment) {
  store(catalogue.channel(channel::kPayments).buffer(), payment_layout::kTable, payment, "W_12");
}

void L_13(const Catalogue& catalogue, VatPaid& paid) {
  loadRun(catalogue.channel(channel::kVatPaid).buffer(), kVatPaidMonths, kVatPaidKind, paid.month);
}
void W_13(Catalogue& catalogue, const VatPaid& paid) {
  storeRun(catalogue.channel(channel::kVatPaid).buffer(), kVatPaidMonths, kVatPaidKind, paid.month, "W_13");
}

void L_27(const Catalogue& catalogue, Takings& takings) {
  const Record& r = catalogue.channel(channel::kTakings).buffer();
  for (int b = 0; b < kTakingsBlocks; ++b)
    loadRun(r, takingsBlock(b), kTakingsKind, takings.day[static_cast<std::size_t>(b)]);
}
void W_27(Catalogue& catalogue, const Takings& takings) {
  Record& r = catalogue.channel(channel::kTakings).buffer();
  for (int b = 0; b < kTakingsBlocks; ++b)
    storeRun(r, takingsBlock(b), kTakingsKind, takings.day[static_cast<std::size_t>(b)], "W_27");
  store(r, kTakingsRest);
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
  catalogue.channel(channel::kRegisterHeader).read(1);
  RegisterHeader header;
  L_3(catalogue, header);
  return header;
}

Registration readRegistration(Catalogue& catalogue, long n) {
  catalogue.channel(channel::kRegistrations).read(n);
  Registration r;
  L_4(catalogue, r);
  return r;
}

std::vector<Registration> readRegistrations(const Catalogue& catalogue, long count) {
  std::vector<Registration> out;
  if (count <= 0) return out;
  const std::string block = catalogue.channel(channel::kRegistrations).readBlock(1, count);
  const std::string_view all(block);
  out.resize(static_cast<std::size_t>(count));
  for (std::size_t k = 0; k < out.size(); ++k) unpackRegistration(all.substr(k * R::kLength, R::kLength), out[k]);
  return out;
}

std::vector<Payment> readPayments(const Catalogue& catalogue, long count) {
  std::vector<Payment> out;
  if (count <= 0) return out;
  const std::string block = catalogue.channel(channel::kPayments).readBlock(1, count);
  const std::string_view all(block);
  const std::size_t length = payment_layout::kLength;
  out.resize(static_cast<std::size_t>(count));
  for (std::size_t k = 0; k < out.size(); ++k) load(all.substr(k * length, length), payment_layout::kTable, out[k]);
  return out;
}

void writeRegistration(Catalogue& catalogue, long n, const Registration& registration) {
  W_4(catalogue, registration);
  catalogue.channel(channel::kRegistrations).write(n);
}

void writeHeader(Catalogue& catalogue, const RegisterHeader& header) {
  W_3(catalogue, header);
  catalogue.channel(channel::kRegisterHeader).write(1);
}

void setRegisterStems(Catalogue& catalogue, const RegisterStems& stems) {
  catalogue.setStem(channel::kRegisterHeader, std::string(stems.index));
  catalogue.setStem(channel::kRegistrations, std::string(stems.registrations));
  catalogue.setStem(channel::kPayments, std::string(stems.payments));
  catalogue.setStem(channel::kBalances, std::string(stems.balances));
}

}  // namespace vellano::records
