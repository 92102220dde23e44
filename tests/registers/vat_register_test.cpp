// The register print beyond the golden files: the summary's classification, page breaks
// between whole blocks, the questions (marked months, February, the mark column and the last
// page), and what a print leaves on disk when it prints nothing, is cancelled, is a trial, or
// fails half-way.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/error.h"
#include "register_fixture.h"
#include "registers/vat_register.h"
#include "registers/vat_summary.h"

namespace vellano::registers {
namespace {

using testing::LineSpec;
using testing::RegisterFolder;
using Kind = VatSummary::Entry::Kind;

// ---- Summary ----

records::VatLine vatLine(const std::string& rate, const std::string& taxable) {
  records::VatLine v;
  v.rateText = rate;
  v.taxableText = taxable;
  records::computeLine(v);
  return v;
}

struct Listed {
  Kind kind;
  int index;
  double taxable;
  double vat;
};

TEST(VatSummaryTest, EachAliquotaTextGoesToItsBlock) {
  struct Case {
    std::string rate;
    std::string taxable;
    std::vector<Listed> normal, nonDeductible, others;
  };
  const std::vector<Case> cases = {
      {"20", "100", {{Kind::Normal, 20, 100, 20}}, {}, {}},
      {" 20", "100", {{Kind::Normal, 20, 100, 20}}, {}, {}},  // after a scorporo
      {"I20", "100", {}, {{Kind::NonDeductible, 20, 100, 20}}, {}},
      {"I4", "50", {}, {{Kind::NonDeductible, 4, 50, 2}}, {}},
      {"E10", "50", {}, {}, {{Kind::Exempt, 10, 50, 0}}},
      {"N15", "30", {}, {}, {{Kind::NotSubject, 15, 30, 0}}},
      {"F", "20", {}, {}, {{Kind::OutOfScope, 0, 20, 0}}},
      {"0", "70", {}, {}, {}},      // rate 0: no index 0 in the summary
      {"E", "70", {}, {}, {}},      // exempt without article
      {"I150", "10", {}, {}, {}},   // beyond index 100
  };
  auto same = [](const std::vector<VatSummary::Entry>& got, const std::vector<Listed>& want) {
    if (got.size() != want.size()) return false;
    for (std::size_t i = 0; i < got.size(); ++i)
      if (got[i].kind != want[i].kind || got[i].index != want[i].index || got[i].taxable != want[i].taxable ||
          got[i].vat != want[i].vat)
        return false;
    return true;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rate);
    VatSummary summary;
    summary.add(vatLine(c.rate, c.taxable));
    EXPECT_TRUE(same(summary.normal(), c.normal));
    EXPECT_TRUE(same(summary.nonDeductible(), c.nonDeductible));
    EXPECT_TRUE(same(summary.others(), c.others));
  }
}

TEST(VatSummaryTest, RightBlockListsOutOfScopeThenExemptThenNotSubjectInAscendingOrder) {
  VatSummary summary;
  for (const auto& [rate, taxable] : std::vector<std::pair<std::string, std::string>>{
           {"N15", "1"}, {"E10", "2"}, {"F", "3"}, {"N2", "4"}, {"E8", "5"}, {"E10", "6"}}) {
    summary.add(vatLine(rate, taxable));
  }
  const std::vector<VatSummary::Entry> others = summary.others();
  ASSERT_EQ(others.size(), 5u);
  const std::vector<std::pair<Kind, int>> order = {
      {Kind::OutOfScope, 0}, {Kind::Exempt, 8}, {Kind::Exempt, 10}, {Kind::NotSubject, 2}, {Kind::NotSubject, 15}};
  for (std::size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(others[i].kind, order[i].first) << i;
    EXPECT_EQ(others[i].index, order[i].second) << i;
  }
  EXPECT_EQ(others[2].taxable, 8);  // both E10 lines
}

// ---- Order ----

TEST(RegisterOrderTest, DateThenProtocolThenRecord) {
  std::vector<records::Registration> all = {
      testing::registration("100311", "1", "1", "9", "a", {}),
      testing::registration("100311", "1", "2", "2", "b", {}),
      testing::registration("090311", "1", "1", "30", "c", {}),
      testing::registration("100311", "1", "1", "2", "d", {}),
      testing::registration("100310", "1", "1", "1", "e", {}),   // another year
      testing::registration("~00311", "1", "1", "1", "f", {}),   // annulled
      testing::registration("100311", "1", "1", "AB7", "g", {}),  // protocol read from its third character
  };
  RegisterAnswers answers;
  answers.fromDate = "010111";
  answers.toDate = "311211";
  std::vector<long> records;
  for (const Selected& s : selectRegistrations(all, answers, 11)) records.push_back(s.record);
  EXPECT_EQ(records, (std::vector<long>{3, 2, 4, 7, 1}));
  EXPECT_EQ(sortKey(all[0], 1), " 2110310   9   1");
}

// ---- Pages ----

class RegisterPages : public RegisterFolder {
 protected:
  // `count` registrations in March of five lines each: seven printed lines a block.
  void writeFullBlocks(int count) {
    writeFixture();
    std::vector<LineSpec> five(5, LineSpec{"20", "10", "1", "1"});
    records::openRegister(catalogue(), records::RegisterKind::Sales);
    for (int n = 1; n <= count; ++n)
      records::writeRegistration(catalogue(), n, testing::registration("020311", "1", "1", std::to_string(n), "1", five));
    records::RegisterHeader h = header();
    h.count = count;
    records::writeHeader(catalogue(), h);
  }
  std::string print(const RegisterAnswers& answers) {
    printout::PrintChannel channel;
    channel.open("LASER");
    printRegister(catalogue(), channel, true, records::RegisterKind::Sales, records::kSalesMarksStem, answers);
    channel.close();
    return readFile("LASER");
  }
  static std::vector<std::string> linesOf(const std::string& page) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    for (std::size_t end; (end = page.find("\r\n", at)) != std::string::npos; at = end + 2)
      lines.push_back(page.substr(at, end - at));
    return lines;
  }
  static std::vector<std::string> pagesOf(const std::string& bytes) {
    std::vector<std::string> pages;
    std::size_t at = 0;
    for (std::size_t end; (end = bytes.find('\x0C', at)) != std::string::npos; at = end + 1)
      pages.push_back(bytes.substr(at, end - at));
    pages.push_back(bytes.substr(at));
    return pages;
  }
  static int count(const std::vector<std::string>& lines, std::string_view start) {
    int n = 0;
    for (const std::string& l : lines) n += l.rfind(start, 0) == 0 ? 1 : 0;
    return n;
  }
};

