// The movement list of a cash/bank account: selection by contropartita over the sales and then
// the purchase payments, the print file with per-file totals, the page prompt, the editor
// command and the borrowed channels given back.
#include "entry/movement_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "payments_support.h"
#include "platform/env_guard.h"

namespace vellano::entry {
namespace {

using testing::dumpCells;
using testing::Masters;
using testing::PaymentSession;
using testing::writeMasters;
using testing::writePayments;

const Masters kMasters{{"Alfa", "Beta", "Gamma", "Delta"}, {"Uno", "Due"}, {"Cassa contanti", "Banca"}};

class MovementListTest : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    env_.set("VELLANO_COMMANDS", (std::filesystem::current_path() / "commands.txt").string());
  }

  // Runs the list of `account` with the sales register open, as a caller would have it.
  void run(const std::string& keys, int account) {
    PaymentSession s(keys);
    s.context.customerCount = 4;
    records::openRegister(s.catalogue, records::RegisterKind::Sales);
    runMovementList(s.session, account);
    EXPECT_EQ(s.backend().pending(), 0u);
    dumps_ = s.backend().dumps();
    closingPrompt_ = vellano::testing::cellText(s.scripted.screen(), 25, 1, 13);
    // The channels it borrowed are back on the sales files.
    EXPECT_TRUE(s.catalogue.channel(12).isOpen());
    EXPECT_EQ(s.catalogue.channel(12).dosName(), "C:PAGVEN11.DAT");
    EXPECT_EQ(s.catalogue.channel(3).dosName(), "C:INDVEN11.DAT");
  }

  std::vector<std::string> printLines() {
    std::vector<std::string> lines;
    const std::string text = readFile("LASER");
    std::size_t start = 0;
    for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
      lines.push_back(text.substr(start, at - start));
    EXPECT_EQ(start, text.size()) << "every line ends with CR LF";
    return lines;
  }

  platform::testing::EnvGuard env_;
  std::vector<std::string> dumps_;
  std::string closingPrompt_;  // row 25 once the list has returned
};

TEST_F(MovementListTest, ListsThePaymentsOfTheAccountWithTotalsPerFileAndOpensTheEditor) {
  {
    PaymentSession s("");
    writeMasters(s, kMasters);
    writePayments(s, records::RegisterKind::Sales,
                  {records::Payment{"3", "020511", "Primo", "100", "1"}, records::Payment{"4", "030511", "Secondo", "50", "2"},
                   records::Payment{"8002", "040511", "Terzo", "25.5", " 1"}});
    writePayments(s, records::RegisterKind::Purchases,
                  {records::Payment{"1", "050511", "Fornitura", "-10", "1"}, records::Payment{"2", "060511", "Altro", "5", ""}});
  }
  run("<SNAP> <ENTER>", 1);
  const std::vector<std::string> expected{
      "Movimenti   1 Cassa contanti",
      "",
      "Pagamenti  VENDITE",
      "Num.  Data           Importo Descrizione",
      "   1  02/05/11        100.00 Primo",
      "   3  04/05/11         25.50 Terzo",
      "Totale  VENDITE       125.50",
      "",
      "Pagamenti ACQUISTI",
      "Num.  Data           Importo Descrizione",
      "   1  05/05/11        -10.00 Fornitura",
      "Totale ACQUISTI       -10.00",
  };
  EXPECT_EQ(printLines(), expected);
  EXPECT_EQ(readFile("commands.txt"), "CMD /C NOTEPAD2.EXE LASER\n");
  ASSERT_EQ(dumps_.size(), 1u);
  EXPECT_EQ(dumpCells(dumps_[0], 25, 1, 13), "Fine Archivio");
  EXPECT_EQ(dumpCells(dumps_[0], 2, 2, 35), "   1  02/05/11        100.00 Primo ");
  EXPECT_EQ(dumpCells(dumps_[0], 5, 2, 28), "   1  05/05/11        -10.00");
  // The window is gone once the list ends.
  EXPECT_EQ(closingPrompt_, std::string(13, ' '));
}

TEST_F(MovementListTest, PagesOf23LinesAndEscEndsTheList) {
  {
    PaymentSession s("");
    writeMasters(s, kMasters);
    std::vector<records::Payment> many;
    for (int i = 1; i <= 30; ++i) many.push_back(records::Payment{"1", "020511", "Riga " + std::to_string(i), "1", "2"});
    writePayments(s, records::RegisterKind::Sales, many);
  }
  struct Case {
    const char* keys;
    std::size_t printed;  // lines in the print file
    bool totals;
  };
  const Case cases[] = {
      {"<SNAP> <ESC>", 4 + 23, false},
      {"<ENTER> <ENTER>", 4 + 30 + 1 + 4, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    std::filesystem::remove("commands.txt");
    run(c.keys, 2);
    const std::vector<std::string> lines = printLines();
    EXPECT_EQ(lines.size(), c.printed);
    EXPECT_EQ(lines.back() == "Totale ACQUISTI         0.00", c.totals);
    EXPECT_EQ(readFile("commands.txt"), "CMD /C NOTEPAD2.EXE LASER\n");
  }
}

TEST_F(MovementListTest, PageDumpShowsThePromptUnderTheLast23Lines) {
  {
    PaymentSession s("");
    writeMasters(s, kMasters);
    std::vector<records::Payment> many;
    for (int i = 1; i <= 24; ++i) many.push_back(records::Payment{"1", "020511", "Riga " + std::to_string(i), "1", "1"});
    writePayments(s, records::RegisterKind::Sales, many);
  }
  run("<SNAP> <ENTER> <SNAP> <ENTER>", 1);
  ASSERT_EQ(dumps_.size(), 2u);
  EXPECT_EQ(dumpCells(dumps_[0], 25, 1, 8), "ESC Fine");
  EXPECT_EQ(dumpCells(dumps_[0], 24, 2, 36), "  23  02/05/11          1.00 Riga 23");
  // The next page starts at the top with the rest and the totals.
  EXPECT_EQ(dumpCells(dumps_[1], 2, 2, 36), "  24  02/05/11          1.00 Riga 24");
  EXPECT_EQ(dumpCells(dumps_[1], 3, 2, 28), "Totale  VENDITE        24.00");
  EXPECT_EQ(dumpCells(dumps_[1], 5, 2, 10), std::string(10, ' '));
  EXPECT_EQ(dumpCells(dumps_[1], 25, 1, 13), "Fine Archivio");
}

TEST_F(MovementListTest, SelectionComparesTheContropartitaAsANumber) {
  PaymentSession s("");
  writePayments(s, records::RegisterKind::Purchases,
                {records::Payment{"1", "020511", "a", "1", "1"}, records::Payment{"1", "020511", "b", "2", " 01"},
                 records::Payment{"1", "020511", "c", "3", "10"}, records::Payment{"1", "020511", "d", "4", ""}});
  const std::vector<Movement> expected{{1, "020511", 1, "a"}, {2, "020511", 2, "b"}};
  EXPECT_EQ(selectMovements(s.catalogue, records::RegisterKind::Purchases, 1), expected);
  EXPECT_TRUE(selectMovements(s.catalogue, records::RegisterKind::Purchases, 0).empty());
}

}  // namespace
}  // namespace vellano::entry
