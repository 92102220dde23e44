// The menu item "invio Telematico iva" run through the real print program on the demo
// company, headless: the file IVA2011 with its copy, and the printed communication LASER.PDF
// on the form background, whose amounts must be the ones the file carries.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "records/numbers.h"
#include "records/text.h"
#include "support/run_program.h"
#include "support/headless_run.h"
#include "support/work_folder.h"
#include "telematic/vat_communication.h"
#include "telematic_support.h"

namespace vellano::telematic {
namespace {

std::string outputOf(const std::vector<std::string>& argv) { return vellano::testing::runProgram(argv).output; }

// The amounts of a row of the printed form, in the order they stand: "CD4   39,429.46".
std::vector<double> rowAmounts(const std::string& text, std::string_view code) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string word;
    if (!(words >> word) || word != code) continue;
    std::vector<double> amounts;
    while (words >> word) {
      std::string digits;
      for (char c : word)
        if (c != ',') digits += c;
      amounts.push_back(records::val(digits));
    }
    return amounts;
  }
  return {};
}

class VatCommunicationRun : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    const auto demo = vellano::testing::runHeadless("make_demo", {"."}, std::filesystem::current_path(), "");
    ASSERT_EQ(demo.status, 0);
  }
  vellano::testing::HeadlessRun run(const std::string& script) {
    return vellano::testing::runHeadless("VELST10W", {}, std::filesystem::current_path(), script);
  }
};

TEST_F(VatCommunicationRun, FileAndPrintedCommunicationOfTheDemoCompany) {
  // T, proceed, include the company, copy into the client's folder, leave.
  const auto file = run("\"t\" <CTRL-DEL> \"S\" <ENTER> <ENTER> <ENTER> <ESC>");
  EXPECT_EQ(file.status, 0);
  EXPECT_EQ(file.commands, (std::vector<std::string>{"CMD /C COPY IVA2011 C:\\ALBTEL\\IVA2011", "VELLA10W.EXE "}));
  const std::string bytes = readFile("IVA2011");
  ASSERT_EQ(bytes.size(), 3 * kCommunicationRecordLength);
  EXPECT_EQ(readFile("ALBTEL/IVA2011"), bytes);
  const std::vector<std::string> records = testing::recordsOf(bytes, kCommunicationRecordLength);
  EXPECT_EQ(testing::at(records[0], 1, 38), "A              IVC1010RSSMRA70A01H501U");
  EXPECT_EQ(testing::at(records[1], 91, 24), "FERRAMENTA BORGHI S.N.C.");
  EXPECT_EQ(testing::at(records[1], 446, 33), "1RSSMRA70A01H501U123451015012011" "1");
  EXPECT_EQ(testing::at(records[2], 1, 24), "Z              000000001");

  // F8 at the question prints the same company's form; ESC leaves.
  const auto printed = run("\"t\" <F8> <ESC> <ESC>");
  EXPECT_EQ(printed.status, 0);
  ASSERT_GE(printed.commands.size(), 5u);
  const std::vector<std::string> tail(printed.commands.end() - 5, printed.commands.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"CMD /C PDFTK.EXE LASER.PDF BACKGROUND PDF\\COMDIVA.PDF OUTPUT LAS1.PDF",
                                            "CMD /C COPY LAS1.PDF LASER.PDF", "CMD /C DEL LAS1.PDF",
                                            "CMD /C READ LASER.PDF", "VELLA10W.EXE "}));
  EXPECT_FALSE(std::filesystem::exists("LAS1.PDF"));
  const std::string text = outputOf({"pdftotext", "-layout", "LASER.PDF", "-"});
  // The background's captions around the printed values.
  for (const char* caption : {"COMUNICAZIONE ANNUALE DATI IVA", "IVA esigibile", "IVA detratta", "IVA a credito",
                              "FERRAMENTA BORGHI S.N.C.", "RSSMRA70A01H501U"})
    EXPECT_NE(text.find(caption), std::string::npos) << caption;
  const std::vector<double> cd4 = rowAmounts(text, "CD4");
  const std::vector<double> cd5 = rowAmounts(text, "CD5");
  const std::vector<double> cd6 = rowAmounts(text, "CD6");
  ASSERT_EQ(cd4.size(), 1u) << text;
  ASSERT_EQ(cd5.size(), 1u);
  ASSERT_EQ(cd6.size(), 2u);
  EXPECT_GT(cd4[0], 0);
  EXPECT_DOUBLE_EQ(cd6[0], records::round2(cd4[0] - cd5[0]));
  // The file carries the printed amounts in whole euros.
  auto whole = [](double v) { return records::fitRight(std::to_string(wholeEuros(v)), 11); };
  EXPECT_EQ(testing::at(records[1], 402, 44), whole(cd4[0]) + whole(cd5[0]) + whole(cd6[0]) + whole(cd6[1]));
  const std::vector<double> cd1 = rowAmounts(text, "CD1");
  ASSERT_EQ(cd1.size(), 4u);
  EXPECT_EQ(testing::at(records[1], 248, 11), whole(cd1[0]));
}

}  // namespace
}  // namespace vellano::telematic