TEST_F(RegisterPages, PagesBreakAfterWholeBlocksPastLine100) {
  struct Case {
    int registrations;
    bool totalsOnFirstPage;  // the last block broke the page
  };
  RegisterAnswers march;
  march.month = 3;
  march.fromDate = "010311";
  march.toDate = "310311";
  for (const Case& c : {Case{20, false}, Case{14, true}}) {
    SCOPED_TRACE(c.registrations);
    writeFullBlocks(c.registrations);
    const std::vector<std::string> pages = pagesOf(print(march));
    ASSERT_GE(pages.size(), 2u);
    const std::vector<std::string> first = linesOf(pages[0]);
    // Header (5 counted lines) + 14 blocks of 7 = 103: the break comes after the 14th block.
    EXPECT_EQ(count(first, "|02/03/2011"), 14);
    EXPECT_EQ(count(first, "+------------------------------------------------------"), 14);
    const std::size_t hatchStart = first.size() - kPageHatchLines;
    for (int n = 0; n < kPageHatchLines; ++n)
      EXPECT_EQ(first[hatchStart + static_cast<std::size_t>(n)], std::string(static_cast<std::size_t>(n), ' ') + std::string(kHatch));
    const std::string beforeHatch = first[hatchStart - 1];
    const std::vector<std::string> second = linesOf(pages[1]);
    ASSERT_GE(second.size(), 3u);
    EXPECT_EQ(second[0], "");
    EXPECT_EQ(second[1], "");
    EXPECT_NE(second[2].find("Pag.   14 / 2011"), std::string::npos) << second[2];
    if (c.totalsOnFirstPage) {
      EXPECT_EQ(beforeHatch.substr(0, 85), std::string(85, ' ')) << "totals before the hatching";
      // The summary starts its own page with the short header only.
      EXPECT_EQ(second[2], std::string(54, ' ') + "REGISTRO IVA  VENDITE  -  Sezionale                  Pag.   14 / 2011");
      EXPECT_NE(second[3].find("RIEPILOGO IVA   VENDITE"), std::string::npos);
    } else {
      EXPECT_EQ(beforeHatch[0], '+');
      EXPECT_EQ(second[2].rfind("Mese MARZO 2011", 0), 0u);
      EXPECT_EQ(count(second, "|02/03/2011"), 6);
    }
  }
}

