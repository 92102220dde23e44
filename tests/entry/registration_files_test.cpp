// The yearly registration files: every field at its offset, both number forms read back,
// the computed VAT of the lines, annulled and damaged records, and the other yearly layouts.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "records/registration_files.h"
#include "entry_support.h"
#include "records/numbers.h"
#include "records/record_file.h"
#include "records/save_transaction.h"

namespace vellano::entry {
namespace {

using testing::RegisterFolder;

std::string at(const records::Record& r, std::size_t offset, std::size_t width) {
  return r.bytes().substr(offset, width);
}

records::Registration fullRegistration() {
  records::Registration r;
  r.date = "140511";
  r.counterparty = "9007";
  r.documentNumber = "A/12";
  r.documentDate = "130511";
  r.protocolLetter = "A";
  r.protocolNumber = "15";
  r.quantity = "3.5";
  r.note = "NOTA DI PROVA";
  r.section = "2";
  const char* rates[] = {"20", "I10", "E15", " 4", "F"};
  const char* taxables[] = {"1500.5", "500", "100", " 1016.67", "7"};
  for (int k = 0; k < records::kLines; ++k) {
    records::VatLine& line = r.lines[static_cast<std::size_t>(k)];
    line.rateText = rates[k];
    line.taxableText = taxables[k];
    line.causalText = std::to_string(101 + k);
    line.subAccountText = std::to_string(11 + k);
    line.vatCodeText = std::to_string(31 + k);
  }
  return r;
}

TEST(RegistrationRecord, EveryFieldLandsAtItsOffset) {
  records::Record record(std::string(200, 'x'));
  records::packRegistration(fullRegistration(), record);
  struct Case {
    std::size_t offset, width;
    std::string bytes;
  };
  const Case cases[] = {
      {0, 6, "140511"},      {6, 5, "9007 "},       {11, 5, "A/12 "},       {16, 6, "130511"},
      {22, 1, "A"},          {23, 7, "15     "},    {30, 3, "20 "},         {33, 10, "1500.5    "},
      {43, 3, "I10"},        {46, 10, "500       "}, {56, 3, "E15"},        {59, 10, "100       "},
      {69, 3, " 4 "},        {72, 10, " 1016.67  "}, {82, 3, "F  "},        {85, 10, "7         "},
      {95, 4, "101 "},       {99, 7, "3.5    "},    {106, 13, "NOTA DI PROVA"},
      {156, 2, "31"},        {158, 2, "32"},        {160, 2, "33"},         {162, 2, "34"},
      {164, 2, "35"},        {166, 1, "2"},         {167, 2, "11"},         {169, 3, "102"},
      {172, 2, "12"},        {174, 3, "103"},       {177, 2, "13"},         {179, 3, "104"},
      {182, 2, "14"},        {184, 3, "105"},       {187, 2, "15"},         {189, 11, std::string(11, ' ')},
  };
  for (const Case& c : cases) EXPECT_EQ(at(record, c.offset, c.width), c.bytes) << "offset " << c.offset;
  EXPECT_EQ(record.bytes().size(), 200u);
}

TEST(RegistrationRecord, RoundTripKeepsTypedAndComputedFormsApart) {
  records::Record record(200);
  records::packRegistration(fullRegistration(), record);
  const records::Registration back = records::unpackRegistration(record);
  EXPECT_EQ(back.lines[0].taxableText, "1500.5");     // as typed
  EXPECT_EQ(back.lines[3].taxableText, " 1016.67");   // from a scorporo, leading blank kept
  EXPECT_EQ(back.lines[4].subAccount(), 15);          // line 5's sub-account, offset 187
  EXPECT_EQ(back.lines[0].causal(), 101);             // the 4-character first causal
  EXPECT_EQ(back.counterpartyCode(), 9007);
  EXPECT_EQ(back.sectionNumber(), 2);
  records::Record again(std::string(200, '#'));
  records::packRegistration(back, again);
  EXPECT_EQ(again.bytes(), record.bytes());
}

TEST(RegistrationRecord, LinesRecomputeRateVatAndTotal) {
  struct Case {
    const char* rate;
    const char* taxable;
    float expectedRate;
    double vat;
    double total;
    bool nonDeductible;
  };
  const Case cases[] = {
      {"20", "1500.5", 20, 300.1, 1800.6, false},
      {"I10", "500", 10, 50, 550, true},
      {"E15", "100", 0, 0, 100, false},          // exempt: article number, no VAT
      {"N8", "40", 0, 0, 40, false},
      {"F", "7", 0, 0, 7, false},
      {" 20", " 1016.67", 20, 203.33, 1220, false},
      {"20", "50.625", 20, 10.12, 60.745, false},  // 10.125 exactly: ties to even
      {"22", "33.33", 22, 7.33, 40.66, false},
      {"", "", 0, 0, 0, false},
      {"20", "-100", 20, -20, -120, false},
  };
  for (const Case& c : cases) {
    records::VatLine line;
    line.rateText = c.rate;
    line.taxableText = c.taxable;
    records::computeLine(line);
    EXPECT_EQ(line.rate, c.expectedRate) << c.rate;
    EXPECT_DOUBLE_EQ(line.vat, c.vat) << c.rate << " " << c.taxable;
    EXPECT_DOUBLE_EQ(line.total, c.total) << c.rate << " " << c.taxable;
    EXPECT_EQ(line.nonDeductible(), c.nonDeductible) << c.rate;
  }
}

TEST(RegistrationRecord, TotalsSumTheLinesAndSeparateNonDeductibleVat) {
  records::Registration r = fullRegistration();
  for (records::VatLine& line : r.lines) records::computeLine(line);
  const records::Totals t = r.totals();
  EXPECT_DOUBLE_EQ(t.taxable, 1500.5 + 500 + 100 + 1016.67 + 7);
  EXPECT_DOUBLE_EQ(t.vat, 300.1 + 50 + 0 + 40.67);
  EXPECT_DOUBLE_EQ(t.nonDeductible, 50);
  EXPECT_DOUBLE_EQ(t.total, t.taxable + t.vat);
}

TEST(RegistrationRecord, AnnulledDateReadsAsZeroAndKeepsEverythingElse) {
  records::Record record(200);
  records::Registration r = fullRegistration();
  r.date = "~40511";
  records::packRegistration(r, record);
  const records::Registration back = records::unpackRegistration(record);
  EXPECT_TRUE(back.annulled());
  EXPECT_EQ(back.date, "~40511");
  EXPECT_EQ(records::val(back.date), 0);
  EXPECT_EQ(back.protocolNumber, "15");
  EXPECT_DOUBLE_EQ(back.lines[0].taxable, 1500.5);
}

TEST(RegistrationRecord, DamagedAndShortRecordsReadAsBlanksAndZero) {
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"never written", std::string(200, '\0')},
      {"short", std::string("1405")},
      {"garbage numbers", std::string(30, 'Z') + std::string("abc") + std::string(10, '?') + std::string(157, 'q')},
  };
  for (const Case& c : cases) {
    records::Record record(c.bytes);
    const records::Registration r = records::unpackRegistration(record);
    const records::Totals t = r.totals();
    EXPECT_EQ(t.total, 0) << c.what;
    EXPECT_EQ(r.lines[4].subAccount(), 0) << c.what;
    EXPECT_FALSE(r.annulled()) << c.what;
  }
  // Amounts past a double's range in two lines (a rate of 999 % on one): each reads as the
  // largest value, and so do the VAT and the totals, never an infinity.
  std::string huge(200, ' ');
  huge.replace(0, 6, "140511");
  const std::size_t rate1 = records::registration_layout::rate(0).offset;
  const std::size_t taxable1 = records::registration_layout::taxable(0).offset;
  const std::size_t taxable2 = records::registration_layout::taxable(1).offset;
  huge.replace(rate1, 3, "999");
  huge.replace(taxable1, 8, "-4E+8888");
  huge.replace(taxable2, 8, "-4E+8888");
  const records::Registration r = records::unpackRegistration(records::Record(huge));
  constexpr double kLargest = std::numeric_limits<double>::max();
  EXPECT_EQ(r.lines[0].taxable, -kLargest);
  EXPECT_EQ(r.lines[0].vat, -kLargest);
  EXPECT_EQ(r.lines[0].total, -kLargest);
  const records::Totals t = r.totals();
  EXPECT_EQ(t.taxable, -kLargest);
  EXPECT_EQ(t.vat, -kLargest);
  EXPECT_EQ(t.total, -kLargest);

