// The pieces of the export file: the lines written for given totals, the code an amount is
// filed under, the file name from the company and the proposed import folder.
#include "lists/tax_return_export.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "balance_fixture.h"
#include "records/tax_return_codes.h"

namespace vellano::lists {
namespace {

using testing::BalanceFolder;
using testing::registration;

TEST(ExportText, SenzaCodiceAsItStandsThenWholeNumbersInCatalogueOrder) {
  CodeTotals totals{};
  totals[0] = 15952.32;
  totals[static_cast<std::size_t>(records::findTaxReturnCode("K100"))] = 1234.5;     // tie down to even
  totals[static_cast<std::size_t>(records::findTaxReturnCode("K100.1"))] = 1235.5;   // tie up to even
  totals[static_cast<std::size_t>(records::findTaxReturnCode("K199.03"))] = 0.5;     // rounds to 0, still written
  totals[static_cast<std::size_t>(records::findTaxReturnCode("K200"))] = 15230.49;
  totals[static_cast<std::size_t>(records::findTaxReturnCode("K210"))] = 0;          // not written
  totals[static_cast<std::size_t>(records::findTaxReturnCode("K220"))] = -80;        // not written
  totals[static_cast<std::size_t>(records::findTaxReturnCode("X300"))] = 2.51;
  EXPECT_EQ(exportText(totals),
            "senza codice;15952.32\r\n"
            "K100   ;1234\r\n"
            "K100.1 ;1236\r\n"
            "K199.03;0\r\n"
            "K200   ;15230\r\n"
            "X300   ;3\r\n");

  CodeTotals small{};
  small[0] = 0.5;
  EXPECT_EQ(exportText(small), "senza codice;.5\r\n");
  EXPECT_EQ(exportText(CodeTotals{}), "");
}

// A sub-account's code is compared on its first 7 characters with the catalogue's codes;
// anything else is filed under "senza codice;".
class CodeMatching : public BalanceFolder {};

TEST_F(CodeMatching, FirstSevenCharactersChooseTheEntry) {
  struct Case {
    std::string code;
    std::string entry;  // "" for senza codice
  };
  const std::vector<Case> cases = {
      {"K100", "K100"},         {"K199.03", "K199.03"}, {"K199.031", "K199.03"}, {"X101.1", "X101.1"},
      {"k100", ""},             {" K100", ""},          {"K999", ""},            {"", ""},
  };
  for (std::size_t i = 0; i < cases.size(); ++i)
    records::writeSubAccount(catalogue(), 4, static_cast<int>(i + 1), {"Prova", cases[i].code});
  catalogue().closeAll();

  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    CausalTotals totals(4);
    totals.addSale(registration("010211", {{"20", "100", "4", std::to_string(i + 1).c_str()}}));
    AccountNames names(catalogue(), 4);
    const CodeTotals codes = codeTotals(totals, names);
    const std::size_t expected = c.entry.empty() ? 0 : static_cast<std::size_t>(records::findTaxReturnCode(c.entry));
    EXPECT_EQ(codes[expected], 100) << "code \"" << c.code << "\"";
    double sum = 0;
    for (double v : codes) sum += v;
    EXPECT_EQ(sum, 100) << "code \"" << c.code << "\" filed once";
  }
}

TEST(ExportFileName, FiscalCodeElseVatNumberWithoutBlanks) {
  struct Case {
    std::string fiscalCode;
    std::string vatNumber;
    std::string name;
  };
  const std::vector<Case> cases = {
      {"RSSMRA80A01H501U", "01234567897", "BIL-RSSMRA80A01H501U.TXT"},
      {" 0123 4567897", "", "BIL-01234567897.TXT"},
      {"", "01234567897", "BIL-01234567897.TXT"},
      {"   ", " 0123456789 7", "BIL-01234567897.TXT"},
      {"", "", ""},            // no "BIL-.TXT"
      {"..\\..\\X", "", ""},   // never a name that leaves the working folder
      {"RSS/MRA", "01234567897", ""},
  };
  for (const Case& c : cases) {
    records::Company company;
    company.fiscalCode = c.fiscalCode;
    company.vatNumber = c.vatNumber;
    EXPECT_EQ(exportFileName(company), c.name) << "\"" << c.fiscalCode << "\" / \"" << c.vatNumber << "\"";
  }
}

TEST(ProposedFolder, NextYearInTwoDigits) {
  struct Case {
    std::string yearSuffix;
    std::string folder;
  };
  for (const Case& c : {Case{"11", "C:\\TRIBUTEK\\FISCALI\\EXTIMPORT\\2012\\"},
                        Case{"05", "C:\\TRIBUTEK\\FISCALI\\EXTIMPORT\\2006\\"},
                        Case{"00", "C:\\TRIBUTEK\\FISCALI\\EXTIMPORT\\2001\\"},
                        Case{"99", "C:\\TRIBUTEK\\FISCALI\\EXTIMPORT\\2000\\"}}) {
    EXPECT_EQ(proposedFolder(c.yearSuffix), c.folder) << c.yearSuffix;
  }
}

}  // namespace
}  // namespace vellano::lists