// ---- Questions ----

class RegisterQuestionsTest : public RegisterFolder {
 protected:
  bool ask(const std::string& script, RegisterAnswers& answers) {
    screen::Session& s = session(script);
    records::setRegisterStems(catalogue(), records::kSalesStems);
    catalogue().open(records::channel::kRegisterHeader);
    return askRegisterQuestions(s, records::kSalesMarksStem, answers);
  }
};

TEST_F(RegisterQuestionsTest, MonthsAndTheirPeriods) {
  struct Case {
    std::string workingDate;
    std::string keys;
    int beeps;
    int month;
    std::string from, to;
  };
  const std::vector<Case> cases = {
      {"150311", "<ENTER>", 1, 4, "010411", "300411"},  // March is marked: refused, then April below
      {"150311", "<CTRL-DEL> \"13\" <ENTER>", 1, 4, "010411", "300411"},
      {"150212", "<ENTER>", 0, 2, "010212", "290212"},
      {"150211", "<ENTER>", 0, 2, "010211", "280211"},
      {"150311", "<CTRL-DEL> \"0\" <ENTER>", 0, 0, "010111", "311211"},
  };
  writeFixture();
  records::MonthMarks marks;
  marks.month[2] = 'X';
  records::writeMonthMarks(catalogue(), records::kSalesMarksStem, marks);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.workingDate + " " + c.keys);
    context_.workingDate = c.workingDate;
    context_.yearSuffix = c.workingDate.substr(4);
    const std::string thenApril = c.beeps > 0 ? " <CTRL-DEL> \"04\" <ENTER>" : "";
    RegisterAnswers answers;
    ASSERT_TRUE(ask(c.keys + thenApril + " <ENTER*6>", answers));
    EXPECT_EQ(backend().beeps(), c.beeps);
    EXPECT_EQ(answers.month, c.month);
    EXPECT_EQ(answers.fromDate, c.from);
    EXPECT_EQ(answers.toDate, c.to);
  }
}

TEST_F(RegisterQuestionsTest, AnswersWithTheirChecksAndTheWayBack) {
  writeFixture();
  RegisterAnswers answers;
  // A to-date before the from-date and a payments answer other than S/N beep; Up from the
  // sezionale goes back to the compressed answer, changed there to N.
  ASSERT_TRUE(ask("<CTRL-DEL> \"0\" <ENTER> <CTRL-DEL> \"010511\" <ENTER> <CTRL-DEL> \"300411\" <ENTER> "
                  "<CTRL-DEL> \"310511\" <ENTER> \"x\" <ENTER> \"s\" <ENTER> <ENTER> \"3\" <UP> \"n\" <ENTER> "
                  "\"3\" <ENTER> \"q\" <ENTER> \"d\" <ENTER>",
                  answers));
  EXPECT_EQ(backend().beeps(), 3);
  EXPECT_EQ(answers.month, 0);
  EXPECT_EQ(answers.fromDate, "010511");
  EXPECT_EQ(answers.toDate, "310511");
  EXPECT_TRUE(answers.payments);
  EXPECT_FALSE(answers.compressed);
  EXPECT_EQ(answers.section, "3");
  EXPECT_TRUE(answers.definitive);
}

