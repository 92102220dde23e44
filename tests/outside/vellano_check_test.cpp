// vellano-check on the demo company: clean as written, each kind of damage named in one line,
// the counters repaired through the journal, and the balances listing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "outside/folder_audit.h"
#include "records/save_transaction.h"
#include "support/run_program.h"
#include "support/work_folder.h"

namespace vellano::outside {
namespace {

namespace fs = std::filesystem;

struct CheckRun {
  int status = -1;
  std::vector<std::string> lines;
};

class DemoFolder : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    ASSERT_EQ(vellano::testing::runProgram({std::string(VELLANO_BIN_DIR) + "/make_demo", "."}).status, 0);
    for (const fs::directory_entry& e : fs::directory_iterator(".")) demo_[e.path().filename().string()] = readFile(e.path());
  }

  // The demo as written, nothing else.
  void restoreDemo() {
    for (const fs::directory_entry& e : fs::directory_iterator(".")) fs::remove(e.path());
    for (const auto& [name, bytes] : demo_) writeFile(name, bytes);
  }

  // The check of this folder with the blank-separated `options`.
  static CheckRun check(const std::string& options = "") {
    std::vector<std::string> argv{std::string(VELLANO_BIN_DIR) + "/vellano-check", "."};
    std::istringstream words(options);
    for (std::string word; words >> word;) argv.push_back(word);
    const vellano::testing::ProgramRun ran = vellano::testing::runProgram(argv);
    CheckRun run;
    run.status = ran.status;
    std::istringstream out(ran.output);
    for (std::string line; std::getline(out, line);) run.lines.push_back(line);
    return run;
  }

  // Overwrites `bytes` at `offset` of record `n` of a file.
  static void patch(const std::string& file, std::size_t length, long n, std::size_t offset, const std::string& bytes) {
    std::string all = readFile(file);
    const std::size_t at = static_cast<std::size_t>(n - 1) * length + offset;
    if (all.size() < at + bytes.size()) all.resize(at + bytes.size(), '\0');
    all.replace(at, bytes.size(), bytes);
    writeFile(file, all);
  }

  std::map<std::string, std::string> demo_;
};

TEST_F(DemoFolder, TheDemoIsCleanAndItsBalancesAreItsPostings) {
  const CheckRun run = check();
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.lines, std::vector<std::string>{});

  const CheckRun listing = check("--balances");
  EXPECT_EQ(listing.status, 0);
  // A heading, then 30 customers, 20 suppliers and 4 cash and bank accounts.
  ASSERT_EQ(listing.lines.size(), 1u + 30 + 20 + 4);
  EXPECT_NE(listing.lines[1].find("Cliente         1"), std::string::npos);
  EXPECT_NE(listing.lines[31].find("Fornitore       1"), std::string::npos);
  EXPECT_NE(listing.lines[51].find("Cassa/Banca     1 CASSA CONTANTI"), std::string::npos);
  double posted = 0;
  for (const AccountBalance& b : folderBalances()) {
    SCOPED_TRACE(b.account);
    EXPECT_NEAR(b.storedDare, b.postedDare, 0.001);
    EXPECT_NEAR(b.storedAvere, b.postedAvere, 0.001);
    posted += b.postedDare + b.postedAvere;
  }
  EXPECT_GT(posted, 0);
  // The check reads: it leaves no file behind.
  EXPECT_FALSE(fs::exists(std::string(records::kLockName)));
}

TEST_F(DemoFolder, ADamagedHeaderIsNamedRepairedAndThenClean) {
  const std::string header = readFile("INDVEN11.DAT");
  ASSERT_EQ(header.substr(0, 5), " 200 ");
  ASSERT_EQ(header.substr(10, 5), " 136 ");
  ASSERT_EQ(header.substr(20, 5), " 157 ");
  patch("INDVEN11.DAT", 90, 1, 0, " 190 ");   // registration count lowered
  patch("INDVEN11.DAT", 90, 1, 20, " 0   ");  // sezionale 1 protocol counter zeroed
  patch("INDVEN11.DAT", 90, 1, 10, " 100 ");  // payment count lowered

  const std::vector<std::string> expected{
      "INDVEN11.DAT: registrazioni in testata 190, ultima registrazione in VENDIT11.DAT: 200",
      "INDVEN11.DAT: pagamenti in testata 100, ultimo pagamento in PAGVEN11.DAT: 136",
      "INDVEN11.DAT: ultimo protocollo del sezionale 1 in testata 0, il piu' alto usato: 157"};
  CheckRun run = check();
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.lines, expected);

  run = check("--repair");
  EXPECT_EQ(run.status, 0);
  std::vector<std::string> repaired = expected;
  repaired.push_back("riparato: INDVEN11.DAT: registrazioni 190 -> 200");
  repaired.push_back("riparato: INDVEN11.DAT: pagamenti 100 -> 136");
  repaired.push_back("riparato: INDVEN11.DAT: ultimo protocollo del sezionale 1 0 -> 157");
  EXPECT_EQ(run.lines, repaired);
  EXPECT_EQ(readFile("INDVEN11.DAT"), header);
  EXPECT_FALSE(records::journalPending("."));

  run = check();
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.lines, std::vector<std::string>{});
}

