// The customer/supplier list file: the bytes of its records from small years of sales and
// purchases, the screen's notice when nothing qualifies, the values typed for the run and a
// file that cannot be written.
#include "telematic/customer_list_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/error.h"
#include "support/dump_text.h"
#include "telematic_support.h"

namespace vellano::telematic {
namespace {

using testing::at;
using testing::expectedRecord;
using testing::Line;
using testing::Party;
using testing::Reg;

constexpr std::size_t kLength = 1800;

// Detail "1" and "2" as the record tables place them.
std::string byFiscalCode(const std::string& fiscalCode, const std::string& date, const std::string& amount) {
  return expectedRecord(kLength, {{1, "1"}, {2, fiscalCode}, {18, date}, {26, "1"}, {27, amount}});
}
std::string byVatNumber(const std::string& vatNumber, const std::string& date, const std::string& document,
                        const std::string& taxable, const std::string& vat, const std::string& side) {
  return expectedRecord(kLength, {{1, "2"}, {2, vatNumber}, {13, date}, {21, document}, {36, "1"}, {37, taxable},
                                  {46, vat}, {55, side}});
}

const records::Intermediary kIntermediary{"RSSMRA70A01H501U", "10", "123456789A", "010311"};

class CustomerListTest : public testing::TelematicTest {
 protected:
  void SetUp() override {
    TelematicTest::SetUp();
    parties(records::CounterpartyKind::Customer,
            {{1, "ALFA SRL", "", "01234567890"},
             {2, "BIANCHI MARIO", "BNCMRA70A01F205X", ""},
             {3, "GAMMA SPA", "", "09876543210"},
             {4, "SENZA DATI", "", ""}},
            4);
    parties(records::CounterpartyKind::Supplier,
            {{1, "FORNITORE UNO", "", "01111111111"},
             {4, "FORNITORE QUATTRO", "", "04444444444"},
             {5, "FORNITORE CINQUE", "", "05555555555"}},
            5);
    intermediary(kIntermediary);
  }

