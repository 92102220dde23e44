// Customer and supplier records, counters and balance totals.
#include "records/customer_files.h"

#include <cmath>

#include "records/numbers.h"
#include "records/text.h"

namespace vellano::records {
namespace {


// A field as the screen shows it: control bytes of a damaged record become blanks, trailing
// blanks go.
std::string shown(const Record& record, Field f) {
  std::string text = record.text(f);
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  return trimRight(text);
}

std::string joinStreet(const Record& record, Field head, Field tail) {
  std::string street = fitLeft(shown(record, head), kStreetHeadWidth) + shown(record, tail);
  return trimRight(street);
}

std::string streetHead(const std::string& street) { return left(street, kStreetHeadWidth); }
std::string streetTail(const std::string& street) {
  return mid(street, kStreetHeadWidth + 1, kStreetWidth - kStreetHeadWidth);
}

float counterValue(const Catalogue& catalogue, int channel) {
  return static_cast<float>(catalogue.channel(channel).buffer().number(kCounter));
}

}  // namespace

void L_1(const Catalogue& catalogue, Counterparty& customer) {
  const Record& r = catalogue.channel(1).buffer();
  customer.name = shown(r, clifor::kName);
  customer.name2 = shown(r, clifor::kName2);
  customer.street = joinStreet(r, clifor::kStreetHead, clifor::kStreetTail);
  customer.houseNumber = shown(r, clifor::kHouseNumber);
  customer.town = shown(r, clifor::kTown);
  customer.postcode = shown(r, clifor::kPostcode);
  customer.province = shown(r, clifor::kProvince);
  customer.fiscalCode = shown(r, clifor::kFiscalCode);
  customer.vatNumber = shown(r, clifor::kVatNumber);
}

void W_1(Catalogue& catalogue, const Counterparty& customer) {
  Record& r = catalogue.channel(1).buffer();
  r.set(clifor::kName, customer.name);
  r.set(clifor::kName2, customer.name2);
  r.set(clifor::kStreetHead, streetHead(customer.street));
  r.set(clifor::kStreetTail, streetTail(customer.street));
  r.set(clifor::kHouseNumber, customer.houseNumber);
  r.set(clifor::kTown, customer.town);
  r.set(clifor::kPostcode, customer.postcode);
  r.set(clifor::kProvince, customer.province);
  r.set(clifor::kFiscalCode, customer.fiscalCode);
  r.set(clifor::kVatNumber, customer.vatNumber);
}

void L_7(const Catalogue& catalogue, Counterparty& supplier) {
  const Record& r = catalogue.channel(7).buffer();
  supplier.name = shown(r, estc::kName);
  supplier.name2 = shown(r, estc::kName2);
  supplier.province = shown(r, estc::kProvince);
  supplier.postcode = shown(r, estc::kPostcode);
  supplier.street = joinStreet(r, estc::kStreetHead, estc::kStreetTail);
  supplier.town = shown(r, estc::kTown);
  supplier.fiscalCode = shown(r, estc::kFiscalCode);
  supplier.vatNumber = shown(r, estc::kVatNumber);
}

void W_7(Catalogue& catalogue, const Counterparty& supplier) {
  Record& r = catalogue.channel(7).buffer();
  r.set(estc::kName, supplier.name);
  r.set(estc::kName2, supplier.name2);
  r.set(estc::kProvince, supplier.province);
  r.set(estc::kPostcode, supplier.postcode);
  r.set(estc::kStreetHead, streetHead(supplier.street));
  r.set(estc::kTown, supplier.town);
  r.set(estc::kFiscalCode, supplier.fiscalCode);
  r.set(estc::kStreetTail, streetTail(supplier.street));
  r.set(estc::kVatNumber, supplier.vatNumber);
}

void L_71(const Catalogue& catalogue, Counterparty& supplier) {
  supplier.houseNumber = shown(catalogue.channel(71).buffer(), estcno::kHouseNumber);
}

void W_71(Catalogue& catalogue, const Counterparty& supplier) {
  Record& r = catalogue.channel(71).buffer();
  r.set(estcno::kVatNumber, supplier.vatNumber);
  r.set(estcno::kHouseNumber, supplier.houseNumber);
}

void L_2(const Catalogue& catalogue, float& customers) { customers = counterValue(catalogue, 2); }

void W_2(Catalogue& catalogue, float customers) {
  catalogue.channel(2).buffer().set(kCounter, strSingle(customers));
}

void L_9(const Catalogue& catalogue, float& suppliers) { suppliers = counterValue(catalogue, 9); }

void W_9(Catalogue& catalogue, float suppliers) {
  catalogue.channel(9).buffer().set(kCounter, trimLeft(strSingle(suppliers)));
}

void L_8(const Catalogue& catalogue, BalanceTotals& totals) {
  const Record& r = catalogue.channel(8).buffer();
  totals.dare = r.number(balance::kDare);
  totals.avere = r.number(balance::kAvere);
}

void W_8(Catalogue& catalogue, const BalanceTotals& totals) {
  // Both sides are fitted before either is set: a total too wide for its field stops the
  // write instead of leaving a half-changed record.
  const std::string dare = amountField(round2(totals.dare), balance::kDare.width, "W_8");
  const std::string avere = amountField(round2(totals.avere), balance::kAvere.width, "W_8");
  Record& r = catalogue.channel(8).buffer();
  r.set(balance::kDare, dare);
  r.set(balance::kAvere, avere);
}

void openCounterpartyFiles(Catalogue& catalogue, CounterpartyKind kind) {
  if (kind == CounterpartyKind::Customer) {
    catalogue.open(channel::kCustomers);
    catalogue.open(channel::kCustomerCount);
    catalogue.setStem(8, "PSALCL");
  } else {
    catalogue.open(channel::kSuppliers);
    catalogue.open(channel::kSupplierCount);
    catalogue.open(channel::kOtherSuppliers);
    catalogue.setStem(8, "PSALFO");
  }
  catalogue.open(channel::kBalances);
}

Counterparty readCounterparty(Catalogue& catalogue, CounterpartyKind kind, long code) {
  Counterparty who;
  if (kind == CounterpartyKind::Customer) {
    catalogue.channel(1).read(code);
    L_1(catalogue, who);
  } else {
    catalogue.channel(7).read(code);
    L_7(catalogue, who);
    catalogue.channel(71).read(code);
    L_71(catalogue, who);
  }
  return who;
}

BalanceTotals readBalance(Catalogue& catalogue, long code) {
  BalanceTotals totals;
  catalogue.channel(8).read(code);
  L_8(catalogue, totals);
  return totals;
}

void writeCounterparty(Catalogue& catalogue, CounterpartyKind kind, long code,
                       const Counterparty& who, const BalanceTotals& totals) {
  if (kind == CounterpartyKind::Customer) {
    Channel& clifor = catalogue.channel(1);
    clifor.read(code);
    W_1(catalogue, who);
    clifor.write(code);
  } else {
    Channel& estc = catalogue.channel(7);
    estc.read(code);
    W_7(catalogue, who);
    estc.write(code);
    Channel& estcno = catalogue.channel(71);
    estcno.read(code);
    W_71(catalogue, who);
    estcno.write(code);
  }
  Channel& balances = catalogue.channel(8);
  balances.read(code);
  W_8(catalogue, totals);
  balances.write(code);
}

int readCount(Catalogue& catalogue, CounterpartyKind kind) {
  const bool customers = kind == CounterpartyKind::Customer;
  Channel& channel = catalogue.channel(customers ? 2 : 9);
  channel.read(1);
  float count = 0;
  if (customers) L_2(catalogue, count); else L_9(catalogue, count);
  const int max = customers ? kMaxCustomers : kMaxSuppliers;
  if (!(count >= 1)) return 0;
  if (count > static_cast<float>(max)) return max;
  return static_cast<int>(std::floor(count));
}

void writeCount(Catalogue& catalogue, CounterpartyKind kind, int count) {
  const bool customers = kind == CounterpartyKind::Customer;
  Channel& channel = catalogue.channel(customers ? 2 : 9);
  channel.read(1);
  if (customers) W_2(catalogue, static_cast<float>(count)); else W_9(catalogue, static_cast<float>(count));
  channel.write(1);
}

std::string selectionEntry(CounterpartyKind kind, long code, const Counterparty& who) {
  const char* mask = kind == CounterpartyKind::Customer ? "####" : "#####";
  return fitLeft(who.name, 30) + " " + fitLeft(who.town, 20) + " " +
         printUsing(mask, static_cast<double>(code));
}

std::vector<std::string> buildSelectionList(Catalogue& catalogue, CounterpartyKind kind, int count) {
  std::vector<std::string> entries;
  entries.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
  for (long code = 1; code <= count; ++code)
    entries.push_back(selectionEntry(kind, code, readCounterparty(catalogue, kind, code)));
  return entries;
}

}  // namespace vellano::records