TEST_F(RegisterQuestionsTest, EscAtAnyQuestionLeavesWithNothingWritten) {
  writeFixture();
  for (const std::string& keys : {std::string("<ESC>"), std::string("<ENTER*3> <ESC>"), std::string("<ENTER*6> <ESC>")}) {
    SCOPED_TRACE(keys);
    RegisterAnswers answers;
    EXPECT_FALSE(ask(keys, answers));
  }
  EXPECT_FALSE(std::filesystem::exists("LASER"));
  EXPECT_EQ(header().lastPage, 12);
}

TEST_F(RegisterQuestionsTest, MarkColumnAndLastPageBehindF1) {
  writeFixture();
  RegisterAnswers answers;
  // January marked, a "?" on December refused, the last page set to 7; back at the month, ESC.
  EXPECT_FALSE(ask("<F1> \"x\" <ENTER*11> \"?\" <ENTER> <ENTER> <CTRL-DEL> \"7\" <ENTER> <ESC>", answers));
  EXPECT_EQ(backend().beeps(), 1);
  EXPECT_EQ(readFile("SDEFVE.DAT").substr(0, 12), "X           ");
  const records::RegisterHeader h = header();
  EXPECT_EQ(h.lastPage, 7);
  EXPECT_EQ(h.count, 7);
  EXPECT_EQ(h.payments, 3);

  // ESC in the mark column abandons the edits; Up on the last page goes back to December, and
  // ESC there keeps the marks written when December was passed.
  EXPECT_FALSE(ask("<F1> <CTRL-DEL> <ENTER> <ESC> <ESC>", answers));
  EXPECT_EQ(readFile("SDEFVE.DAT").substr(0, 12), "X           ");
  EXPECT_FALSE(ask("<F1> <ENTER> \"x\" <ENTER*11> <UP> <ESC> <ESC>", answers));
  EXPECT_EQ(readFile("SDEFVE.DAT").substr(0, 12), "XX          ");
  EXPECT_EQ(header().lastPage, 7);
}

// ---- What a print leaves on disk ----

std::map<std::string, std::string> folderFiles() {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::current_path()))
    if (entry.is_regular_file()) files[entry.path().filename().string()] = vellano::testing::readFile(entry.path());
  return files;
}

TEST_F(RegisterFolder, PrintsThatMustNotChangeTheData) {
  struct Case {
    std::string name;
    std::string questions;
    std::string dialog;
    bool printFile;
    bool onlySetUp;  // nothing selected: the print file keeps the printer set-up alone
    std::vector<std::string> commands;
  };
  const std::string setUp =
      "\x1B" "E\x1B&l0O\x1B&l26A\x1B&a0P\x1B&l0E\x1B&a0L\x1B&k12H\x1B&l4C\x1B*t300R\x1B&l0L\r\n"
      "\x1B(s3T\x1B(s0S\x1B(s0P\x1B(s15H\r\n\x1B(s3T\x1B(s0S\x1B(s0P\x1B(s18H\r\n";
  const std::vector<Case> cases = {
      {"trial", "<ENTER*7>", "<ENTER*6>", true, false,
       {"ORBW.EXE", "CMD /C DEL LASER", "CMD /C PRFILE32.EXE /q LASER"}},
      {"definitive with nothing selected", "<CTRL-DEL> \"01\" <ENTER*6> \"d\" <ENTER>", "<ENTER*6>", true, true,
       {"ORBW.EXE", "CMD /C DEL LASER"}},
      {"definitive, dialog cancelled", "<ENTER*6> \"d\" <ENTER>", "<ENTER*5> \"n\" <ENTER>", false, false,
       {"ORBW.EXE"}},
  };
  writeFixture();
  catalogue().closeAll();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove("LASER");
    std::filesystem::remove("commands.txt");
    std::map<std::string, std::string> before = folderFiles();
    printSales(c.questions, c.dialog);
    catalogue().closeAll();
    std::map<std::string, std::string> after = folderFiles();
    EXPECT_EQ(std::filesystem::exists("LASER"), c.printFile);
    if (c.onlySetUp) {
      EXPECT_EQ(readFile("LASER"), setUp);
    }
    std::vector<std::string> commands;
    std::istringstream logged(readFile("commands.txt"));
    for (std::string line; std::getline(logged, line);) commands.push_back(line);
    EXPECT_EQ(commands, c.commands);
    for (const char* own : {"LASER", "ORBW.DAT", "keys.script", "commands.txt"}) {
      before.erase(own);
      after.erase(own);
    }
    // A file opened for the first time is created empty, as every file the programs open.
    for (const auto& [name, bytes] : after) {
      if (!before.count(name)) {
        EXPECT_EQ(bytes, "") << name;
      }
    }
    for (const auto& [name, bytes] : before) {
      EXPECT_EQ(after[name], bytes) << name;
    }
  }
}

