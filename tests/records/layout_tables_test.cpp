// Every record layout of records/, one family at a time: the table covers its record exactly,
// has the length the catalogue opens the file with, writes a value to the bytes stated here
// independently of the table, leaves kept and rule fields alone, and reads the value back.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "records/cash_bank_file.h"
#include "records/catalogue.h"
#include "records/causal_file.h"
#include "records/customer_files.h"
#include "records/layout.h"
#include "records/registration_files.h"
#include "records/sub_account_file.h"
#include "records/text.h"
#include "records/vat_code_file.h"

namespace vellano::records {
namespace {

using namespace std::string_literals;

// Letters everywhere: no kind writes them on its own, and they read as 0 in a number field.
std::string junk(std::size_t length) {
  std::string bytes(length, ' ');
  for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>('a' + i % 26);
  return bytes;
}

// The background with each {offset, bytes} laid over it.
std::string image(std::string background, const std::vector<std::pair<std::size_t, std::string>>& parts) {
  for (const auto& [offset, bytes] : parts) background.replace(offset, bytes.size(), bytes);
  return background;
}

// Every member a table reads, compared through the table itself.
template <class S, std::size_t N>
void expectSameMembers(const std::array<Column<S>, N>& table, const S& back, const S& value, const std::string& what) {
  for (const Column<S>& c : table) {
    const std::string at = what + " @" + std::to_string(c.field.offset);
    if (c.text && c.kind != Kind::kCopy) { EXPECT_EQ(back.*c.text, value.*c.text) << at; }
    if (c.letter) { EXPECT_EQ(back.*c.letter, value.*c.letter) << at; }
    if (c.amount) { EXPECT_DOUBLE_EQ(back.*c.amount, value.*c.amount) << at; }
    if (c.single) { EXPECT_FLOAT_EQ(back.*c.single, value.*c.single) << at; }
    if (c.counter) { EXPECT_EQ(back.*c.counter, value.*c.counter) << at; }
  }
}

// Stores `value` over junk, checks the bytes against `expected` and reads the value back.
template <class S, std::size_t N>
void expectRoundTrip(const std::array<Column<S>, N>& table, std::size_t length, const S& value,
                     const std::vector<std::pair<std::size_t, std::string>>& expected, const std::string& what) {
  EXPECT_TRUE(tiles(table, length)) << what;
  Record record(junk(length));
  store(record, table, value, "test");
  EXPECT_EQ(record.bytes(), image(junk(length), expected)) << what;
  S back{};
  load(record, table, back);
  expectSameMembers(table, back, value, what);
}

// The length each channel opens with, whatever the mode.
std::size_t lengthOf(int channel, int hostMode = 1) {
  Context context;
  context.hostMode = hostMode;
  Catalogue catalogue(context);
  return catalogue.recordLength(channel);
}

// ---- Context files ----

TEST(ContextLayouts, DateFilesBothLengths) {
  namespace C = context_layout;
  EXPECT_EQ(lengthOf(channel::kWorkingDate, 1), C::kDateLongLength);
  EXPECT_EQ(lengthOf(channel::kWorkingDate, 6), C::kDateShortLength);
  Context value;
  value.workingDate = "140511";
  value.dateFileRest = "AB\0\0       "s;
  expectRoundTrip(C::kDateLong, C::kDateLongLength, value, {{0, "140511AB\0\0       "s}}, "DATA");
  expectRoundTrip(C::kDateShort, C::kDateShortLength, value, {{0, "140511"}}, "DATATERM");
}

TEST(ContextLayouts, CompanyRegistryAndList) {
  namespace C = context_layout;
  EXPECT_EQ(lengthOf(channel::kCompany, 1), C::kRegistryLongLength);
  EXPECT_EQ(lengthOf(channel::kCompany, 2), C::kRegistryShortLength);
  EXPECT_EQ(lengthOf(channel::kCompanies), C::kCompanyListLength);
  const Company value{"FERRAMENTA BORGHI S.N.C.", "VIA ROMA 1", "MILANO", "01234567890", "F5", "F6",
                      "F7",                       "F8",         "BRGMRA70A01F205X"};
  const std::vector<std::pair<std::size_t, std::string>> shortImage{
      {0, fitLeft(value.name, 40)},  {40, fitLeft(value.address, 30)}, {70, fitLeft(value.town, 30)},
      {100, value.vatNumber},        {111, fitLeft("F5", 20)},        {131, fitLeft("F6", 25)},
      {156, fitLeft("F7", 25)},      {181, fitLeft("F8", 30)},        {211, value.fiscalCode}};
  expectRoundTrip(C::kRegistryShort, C::kRegistryShortLength, value, shortImage, "DIKTA 227");
  expectRoundTrip(C::kCompanyList, C::kCompanyListLength, value, shortImage, "AZIEN");
  expectRoundTrip(C::kRegistryLong, C::kRegistryLongLength, value,
                  {{0, fitLeft(value.name, 40)},
                   {40, fitLeft(value.address, 20)},
                   {60, fitLeft(value.town, 20)},
                   {80, value.vatNumber},
                   {91, fitLeft("F5", 20)},
                   {111, fitLeft("F6", 25)},
                   {136, fitLeft("F7", 25)},
                   {161, fitLeft("F8", 28)},
                   {191, value.fiscalCode}},
                  "DIKTA 619");
}

TEST(ContextLayouts, ParametersCountersAndInstallation) {
  namespace C = context_layout;
  EXPECT_EQ(lengthOf(channel::kParameters), C::kParametersLength);
  Context value;
  value.sharedCustomerArchive = 'S';
  value.fullVatTables = 'N';
  expectRoundTrip(C::kParameters, C::kParametersLength, value, {{0, "SN"}}, "PARAM");

  EXPECT_EQ(lengthOf(channel::kCounters), C::kCounter.field.width);
  EXPECT_EQ(lengthOf(channel::kCompanyCount), C::kCounter.field.width);
  Record counter(junk(5));
  store(counter, C::kCounter, 12.0f, "test");
  EXPECT_EQ(counter.bytes(), " 12  ");
  float back = 0;
  load(counter, C::kCounter, back);
  EXPECT_EQ(back, 12.0f);

  EXPECT_EQ(lengthOf(channel::kInstallation), C::kInstallationByte.field.width);
  Record tty(std::string("\0"s));
  char byte = 'x';
  load(tty, C::kInstallationByte, byte);
  EXPECT_EQ(byte, '\0');
  store(tty, C::kInstallationByte, 'M', "test");
  EXPECT_EQ(tty.bytes(), "M");
}

TEST(ContextLayouts, HostSettingsAndHandOverRuns) {
  namespace C = context_layout;
  EXPECT_EQ(lengthOf(channel::kHostSettings), C::kHostSettingsLength);
  EXPECT_TRUE(tiles(C::kHostSettings, C::kHostSettingsLength));
  HostSettings settings;
  settings.field = {"010111", "001", "S", "0\0001  "s, "R", "X", "1"};
  Record host(junk(C::kHostSettingsLength));
  storeRun(host, C::kHostSettings, Kind::kRaw, settings.field, "test");
  EXPECT_EQ(host.bytes(), "010111001S0\0001  RX1"s);
  HostSettings hostBack;
  loadRun(host, C::kHostSettings, Kind::kRaw, hostBack.field);
  EXPECT_EQ(hostBack.field, settings.field);

  EXPECT_EQ(lengthOf(channel::kHandOver), C::kHandOverLength);
  EXPECT_TRUE(tiles(C::kHandOverRecord, C::kHandOverLength));
  HandOver handOver;
  for (std::size_t i = 0; i < HandOver::kFields; ++i)
    handOver.field[i] = fitLeft(std::string(1, static_cast<char>('A' + i)), C::kHandOverRecord[i].width);
  handOver.reserved = "\0"s;
  Record qmenu(junk(C::kHandOverLength));
  storeRun(qmenu, C::kHandOverFields, Kind::kRaw, handOver.field, "test");
  store(qmenu, C::kHandOverReserved, handOver.reserved, "test");
  EXPECT_EQ(qmenu.bytes().substr(9, 4), "E   ");   // field 5, the code
  EXPECT_EQ(qmenu.bytes().substr(41, 2), "I ");    // field 9, the request
  EXPECT_EQ(qmenu.bytes().substr(48, 50), fitLeft("K", 50));  // field 11, the message
  EXPECT_EQ(qmenu.bytes().substr(110), "\0"s);
  HandOver back;
  loadRun(qmenu, C::kHandOverFields, Kind::kRaw, back.field);
  load(qmenu, C::kHandOverReserved, back.reserved);
  EXPECT_EQ(back.field, handOver.field);
  EXPECT_EQ(back.reserved, handOver.reserved);
}

// ---- Customer files ----

TEST(CustomerLayouts, CustomerRecordWithItsSplitStreet) {
  EXPECT_EQ(lengthOf(channel::kCustomers), clifor::kLength);
  const Counterparty who{"ROSSI MARIO", "E FIGLI", "VIA GIUSEPPE GARIBALDI NORD 12", "12/B", "MILANO",
                         "20121",       "MI",      "RSSMRA70A01F205X",               "01234567890"};
  Context context;
  Catalogue catalogue(context);
  catalogue.channel(channel::kCustomers).buffer() = Record(junk(clifor::kLength));
  W_1(catalogue, who);
  EXPECT_TRUE(tiles(clifor::kTable, clifor::kLength));
  EXPECT_EQ(catalogue.channel(channel::kCustomers).buffer().bytes(),
            image(junk(clifor::kLength), {{0, fitLeft(who.name, 30)},
                                          {60, "VIA GIUSEPPE GARIBAL"},
                                          {80, fitLeft(who.town, 20)},
                                          {103, "MI"},
                                          {105, who.fiscalCode},
                                          {121, who.vatNumber},
                                          {256, fitLeft(who.name2, 32)},
                                          {390, "20121"},
                                          {420, "12/B "},
                                          {462, "DI NORD 12"}}));
  Counterparty back;
  L_1(catalogue, back);
  EXPECT_EQ(back, who);
}

TEST(CustomerLayouts, SupplierRecordAndItsComplement) {
  EXPECT_EQ(lengthOf(channel::kSuppliers), estc::kLength);
  EXPECT_EQ(lengthOf(channel::kOtherSuppliers), estcno::kLength);
  const Counterparty who{"BIANCHI SRL", "FORNITURE", "CORSO VENEZIA", "7", "MONZA",
                         "20900",       "MB",        "01234567890",   "09876543210"};
  Context context;
  Catalogue catalogue(context);
  catalogue.channel(channel::kSuppliers).buffer() = Record(junk(estc::kLength));
  catalogue.channel(channel::kOtherSuppliers).buffer() = Record(junk(estcno::kLength));
  W_7(catalogue, who);
  W_71(catalogue, who);
  EXPECT_TRUE(tiles(estc::kTable, estc::kLength));
  EXPECT_TRUE(tiles(estcno::kTable, estcno::kLength));
  EXPECT_EQ(catalogue.channel(channel::kSuppliers).buffer().bytes(),
            image(junk(estc::kLength), {{0, fitLeft(who.name, 30)},
                                        {30, fitLeft(who.name2, 30)},
                                        {60, "MB20900"},
                                        {67, fitLeft(who.street, 20)},
                                        {87, fitLeft(who.town, 20)},
                                        {107, fitLeft(who.fiscalCode, 40)},
                                        {147, std::string(10, ' ')},
                                        {184, fitLeft(who.vatNumber, 16)}}));
  EXPECT_EQ(catalogue.channel(channel::kOtherSuppliers).buffer().bytes(),
            image(junk(estcno::kLength), {{100, who.vatNumber + "7    "}}));
  Counterparty back;
  L_7(catalogue, back);
  L_71(catalogue, back);
  EXPECT_EQ(back, who);
}

TEST(CustomerLayouts, CountersAndBalance) {
  EXPECT_EQ(lengthOf(channel::kCustomerCount), kCounterLength);
  EXPECT_EQ(lengthOf(channel::kSupplierCount), kCounterLength);
  Record customers(junk(kCounterLength));
  Record suppliers(junk(kCounterLength));
  store(customers, kCustomerCounter, 12.0f, "test");
  store(suppliers, kSupplierCounter, 12.0f, "test");
  EXPECT_EQ(customers.bytes(), " 12 ");
  EXPECT_EQ(suppliers.bytes(), "12  ");

  EXPECT_EQ(lengthOf(channel::kBalances), balance::kLength);
  expectRoundTrip(balance::kTable, balance::kLength, BalanceTotals{1500.25, 20},
                  {{6, fitLeft(" 1500.25", 12)}, {18, fitLeft(" 20", 12)}}, "balance");
}

// ---- Registration files ----

TEST(RegistrationLayouts, HeaderTableAndProtocolRun) {
  namespace H = header_layout;
  EXPECT_EQ(lengthOf(channel::kRegisterHeader), H::kLength);
  EXPECT_TRUE(tiles(joined(fieldsOf(H::kTable), H::kProtocols), H::kLength));
  RegisterHeader value;
  value.count = 12;
  value.payments = 3;
  value.lastPage = 9999;
  value.protocol = {1, 7, 15, 0, 9999};
  value.reserved = "R\0S\0T"s;
  value.stockPercent = "12.5";
  value.stock4 = "1000";
  value.stock10 = "";
  value.stock20 = "7";
  Record record(junk(H::kLength));
  packHeader(value, record);
  EXPECT_EQ(record.bytes(), " 12  R\0S\0T 3    9999 1    7    15   0    9999"s + fitLeft("12.5", 15) +
                                fitLeft("1000", 10) + std::string(10, ' ') + fitLeft("7", 10));
  const RegisterHeader back = unpackHeader(record);
  expectSameMembers(H::kTable, back, value, "header");
  EXPECT_EQ(back.protocol, value.protocol);
}

TEST(RegistrationLayouts, RegistrationTableAndLineTables) {
  namespace R = registration_layout;
  EXPECT_EQ(lengthOf(channel::kRegistrations), R::kLength);
  const auto top = fieldsOf(R::kTable);
  std::vector<Field> fields(top.begin(), top.end());
  for (int k = 0; k < kLines; ++k)
    for (const Field& f : fieldsOf(R::lineTable(k))) fields.push_back(f);
  EXPECT_TRUE(tiles(fields, R::kLength));

  Registration value;
  value.date = "140511";
  value.counterparty = "9007";
  value.documentNumber = "A/12";
  value.documentDate = "130511";
  value.protocolLetter = "A";
  value.protocolNumber = "15";
  value.quantity = "3.5";
  value.note = "NOTA";
  value.section = "2";
  for (int k = 0; k < kLines; ++k) {
    VatLine& line = value.lines[static_cast<std::size_t>(k)];
    line.rateText = k == 1 ? "I10" : "20";
    line.taxableText = std::to_string(100 * (k + 1));
    line.causalText = std::to_string(101 + k);
    line.subAccountText = std::to_string(11 + k);
    line.vatCodeText = std::to_string(31 + k);
  }
  Record record(junk(R::kLength));
  packRegistration(value, record);
  EXPECT_EQ(record.bytes().substr(189), std::string(11, ' '));  // reserved tail blanked
  EXPECT_EQ(record.bytes().substr(43, 13), "I10200       ");  // line 2: rate, taxable
  const Registration back = unpackRegistration(record);
  expectSameMembers(R::kTable, back, value, "registration");
  for (int k = 0; k < kLines; ++k)
    expectSameMembers(R::lineTable(k), back.lines[static_cast<std::size_t>(k)], value.lines[static_cast<std::size_t>(k)],
                      "line " + std::to_string(k + 1));
  EXPECT_DOUBLE_EQ(back.lines[1].vat, 20);  // computed from the texts after loading
}

TEST(RegistrationLayouts, PaymentAndControlRecords) {
  EXPECT_EQ(lengthOf(channel::kPayments), payment_layout::kLength);
  expectRoundTrip(payment_layout::kTable, payment_layout::kLength, Payment{"9007", "140511", "Incasso", " 120.5", "2"},
                  {{0, "9007 140511"}, {11, fitLeft("Incasso", 70)}, {81, fitLeft(" 120.5", 10)}, {91, "2   "}},
                  "payment");
  EXPECT_EQ(lengthOf(channel::kVatControl), control_layout::kLength);
  expectRoundTrip(control_layout::kTable, control_layout::kLength, ControlRecord{"C", " 1500", " 3", "1.5"},
                  {{0, "C" + fitLeft(" 1500", 10) + " 3   1.5  "}}, "control");
}

TEST(RegistrationLayouts, VatPaidAndTakingsRuns) {
  EXPECT_EQ(lengthOf(channel::kVatPaid), kVatPaidLength);
  EXPECT_TRUE(tiles(kVatPaidMonths, kVatPaidLength));
  VatPaid paid;
  for (int m = 0; m < 12; ++m) paid.month[static_cast<std::size_t>(m)] = std::to_string(m + 1) + ".5";
  Record ivver(junk(kVatPaidLength));
  storeRun(ivver, kVatPaidMonths, kVatPaidKind, paid.month, "test");
  EXPECT_EQ(ivver.bytes().substr(110), fitLeft("12.5", 10));
  VatPaid paidBack;
  loadRun(ivver, kVatPaidMonths, kVatPaidKind, paidBack.month);
  EXPECT_EQ(paidBack.month, paid.month);

  EXPECT_EQ(lengthOf(channel::kTakings), kTakingsLength);
  std::vector<Field> fields{kTakingsReserved};
  for (int b = 0; b < kTakingsBlocks; ++b)
    for (const Field& f : takingsBlock(b)) fields.push_back(f);
  EXPECT_TRUE(tiles(fields, kTakingsLength));
  Context context;
  Catalogue catalogue(context);
  catalogue.channel(channel::kTakings).buffer() = Record(junk(kTakingsLength));
  Takings takings;
  for (int b = 0; b < kTakingsBlocks; ++b)
    for (int d = 0; d < kDays; ++d)
      takings.day[static_cast<std::size_t>(b)][static_cast<std::size_t>(d)] = std::to_string(b * 100 + d);
  W_27(catalogue, takings);
  const std::string& bytes = catalogue.channel(channel::kTakings).buffer().bytes();
  EXPECT_EQ(bytes.substr(310 * 2 + 10 * 4, 10), fitLeft("204", 10));  // block 3, day 5
  EXPECT_EQ(bytes.substr(1240), std::string(3760, ' '));
  Takings back;
  L_27(catalogue, back);
  EXPECT_EQ(back.day, takings.day);
}

// ---- Causals, cash and bank accounts, sub-accounts, VAT codes ----

TEST(MasterLayouts, CausalRecord) {
  EXPECT_EQ(lengthOf(channel::kCausals), causal_layout::kLength);
  expectRoundTrip(causal_layout::kTable, causal_layout::kLength, Causal{"Vendite merci", 'E', 'S'},
                  {{0, fitLeft("Vendite merci", 30) + "ES" + std::string(468, ' ')}}, "causal");
}

TEST(MasterLayouts, CashBankRecord) {
  EXPECT_EQ(lengthOf(channel::kCashBanks), cash_bank_layout::kLength);
  expectRoundTrip(cash_bank_layout::kTable, cash_bank_layout::kLength, CashBank{"Cassa", 1500.25, -20},
                  {{0, fitLeft("Cassa", 26) + fitLeft(" 1500.25", 12) + fitLeft("-20", 12)}}, "cash/bank");
}

TEST(MasterLayouts, SubAccountRecordKeepsItsReservedPart) {
  EXPECT_EQ(lengthOf(channel::kSubAccounts), sub_account_layout::kLength);
  expectRoundTrip(sub_account_layout::kTable, sub_account_layout::kLength, SubAccount{"Merci c/vendite", "K101"},
                  {{0, fitLeft("Merci c/vendite", 35) + fitLeft("K101", 20)}}, "sub-account");
}

TEST(MasterLayouts, VatCodeRecordReadsItsNumbersFromTheTexts) {
  EXPECT_EQ(lengthOf(channel::kVatCodes), vat_layout::kLength);
  VatCode value{"20", "20", "50", "10.5", "Ordinaria", 20, 50, 10.5f};
  expectRoundTrip(vat_layout::kTable, vat_layout::kLength, value,
                  {{0, "20   20 50 10.5" + fitLeft("Ordinaria", 20) + std::string(165, ' ')}}, "VAT code");
}

}  // namespace
}  // namespace vellano::records