  // The whole file built from the registers as they stand, through a started print program.
  ListFile build() {
    auto run = start("");
    return buildListFile(*run->catalogue, taxpayerOf(*run->catalogue), records::readIntermediary(*run->catalogue));
  }
};

TEST_F(CustomerListTest, DetailRecordsFollowTheYearlyTotals) {
  struct Case {
    std::string name;
    std::vector<Reg> sales;
    std::vector<Reg> purchases;
    std::vector<std::string> details;
    std::vector<std::string> warnings;
  };
  const std::vector<Case> cases = {
      {"two invoices of 20,000 give one record each, not one sum",
       {{"1", "1", "100211", {{"20", "20000"}}}, {"1", "2", "200311", {{"20", "20000"}}}},
       {},
       {byVatNumber("01234567890", "10022011", "1", "    20000", "     4000", "1"),
        byVatNumber("01234567890", "20032011", "2", "    20000", "     4000", "1")},
       {}},
      {"exactly 25,000 of taxable does not qualify, whatever the VAT",
       {{"3", "1", "100211", {{"20", "12500"}}}, {"3", "2", "100311", {{"20", "10000"}, {"E10", "2500"}}}},
       {},
       {},
       {}},
      {"a zero-amount registration of a qualifying customer is left out",
       {{"1", "1", "100211", {{"20", "30000"}}}, {"1", "2", "110211", {{"20", "0"}}}, {"1", "3", "120211", {}}},
       {},
       {byVatNumber("01234567890", "10022011", "1", "    30000", "     6000", "1")},
       {}},
      {"a customer without VAT number: its fiscal code and the registration total",
       {{"2", "7", "050111", {{"20", "30000"}, {"10", "100.5"}}}},
       {},
       {byFiscalCode("BNCMRA70A01F205X", "05012011", "    36110")},
       {}},
      {"supplier 9005 uses slot 5; purchases carry side 2 and integer parts",
       {},
       {{"9005", "A12", "310111", {{"20", "25000.99"}}}, {"9004", "B1", "010211", {{"20", "1000"}}}},
       {byVatNumber("05555555555", "31012011", "A12", "    25000", "     5000", "2")},
       {}},
      {"annulled registrations count in neither pass",
       {{"3", "1", "100211", {{"20", "30000"}}, true}, {"3", "2", "110211", {{"20", "10000"}}},
        {"1", "3", "120211", {{"20", "30000"}}}, {"1", "4", "130211", {{"20", "5000"}}, true}},
       {{"9001", "F1", "010311", {{"20", "26000"}}, true}},
       {byVatNumber("01234567890", "12022011", "3", "    30000", "     6000", "1")},
       {}},
      {"codes beyond the counts are left out",
       {{"7", "1", "100211", {{"20", "90000"}}}, {"9001", "2", "100211", {{"20", "90000"}}}},
       {{"9006", "1", "100211", {{"20", "90000"}}}, {"1", "2", "100211", {{"20", "90000"}}}},
       {},
       {}},
      {"no fiscal code and no VAT number: blank identification and a warning",
       {{"4", "9", "010311", {{"4", "26000"}}}, {"4", "10", "020311", {{"4", "100"}}}},
       {},
       {byFiscalCode(std::string(16, ' '), "01032011", "    27040"),
        byFiscalCode(std::string(16, ' '), "02032011", "      104")},
       {"Cliente 4 SENZA DATI: manca Codice Fiscale e Partita IVA"}},
      {"the running total qualifies on the way, a later credit note does not undo it",
       {{"3", "1", "100211", {{"20", "26000"}}}, {"3", "2", "100311", {{"20", "-5000"}}}},
       {},
       {byVatNumber("09876543210", "10022011", "1", "    26000", "     5200", "1")},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    registrations(records::RegisterKind::Sales, c.sales);
    registrations(records::RegisterKind::Purchases, c.purchases);
    const ListFile file = build();
    const std::vector<std::string> records = testing::recordsOf(file.bytes, kLength);
    ASSERT_EQ(file.bytes.size(), (c.details.size() + 2) * kLength);
    EXPECT_EQ(file.details, static_cast<int>(c.details.size()));
    for (std::size_t k = 0; k < c.details.size(); ++k) EXPECT_EQ(records[k + 1], c.details[k]) << "detail " << k;
    EXPECT_EQ(records.front()[0], '0');
    EXPECT_EQ(records.back()[0], '9');
    EXPECT_EQ(file.warnings, c.warnings);
  }
}

TEST_F(CustomerListTest, HeaderAndTrailerOfACompanyDifferOnlyInTheirFirstByte) {
  const ListFile file = build();
  const std::vector<std::string> records = testing::recordsOf(file.bytes, kLength);
  ASSERT_EQ(records.size(), 2u);
  const std::string expected = expectedRecord(
      kLength, {{1, "0"},
                {2, "ART21"},
                {7, "47"},
                {9, "0"},
                {10, "00000000000000000"},
                {27, "000000"},
                {33, "01234567897"},
                {49, "01234567897"},
                {60, "FERRAMENTA BORGHI S.N.C."},
                {120, "MILANO"},
                {160, "MI"},
                {206, "X"},
                {257, "2011"},
                {261, "0"},
                {262, "0001"},
                {266, "0001"},
                {270, "RSSMRA70A01H501U"},
                {286, "12345"},
                {291, "1"},
                {292, "01032011"}});
  EXPECT_EQ(records[0], expected);
  std::string trailer = expected;
  trailer[0] = '9';
  EXPECT_EQ(records[1], trailer);
}

TEST(ListRecordTest, NaturalPersonFillsItsOwnFieldsAndLeavesTheCompanyOnesBlank) {
  Taxpayer t;
  t.name = "STUDIO ROSSI";
  t.town = "ROMA";
  t.province = "RM";
  t.vatNumber = "01234567897";
  t.fiscalCode = "RSSMRA70A01H501U";
  t.kind = 'M';
  t.surname = "ROSSI DI SANTA MARIA NOVELLA";  // longer than its 24 places
  t.firstName = "MARIO";
  t.birthDate = "010170";
  t.birthTown = "ROMA";
  t.birthProvince = "RM";
  const std::string r = frameRecord('9', t, records::Intermediary{}, "11");
  EXPECT_EQ(r, expectedRecord(1800, {{1, "9"},
                                     {2, "ART21"},
                                     {7, "47"},
                                     {9, "0"},
                                     {10, "00000000000000000"},
                                     {27, "000000"},
                                     {33, "RSSMRA70A01H501U"},
                                     {49, "01234567897"},
                                     {162, "ROSSI DI SANTA MARIA NOV"},
                                     {186, "MARIO"},
                                     {206, "M"},
                                     {207, "01011970"},
                                     {215, "ROMA"},
                                     {255, "RM"},
                                     {257, "2011"},
                                     {261, "0"},
                                     {262, "0001"},
                                     {266, "0001"},
                                     {291, "1"}}));
}

// ---- The screen ----

TEST_F(CustomerListTest, NothingQualifyingShowsTheNoticeAndStillWritesHeaderAndTrailer) {
  registrations(records::RegisterKind::Sales, {{"1", "1", "100211", {{"20", "1000"}}}});
  writeFile("ELENCOCF", "an older file");
  // Proceed, snap the notice, a key, then no copy.
  auto run = start("<CTRL-DEL> \"S\" <ENTER> <SNAP> <ENTER> <CTRL-DEL> \"N\" <ENTER>");
  runCustomerListFile(*run->session);
  EXPECT_EQ(run->backend->pending(), 0u) << "keys left over";
  EXPECT_EQ(vellano::testing::commandLog(), std::vector<std::string>{"CMD /C DEL ELENCOCF"});
  const std::vector<std::string> records = testing::recordsOf(readFile("ELENCOCF"), kLength);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].substr(1), records[1].substr(1));

