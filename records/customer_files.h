// The customer and supplier files: record layouts of CLIFOR (channel 1), ESTC (7) and ESTCNO
// (71), the counters INDICECL (2) and INDICEST (9), and the Dare/Avere fields of the yearly
// balance record (8). Each L_ loads the channel's buffer into variables, each W_ puts the
// variables into the buffer; the bytes of fields we have no variable for stay as read.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "records/catalogue.h"
#include "records/layout.h"
#include "records/record_file.h"

namespace vellano::records {

enum class CounterpartyKind { Customer, Supplier };

// Largest count each counter file can hold: INDICECL writes a leading blank in its 4
// characters, INDICEST does not.
inline constexpr int kMaxCustomers = 999;
inline constexpr int kMaxSuppliers = 9999;

// What the screen shows of one customer or supplier; texts without trailing blanks.
struct Counterparty {
  std::string name;         // Ragione sociale, first line (30)
  std::string name2;        // second line (30)
  std::string street;       // Indirizzo, 30 characters stored as 20 + 10
  std::string houseNumber;  // N. Civico (5)
  std::string town;         // Città (20)
  std::string postcode;     // Cap (5)
  std::string province;     // Prov (2)
  std::string fiscalCode;   // 16
  std::string vatNumber;    // 11
  friend bool operator==(const Counterparty&, const Counterparty&) = default;
};

struct BalanceTotals {
  double dare = 0;
  double avere = 0;
};

// Customer record, CLIFOR (500 bytes).
namespace clifor {
inline constexpr std::size_t kLength = 500;
inline constexpr Field kName{0, 30};
inline constexpr Field kStreetHead{60, 20};
inline constexpr Field kTown{80, 20};
inline constexpr Field kProvince{103, 2};
inline constexpr Field kFiscalCode{105, 16};
inline constexpr Field kVatNumber{121, 11};
inline constexpr Field kName2{256, 32};  // 30 characters used
inline constexpr Field kPostcode{390, 5};
inline constexpr Field kHouseNumber{420, 5};
inline constexpr Field kStreetTail{462, 10};
// The street is split by a rule (streetHead/streetTail); the reserved bytes stay as read.
inline constexpr std::array kTable{
    shown<Counterparty>(kName, &Counterparty::name),
    kept<Counterparty>({30, 30}),
    byRule<Counterparty>(kStreetHead),
    shown<Counterparty>(kTown, &Counterparty::town),
    kept<Counterparty>({100, 3}),
    shown<Counterparty>(kProvince, &Counterparty::province),
    shown<Counterparty>(kFiscalCode, &Counterparty::fiscalCode),
    shown<Counterparty>(kVatNumber, &Counterparty::vatNumber),
    kept<Counterparty>({132, 124}),
    shown<Counterparty>(kName2, &Counterparty::name2),
    kept<Counterparty>({288, 102}),
    shown<Counterparty>(kPostcode, &Counterparty::postcode),
    kept<Counterparty>({395, 25}),
    shown<Counterparty>(kHouseNumber, &Counterparty::houseNumber),
    kept<Counterparty>({425, 37}),
    byRule<Counterparty>(kStreetTail),
    kept<Counterparty>({472, 28}),
};
}  // namespace clifor

// Supplier record, ESTC (200 bytes).
namespace estc {
inline constexpr std::size_t kLength = 200;
inline constexpr Field kName{0, 30};
inline constexpr Field kName2{30, 30};
inline constexpr Field kProvince{60, 2};
inline constexpr Field kPostcode{62, 5};
inline constexpr Field kStreetHead{67, 20};
inline constexpr Field kTown{87, 20};
inline constexpr Field kFiscalCode{107, 40};  // 16 characters used
inline constexpr Field kStreetTail{147, 10};
inline constexpr Field kVatNumber{184, 16};   // 11 characters used
inline constexpr std::array kTable{
    shown<Counterparty>(kName, &Counterparty::name),
    shown<Counterparty>(kName2, &Counterparty::name2),
    shown<Counterparty>(kProvince, &Counterparty::province),
    shown<Counterparty>(kPostcode, &Counterparty::postcode),
    byRule<Counterparty>(kStreetHead),
    shown<Counterparty>(kTown, &Counterparty::town),
    shown<Counterparty>(kFiscalCode, &Counterparty::fiscalCode),
    byRule<Counterparty>(kStreetTail),
    kept<Counterparty>({157, 27}),
    shown<Counterparty>(kVatNumber, &Counterparty::vatNumber),
};
}  // namespace estc

// Supplier complement record, ESTCNO (200 bytes): the house number, and a copy of the VAT
// number that is written but never read back (ESTC owns it).
namespace estcno {
inline constexpr std::size_t kLength = 200;
inline constexpr Field kVatNumber{100, 11};
inline constexpr Field kHouseNumber{111, 5};
inline constexpr std::array kTable{
    kept<Counterparty>({0, 100}),
    copy<Counterparty>(kVatNumber, &Counterparty::vatNumber),
    shown<Counterparty>(kHouseNumber, &Counterparty::houseNumber),
    kept<Counterparty>({116, 84}),
};
}  // namespace estcno

// Counter record, INDICECL / INDICEST (4 bytes): INDICECL writes the leading blank, INDICEST
// does not.
inline constexpr std::size_t kCounterLength = 4;
inline constexpr Field kCounter{0, 4};
inline constexpr Cell kCustomerCounter{kCounter, Kind::kSingle};
inline constexpr Cell kSupplierCounter{kCounter, Kind::kSingleBare};

// Balance record (30 bytes): its first 6 bytes belong to the registration files; Dare and
// Avere are rounded to cents when written.
namespace balance {
inline constexpr std::size_t kLength = 30;
inline constexpr Field kDare{6, 12};
inline constexpr Field kAvere{18, 12};
inline constexpr std::array kTable{
    kept<BalanceTotals>({0, 6}),
    cents<BalanceTotals>(kDare, &BalanceTotals::dare),
    cents<BalanceTotals>(kAvere, &BalanceTotals::avere),
};
}  // namespace balance

// Display widths of the screen fields.
inline constexpr std::size_t kStreetWidth = 30;
inline constexpr std::size_t kStreetHeadWidth = 20;

void L_1(const Catalogue& catalogue, Counterparty& customer);
void W_1(Catalogue& catalogue, const Counterparty& customer);
void L_7(const Catalogue& catalogue, Counterparty& supplier);
void W_7(Catalogue& catalogue, const Counterparty& supplier);
// House number from ESTCNO; the VAT number there is only a copy of the ESTC one.
void L_71(const Catalogue& catalogue, Counterparty& supplier);
void W_71(Catalogue& catalogue, const Counterparty& supplier);
// INDICECL stores " 12", INDICEST "12"; both read back by their numeric value.
void L_2(const Catalogue& catalogue, float& customers);
void W_2(Catalogue& catalogue, float customers);
void L_9(const Catalogue& catalogue, float& suppliers);
void W_9(Catalogue& catalogue, float suppliers);
// Dare and Avere of the balance record; its first 6 bytes are left alone.
void L_8(const Catalogue& catalogue, BalanceTotals& totals);
void W_8(Catalogue& catalogue, const BalanceTotals& totals);

// Reading and writing one code of a kind, through the channels above. The caller opens the
// channels (openCounterpartyFiles). Writing reads the record first so reserved bytes survive.
void openCounterpartyFiles(Catalogue& catalogue, CounterpartyKind kind);
Counterparty readCounterparty(Catalogue& catalogue, CounterpartyKind kind, long code);
BalanceTotals readBalance(Catalogue& catalogue, long code);
void writeCounterparty(Catalogue& catalogue, CounterpartyKind kind, long code,
                       const Counterparty& who, const BalanceTotals& totals);
// The count in the counter file: 0 for a damaged value, never above the kind's maximum.
int readCount(Catalogue& catalogue, CounterpartyKind kind);
void writeCount(Catalogue& catalogue, CounterpartyKind kind, int count);

// Codes 1..count of a kind from one read of each of its files, for a pass over them; element
// k is code k + 1, as readCounterparty gives it. Nothing is kept.
std::vector<Counterparty> readCounterparties(const Catalogue& catalogue, CounterpartyKind kind, int count);

// The search list, one entry per code 1..count: name (30) + " " + town (20) + " " + the code
// through "####" (customers) or "#####" (suppliers).
std::string selectionEntry(CounterpartyKind kind, long code, const Counterparty& who);
std::vector<std::string> buildSelectionList(Catalogue& catalogue, CounterpartyKind kind,
                                            int count);

}  // namespace vellano::records