  // A short buffer is written whole, the reserved tail blank.
  records::Record shortRecord(std::string("1405"));
  records::packRegistration(fullRegistration(), shortRecord);
  EXPECT_EQ(shortRecord.bytes().size(), 200u);
  EXPECT_EQ(at(shortRecord, 189, 11), std::string(11, ' '));
}

// Unpacking takes shortcuts (every row of a table as its own code, blank lines emptied at
// once, a registration reused from the one before); it must give what walking the tables field
// by field gives, whatever the bytes.
TEST(RegistrationRecord, UnpackingMatchesTheTablesFieldByField) {
  records::Record full(200);
  records::packRegistration(fullRegistration(), full);
  std::string onlyCausal(200, ' ');
  onlyCausal.replace(169, 3, "102");  // line 2: a causal, no rate or amount
  std::string nulInside = full.bytes();
  nulInside[12] = '\0';   // inside the document number
  nulInside[31] = '\0';   // inside the rate of line 1
  nulInside[47] = '\x01';
  const std::string cases[] = {full.bytes(), std::string(200, '\0'), std::string(200, ' '), onlyCausal,
                               nulInside,    std::string("1405110012"), full.bytes().substr(0, 90)};
  records::Registration reused = fullRegistration();
  for (const std::string& bytes : cases) {
    SCOPED_TRACE(::testing::PrintToString(bytes));
    const records::Record record(bytes);
    records::Registration expected;
    records::load(record, records::registration_layout::kTable, expected);
    for (int k = 0; k < records::kLines; ++k) {
      records::VatLine& line = expected.lines[static_cast<std::size_t>(k)];
      records::load(record, records::registration_layout::lineTable(k), line);
      records::computeLine(line);
    }
    records::unpackRegistration(bytes, reused);
    for (const records::Registration& got : {records::unpackRegistration(record), reused}) {
      EXPECT_EQ(got.date, expected.date);
      EXPECT_EQ(got.counterparty, expected.counterparty);
      EXPECT_EQ(got.documentNumber, expected.documentNumber);
      EXPECT_EQ(got.protocolNumber, expected.protocolNumber);
      EXPECT_EQ(got.note, expected.note);
      EXPECT_EQ(got.section, expected.section);
      for (std::size_t k = 0; k < got.lines.size(); ++k) {
        const records::VatLine& a = got.lines[k];
        const records::VatLine& b = expected.lines[k];
        EXPECT_EQ(a.rateText, b.rateText);
        EXPECT_EQ(a.taxableText, b.taxableText);
        EXPECT_EQ(a.causalText, b.causalText);
        EXPECT_EQ(a.subAccountText, b.subAccountText);
        EXPECT_EQ(a.vatCodeText, b.vatCodeText);
        EXPECT_EQ(a.rate, b.rate);
        EXPECT_EQ(a.taxable, b.taxable);
        EXPECT_EQ(a.vat, b.vat);
        EXPECT_EQ(a.total, b.total);
      }
    }
  }
}

