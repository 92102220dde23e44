// The toolkit started as PDFTK.EXE: the command words it takes, and what the program leaves
// behind when it succeeds or fails (never a half-written output, never a temporary file).
#include "outside/pdf_toolkit.h"

#include <gtest/gtest.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/work_folder.h"

namespace vellano::outside {
namespace {

namespace fs = std::filesystem;
using Kind = ToolkitJob::Kind;

struct ParseCase {
  std::vector<std::string> words;
  bool valid;
  Kind kind = Kind::Join;
  std::vector<std::string> inputs = {};
  std::string background = {};
  std::string output = {};
};

TEST(ToolkitArgs, CommandWordsOfThePrintModule) {
  const std::vector<ParseCase> cases = {
      {{"LASER.PDF", "BACKGROUND", "PDF/COMDIVA.PDF", "OUTPUT", "LAS1.PDF"}, true, Kind::Background,
       {"LASER.PDF"}, "PDF/COMDIVA.PDF", "LAS1.PDF"},
      {{"LAS1.PDF", "LAS2.PDF", "CAT", "OUTPUT", "LASER.PDF"}, true, Kind::Join, {"LAS1.PDF", "LAS2.PDF"}, "",
       "LASER.PDF"},
      {{"LAS*.PDF", "cat", "output", "LASER.PDF", "dont_ask"}, true, Kind::Join, {"LAS*.PDF"}, "", "LASER.PDF"},
      {{"CAT", "OUTPUT", "LASER.PDF"}, true, Kind::Join, {}, "", "LASER.PDF"},
      {{"A.PDF", "OUTPUT", "B.PDF"}, true, Kind::Join, {"A.PDF"}, "", "B.PDF"},
      {{}, false},
      {{"A.PDF", "CAT"}, false},
      {{"A.PDF", "CAT", "B.PDF"}, false},
      {{"A.PDF", "BACKGROUND"}, false},
      {{"A.PDF", "OUTPUT"}, false},
      {{"A.PDF", "BACKGROUND", "B.PDF", "CAT", "OUTPUT", "C.PDF"}, false},
      {{"A.PDF", "CAT", "OUTPUT", "B.PDF", "OUTPUT", "C.PDF"}, false},
  };
  for (const ParseCase& c : cases) {
    std::string line;
    for (const auto& w : c.words) line += w + " ";
    SCOPED_TRACE(line);
    if (!c.valid) {
      EXPECT_THROW(parseToolkitArgs(c.words), ToolkitError);
      continue;
    }
    const ToolkitJob job = parseToolkitArgs(c.words);
    EXPECT_EQ(job.kind, c.kind);
    EXPECT_EQ(job.inputs, c.inputs);
    EXPECT_EQ(job.background, c.background);
    EXPECT_EQ(job.output, c.output);
  }
}

const std::string kToolkit = std::string(VELLANO_BIN_DIR) + "/pdftk-qpdf";
const std::string kConverter = std::string(VELLANO_BIN_DIR) + "/pcl2pdf";

// The program with the words of `args` (blank-separated, as the tests write them).
int run(const std::string& program, const std::string& args) {
  std::vector<std::string> argv{program};
  std::istringstream words(args);
  for (std::string word; words >> word;) argv.push_back(word);
  return vellano::testing::runProgram(argv).status;
}

int pages(const std::string& file) {
  QPDF pdf;
  pdf.processFile(file.c_str());
  return static_cast<int>(QPDFPageDocumentHelper(pdf).getAllPages().size());
}

class ToolkitRun : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    prepare();
  }

  // Two one-page PDFs, a damaged one, an older output and a folder.
  void prepare() {
    for (const char* name : {"A", "B"}) {
      writeFile("PAGE.PCL", std::string("PAGINA ") + name + "\r\n\x0C");
      ASSERT_EQ(run(kConverter, std::string("PAGE.PCL ") + name + ".PDF"), 0);
    }
    writeFile("BAD.PDF", "%PDF-1.4\nniente\n");
    writeFile("OLD.PDF", "the previous output");
    fs::create_directories("FOLDER");
  }

  bool temporaryLeft() {
    for (const auto& entry : fs::directory_iterator(".")) {
      if (entry.path().filename().string().rfind(".pdftk-", 0) == 0) return true;
    }
    return false;
  }
};

struct RunCase {
  std::string args;
  int status;
  std::string output;
  int outputPages;  // 0: the output keeps what it held ("OLD.PDF") or does not exist
};

TEST_F(ToolkitRun, ExitStatusAndWhatIsLeft) {
  const std::vector<RunCase> cases = {
      {"A.PDF B.PDF CAT OUTPUT Z.PDF", 0, "Z.PDF", 2},
      {"a.pdf background b.pdf output Z.PDF", 0, "Z.PDF", 1},  // names found without case
      {"A.PDF B.PDF CAT OUTPUT A.PDF", 0, "A.PDF", 2},        // the output may be an input
      {"?.PDF CAT OUTPUT Z.PDF", 0, "Z.PDF", 2},
      {"MISSING.PDF CAT OUTPUT Z.PDF", 1, "Z.PDF", 0},
      {"X*.PDF CAT OUTPUT Z.PDF", 1, "Z.PDF", 0},
      {"A.PDF BAD.PDF CAT OUTPUT OLD.PDF", 1, "OLD.PDF", 0},
      {"A.PDF BACKGROUND BAD.PDF OUTPUT OLD.PDF", 1, "OLD.PDF", 0},
      {"A.PDF BACKGROUND MISSING.PDF OUTPUT OLD.PDF", 1, "OLD.PDF", 0},
      {"A.PDF B.PDF BACKGROUND A.PDF OUTPUT OLD.PDF", 1, "OLD.PDF", 0},
      {"A.PDF CAT OUTPUT FOLDER", 1, "FOLDER", 0},
      {"A.PDF CAT", 2, "", 0},
      {"", 2, "", 0},
  };
  for (const RunCase& c : cases) {
    SCOPED_TRACE(c.args);
    prepare();
    fs::remove("Z.PDF");
    EXPECT_EQ(run(kToolkit, c.args), c.status);
    if (c.outputPages > 0) {
      EXPECT_EQ(pages(c.output), c.outputPages);
    } else if (c.output == "OLD.PDF") {
      EXPECT_EQ(readFile("OLD.PDF"), "the previous output");
    } else if (!c.output.empty()) {
      EXPECT_FALSE(fs::is_regular_file(c.output));
    }
    EXPECT_FALSE(temporaryLeft());
  }
}

}  // namespace
}  // namespace vellano::outside