// One kind of damage each: the line that names it, and whether the repair takes it away.
TEST_F(DemoFolder, EachKindOfDamageIsNamedInOneLine) {
  struct Case {
    const char* what;
    std::function<void()> damage;
    std::string finding;  // the start of the line
    bool repaired;
  };
  const Case cases[] = {
      {"customer past the count", [] { patch("VENDIT11.DAT", 200, 5, 6, "999  "); },
       "VENDIT11.DAT: registrazione 5: cliente 999 non in CLIFOR.DAT (30 clienti)", false},
      {"supplier code in the purchase register", [] { patch("ACQUIS11.DAT", 200, 2, 6, "12   "); },
       "ACQUIS11.DAT: registrazione 2: fornitore 12 non in ESTC.DAT (9000 + 20 fornitori)", false},
      {"causal past the count", [] { patch("VENDIT11.DAT", 200, 5, 95, "99  "); },
       "VENDIT11.DAT: registrazione 5 riga 1: causale 99 non in CAUCON.DAT (10 causali)", false},
      {"empty sub-account", [] { patch("VENDIT11.DAT", 200, 5, 167, "77"); },
       "VENDIT11.DAT: registrazione 5 riga 1: sottoconto 77 della causale ", false},
      {"VAT code past the table", [] { patch("VENDIT11.DAT", 200, 5, 156, "41"); },
       "VENDIT11.DAT: registrazione 5 riga 1: codice IVA 41 non in TABIVA.DAT", false},
      {"empty VAT code", [] { patch("VENDIT11.DAT", 200, 5, 156, "39"); },
       "VENDIT11.DAT: registrazione 5 riga 1: codice IVA 39 vuoto in TABIVA.DAT", false},
      {"duplicate protocol", [] {
         const std::string three = readFile("VENDIT11.DAT").substr(2 * 200, 200);
         patch("VENDIT11.DAT", 200, 4, 22, three.substr(22, 8));
         patch("VENDIT11.DAT", 200, 4, 166, three.substr(166, 1));
       },
       "VENDIT11.DAT: registrazione 4: protocollo V.", false},
      {"contropartita past the accounts", [] { patch("PAGVEN11.DAT", 95, 2, 91, "9   "); },
       "PAGVEN11.DAT: pagamento 2: contropartita 9 non in CASBAN.DAT (4 conti)", false},
      {"payment without counterparty", [] { patch("PAGVEN11.DAT", 95, 2, 0, "     "); },
       "PAGVEN11.DAT: pagamento 2: controparte mancante", false},
      {"customer count lowered", [] { writeFile("INDICECL.DAT", " 25 "); },
       "INDICECL.DAT: 25 clienti, ultimo in uso in CLIFOR.DAT: 30", true},
      {"causal count lowered", [] { patch("INDEX.DAT", 5, 1, 0, " 8   "); },
       "INDEX.DAT: 8 causali, ultimo in uso in CAUCON.DAT: 10", true},
      {"balance past the count", [] { patch("PSALCL11.DAT", 30, 31, 0, "       100" + std::string(20, ' ')); },
       "PSALCL11.DAT: saldo del codice 31 oltre i 30 clienti", false},
      {"registration emptied", [] { patch("VENDIT11.DAT", 200, 7, 0, std::string(200, ' ')); },
       "VENDIT11.DAT: registrazione 7: vuota", false},
      {"working date damaged", [] { writeFile("DATA.DAT", "999999" + std::string(11, ' ')); },
       "DATA.DAT: data di lavoro non valida: \"999999\"", false},
      {"save left in the journal", [] {
         writeFile(std::string(records::kJournalName),
                   records::encodeJournal({{records::JournalEntry::Kind::Write, "INDICECL.DAT", 4, 1, " 30 "}}));
       },
       "VELLANO.JNL: salvataggio interrotto, da completare (--repair)", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    restoreDemo();
    c.damage();
    // What it found first, and what is left after the repair.
    const CheckRun run = check("--repair");
    const auto repairs = std::find_if(run.lines.begin(), run.lines.end(), [](const std::string& l) {
      return l.rfind("riparato: ", 0) == 0 || l == "resta da verificare a mano:";
    });
    const auto left = std::find(run.lines.begin(), run.lines.end(), "resta da verificare a mano:");
    auto named = [&](auto from, auto to) {
      return std::any_of(from, to, [&](const std::string& l) { return l.rfind(c.finding, 0) == 0; });
    };
    EXPECT_TRUE(named(run.lines.begin(), repairs)) << ::testing::PrintToString(run.lines);
    EXPECT_EQ(run.status, c.repaired ? 0 : 1) << ::testing::PrintToString(run.lines);
    EXPECT_EQ(named(left, run.lines.end()), !c.repaired) << ::testing::PrintToString(run.lines);
  }
}

// What was typed by hand into a balance shows as the difference; nothing changes it.
TEST_F(DemoFolder, TheBalancesListShowsTheHandTypedPart) {
  const std::string before = readFile("PSALCL11.DAT").substr(0, 30);
  const double dare = std::stod(before.substr(6, 12));
  std::string typed = std::to_string(dare + 150.5);
  typed.resize(12, ' ');
  patch("PSALCL11.DAT", 30, 1, 6, typed);
  const std::string balances = readFile("PSALCL11.DAT");

  const CheckRun run = check("--repair --balances");
  EXPECT_EQ(run.status, 0);
  ASSERT_GE(run.lines.size(), 2u);
  EXPECT_NE(run.lines[1].find("Cliente         1"), std::string::npos);
  EXPECT_EQ(run.lines[1].substr(run.lines[1].size() - 30), "         150.50           0.00");
  for (std::size_t i = 2; i < run.lines.size(); ++i)
    EXPECT_EQ(run.lines[i].substr(run.lines[i].size() - 30), "           0.00           0.00") << run.lines[i];
  EXPECT_EQ(readFile("PSALCL11.DAT"), balances);
}

}  // namespace
}  // namespace vellano::outside