TEST(RegisterHeader, CountsInStandardFormReservedKeptRimanenzeKept) {
  records::Record record(std::string(90, '\0'));
  record.bytes().replace(5, 5, "R\0S\0T", 5);
  record.bytes().replace(45, 15, "12.5           ");
  record.bytes().replace(60, 10, "1000      ");
  records::RegisterHeader h = records::unpackHeader(record);
  EXPECT_EQ(h.count, 0);
  EXPECT_EQ(h.stockPercent, "12.5");
  h.count = 12;
  h.payments = 3;
  h.lastPage = 9999;
  h.protocol = {1, 7, 15, 0, 9999};
  records::packHeader(h, record);
  EXPECT_EQ(at(record, 0, 5), " 12  ");
  EXPECT_EQ(at(record, 5, 5), std::string("R\0S\0T", 5));
  EXPECT_EQ(at(record, 10, 5), " 3   ");
  EXPECT_EQ(at(record, 15, 5), " 9999");
  EXPECT_EQ(at(record, 20, 25), " 1    7    15   0    9999");
  EXPECT_EQ(at(record, 45, 15), "12.5           ");
  EXPECT_EQ(at(record, 60, 10), "1000      ");
  const records::RegisterHeader back = records::unpackHeader(record);
  EXPECT_EQ(back.protocol[2], 15);
  EXPECT_EQ(back.lastPage, 9999);
}

