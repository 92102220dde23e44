// The PCL-to-PDF converter: where the interpreter places text, and the program run on real
// files with the PDF read back by pdftotext.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/work_folder.h"
#include "outside/pcl_reader.h"
#include "outside/pdf_content.h"
#include "outside/pdf_writer.h"
#include "support/headless_run.h"

namespace vellano::outside {
namespace {

const std::string kEsc = "\x1B";

// The set-up the print module sends, for pitch `pitch` and vertical motion `motion`.
std::string setUp(const std::string& orientation, const std::string& motion, const std::string& pitch) {
  return kEsc + "E" + kEsc + "&l" + orientation + "O" + kEsc + "&l26A" + kEsc + "&a0P" + kEsc + "&l0E" +
         kEsc + "&a0L" + kEsc + "&k12H" + kEsc + "&" + motion + "C" + kEsc + "*t300R" + kEsc + "&l0L" +
         "\r\n" + kEsc + "(s3T" + kEsc + "(s0S" + kEsc + "(s0P" + kEsc + "(s" + pitch + "H\r\n";
}
const std::string kClosingReset = kEsc + "E" + kEsc + "&l0O" + kEsc + "&l26A" + kEsc + "(s10H";

// Logical page offsets of A4 at 300 dots per inch.
constexpr double kPortraitLeft = 71 * 72.0 / 300;
constexpr double kLandscapeLeft = 59 * 72.0 / 300;

TEST(PclReader, PlacesTextAsAPrinterWould) {
  struct Case {
    std::string name;
    std::string pcl;
    std::size_t pages;
    bool landscape;
    std::vector<TextRun> runs;  // of the first page
  };
  // First baseline: 3/4 of the default 12-point motion under the top margin, then the two
  // set-up lines move down one line each.
  const double first6 = 9 + 2 * 6.0;
  const double first12 = 9 + 2 * 12.0;
  const std::vector<Case> cases = {
      {"pitch 15, 12 lines per inch", setUp("0", "l4", "15") + "AB  C\r\nD\r\n\x0C" + kClosingReset, 1, false,
       {{kPortraitLeft, first6, 15, 4.8, "AB  C"}, {kPortraitLeft, first6 + 6, 15, 4.8, "D"}}},
      {"pitch 10, 6 lines per inch, leading blanks", setUp("0", "l8", "10") + "   X\r\n\r\nY\r\n", 1, false,
       {{kPortraitLeft + 3 * 7.2, first12, 10, 7.2, "X"}, {kPortraitLeft, first12 + 24, 10, 7.2, "Y"}}},
      {"landscape", setUp("1", "l8", "12") + "Z\r\n\x0C", 1, true, {{kLandscapeLeft, first12, 12, 6, "Z"}}},
      {"condensed-print bytes take no room", setUp("0", "l8", "10") + "\x0F" "A\x12" "B\r\n", 1, false,
       {{kPortraitLeft, first12, 10, 7.2, "AB"}}},
      {"unknown sequences and raster data skipped",
       setUp("0", "l8", "10") + kEsc + "&f1S" + kEsc + "*b3WXYZ" + kEsc + "Y" + "Q\r\n", 1, false,
       {{kPortraitLeft, first12, 10, 7.2, "Q"}}},
      {"carriage return overprints", setUp("0", "l8", "10") + "AB\rC\r\n", 1, false,
       {{kPortraitLeft, first12, 10, 7.2, "AB"}, {kPortraitLeft, first12, 10, 7.2, "C"}}},
      {"pitch change in the line", setUp("0", "l8", "10") + "A" + kEsc + "(s20H" + "B\r\n", 1, false,
       {{kPortraitLeft, first12, 10, 7.2, "A"}, {kPortraitLeft + 7.2, first12, 20, 3.6, "B"}}},
      {"every form feed is a page, even a blank one", setUp("0", "l8", "10") + "A\r\n\x0C\x0C" "B\r\n\x0C" +
                                                        kClosingReset, 3, false,
       {{kPortraitLeft, first12, 10, 7.2, "A"}}},
      {"text after the last form feed is a page", "A\x0C" "B", 2, false, {{kPortraitLeft, 45, 10, 7.2, "A"}}},
      {"nothing at all gives one blank page", kEsc + "E", 1, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<PclPage> pages = readPcl(c.pcl);
    ASSERT_EQ(pages.size(), c.pages);
    EXPECT_EQ(pages[0].landscape, c.landscape);
    ASSERT_EQ(pages[0].runs.size(), c.runs.size());
    for (std::size_t i = 0; i < c.runs.size(); ++i) {
      const TextRun& got = pages[0].runs[i];
      EXPECT_EQ(got.text, c.runs[i].text);
      EXPECT_NEAR(got.x, c.runs[i].x, 0.01) << got.text;
      EXPECT_NEAR(got.baseline, c.runs[i].baseline, 0.01) << got.text;
      EXPECT_NEAR(got.pitch, c.runs[i].pitch, 0.001) << got.text;
      EXPECT_NEAR(got.advance, c.runs[i].advance, 0.001) << got.text;
    }
  }
}

TEST(PclReader, LinesBeyondThePageBottomGoOnTheNextPage) {
  std::string pcl = setUp("0", "l8", "10");
  for (int i = 0; i < 70; ++i) pcl += "L\r\n";  // 12 points a line: about 68 fit on A4
  const auto pages = readPcl(pcl);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].runs.size() + pages[1].runs.size(), 70u);
  for (const auto& run : pages[0].runs) EXPECT_LE(run.baseline, kA4Height);
}

TEST(PdfWriter, ContentSetsCourierAtThePitchAndPositionsFromTheBottom) {
  PclPage page;
  page.runs.push_back(TextRun{17.04, 21, 15, 4.8, "A(B)\\"});
  page.runs.push_back(TextRun{17.04, 27, 15, 4.8, std::string("\x82\xC4\xBA\xB3", 4)});
  EXPECT_EQ(pageContent(page),
            "BT\n/F1 8.00 Tf\n"
            "1 0 0 1 17.04 820.89 Tm (A\\(B\\)\\\\) Tj\n"
            "1 0 0 1 17.04 814.89 Tm (\\351-||) Tj\n"
            "ET\n");
}

// Runs a program with an argument list; stdout into `out`. Returns the exit status.
int runProgram(const std::vector<std::string>& argv, std::string* out = nullptr) {
  int pipeFd[2];
  if (pipe(pipeFd) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(pipeFd[1], STDOUT_FILENO);
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, STDERR_FILENO);
    close(pipeFd[0]);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  close(pipeFd[1]);
  std::string text;
  char buffer[65536];
  for (ssize_t n; (n = read(pipeFd[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
  close(pipeFd[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (out != nullptr) *out = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const std::string kConverter = std::string(VELLANO_BIN_DIR) + "/pcl2pdf";

// Blanks collapsed: text extraction rebuilds the spacing from positions only.
std::string words(const std::string& line) {
  std::istringstream in(line);
  std::string out;
  for (std::string w; in >> w;) out += (out.empty() ? "" : " ") + w;
  return out;
}

class Pcl2PdfRun : public vellano::testing::WorkFolder {};

TEST_F(Pcl2PdfRun, HundredPagesOfAHundredLinesAtPitch15ComeBackInOrder) {
  std::string pcl = setUp("0", "l4", "15");
  std::vector<std::vector<std::string>> expected;
  for (int p = 1; p <= 100; ++p) {
    expected.emplace_back();
    for (int l = 1; l <= 100; ++l) {
      char line[200];
      std::snprintf(line, sizeof line, "Pag. %3d riga %3d  FATTURA N. %05d del 12/03/11  Imponibile %12s  IVA %10s",
                    p, l, p * 1000 + l, "1.234.567,89", "271.604,94");
      pcl += std::string(line) + "\r\n";
      expected.back().push_back(words(line));
    }
    pcl += "\x0C";
  }
  pcl += kClosingReset;
  writeFile("LASER", pcl);
  ASSERT_EQ(runProgram({kConverter, "LASER", "LASER.PDF", "-S"}), 0);

  std::string text;
  ASSERT_EQ(runProgram({"pdftotext", "-layout", "LASER.PDF", "-"}, &text), 0) << "pdftotext missing?";
  // pdftotext ends every page with a form feed.
  std::vector<std::string> pages;
  std::size_t start = 0;
  for (std::size_t ff; (ff = text.find('\x0C', start)) != std::string::npos; start = ff + 1) {
    pages.push_back(text.substr(start, ff - start));
  }
  ASSERT_EQ(pages.size(), 100u);
  for (std::size_t p = 0; p < pages.size(); ++p) {
    std::vector<std::string> lines;
    std::istringstream in(pages[p]);
    for (std::string line; std::getline(in, line);) {
      if (!words(line).empty()) lines.push_back(words(line));
    }
    ASSERT_EQ(lines, expected[p]) << "page " << p + 1;
  }
}

TEST_F(Pcl2PdfRun, FilesNamedWithTheirFolderAndDosSwitch) {
  const auto here = std::filesystem::current_path();
  writeFile("LASER", "ABC\r\n");
  ASSERT_EQ(runProgram({kConverter, (here / "LASER").string(), (here / "OUT.PDF").string(), "/S"}), 0);
  EXPECT_EQ(readFile("OUT.PDF").substr(0, 5), "%PDF-");
}

// Runs a program with its stderr into `errors`; `peakKb` gets its largest resident size.
// Returns the exit status.
int runMeasured(const std::vector<std::string>& argv, std::string& errors, long& peakKb) {
  int pipeFd[2];
  if (pipe(pipeFd) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(pipeFd[1], STDERR_FILENO);
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, STDOUT_FILENO);
    close(pipeFd[0]);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  close(pipeFd[1]);
  errors.clear();
  char buffer[4096];
  for (ssize_t n; (n = read(pipeFd[0], buffer, sizeof buffer)) > 0;) errors.append(buffer, static_cast<std::size_t>(n));
  close(pipeFd[0]);
  int status = 0;
  struct rusage usage {};
  wait4(pid, &status, 0, &usage);
  peakKb = usage.ru_maxrss;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(Pcl2PdfRun, MissingInputIsRefused) {
  EXPECT_NE(runProgram({kConverter, "NOFILE", "OUT.PDF", "-S"}), 0);
  EXPECT_FALSE(std::filesystem::exists("OUT.PDF"));
  EXPECT_NE(runProgram({kConverter, "ONLYONE"}), 0);
}

// Wrong usage is status 2 with the usage line; a folder as input is refused with a message.
TEST_F(Pcl2PdfRun, UsageAndFolderInput) {
  std::string errors;
  long peak = 0;
  for (const std::vector<std::string>& argv :
       {std::vector<std::string>{kConverter}, {kConverter, "-S"}, {kConverter, "LASER"}, {kConverter, "A", "B", "C"}}) {
    EXPECT_EQ(runMeasured(argv, errors, peak), 2) << argv.size();
    EXPECT_EQ(errors, "uso: pcl2pdf <file PCL> <file PDF> [-S]\n");
  }
  std::filesystem::create_directory("CARTELLA");
  EXPECT_EQ(runMeasured({kConverter, "CARTELLA", "OUT.PDF", "-S"}, errors, peak), 1);
  EXPECT_EQ(errors, "pcl2pdf: è una cartella, non un file di stampa: CARTELLA\n");
  EXPECT_FALSE(std::filesystem::exists("OUT.PDF"));
  // An output that cannot be written is a message too, not an abort.
  writeFile("LASER", "ABC\r\n");
  EXPECT_EQ(runMeasured({kConverter, "LASER", "CARTELLA", "-S"}, errors, peak), 1);
  EXPECT_EQ(errors, "pcl2pdf: impossibile scrivere CARTELLA\n");
}

// Pages go out as they are read: 100,000 form feeds are 100,000 pages in a few megabytes.
TEST_F(Pcl2PdfRun, HundredThousandFormFeedsInLittleMemory) {
  writeFile("LASER", std::string(100000, '\x0C'));
  std::string errors;
  long peakKb = 0;
  ASSERT_EQ(runMeasured({kConverter, "LASER", "LASER.PDF", "-S"}, errors, peakKb), 0) << errors;
  EXPECT_LT(peakKb, 100 * 1024);
  std::string info;
  ASSERT_EQ(runProgram({"pdfinfo", "LASER.PDF"}, &info), 0);
  EXPECT_NE(info.find("Pages:           100000"), std::string::npos);
}

TEST_F(Pcl2PdfRun, PageSizeFollowsOrientation) {
  writeFile("LASER", setUp("1", "l8", "10") + "LANDSCAPE\r\n\x0C" + setUp("0", "l8", "10") + "PORTRAIT\r\n\x0C");
  ASSERT_EQ(runProgram({kConverter, "LASER", "LASER.PDF", "-S"}), 0);
  const std::string pdf = readFile("LASER.PDF");
  EXPECT_NE(pdf.find("/MediaBox [ 0 0 841.89 595.28 ]"), std::string::npos);
  EXPECT_NE(pdf.find("/MediaBox [ 0 0 595.28 841.89 ]"), std::string::npos);
  std::string info;
  ASSERT_EQ(runProgram({"pdfinfo", "LASER.PDF"}, &info), 0);
  EXPECT_NE(info.find("Pages:           2"), std::string::npos);
  // Objects, their places and the compressed streams are all where the file says.
  std::string check;
  EXPECT_EQ(runProgram({"qpdf", "--check", "LASER.PDF"}, &check), 0) << check;
  EXPECT_NE(check.find("No syntax or stream encoding errors found"), std::string::npos) << check;
}

// The dialog program, headless on its own key script.
class OrbwRun : public vellano::testing::WorkFolder {};

TEST_F(OrbwRun, AnswersBecomeTheRecord) {
  struct Case {
    std::string before;
    std::string keys;
    std::string after;
  };
  const std::vector<Case> cases = {
      {"1..1.1N", "<ENTER*6>", "100101S"},
      {"1..1.1N", "\"s\" <ENTER> \"s\" <ENTER> <ENTER*4>", "110101S"},
      {"1..1.1N", "<ENTER*4> \"o\" <ENTER> <ENTER>", "100110S"},
      {"1..1.1N", "<ENTER*4> \"x\" <ENTER> \"o\" <ENTER> <ENTER>", "100110S"},  // refused, asked again
      {"1..1.1N", "<ENTER> <UP> \"n\" <ENTER*6>", "000101S"},                   // back to the first
      {"1..1.1N", "<ENTER*5> \"n\" <ENTER>", "100101N"},
      {"1..1.1N", "<ENTER*2> <ESC>", "1..1.1N"},
      {"", "<ENTER*6>", "000001S"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    if (c.before.empty()) {
      std::filesystem::remove("ORBW.DAT");
    } else {
      writeFile("ORBW.DAT", c.before);
    }
    auto r = vellano::testing::runHeadless("orbw", {}, std::filesystem::current_path(), c.keys + " <SNAP>");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(readFile("ORBW.DAT"), c.after);
  }
}

}  // namespace
}  // namespace vellano::outside
