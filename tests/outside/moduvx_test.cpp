// The F24 form program: the row read from field 11 of QMENU.DAT, the PDF it draws read back
// by pdftotext, and the rows it refuses without leaving a file.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "outside/f24_form.h"
#include "support/run_program.h"
#include "support/headless_run.h"
#include "support/work_folder.h"

namespace vellano::outside {
namespace {

// Record 1 of QMENU.DAT: the 48 bytes of fields 1-10, the text in field 11, the rest.
std::string handOverRecord(const std::string& text) {
  std::string field(50, ' ');
  field.replace(0, std::min<std::size_t>(text.size(), 50), text.substr(0, 50));
  return "X001  " + std::string(27, '.') + " 0" + "010111" + "  " + "     " + field + std::string(13, 'y');
}

class Moduvx : public vellano::testing::WorkFolder {
 protected:
  int run() {
    return vellano::testing::runHeadless("moduvx", {}, std::filesystem::current_path(), "").status;
  }
  static std::string pdfText() {
    if (vellano::testing::runProgram({"pdftotext", "-layout", "F24.PDF", "F24.txt"}).status != 0) return {};
    return readFile("F24.txt");
  }
};


TEST_F(Moduvx, DrawsTheRowOfTheHandOverText) {
  struct Case {
    std::string text;
    std::string kindLine;
    std::string row;  // the filled row as pdftotext lays it out, blanks squeezed
    std::string saldo;
  };
  const std::vector<Case> cases = {
      {"C-6032-00002011-  1234.56-     0.00", "Modello richiesto: cartaceo (C)", "6032 0000 2011 1.234,56", "1.234,56"},
      {"T-6099-01012011-     0.00-    12.30", "Modello richiesto: telematico (T)", "6099 0101 2011 12,30", "-12,30"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::filesystem::remove("F24.PDF");
    writeFile("QMENU.DAT", handOverRecord(c.text));
    EXPECT_EQ(run(), 0);
    const std::string text = pdfText();
    ASSERT_FALSE(text.empty());
    std::string squeezed;
    for (char ch : text)
      if (ch != ' ' || (!squeezed.empty() && squeezed.back() != ' ')) squeezed += ch;
    EXPECT_NE(squeezed.find("SEZIONE ERARIO"), std::string::npos);
    EXPECT_NE(squeezed.find(c.kindLine), std::string::npos);
    EXPECT_NE(squeezed.find(" " + c.row + "\n"), std::string::npos) << squeezed;
    EXPECT_NE(squeezed.find("SALDO (A-B) " + c.saldo), std::string::npos) << squeezed;
  }
}

// The newest hand-over record is the one just written: the host folder's before the current one's.
TEST_F(Moduvx, ReadsTheNewestHandOverRecord) {
  writeFile("QMENU.DAT", handOverRecord("C-6001-00002011-     1.00-     0.00"));
  std::filesystem::last_write_time("QMENU.DAT", std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
  writeFile("ALB/QMENU.DAT", handOverRecord("C-6033-00002011-     7.00-     0.00"));
  EXPECT_EQ(run(), 0);
  EXPECT_NE(pdfText().find("6033"), std::string::npos);
}

TEST_F(Moduvx, MalformedRowsLeaveNoFile) {
  const std::vector<std::string> rows = {
      "",
      "X-6032-00002011-  1234.56-     0.00",  // kind
      "C-6032-0000201-   1234.56-     0.00",  // period one short
      "C-60 2-00002011-  1234.56-     0.00",  // code
      "C-6032-00002011-  1234,56-     0.00",  // decimal comma
      "C-6032-00002011- -1234.56-     0.00",  // negative
      "C-6032-00002011-%1234567.00-   0.00",  // overflowed mask
      "C 6032 00002011   1234.56      0.00",  // separators
  };
  for (const std::string& row : rows) {
    SCOPED_TRACE(row);
    writeFile("QMENU.DAT", handOverRecord(row));
    EXPECT_EQ(run(), 1);
    EXPECT_FALSE(std::filesystem::exists("F24.PDF"));
  }
  std::filesystem::remove("QMENU.DAT");
  EXPECT_EQ(run(), 1);
  EXPECT_FALSE(std::filesystem::exists("F24.PDF"));
}

TEST(F24Form, AmountsInItalianNotation) {
  struct Case {
    long long cents;
    std::string shown;
  };
  const std::vector<Case> cases = {{0, "0,00"}, {5, "0,05"}, {123456, "1.234,56"}, {100000000, "1.000.000,00"},
                                   {-1230, "-12,30"}};
  for (const Case& c : cases) EXPECT_EQ(formAmount(c.cents), c.shown);
}

}  // namespace
}  // namespace vellano::outside