TEST(RegisterHeader, DamagedCountsReadWithinTheField) {
  struct Case {
    const char* count;
    int expected;
  };
  const Case cases[] = {{"     ", 0}, {"-5   ", 0}, {"abc  ", 0}, {"12.7 ", 12}, {"99999", 9999}};
  for (const Case& c : cases) {
    records::Record record(std::string(c.count) + std::string(85, ' '));
    EXPECT_EQ(records::unpackHeader(record).count, c.expected) << c.count;
  }
}

TEST(AmountForField, DropsTheBlankOnlyWhenThatMakesItFit) {
  EXPECT_EQ(records::amountForField(1016.67, 10), " 1016.67");
  EXPECT_EQ(records::amountForField(8333333.33, 10), "8333333.33");
  EXPECT_EQ(records::amountForField(-83.33, 10), "-83.33");
  EXPECT_EQ(records::amountForField(123456789.25, 10), "");
}

class YearlyFiles : public RegisterFolder {};

TEST_F(YearlyFiles, RegisterSetsUseTheirOwnFiles) {
  registrations(records::RegisterKind::Sales, {testing::oneLine("1", "20", "100")});
  registrations(records::RegisterKind::Purchases, {testing::oneLine("9007", "10", "50"), testing::oneLine("9001", "4", "1")});
  catalogue().closeAll();
  EXPECT_EQ(readFile("VENDIT11.DAT").size(), 200u);
  EXPECT_EQ(readFile("ACQUIS11.DAT").size(), 400u);
  EXPECT_EQ(readFile("INDVEN11.DAT").substr(0, 5), " 1   ");
  EXPECT_EQ(readFile("INDACQ11.DAT").substr(0, 5), " 2   ");
  EXPECT_EQ(readFile("ACQUIS11.DAT").substr(6, 5), "9007 ");
  EXPECT_EQ(read(records::RegisterKind::Purchases, 1).counterpartyCode(), 9007);
  // A register with no header reads as empty.
  std::filesystem::remove("INDVEN11.DAT");
  EXPECT_EQ(readHeader(records::RegisterKind::Sales).count, 0);
}

