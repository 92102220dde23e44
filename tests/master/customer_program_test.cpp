// VELLA10W run headless on the customer and supplier screens: what lands in the files, the
// fiscal-code mark, the shared archive and the page keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/work_folder.h"
#include "support/headless_run.h"
#include "support/dump_text.h"

namespace {

using vellano::testing::HeadlessRun;
using vellano::testing::runHeadless;

class CustomerProgram : public vellano::testing::WorkFolder {
 protected:
  HeadlessRun run(const std::vector<std::string>& args, const std::string& script) {
    return runHeadless("VELLA10W", args, std::filesystem::current_path(), script);
  }
  // Cells col..col+n-1 (1-based) of a dump row.
  static std::string cells(const HeadlessRun& r, std::size_t dump, int row, int col, int n) {
    return vellano::testing::cells(r.row(dump, row), col, n);
  }
  // TTY.DAT naming the company extension, taken when the program starts with "/M".
  static void company(const std::string& extension) {
    writeFile("TTY.DAT", "C      CP" + extension + std::string(23, ' '));
  }
};

constexpr const char* kStreet = "VIA GIUSEPPE GARIBALDI 1234567";  // 30 characters

// A whole new customer typed at the code field: an emptied code opens code count + 1.
std::string newCustomer(const std::string& name, const std::string& fiscalCode) {
  return "<CTRL-DEL> <ENTER> \"" + name + "\" <ENTER> <ENTER> \"" + kStreet +
         "\" <ENTER> \"12\" <ENTER> \"MILANO\" <ENTER> \"20100\" <ENTER> \"MI\" <ENTER> \"" +
         fiscalCode + "\" <ENTER> \"12345678903\" <ENTER> \"100\" <ENTER> <ENTER> ";
}

TEST_F(CustomerProgram, NewCustomerStoresTheStreetSplitAndReadsItBackWhole) {
  auto r = run({}, "\"c\" " + newCustomer("ROSSI SRL", "RSSMRA80A01H501U") + "<ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  const std::string clifor = readFile("CLIFOR.DAT");
  ASSERT_EQ(clifor.size(), 500u);
  EXPECT_EQ(clifor.substr(60, 20), "VIA GIUSEPPE GARIBAL");
  EXPECT_EQ(clifor.substr(462, 10), "DI 1234567");
  EXPECT_EQ(clifor.substr(0, 30), "ROSSI SRL" + std::string(21, ' '));
  EXPECT_EQ(readFile("INDICECL.DAT"), " 1  ");
  EXPECT_EQ(readFile("PSALCL00.DAT").substr(6), " 100" + std::string(8, ' ') + " 0" + std::string(10, ' '));

  // A second run shows the street whole and the new count beside the code.
  r = run({}, "\"c\" \"1\" <ENTER> <SNAP> <ESC> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 1u);
  EXPECT_EQ(cells(r, 0, 10, 20, 30), kStreet);
  EXPECT_EQ(cells(r, 0, 4, 11, 4), "   1");
  EXPECT_EQ(cells(r, 0, 4, 18, 5), "    1");
  EXPECT_EQ(cells(r, 0, 19, 46, 2), "  ");
  EXPECT_EQ(cells(r, 0, 21, 62, 1), "D");
  EXPECT_EQ(cells(r, 0, 21, 64, 14), "        100.00");
  EXPECT_NE(r.row(0, 1).find("GESTIONE   CLIENTI (DAT)"), std::string::npos);
}

TEST_F(CustomerProgram, WrongFiscalCodeIsMarkedAndStoredOnlyWhenTypedTwice) {
  const std::string start = "\"c\" <ENTER> \"VERDI\" <ENTER*7> \"RSSMRA80A01H501X\" <ENTER> <SNAP> ";
  // Typed once, then ESC: marked, cursor kept in the field, nothing written.
  auto r = run({}, start + "<ESC> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 1u);
  EXPECT_EQ(cells(r, 0, 19, 46, 2), "??");
  EXPECT_EQ(r.commands.size(), 0u);
  EXPECT_EQ(readFile("CLIFOR.DAT"), "");
  EXPECT_EQ(readFile("INDICECL.DAT"), "");

  // A different wrong code is refused again; the same one twice is taken and stays marked.
  r = run({}, start + "<CTRL-DEL> \"RSSMRA80A01H501Y\" <ENTER> <CTRL-DEL> \"RSSMRA80A01H501Y\" <ENTER> "
                      "<SNAP> <ENTER*3> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(readFile("CLIFOR.DAT").substr(105, 16), "RSSMRA80A01H501Y");
  ASSERT_GE(r.dumps.size(), 2u);
  EXPECT_EQ(cells(r, 1, 19, 46, 2), "??");
  EXPECT_EQ(readFile("INDICECL.DAT"), " 1  ");

  // Corrected to a valid code: the mark goes and the valid code is stored.
  r = run({}, "\"c\" \"1\" <ENTER> <ENTER*7> <CTRL-DEL> \"RSSMRA80A01H50MM\" <ENTER> <SNAP> <ENTER*3> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(cells(r, 0, 19, 46, 2), "  ");
  EXPECT_EQ(readFile("CLIFOR.DAT").substr(105, 16), "RSSMRA80A01H50MM");
}

TEST_F(CustomerProgram, WrongVatNumberFollowsTheSameRule) {
  auto r = run({}, "\"c\" <ENTER> \"NERI\" <ENTER*8> \"12345678900\" <ENTER> <SNAP> "
                   "\"12345678900\" <ENTER> <ENTER*2> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(cells(r, 0, 21, 46, 2), "??");
  EXPECT_EQ(readFile("CLIFOR.DAT").substr(121, 11), "12345678900");
}

TEST_F(CustomerProgram, SharedArchiveIsSeenByTwoCompanies) {
  writeFile("PARAM.DAT", "SN");
  company("001");
  auto r = run({"/M", "1"}, "\"c\" " + newCustomer("COMUNE SPA", "RSSMRA80A01H501U") + "<ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(readFile("CLIFOR.DAT").substr(0, 10), "COMUNE SPA");
  EXPECT_EQ(readFile("INDICECL.DAT"), " 1  ");
  EXPECT_FALSE(std::filesystem::exists("CLIFOR.001"));

  // The other company finds the customer in the list, changes it and keeps its own balances.
  company("002");
  r = run({"/M", "1"}, "\"c\" <F9> <SNAP> <ENTER> <CTRL-DEL> \"COMUNE SRL\" <ENTER*9> <CTRL-DEL> \"7\" <ENTER> "
                       "<ENTER> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 1u);
  EXPECT_NE(r.dumps[0].find("COMUNE SPA"), std::string::npos);
  EXPECT_EQ(readFile("CLIFOR.DAT").substr(0, 10), "COMUNE SRL");
  EXPECT_EQ(readFile("INDICECL.DAT"), " 1  ");
  EXPECT_EQ(readFile("PSALCL00.001").substr(6, 4), " 100");
  EXPECT_EQ(readFile("PSALCL00.002").substr(6, 2), " 7");

  // Without the shared archive each company has its own file.
  writeFile("PARAM.DAT", "NN");
  r = run({"/M", "1"}, "\"c\" <F9> <ESC>");
  EXPECT_TRUE(std::filesystem::exists("CLIFOR.002"));
  EXPECT_EQ(readFile("CLIFOR.002"), "");
}

TEST_F(CustomerProgram, PageDownOnTheLastCodeChangesNothing) {
  auto r = run({}, "\"c\" " + newCustomer("PRIMO", "RSSMRA80A01H501U") + newCustomer("SECONDO", "RSSMRA80A01H501U") +
                       "<ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_EQ(readFile("INDICECL.DAT"), " 2  ");
  const std::string clifor = readFile("CLIFOR.DAT");
  const std::string balances = readFile("PSALCL00.DAT");

  // From the code field and from the name field; then PgUp on code 1.
  r = run({}, "\"c\" \"2\" <ENTER> <PGDN> <SNAP> <ESC> <PGDN> <SNAP> <CTRL-DEL> \"1\" <ENTER> <PGUP> <SNAP> "
              "<ESC> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 3u);
  for (std::size_t d = 0; d < 2; ++d) {
    EXPECT_EQ(cells(r, d, 4, 11, 4).find('2') != std::string::npos, true) << d;
    EXPECT_EQ(cells(r, d, 7, 20, 7), "SECONDO") << d;
  }
  EXPECT_EQ(cells(r, 2, 4, 11, 4), "   1");
  EXPECT_EQ(cells(r, 2, 7, 20, 5), "PRIMO");
  EXPECT_EQ(readFile("CLIFOR.DAT"), clifor);
  EXPECT_EQ(readFile("PSALCL00.DAT"), balances);
  EXPECT_EQ(readFile("INDICECL.DAT"), " 2  ");
}

TEST_F(CustomerProgram, PrintKeysHandOverWithTheirRequests) {
  writeFile("QMENU.DAT", std::string(111, ' '));
  writeFile("INDICEST.DAT", "3   ");
  // F9 in the name field of supplier 3: statement request "44" with the code as text.
  // Alone, so the request stays in the record instead of being served by the print program.
  auto r = runHeadless("VELLA10W", {"/M", "1"}, std::filesystem::current_path(), "\"f\" \"3\" <ENTER> <F9>", true);
  ASSERT_FALSE(r.commands.empty());
  EXPECT_EQ(r.commands.front(), "VELST10W.EXE /M 1");
  std::string qmenu = readFile("QMENU.DAT");
  ASSERT_EQ(qmenu.size(), 111u);
  EXPECT_EQ(qmenu.substr(9, 4), "3   ");
  EXPECT_EQ(qmenu.substr(41, 2), "44");

  // F8 in the code field of the customers: balance list request "41".
  writeFile("QMENU.DAT", std::string(111, ' '));
  r = runHeadless("VELLA10W", {"/M", "1"}, std::filesystem::current_path(), "\"c\" <F8>", true);
  ASSERT_FALSE(r.commands.empty());
  EXPECT_EQ(r.commands.front(), "VELST10W.EXE /M 1");
  EXPECT_EQ(readFile("QMENU.DAT").substr(41, 2), "41");
}

}  // namespace

namespace {

// A request left by the print program opens the screen of its kind at start-up, once.
TEST_F(CustomerProgram, DirectStartRequestsOpenTheirScreen) {
  const struct {
    const char* request;
    const char* title;
  } cases[] = {{"41", "GESTIONE   CLIENTI (DAT)"}, {"43", "GESTIONE   CLIENTI (DAT)"},
               {"42", "GESTIONE FORNITORI (DAT)"}, {"44", "GESTIONE FORNITORI (DAT)"}};
  for (const auto& c : cases) {
    std::string qmenu(111, ' ');
    qmenu.replace(41, 2, c.request);
    writeFile("QMENU.DAT", qmenu);
    auto r = run({"/M", "1"}, "<SNAP> <ESC> <SNAP> <ESC>");
    ASSERT_EQ(r.status, 0) << c.request;
    ASSERT_GE(r.dumps.size(), 2u) << c.request;
    EXPECT_NE(r.row(0, 1).find(c.title), std::string::npos) << c.request;
    EXPECT_EQ(r.dumps[1].find("GESTIONE"), std::string::npos) << c.request;  // then the menu
    EXPECT_EQ(readFile("QMENU.DAT").substr(41, 2), "  ") << c.request;
  }
}

}  // namespace