  ASSERT_EQ(run->backend->dumps().size(), 1u);
  const std::string& d = run->backend->dumps()[0];
  EXPECT_NE(testing::dumpRow(d, 20).find(" A T T E N Z I O N E ! "), std::string::npos);
  EXPECT_EQ(vellano::testing::cells(d, 22, 22, 56), "Nessun Cliente o Fornitore soddisfa i criteri stabiliti,");
  EXPECT_EQ(vellano::testing::cells(d, 24, 22, 39), "pertanto nessun record e' stato creato.");
  // The screen behind it: the intermediary values read from the year's file, the taxpayer.
  EXPECT_NE(testing::dumpRow(d, 1).find(" INVIO TELEMATICO IVA "), std::string::npos);
  EXPECT_NE(testing::dumpRow(d, 2).find("Codice Fiscale dell'intermediario che effettua la trasmissione: "
                                        "RSSMRA70A01H501U"),
            std::string::npos);
  EXPECT_NE(testing::dumpRow(d, 6).find("Contribuente   : FERRAMENTA BORGHI S.N.C."), std::string::npos);
  EXPECT_NE(testing::dumpRow(d, 7).find("(Codice Fiscale: 01234567897      - Partita IVA: 01234567897)"),
            std::string::npos);
}

TEST_F(CustomerListTest, CounterpartyWithoutIdentificationIsNamedOnScreen) {
  registrations(records::RegisterKind::Sales, {{"4", "1", "100211", {{"20", "30000"}}}});
  auto run = start("<CTRL-DEL> \"S\" <ENTER> <SNAP> <CTRL-DEL> \"N\" <ENTER>");
  runCustomerListFile(*run->session);
  ASSERT_EQ(run->backend->dumps().size(), 1u);
  EXPECT_EQ(vellano::testing::cells(run->backend->dumps()[0], 14, 2, 56),
            "Cliente 4 SENZA DATI: manca Codice Fiscale e Partita IVA");
  EXPECT_EQ(readFile("ELENCOCF").size(), 3 * kLength);
}

TEST_F(CustomerListTest, LeavingAtTheQuestionWritesNothing) {
  for (const char* keys : {"<ENTER>", "<ESC>"}) {
    SCOPED_TRACE(keys);
    auto run = start(keys);
    runCustomerListFile(*run->session);
    EXPECT_FALSE(std::filesystem::exists("ELENCOCF"));
    EXPECT_EQ(vellano::testing::commandLog(), std::vector<std::string>{});
  }
}

TEST_F(CustomerListTest, ValuesTypedForTheRunGoIntoTheFileAndTheAutomaticNameIntoTheCopy) {
  registrations(records::RegisterKind::Sales, {{"1", "1", "100211", {{"20", "30000"}}}});
  const std::string script =
      "<F1> <CTRL-DEL> \"AAABBB80A01F205Z\" <ENTER> <CTRL-DEL> \"77\" <ENTER>"
      " <CTRL-DEL> \"320111\" <ENTER> <CTRL-DEL> \"150211\" <ENTER>"  // a date that is not one beeps
      " <CTRL-DEL> \"m\" <ENTER> \"Rossi\" <ENTER> \"Mario\" <ENTER> \"020370\" <ENTER> \"Roma\" <ENTER>"
      " \"RM\" <ENTER>"
      " <F2> <F9> <ENTER>"
      " <CTRL-DEL> \"S\" <ENTER> <ENTER>";
  const std::string tel = readFile("TEL11.DAT");
  auto run = start(script);
  runCustomerListFile(*run->session);
  EXPECT_EQ(run->backend->pending(), 0u) << "keys left over";
  EXPECT_EQ(run->backend->beeps(), 1);
  EXPECT_EQ(vellano::testing::commandLog(), (std::vector<std::string>{"CMD /C DEL ELENCOCF", "CMD /C COPY ELENCOCF C:\\ALBTEL\\DATROSSI"}));
  const std::string file = readFile("ELENCOCF");
  EXPECT_EQ(readFile("ALBTEL/DATROSSI"), file);
  EXPECT_EQ(readFile("TEL11.DAT"), tel) << "the typed values are for this run only";
  const std::vector<std::string> records = testing::recordsOf(file, kLength);
  ASSERT_EQ(records.size(), 3u);
  const std::string& h = records[0];
  EXPECT_EQ(at(h, 60, 102), std::string(102, ' '));
  EXPECT_EQ(at(h, 162, 24), "ROSSI                   ");
  EXPECT_EQ(at(h, 186, 20), "MARIO               ");
  EXPECT_EQ(at(h, 206, 9), "M02031970");
  EXPECT_EQ(at(h, 215, 42), "ROMA" + std::string(36, ' ') + "RM");
  EXPECT_EQ(at(h, 270, 30), "AAABBB80A01F205Z77   115022011");
}

TEST_F(CustomerListTest, FileThatCannotBeWrittenIsAnErrorAndLeavesNoFile) {
  registrations(records::RegisterKind::Sales, {{"1", "1", "100211", {{"20", "30000"}}}});
  writeFile("ELENCOCF", "an older file");
  std::filesystem::create_directory("ELENCOCF.TMP");  // the temporary name is taken by a folder
  auto run = start("<CTRL-DEL> \"S\" <ENTER>");
  EXPECT_THROW(runCustomerListFile(*run->session), RuntimeError);
  EXPECT_FALSE(std::filesystem::exists("ELENCOCF"));
  EXPECT_EQ(vellano::testing::commandLog(), std::vector<std::string>{"CMD /C DEL ELENCOCF"});
}

}  // namespace
}  // namespace vellano::telematic