TEST_F(YearlyFiles, BulkReadsMatchRecordReadsAndSeeAnOpenSave) {
  registrations(records::RegisterKind::Sales,
                {testing::oneLine("1", "20", "100"), testing::oneLine("2", "I10", "50"), testing::oneLine("3", "4", "7.5")});
  records::Catalogue& c = catalogue();
  // One record past the end reads as a blank registration.
  const std::vector<records::Registration> all = records::readRegistrations(c, 4);
  ASSERT_EQ(all.size(), 4u);
  for (long n = 1; n <= 3; ++n) {
    const records::Registration one = records::readRegistration(c, n);
    EXPECT_EQ(all[static_cast<std::size_t>(n - 1)].counterparty, one.counterparty);
    EXPECT_EQ(all[static_cast<std::size_t>(n - 1)].lines[0].vat, one.lines[0].vat);
  }
  EXPECT_EQ(all[3].counterpartyCode(), 0);
  EXPECT_EQ(all[3].totals().total, 0);
  {
    records::SaveTransaction save(c);
    records::writeRegistration(c, 2, testing::oneLine("9", "20", "10"));
    EXPECT_EQ(records::readRegistrations(c, 3)[1].counterpartyCode(), 9);
  }
  EXPECT_EQ(records::readRegistrations(c, 3)[1].counterpartyCode(), 2);  // not committed
  EXPECT_TRUE(records::readRegistrations(c, 0).empty());

  records::Payment p{"8002", "140511", "BONIFICO", "122.5", "2"};
  records::W_12(c, p);
  c.channel(records::channel::kPayments).write(2);
  const std::vector<records::Payment> payments = records::readPayments(c, 2);
  ASSERT_EQ(payments.size(), 2u);
  EXPECT_EQ(payments[0].counterparty, "");
  EXPECT_EQ(payments[1].amount, "122.5");
  EXPECT_EQ(payments[1].description, "BONIFICO");
}

TEST_F(YearlyFiles, PaymentControlVatPaidAndTakingsLayouts) {
  records::Catalogue& c = catalogue();
  records::setRegisterStems(c, records::kSalesStems);
  c.open(records::channel::kPayments);
  records::Payment p{"8002", "140511", "BONIFICO", "122.5", "2"};
  records::W_12(c, p);
  c.channel(12).write(1);
  c.open(records::channel::kVatControl);
  records::W_5(c, records::ControlRecord{"C", " 1500", " 3", "1"});
  c.channel(5).write(2);
  c.open(records::channel::kVatPaid);
  records::VatPaid paid;
  paid.month[0] = " 200.5";
  paid.month[11] = "7";
  records::W_13(c, paid);
  c.channel(13).write(1);
  c.open(records::channel::kTakings);
  records::Takings t;
  t.day[0][0] = "100";
  t.day[3][30] = " 55.5";
  records::W_27(c, t);
  c.channel(27).write(5);
  c.closeAll();

  const std::string pay = readFile("PAGVEN11.DAT");
  ASSERT_EQ(pay.size(), 95u);
  EXPECT_EQ(pay.substr(0, 11), "8002 140511");
  EXPECT_EQ(pay.substr(81, 14), "122.5     2   ");
  const std::string control = rawRecord("CDIVA11.DAT", 21, 2);
  EXPECT_EQ(control, "C 1500      3   1    ");
  const std::string vatPaid = readFile("IVVER11.DAT");
  EXPECT_EQ(vatPaid.substr(0, 10), " 200.5    ");
  EXPECT_EQ(vatPaid.substr(110, 10), "7         ");
  const std::string month5 = rawRecord("CORRIS11.DAT", 5000, 5);
  ASSERT_EQ(month5.size(), 5000u);
  EXPECT_EQ(month5.substr(0, 10), "100       ");
  EXPECT_EQ(month5.substr(930 + 300, 10), " 55.5     ");
  EXPECT_EQ(month5.substr(1240), std::string(3760, ' '));

  // And back.
  records::setRegisterStems(c, records::kSalesStems);
  c.open(records::channel::kPayments).read(1);
  records::Payment q;
  records::L_12(c, q);
  EXPECT_EQ(q.description, "BONIFICO");
  EXPECT_EQ(q.cashBank, "2");
  c.open(records::channel::kTakings).read(5);
  records::Takings u;
  records::L_27(c, u);
  EXPECT_EQ(u.day[3][30], " 55.5");
  EXPECT_EQ(u.day[1][0], "");
}

}  // namespace
}  // namespace vellano::entry
