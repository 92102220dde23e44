// Customer and supplier records, counters and balance totals.
#include "records/customer_files.h"

#include <cmath>
#include <string_view>

#include "records/numbers.h"
#include "records/text.h"

namespace vellano::records {
namespace {

static_assert(tiles(clifor::kTable, clifor::kLength));
static_assert(tiles(estc::kTable, estc::kLength));
static_assert(tiles(estcno::kTable, estcno::kLength));
static_assert(tiles(balance::kTable, balance::kLength));

// The street: 30 characters on screen, stored as its first 20 and its last 10, each shown
// like any other field and joined again on reading.
void loadStreet(std::string_view record, Field head, Field tail, Counterparty& who) {
  std::string headText;
  std::string tailText;
  loadValue(record, head, Kind::kShown, headText);
  loadValue(record, tail, Kind::kShown, tailText);
  who.street = trimRight(fitLeft(headText, kStreetHeadWidth) + tailText);
}

void storeStreet(Record& record, Field head, Field tail, const Counterparty& who) {
  record.set(head, left(who.street, kStreetHeadWidth));
  record.set(tail, mid(who.street, kStreetHeadWidth + 1, kStreetWidth - kStreetHeadWidth));
}

}  // namespace

void L_1(const Catalogue& catalogue, Counterparty& customer) {
  const Record& r = catalogue.channel(channel::kCustomers).buffer();
  load(r, clifor::kTable, customer);
  loadStreet(r.bytes(), clifor::kStreetHead, clifor::kStreetTail, customer);
}

void W_1(Catalogue& catalogue, const Counterparty& customer) {
  Record& r = catalogue.channel(channel::kCustomers).buffer();
  store(r, clifor::kTable, customer, "W_1");
  storeStreet(r, clifor::kStreetHead, clifor::kStreetTail, customer);
}

void L_7(const Catalogue& catalogue, Counterparty& supplier) {
  const Record& r = catalogue.channel(channel::kSuppliers).buffer();
  load(r, estc::kTable, supplier);
  loadStreet(r.bytes(), estc::kStreetHead, estc::kStreetTail, supplier);
}

void W_7(Catalogue& catalogue, const Counterparty& supplier) {
  Record& r = catalogue.channel(channel::kSuppliers).buffer();
  store(r, estc::kTable, supplier, "W_7");
  storeStreet(r, estc::kStreetHead, estc::kStreetTail, supplier);
}

void L_71(const Catalogue& catalogue, Counterparty& supplier) {
  load(catalogue.channel(channel::kOtherSuppliers).buffer(), estcno::kTable, supplier);
}

void W_71(Catalogue& catalogue, const Counterparty& supplier) {
  store(catalogue.channel(channel::kOtherSuppliers).buffer(), estcno::kTable, supplier, "W_71");
}

void L_2(const Catalogue& catalogue, float& customers) {
  load(catalogue.channel(channel::kCustomerCount).buffer(), kCustomerCounter, customers);
}

void W_2(Catalogue& catalogue, float customers) {
  store(catalogue.channel(channel::kCustomerCount).buffer(), kCustomerCounter, customers, "W_2");
}

void L_9(const Catalogue& catalogue, float& suppliers) {
  load(catalogue.channel(channel::kSupplierCount).buffer(), kSupplierCounter, suppliers);
}

void W_9(Catalogue& catalogue, float suppliers) {
  store(catalogue.channel(channel::kSupplierCount).buffer(), kSupplierCounter, suppliers, "W_9");
}

void L_8(const Catalogue& catalogue, BalanceTotals& totals) {
  load(catalogue.channel(channel::kBalances).buffer(), balance::kTable, totals);
}

void W_8(Catalogue& catalogue, const BalanceTotals& totals) {
  // A total too wide for its field stops the write before either side is set.
  store(catalogue.channel(channel::kBalances).buffer(), balance::kTable, totals, "W_8");
}

void openCounterpartyFiles(Catalogue& catalogue, CounterpartyKind kind) {
  if (kind == CounterpartyKind::Customer) {
    catalogue.open(channel::kCustomers);
    catalogue.open(channel::kCustomerCount);
    catalogue.setStem(channel::kBalances, "PSALCL");
  } else {
    catalogue.open(channel::kSuppliers);
    catalogue.open(channel::kSupplierCount);
    catalogue.open(channel::kOtherSuppliers);
    catalogue.setStem(channel::kBalances, "PSALFO");
  }
  catalogue.open(channel::kBalances);
}

Counterparty readCounterparty(Catalogue& catalogue, CounterpartyKind kind, long code) {
  Counterparty who;
  if (kind == CounterpartyKind::Customer) {
    catalogue.channel(channel::kCustomers).read(code);
    L_1(catalogue, who);
  } else {
    catalogue.channel(channel::kSuppliers).read(code);
    L_7(catalogue, who);
    catalogue.channel(channel::kOtherSuppliers).read(code);
    L_71(catalogue, who);
  }
  return who;
}

BalanceTotals readBalance(Catalogue& catalogue, long code) {
  BalanceTotals totals;
  catalogue.channel(channel::kBalances).read(code);
  L_8(catalogue, totals);
  return totals;
}

void writeCounterparty(Catalogue& catalogue, CounterpartyKind kind, long code,
                       const Counterparty& who, const BalanceTotals& totals) {
  if (kind == CounterpartyKind::Customer) {
    Channel& clifor = catalogue.channel(channel::kCustomers);
    clifor.read(code);
    W_1(catalogue, who);
    clifor.write(code);
  } else {
    Channel& estc = catalogue.channel(channel::kSuppliers);
    estc.read(code);
    W_7(catalogue, who);
    estc.write(code);
    Channel& estcno = catalogue.channel(channel::kOtherSuppliers);
    estcno.read(code);
    W_71(catalogue, who);
    estcno.write(code);
  }
  Channel& balances = catalogue.channel(channel::kBalances);
  balances.read(code);
  W_8(catalogue, totals);
  balances.write(code);
}

int readCount(Catalogue& catalogue, CounterpartyKind kind) {
  const bool customers = kind == CounterpartyKind::Customer;
  Channel& channel = catalogue.channel(customers ? channel::kCustomerCount : channel::kSupplierCount);
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
  Channel& channel = catalogue.channel(customers ? channel::kCustomerCount : channel::kSupplierCount);
  channel.read(1);
  if (customers) W_2(catalogue, static_cast<float>(count)); else W_9(catalogue, static_cast<float>(count));
  channel.write(1);
}

std::string selectionEntry(CounterpartyKind kind, long code, const Counterparty& who) {
  const char* mask = kind == CounterpartyKind::Customer ? "####" : "#####";
  return fitLeft(who.name, 30) + " " + fitLeft(who.town, 20) + " " +
         printUsing(mask, static_cast<double>(code));
}

std::vector<Counterparty> readCounterparties(const Catalogue& catalogue, CounterpartyKind kind, int count) {
  std::vector<Counterparty> out;
  if (count <= 0) return out;
  out.resize(static_cast<std::size_t>(count));
  const bool customers = kind == CounterpartyKind::Customer;
  const std::string block = catalogue.channel(customers ? channel::kCustomers : channel::kSuppliers).readBlock(1, count);
  const std::string_view all(block);
  const std::size_t length = customers ? clifor::kLength : estc::kLength;
  for (std::size_t k = 0; k < out.size(); ++k) {
    const std::string_view record = all.substr(k * length, length);
    if (customers) {
      load(record, clifor::kTable, out[k]);
      loadStreet(record, clifor::kStreetHead, clifor::kStreetTail, out[k]);
    } else {
      load(record, estc::kTable, out[k]);
      loadStreet(record, estc::kStreetHead, estc::kStreetTail, out[k]);
    }
  }
  if (!customers) {
    const std::string others = catalogue.channel(channel::kOtherSuppliers).readBlock(1, count);
    for (std::size_t k = 0; k < out.size(); ++k)
      load(std::string_view(others).substr(k * estcno::kLength, estcno::kLength), estcno::kTable, out[k]);
  }
  return out;
}

std::vector<std::string> buildSelectionList(Catalogue& catalogue, CounterpartyKind kind, int count) {
  std::vector<std::string> entries;
  entries.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
  const std::vector<Counterparty> all = readCounterparties(catalogue, kind, count);
  for (std::size_t k = 0; k < all.size(); ++k)
    entries.push_back(selectionEntry(kind, static_cast<long>(k + 1), all[k]));
  return entries;
}

}  // namespace vellano::records