TEST_F(RegisterFolder, DefinitivePrintThatCannotReachItsFileMarksNothing) {
  writeFixture();
  env_.set("VELLANO_LPT1", "/dev/full");
  // Laser switched off in the dialog: the register goes to the printer port, which is full.
  EXPECT_THROW(printSales("<ENTER*6> \"d\" <ENTER>", "\"n\" <ENTER> <ENTER*5>"), RuntimeError);
  EXPECT_EQ(header().lastPage, 12);
  EXPECT_EQ(records::readMonthMarks(catalogue(), records::kSalesMarksStem).marked(3), false);
}

}  // namespace
}  // namespace vellano::registers

namespace vellano::registers {
namespace {

// The purchase register: its own files, title, supplier names and marks.
TEST_F(RegisterFolder, PurchaseRegisterPrintsSuppliersAndMarksItsOwnMonths) {
  writeFixture();
  records::openRegister(catalogue(), records::RegisterKind::Purchases);
  records::writeRegistration(catalogue(), 1,
                             testing::registration("070311", "9001", "1", "1", "F55", {{"I10", "300", "1", "1"}}, "A"));
  records::RegisterHeader h;
  h.count = 1;
  h.payments = 1;
  h.lastPage = 4;
  records::writeHeader(catalogue(), h);
  writePayment(1, {"1", "080311", "Bonifico", "330", "1"});

  printout::PrintChannel channel;
  channel.open("LASER");
  RegisterAnswers march;
  march.month = 3;
  march.fromDate = "010311";
  march.toDate = "310311";
  march.payments = true;
  march.definitive = true;
  EXPECT_TRUE(printRegister(catalogue(), channel, false, records::RegisterKind::Purchases,
                            records::kPurchaseMarksStem, march));
  channel.close();
  const std::string bytes = readFile("LASER");
  EXPECT_EQ(bytes.substr(0, 1), "\x0F") << "condensed print without a laser";
  EXPECT_NE(bytes.find("REGISTRO IVA ACQUISTI  -  Sezionale                  Pag.    5 / 2011"), std::string::npos);
  EXPECT_NE(bytes.find("|07/03/2011  A   1   1           F55   07/03/2011 9001 CARTIERE DEL NORD SPA  |"),
            std::string::npos);
  EXPECT_NE(bytes.find("| I10 |      300.00|       30.00|      330.00|"), std::string::npos);
  EXPECT_NE(bytes.find("LISTA PAGAMENTI -  ACQUISTI"), std::string::npos);
  EXPECT_NE(bytes.find("|08/03/11|   1 CARTIERE DEL NORD SPA"), std::string::npos) << "payment codes are suppliers";
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\x12\x0C") << "condensed print off, then the last form feed";
  EXPECT_EQ(readFile("SDEFAC.DAT").substr(0, 12), "  X         ");
  EXPECT_FALSE(records::readMonthMarks(catalogue(), records::kSalesMarksStem).marked(3));
  EXPECT_EQ(header().lastPage, 5);
}

}  // namespace
}  // namespace vellano::registers
