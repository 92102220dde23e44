// The annual VAT communication IVA2011: its records byte for byte, the form's values from the
// year's liquidation, and the screen run over a range of companies in process.
#include "telematic/vat_communication.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/error.h"
#include "records/text.h"
#include "support/dump_text.h"
#include "telematic_support.h"

namespace vellano::telematic {
namespace {

using testing::Put;
constexpr std::size_t kLength = kCommunicationRecordLength;
const records::Intermediary kIntermediary{"RSSMRA70A01H501U", "10", "1234567890", "010311"};

std::string amount(const char* digits) { return records::fitRight(digits, 11); }
const std::string kNoAmount = " 0" + std::string(9, ' ');

CommunicationForm companyForm() {
  CommunicationForm f;
  f.fiscalCode = "01234567897";
  f.name = "FERRAMENTA BORGHI S.N.C.";
  f.company = true;
  f.taxYear = "2011";
  f.vatNumber = "01234567897";
  f.activityCode = "475210";
  f.separateAccounts = true;
  f.active = {125000.5, 300, 0, 1500.49};
  f.passive = {80000, 0, 250, 0};
  f.chargeable = 25000.5;
  f.deducted = 16000;
  f.settleBalance();
  return f;
}

TEST(VatCommunicationRecords, HeaderRecord) {
  EXPECT_EQ(headerRecord(kIntermediary),
            testing::expectedRecord(kLength, {{1, "A"}, {16, "IVC10"}, {21, "10"}, {23, "RSSMRA70A01H501U"},
                                              {522, "00000000"}}));
}

TEST(VatCommunicationRecords, CompanyRecordOfACompany) {
  std::vector<Put> puts{{1, "B"},
                        {2, "01234567897"},
                        {74, "ZZZTTT70A01H999Q"},
                        {90, "1"},
                        {91, "FERRAMENTA BORGHI S.N.C."},
                        {195, "2011"},
                        {199, "01234567897"},
                        {210, "475210"},
                        {216, "100"},
                        {235, "0000000000000"},
                        // 125000.5 to even is 125000; 1500.49 is 1500.
                        {248, amount("125000") + amount("300") + amount("0") + amount("1500") + kNoAmount},
                        {303, amount("80000") + amount("0") + amount("250") + amount("0")},
                        {347, kNoAmount + kNoAmount + kNoAmount + kNoAmount + kNoAmount},
                        // 25000.5 to even is 25000; due 9000.5 to even is 9000.
                        {402, amount("25000") + amount("16000") + amount("9000") + amount("0")},
                        {446, "1RSSMRA70A01H501U123451001032011" "1"}};
  EXPECT_EQ(companyRecord(companyForm(), kIntermediary), testing::expectedRecord(kLength, puts));
}

TEST(VatCommunicationRecords, TaxpayerKindDecidesWhichNameFieldsAreFilled) {
  struct Case {
    const char* title;
    bool company;
    std::string names;  // positions 91-194
  };
  const Case cases[] = {
      {"company", true, records::fitLeft("FERRAMENTA BORGHI S.N.C.", 60) + std::string(44, ' ')},
      {"natural person", false,
       std::string(60, ' ') + records::fitLeft("BORGHIBORGHIBORGHIBORGHI", 24) + records::fitLeft("GIOVANNI", 20)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    CommunicationForm f = companyForm();
    f.company = c.company;
    f.surname = "BORGHIBORGHIBORGHIBORGHIXX";  // cut to 24
    f.firstName = "GIOVANNI";
    EXPECT_EQ(testing::at(companyRecord(f, kIntermediary), 91, 104), c.names);
  }
}

TEST(VatCommunicationRecords, DeclarantFields) {
  struct Case {
    std::string declarant, role, declaringCompany;
    std::string expected;  // positions 219-247
  };
  const Case cases[] = {
      {"", "5", "09876543210", std::string(16, ' ') + "00" + "00000000000"},
      {"VRDLGU60B02F205X", "1", "09876543210", "VRDLGU60B02F205X" "1 " "09876543210"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.declarant);
    CommunicationForm f = companyForm();
    f.declarant = c.declarant;
    f.declarantRole = c.role;
    f.declaringCompany = c.declaringCompany;
    EXPECT_EQ(testing::at(companyRecord(f, kIntermediary), 219, 29), c.expected);
  }
}

TEST(VatCommunicationRecords, WholeEurosRoundHalvesToEvenThenCut) {
  const std::pair<double, long long> cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {1234.49, 1234},
                                                {1234.51, 1235}, {-2.5, -2}, {99999999.99, 100000000}};
  for (const auto& [value, whole] : cases) EXPECT_EQ(wholeEuros(value), whole) << value;
}

TEST(VatCommunicationRecords, AmountTooWideForItsFieldIsAnOverflow) {
  CommunicationForm f = companyForm();
  f.active[0] = 1e12;
  EXPECT_THROW(companyRecord(f, kIntermediary), RuntimeError);
}

TEST(VatCommunicationRecords, FileWithoutCompaniesHoldsOnlyTheTrailer) {
  const CommunicationFile empty(kIntermediary);
  EXPECT_EQ(empty.finish(), testing::expectedRecord(kLength, {{1, "Z"}, {16, "000000000"}}));
  CommunicationFile two(kIntermediary);
  two.add(companyForm());
  two.add(companyForm());
  const std::vector<std::string> records = testing::recordsOf(two.finish(), kLength);
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(std::string({records[0][0], records[1][0], records[2][0], records[3][0]}), "ABBZ");
  EXPECT_EQ(testing::at(records[3], 16, 9), "000000002");
}

// Sections II-III from the year's liquidation.
TEST(VatCommunicationTotals, FromTheYearsLiquidation) {
  struct Case {
    const char* title;
    registers::Liquidation year;
    std::array<double, 6> expected;  // CD1, CD2, CD4, CD5, CD6 due, CD6 credit
  };
  auto year = [](double sales, double takings, double purchases, double salesVat, double takingsVat,
                 double purchasesVat, double balance) {
    registers::Liquidation l;
    l.salesTaxable = sales;
    l.takingsTaxable = takings;
    l.purchasesTaxable = purchases;
    l.salesVat = salesVat;
    l.takingsVat = takingsVat;
    l.purchasesVat = purchasesVat;
    l.balance = balance;
    return l;
  };
  registers::Liquidation agricultural = year(5000, 0, 9000, 500, 0, 900, 100);
  agricultural.agricultural = true;
  agricultural.agriculturalDeductible = 400;
  const Case cases[] = {
      {"a debit", year(10000, 1000, 4000, 2000, 100, 800, 1300), {11000, 4000, 2100, 800, 1300, 0}},
      {"a balance of -300", year(1000, 0, 2500, 200, 0, 500, -300), {1000, 2500, 200, 500, 0, 300}},
      {"a balance of 0", year(1000, 0, 1000, 200, 0, 200, 0), {1000, 1000, 200, 200, 0, 0}},
      {"agricultural deductible", agricultural, {5000, 9000, 500, 400, 100, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    CommunicationForm f;
    fillTotals(f, c.year);
    EXPECT_EQ((std::array<double, 6>{f.active[0], f.passive[0], f.chargeable, f.deducted, f.due, f.credit}),
              c.expected);
    EXPECT_EQ(f.active[1] + f.active[2] + f.active[3] + f.passive[1] + f.passive[2] + f.passive[3], 0);
  }
}

TEST(VatCommunicationTotals, CreditOfANegativeBalanceReachesTheFile) {
  registers::Liquidation l;
  l.salesTaxable = 1000;
  l.salesVat = 200;
  l.purchasesTaxable = 2500;
  l.purchasesVat = 500;
  l.balance = -300;
  CommunicationForm f = formOf({}, "11");
  fillTotals(f, l);
  EXPECT_EQ(testing::at(companyRecord(f, kIntermediary), 402, 44),
            amount("200") + amount("500") + amount("0") + amount("300"));
}

TEST(VatCommunicationTotals, RegistryNameMakesACompany) {
  records::Company registry;
  registry.fiscalCode = "BRGGNN60A01F205Z  ";
  registry.vatNumber = "01234567897";
  EXPECT_FALSE(formOf(registry, "11").company);
  registry.name = "FERRAMENTA BORGHI S.N.C.";
  const CommunicationForm f = formOf(registry, "11");
  EXPECT_TRUE(f.company);
  EXPECT_EQ(f.fiscalCode, "BRGGNN60A01F205Z");
  EXPECT_EQ(f.taxYear, "2011");
  EXPECT_EQ(f.surname + f.firstName + f.activityCode, "");
}

// ---- The screen, in process ----

class VatCommunicationScreen : public testing::TelematicTest {
 protected:
  // Registrations of one register of company `extension` in 2011.
  void registered(const std::string& extension, records::RegisterKind kind, const std::vector<testing::Line>& lines) {
    records::Context context;
    context.yearSuffix = "11";
    context.companyExtension = extension;
    records::Catalogue catalogue(context);
    records::RegisterHeader header = records::openRegister(catalogue, kind);
    records::Registration r;
    r.date = "140311";
    r.counterparty = kind == records::RegisterKind::Sales ? "1" : "9001";
    r.documentNumber = "1";
    r.documentDate = "140311";
    r.section = "1";
    for (std::size_t k = 0; k < lines.size(); ++k) {
      r.lines[k].rateText = lines[k].rate;
      r.lines[k].taxableText = lines[k].taxable;
    }
    records::writeRegistration(catalogue, 1, r);
    header.count = 1;
    records::writeHeader(catalogue, header);
  }

  // The company list of the year with two companies; the run is on company 1 in mode 6.
  void twoCompanies(vellano::testing::ReportSession& run) {
    records::Context context;
    context.yearSuffix = "11";
    records::Catalogue catalogue(context);
    records::Channel& list = catalogue.open(records::channel::kCompanies);
    records::Company first;
    first.name = "FERRAMENTA BORGHI S.N.C.";
    first.vatNumber = first.fiscalCode = "01234567897";
    records::Company second;
    second.name = "STUDIO VERDI";
    second.vatNumber = second.fiscalCode = "09876543210";
    records::W_92(catalogue, first);
    list.write(1);
    records::W_92(catalogue, second);
    list.write(2);
    catalogue.closeAll();
    run.context.hostMode = 6;
    run.context.companyCount = 2;
    run.context.companyExtension = "001";
    run.context.companyNumber = 1;
    run.context.company = first;
  }
};

TEST_F(VatCommunicationScreen, CompanyWithoutOperationsIsLeftOutOfTheRange) {
  intermediary(kIntermediary);
  registered("001", records::RegisterKind::Sales, {{"20", "1000"}});
  registered("001", records::RegisterKind::Purchases, {{"20", "400"}});
  // Proceed after F9 widens the range to companies 1-2 (3 is beyond the list and beeps);
  // company 1 is taken, company 2 has nothing to ask about; then the copy to the client.
  auto run = start(
      "<F9> <ENTER> <CTRL-DEL> \"3\" <ENTER> <CTRL-DEL> \"2\" <ENTER> <SNAP>"
      " <CTRL-DEL> \"S\" <ENTER> <SNAP> <ENTER> <ENTER>");
  twoCompanies(*run);
  printout::PrintOutput output;
  runVatCommunication(*run->session, output);
  EXPECT_EQ(run->backend->pending(), 0u) << "keys left over";
  EXPECT_EQ(run->backend->beeps(), 1);
  EXPECT_EQ(vellano::testing::commandLog(), std::vector<std::string>{"CMD /C COPY IVA2011 C:\\ALBTEL\\IVA2011"});

  const std::string file = readFile("IVA2011");
  ASSERT_EQ(file.size(), 3 * kLength);
  const std::vector<std::string> records = testing::recordsOf(file, kLength);
  EXPECT_EQ(records[0], headerRecord(kIntermediary));
  EXPECT_EQ(testing::at(records[1], 1, 17), "B01234567897     ");
  EXPECT_EQ(testing::at(records[1], 91, 24), "FERRAMENTA BORGHI S.N.C.");
  EXPECT_EQ(testing::at(records[1], 248, 11), amount("1000"));
  EXPECT_EQ(testing::at(records[1], 303, 11), amount("400"));
  EXPECT_EQ(testing::at(records[1], 402, 44), amount("200") + amount("80") + amount("120") + amount("0"));
  EXPECT_EQ(records[2], testing::expectedRecord(kLength, {{1, "Z"}, {16, "000000001"}}));
  EXPECT_EQ(readFile("ALBTEL/IVA2011"), file);
  // The run gives the context back to the company it started on.
  EXPECT_EQ(run->context.companyExtension, "001");
  EXPECT_EQ(run->context.company.name, "FERRAMENTA BORGHI S.N.C.");

  ASSERT_EQ(run->backend->dumps().size(), 2u);
  const std::string& form = run->backend->dumps()[0];
  EXPECT_NE(testing::dumpRow(form, 1).find(" INVIO TELEMATICO IVA "), std::string::npos);
  EXPECT_EQ(vellano::testing::cells(form, 2, 2, 86),
            " Sezione I DATI GENERALI           Fornitore: RSSMRA70A01H501U (10)  Iscr:12345 010311");
  EXPECT_EQ(vellano::testing::cells(form, 3, 2, 60),
            "Cod.Fisc: 01234567897····· Denominazione: FERRAMENTA BORGHI ");
  EXPECT_EQ(vellano::testing::cells(form, 16, 2, 30), "CD1 Totale:   1,000.00 DI CUI:");
  EXPECT_EQ(vellano::testing::cells(form, 18, 2, 79),
            "non Imponibile:       0.00 Esente:       0.00 Cess.Intracomunitarie:       0.00");
  EXPECT_EQ(vellano::testing::cells(form, 28, 2, 53), "CD6 IVA dovuta   :     120.00 o a Credito:       0.00");
  EXPECT_EQ(vellano::testing::cells(form, 37, 63, 17), "dall'Azienda: 001");
  EXPECT_EQ(vellano::testing::cells(form, 38, 81, 6), "(2011)");
  EXPECT_EQ(vellano::testing::cells(form, 39, 63, 17), "all 'Azienda: 002");
  EXPECT_EQ(vellano::testing::cells(form, 39, 3, 16), "PROCEDO [S/N]: N");
  // The question about company 1 over its own form.
  EXPECT_EQ(vellano::testing::cells(run->backend->dumps()[1], 39, 3, 34), "Inserire nel File [Si/No/Tutte]: S");
}

TEST_F(VatCommunicationScreen, NoCompanyIncludedLeavesOnlyTheTrailer) {
  registered("DAT", records::RegisterKind::Sales, {{"20", "1000"}});
  // No intermediary file: its fields stay empty.
  auto run = start("<CTRL-DEL> \"S\" <ENTER> <CTRL-DEL> \"N\" <ENTER> <CTRL-DEL> \"N\" <ENTER>");
  printout::PrintOutput output;
  runVatCommunication(*run->session, output);
  EXPECT_EQ(run->backend->pending(), 0u) << "keys left over";
  EXPECT_EQ(readFile("IVA2011"), testing::expectedRecord(kLength, {{1, "Z"}, {16, "000000000"}}));
  EXPECT_FALSE(std::filesystem::exists("TEL11.DAT"));
  EXPECT_EQ(vellano::testing::commandLog(), std::vector<std::string>{});
}

TEST_F(VatCommunicationScreen, FormFieldsTypedWithF1GoIntoTheFile) {
  registered("DAT", records::RegisterKind::Purchases, {{"20", "1500"}});
  // No intermediary file. F1: the intermediary typed (a date that is no date beeps), fiscal
  // code kept, the name cleared (a natural person), surname and first name typed, year, VAT
  // number, ticks, declarant kept, activity code typed; ESC ends the editing.
  auto run = start(
      "<F1> \"AAABBB80A01F205Z\" <ENTER> \"10\" <ENTER> \"77\" <ENTER> \"320111\" <ENTER> <CTRL-DEL> \"150211\" <ENTER>"
      " <ENTER> <CTRL-DEL> <ENTER> \"Borghi\" <ENTER> \"Giovanni\" <ENTER> <ENTER> <ENTER>"
      " \"x\" <ENTER> \"q\" <ENTER> <CTRL-DEL> <ENTER> <ENTER> <ENTER> <ENTER> <ENTER> \"475210\" <ENTER> <ESC>"
      " <CTRL-DEL> \"S\" <ENTER> <ENTER> <CTRL-DEL> \"N\" <ENTER>");
  printout::PrintOutput output;
  runVatCommunication(*run->session, output);
  EXPECT_EQ(run->backend->pending(), 0u) << "keys left over";
  EXPECT_EQ(run->backend->beeps(), 2);  // the 32nd of January and "Q", which is no tick
  const std::vector<std::string> records = testing::recordsOf(readFile("IVA2011"), kLength);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(testing::at(records[0], 21, 18), "10AAABBB80A01F205Z");
  EXPECT_EQ(testing::at(records[1], 446, 33), "1AAABBB80A01F205Z77   10150220111");
  // What was typed served this run only.
  EXPECT_FALSE(std::filesystem::exists("TEL11.DAT"));
  EXPECT_EQ(testing::at(records[1], 91, 157),
            std::string(60, ' ') + records::fitLeft("BORGHI", 24) + records::fitLeft("GIOVANNI", 20) + "2011" +
                "01234567897" + "475210" + "100" + std::string(16, ' ') + "00" + "00000000000");
  // Only purchases: the credit is CD5 - CD4.
  EXPECT_EQ(testing::at(records[1], 402, 44), amount("0") + amount("300") + amount("0") + amount("300"));
}

TEST_F(VatCommunicationScreen, FileThatCannotBeWrittenLeavesNoFile) {
  registered("DAT", records::RegisterKind::Sales, {{"20", "1000"}});
  writeFile("IVA2011", "last year's file");
  std::filesystem::create_directory("IVA2011.TMP");  // the temporary name is taken
  auto run = start("<CTRL-DEL> \"S\" <ENTER> <ENTER>");
  printout::PrintOutput output;
  EXPECT_THROW(runVatCommunication(*run->session, output), RuntimeError);
  EXPECT_EQ(readFile("IVA2011"), "last year's file");
}

}  // namespace
}  // namespace vellano::telematic
