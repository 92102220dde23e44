// Pages on a form background, joins, the accumulated document and the FDF file: the exact
// command lines logged headless, and the PDFs the converter and the toolkit really make,
// checked with qpdf, pdftotext and pdfinfo.
#include "printout/pdf_forms.h"

#include <gtest/gtest.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/Pl_String.hh>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/commands.h"
#include "outside/pcl_reader.h"
#include "platform/env_guard.h"
#include "printout/communication_form.h"
#include "support/run_program.h"
#include "support/scripted_session.h"
#include "support/work_folder.h"

namespace vellano::printout {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kComspec = "C:\\WINDOWS\\SYSTEM32\\CMD.EXE";
const std::string kForm = "PDF\\COMDIVA.PDF";

// What a program prints on its standard output, and its exit status.
std::string outputOf(const std::vector<std::string>& argv) { return vellano::testing::runProgram(argv).output; }
int statusOf(const std::vector<std::string>& argv) { return vellano::testing::runProgram(argv).status; }

std::string pageText(const std::string& pdf) { return outputOf({"pdftotext", "-layout", pdf, "-"}); }

int pageCount(const std::string& pdf) {
  std::istringstream info(outputOf({"pdfinfo", pdf}));
  for (std::string line; std::getline(info, line);) {
    if (line.rfind("Pages:", 0) == 0) return std::stoi(line.substr(6));
  }
  return -1;
}

// The content of page 1 and of the first form XObject it draws: what lies under the rest.
struct PageLayers {
  std::string page;
  std::string under;
};
PageLayers layersOf(const std::string& pdf) {
  QPDF doc;
  doc.processFile(pdf.c_str());
  QPDFPageObjectHelper page = QPDFPageDocumentHelper(doc).getAllPages().at(0);
  PageLayers layers;
  Pl_String collect("page", nullptr, layers.page);
  page.pipeContents(&collect);
  QPDFObjectHandle xobjects = page.getAttribute("/Resources", false).getKey("/XObject");
  if (xobjects.isDictionary()) {
    for (const std::string& key : xobjects.getKeys()) {
      const auto data = xobjects.getKey(key).getStreamData();
      layers.under.assign(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
      break;
    }
  }
  return layers;
}

class PdfFormsTest : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    env_.set("VELLANO_COMMANDS", (fs::current_path() / "commands.txt").string());
    env_.set("COMSPEC", std::string(kComspec));
    ASSERT_TRUE(installCommunicationForm());
  }

  // A one-page PDF showing `text`, made by the converter from a PCL file.
  void makePdf(const std::string& name, const std::string& text) {
    writeFile("PAGE.PCL", "\x1B" "E" + text + "\r\n\x0C");
    platform::runCommand("PCL2PDF32.EXE PAGE.PCL " + name + " -S");
    fs::remove("PAGE.PCL");
    ASSERT_TRUE(fs::exists(name)) << name;
    fs::remove("commands.txt");
  }

  std::vector<std::string> commands() {
    std::vector<std::string> lines;
    std::istringstream in(readFile("commands.txt"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    fs::remove("commands.txt");
    return lines;
  }

  platform::testing::EnvGuard env_;
  vellano::testing::ScriptedSession run{""};
  PdfForms forms;
};

std::string comspecLine(std::string_view rest) { return std::string(kComspec) + " /C " + std::string(rest); }

// The print file a report leaves: the PCL set-up and two values in their boxes.
std::string printedForm() {
  return formSetUp() + formValue(FormField::FiscalCode, "RSSMRA70A01H501U") +
         formValue(FormField::ActiveTotal, "   12,345.00") + "\r\n\x0C";
}

struct OverlayCase {
  std::string name;
  int overlayMode;
  std::string pdftk;
  bool formUnder;  // the form is the layer drawn first
};

TEST_F(PdfFormsTest, PageLaidOnTheFormInBothOverlayModes) {
  const std::vector<OverlayCase> cases = {
      {"form under the text", 0, "CMD /C PDFTK.EXE LASER.PDF BACKGROUND PDF\\COMDIVA.PDF OUTPUT LAS1.PDF", true},
      {"form over the text", kFormOverText,
       "CMD /C PDFTK.EXE PDF\\COMDIVA.PDF BACKGROUND LASER.PDF OUTPUT LAS1.PDF", false},
  };
  for (const OverlayCase& c : cases) {
    SCOPED_TRACE(c.name);
    writeFile("LASER", printedForm());
    forms.PTKST(run.session, FormPage{kForm, "1", 1, c.overlayMode});

    EXPECT_EQ(commands(), (std::vector<std::string>{comspecLine("STAP.BAT"), "CMD /C DEL LAS1.PDF", c.pdftk}));
    EXPECT_EQ(readFile("STAP.BAT"), "@ECHO OFF\r\nPCL2PDF32.EXE LASER LASER.PDF -S\r\n");
    ASSERT_TRUE(fs::exists("LAS1.PDF"));
    EXPECT_EQ(statusOf({"qpdf", "--check", "LAS1.PDF"}), 0);
    EXPECT_EQ(pageCount("LAS1.PDF"), 1);
    const std::string text = pageText("LAS1.PDF");
    EXPECT_NE(text.find("RSSMRA70A01H501U"), std::string::npos) << text;
    EXPECT_NE(text.find("12,345.00"), std::string::npos) << text;
    EXPECT_NE(text.find("COMUNICAZIONE ANNUALE DATI IVA"), std::string::npos) << text;

    // The lower layer is a form XObject drawn before anything else on the page.
    const PageLayers layers = layersOf("LAS1.PDF");
    EXPECT_LT(layers.page.find(" Do"), layers.page.find("Tj"));
    const std::string& form = c.formUnder ? layers.under : layers.page;
    const std::string& printed = c.formUnder ? layers.page : layers.under;
    EXPECT_NE(form.find("(COMUNICAZIONE ANNUALE DATI IVA) Tj"), std::string::npos);
    EXPECT_NE(form.find(" re S"), std::string::npos);
    EXPECT_NE(printed.find("(RSSMRA70A01H501U) Tj"), std::string::npos);
    EXPECT_EQ(printed.find(" re "), std::string::npos);
    EXPECT_EQ(forms.statusText(), "Pagina  1");
  }
}

TEST_F(PdfFormsTest, StatusWindowOnTopOnce) {
  writeFile("LASER", printedForm());
  forms.PTKST(run.session, FormPage{kForm, "1", 1, 0});
  const platform::ScreenBuffer& screen = run.screen();
  EXPECT_EQ(vellano::testing::cellText(screen, 2, 2, 48), "Pagina  1" + std::string(39, ' '));
  EXPECT_EQ(screen.at(2, 2).attr, kPdfStatusAttr);
  EXPECT_EQ(screen.at(1, 1).attr, kPdfStatusAttr);
  EXPECT_NE(screen.at(1, 1).ch, ' ');  // the frame's corner
  EXPECT_EQ(screen.at(1, 51).attr, 0x07);

  forms.PTKST(run.session, FormPage{kForm, "2", 12, 0});
  EXPECT_EQ(vellano::testing::cellText(screen, 2, 2, 48), "Pagina  12" + std::string(38, ' '));
  EXPECT_TRUE(fs::exists("LAS2.PDF"));
}

TEST_F(PdfFormsTest, JoinsPageFilesInOrder) {
  makePdf("LAS1.PDF", "PAGINA UNO");
  makePdf("LAS2.PDF", "PAGINA DUE");
  makePdf("LAS3.PDF", "PAGINA TRE");
  forms.PTKUN(run.session, 3, 1);
  EXPECT_EQ(commands(), (std::vector<std::string>{"CMD /C DEL LASER.PDF",
                                                  "CMD /C PDFTK.EXE LAS1.PDF LAS2.PDF LAS3.PDF CAT OUTPUT LASER.PDF",
                                                  "CMD /C COPY LASER.PDF LPLUS1.PDF"}));
  EXPECT_EQ(statusOf({"qpdf", "--check", "LASER.PDF"}), 0);
  EXPECT_EQ(pageCount("LASER.PDF"), 3);
  const std::string text = pageText("LASER.PDF");
  const auto one = text.find("PAGINA UNO"), two = text.find("PAGINA DUE"), three = text.find("PAGINA TRE");
  ASSERT_NE(three, std::string::npos) << text;
  EXPECT_LT(one, two);
  EXPECT_LT(two, three);
  EXPECT_EQ(readFile("LPLUS1.PDF"), readFile("LASER.PDF"));
  EXPECT_EQ(forms.statusText(), "");
}

TEST_F(PdfFormsTest, WildcardJoinTakesTheFilesInNameOrder) {
  makePdf("LAS1.PDF", "PAGINA UNO");
  makePdf("LAS10.PDF", "PAGINA DIECI");
  makePdf("LAS2.PDF", "PAGINA DUE");
  makePdf("ALTRO.PDF", "NON ENTRA");
  forms.PTKUN_MU(run.session, " LAS ", 0);
  EXPECT_EQ(commands(),
            (std::vector<std::string>{"CMD /C DEL LASER.PDF", "CMD /C PDFTK.EXE LAS*.PDF CAT OUTPUT LASER.PDF"}));
  EXPECT_EQ(pageCount("LASER.PDF"), 3);
  const std::string text = pageText("LASER.PDF");
  EXPECT_LT(text.find("PAGINA UNO"), text.find("PAGINA DIECI"));
  EXPECT_LT(text.find("PAGINA DIECI"), text.find("PAGINA DUE"));
  EXPECT_EQ(text.find("NON ENTRA"), std::string::npos);
  EXPECT_FALSE(fs::exists("LPLUS1.PDF"));
}

TEST_F(PdfFormsTest, JoinThatCannotBeDoneMakesNoFileAndSaysSo) {
  struct Case {
    std::string name;
    int pages;
    std::string secondPage;  // LAS2.PDF: "" missing, else these bytes
    std::string pdftk;
    std::string status;
  };
  const std::vector<Case> cases = {
      {"no pages", 0, "", "CMD /C PDFTK.EXE CAT OUTPUT LASER.PDF", "Nessuna pagina da unire: LASER.PDF non creato"},
      {"a page file missing", 3, "", "CMD /C PDFTK.EXE LAS1.PDF LAS2.PDF LAS3.PDF CAT OUTPUT LASER.PDF",
       "Manca LAS2.PDF: LASER.PDF non creato"},
      {"a page file damaged", 3, "%PDF-1.4\n%%EOF\n",
       "CMD /C PDFTK.EXE LAS1.PDF LAS2.PDF LAS3.PDF CAT OUTPUT LASER.PDF", "PDF danneggiato: LASER.PDF non creato"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    makePdf("LAS1.PDF", "PAGINA UNO");
    makePdf("LAS3.PDF", "PAGINA TRE");
    fs::remove("LAS2.PDF");
    if (!c.secondPage.empty()) writeFile("LAS2.PDF", c.secondPage);
    makePdf("LASER.PDF", "VECCHIO");
    makePdf("LPLUS1.PDF", "ACCUMULATO");
    const std::string kept = readFile("LPLUS1.PDF");
    PdfForms fresh;
    fresh.PTKUN(run.session, c.pages, 0);
    EXPECT_EQ(commands(), (std::vector<std::string>{"CMD /C DEL LASER.PDF", c.pdftk}));
    EXPECT_FALSE(fs::exists("LASER.PDF"));
    EXPECT_EQ(fresh.statusText(), c.status);
    EXPECT_EQ(readFile("LPLUS1.PDF"), kept);
  }
}

TEST_F(PdfFormsTest, AccumulatesDocumentsAndRestartsOnCountOne) {
  const std::vector<std::string> adding = {"CMD /C PDFTK.EXE LPLUS1.PDF LASER.PDF CAT OUTPUT LPLUS.PDF",
                                           "CMD /C COPY LPLUS.PDF LPLUS1.PDF", "CMD /C DEL LPLUS.PDF"};
  makePdf("LASER.PDF", "DOCUMENTO A");
  forms.PTKCOM(run.session, 1);
  EXPECT_EQ(commands(), std::vector<std::string>{"CMD /C COPY LASER.PDF LPLUS1.PDF"});
  EXPECT_EQ(pageCount("LPLUS1.PDF"), 1);

  makePdf("LASER.PDF", "DOCUMENTO B");
  forms.PTKCOM(run.session, 2);
  EXPECT_EQ(commands(), adding);
  makePdf("LASER.PDF", "DOCUMENTO C");
  forms.PTKCOM(run.session, 3);
  EXPECT_EQ(commands(), adding);
  EXPECT_EQ(pageCount("LPLUS1.PDF"), 3);
  EXPECT_FALSE(fs::exists("LPLUS.PDF"));
  std::string text = pageText("LPLUS1.PDF");
  EXPECT_LT(text.find("DOCUMENTO A"), text.find("DOCUMENTO B"));
  EXPECT_LT(text.find("DOCUMENTO B"), text.find("DOCUMENTO C"));

  makePdf("LASER.PDF", "DOCUMENTO D");
  forms.PTKCOM(run.session, 1);
  EXPECT_EQ(commands(), std::vector<std::string>{"CMD /C COPY LASER.PDF LPLUS1.PDF"});
  EXPECT_EQ(pageCount("LPLUS1.PDF"), 1);
  text = pageText("LPLUS1.PDF");
  EXPECT_NE(text.find("DOCUMENTO D"), std::string::npos);
  EXPECT_EQ(text.find("DOCUMENTO A"), std::string::npos);

  forms.PTKCOM(run.session, 0);
  forms.PTKCOM(run.session, -1);
  EXPECT_TRUE(commands().empty());
  EXPECT_EQ(forms.statusText(), "");
}

// What goes wrong in the files before PTKST: no page file is left, not even the old one,
// and the status line says why.
enum class Damage { NoForm, DamagedForm, NoPrint };
struct BadInputCase {
  std::string name;
  Damage damage;
  std::string status;
};

TEST_F(PdfFormsTest, BadBackgroundOrPrintLeavesNoPageFile) {
  const std::vector<BadInputCase> cases = {
      {"background missing", Damage::NoForm, "Manca PDF\\COMDIVA.PDF: LAS1.PDF non creato"},
      {"background damaged", Damage::DamagedForm, "PDF danneggiato: LAS1.PDF non creato"},
      {"print file missing", Damage::NoPrint, "Conversione non riuscita: LAS1.PDF non creato"},
  };
  for (const BadInputCase& c : cases) {
    SCOPED_TRACE(c.name);
    installCommunicationForm();
    makePdf("LAS1.PDF", "PAGINA VECCHIA");
    // A conversion of an earlier print must not stand in for this one.
    makePdf("LASER.PDF", "STAMPA VECCHIA");
    writeFile("LASER", printedForm());
    if (c.damage == Damage::NoForm) fs::remove("PDF/COMDIVA.PDF");
    if (c.damage == Damage::DamagedForm) writeFile("PDF/COMDIVA.PDF", "%PDF-1.4\nnon e un PDF\n");
    if (c.damage == Damage::NoPrint) fs::remove("LASER");
    PdfForms fresh;
    fresh.PTKST(run.session, FormPage{kForm, "1", 1, 0});
    EXPECT_FALSE(fs::exists("LAS1.PDF"));
    EXPECT_EQ(fresh.statusText(), c.status);
    EXPECT_EQ(vellano::testing::cellText(run.screen(), 2, 2, static_cast<int>(c.status.size())), c.status);
    EXPECT_EQ(commands().size(), 3u);
    fs::remove("PDF/COMDIVA.PDF");
  }
}

TEST_F(PdfFormsTest, FailedAccumulationKeepsTheDocument) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"LASER.PDF missing", ""},
      {"LASER.PDF damaged", "%PDF-1.4\n1 0 obj\n<< /Type /Catalog"},
  };
  for (const auto& [name, laser] : cases) {
    SCOPED_TRACE(name);
    makePdf("LPLUS1.PDF", "ACCUMULATO");
    const std::string kept = readFile("LPLUS1.PDF");
    // Left by an earlier run that stopped half-way: it must not replace the document.
    makePdf("LPLUS.PDF", "RESIDUO");
    fs::remove("LASER.PDF");
    if (!laser.empty()) writeFile("LASER.PDF", laser);
    PdfForms fresh;
    fresh.PTKCOM(run.session, 2);
    EXPECT_EQ(commands(), (std::vector<std::string>{"CMD /C PDFTK.EXE LPLUS1.PDF LASER.PDF CAT OUTPUT LPLUS.PDF",
                                                    "CMD /C DEL LPLUS.PDF"}));
    EXPECT_EQ(readFile("LPLUS1.PDF"), kept);
    EXPECT_FALSE(fs::exists("LPLUS.PDF"));
    EXPECT_EQ(fresh.statusText(), "Documento non aggiunto: LPLUS1.PDF resta com'era");

    if (laser.empty()) {
      fresh.PTKCOM(run.session, 1);
      EXPECT_EQ(readFile("LPLUS1.PDF"), kept);
      EXPECT_EQ(fresh.statusText(), "Manca LASER.PDF: LPLUS1.PDF non ricominciato");
    }
  }
}

const std::string kFdfTrailer =
    "  ]\r\n"
    "  /F (COMDIVA.PDF)/ID [ <1f0b6b55f345db39e8246247138fe562><5001c4f9811ca5aab02778394d359d72> ] >>\r\n"
    ">>\r\n"
    "endobj\r\n"
    "trailer\r\n"
    "<</Root 1 0 R>>\r\n"
    "%%EOF\r\n";

TEST_F(PdfFormsTest, FdfFileIsByteExact) {
  writeFile("LASER.FDF", std::string(1000, 'x'));  // an older, longer file
  PrintChannel channel;
  forms.FDF_INI(run.session, channel);
  channel.printLine(fdfField("Nome", "ROSSI (MARIO)"));
  const std::string longValue(250, '9');  // no line break inside a field, as a print would make
  channel.printLine(fdfField("Note", longValue));
  forms.FDF_FIN(run.session, channel, "COMDIVA.PDF", kOpenFdf);

  const std::string header =
      std::string("%FDF-1.2%") + "\xE2\xE3\xCF\xD3" + "\r\n1 0 obj\r\n<<\r\n  /FDF\r\n  << /Fields [\r\n";
  EXPECT_EQ(readFile("LASER.FDF"), header + "<< /T (Nome) /V (ROSSI \\(MARIO\\)) >>\r\n" + "<< /T (Note) /V (" +
                                       longValue + ") >>\r\n" + kFdfTrailer);
  EXPECT_EQ(commands(), (std::vector<std::string>{"CMD /C DEL LASER.FDF", "CMD /C START LASER.FDF"}));
  EXPECT_FALSE(channel.isOpen());
}

TEST_F(PdfFormsTest, FdfPrintedByTheProgramOfTheReaderSettings) {
  struct Case {
    std::string name;
    std::string record;  // LETTPDF.DAT, record 1
    std::vector<std::string> commands;
    std::string status;
  };
  const std::string program = "C:\\PROGRAMMI\\LETTORE\\LETTORE.EXE";
  const std::vector<Case> cases = {
      {"path with blanks around", "  " + program + std::string(128 - 2 - program.size(), ' '),
       {"CMD /C DEL LASER.FDF", program + " /p /h LASER.FDF"}, ""},
      {"path filling the record", program + std::string(128 - program.size(), '\0'),
       {"CMD /C DEL LASER.FDF", program + " /p /h LASER.FDF"}, ""},
      {"no settings file", "", {"CMD /C DEL LASER.FDF"}, "Programma PDF non indicato in LETTPDF.DAT"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove("LETTPDF.DAT");
    if (!c.record.empty()) writeFile("LETTPDF.DAT", c.record);
    PdfForms fresh;
    PrintChannel channel;
    fresh.FDF_INI(run.session, channel);
    fresh.FDF_FIN(run.session, channel, "COMDIVA.PDF", kPrintFdf);
    EXPECT_EQ(commands(), c.commands);
    EXPECT_EQ(fresh.statusText(), c.status);
    EXPECT_EQ(readFile("LASER.FDF").substr(52), kFdfTrailer);
  }
}

TEST(FdfField, EscapesAndEncodesTheValue) {
  struct Case {
    std::string name;
    std::string value;
    std::string line;
  };
  const std::vector<Case> cases = {
      {"Ditta", "FERRAMENTA BORGHI S.N.C.", "<< /T (Ditta) /V (FERRAMENTA BORGHI S.N.C.) >>"},
      {"A(1)", "C:\\DATI (vecchi)", "<< /T (A\\(1\\)) /V (C:\\\\DATI \\(vecchi\\)) >>"},
      {"Citta", "FORL\x8D", "<< /T (Citta) /V (FORL\xEC) >>"},              // code page 437 i grave
      {"Riga", "A\r\nB", "<< /T (Riga) /V (A\\015\\012B) >>"},              // no line end in a field
      {"Cornice", "\xC4\xB3", "<< /T (Cornice) /V (\?\?) >>"},              // line drawing has no letter
      {"Vuoto", "", "<< /T (Vuoto) /V () >>"},
  };
  for (const Case& c : cases) EXPECT_EQ(fdfField(c.name, c.value), c.line) << c.name;
}

TEST_F(PdfFormsTest, CommunicationFormInstalledOnceAndDrawnWhole) {
  const std::string shipped = readFile(fs::path(VELLANO_BIN_DIR) / "COMDIVA.PDF");
  ASSERT_FALSE(shipped.empty());
  EXPECT_EQ(readFile("PDF/COMDIVA.PDF"), shipped);
  writeFile("PDF/COMDIVA.PDF", "the office's own form");
  EXPECT_TRUE(installCommunicationForm());
  EXPECT_EQ(readFile("PDF/COMDIVA.PDF"), "the office's own form");

  const std::string form = (fs::path(VELLANO_BIN_DIR) / "COMDIVA.PDF").string();
  EXPECT_EQ(statusOf({"qpdf", "--check", form}), 0);
  EXPECT_NE(outputOf({"pdfinfo", form}).find("595.28 x 841.89 pts (A4)"), std::string::npos);
  EXPECT_EQ(pageCount(form), 1);
  const std::string text = outputOf({"pdftotext", "-raw", form, "-"});
  for (const FormBox& box : kCommunicationBoxes) EXPECT_NE(text.find(box.caption), std::string::npos) << box.caption;
  for (const FormText& t : kCommunicationTexts) EXPECT_NE(text.find(t.text), std::string::npos) << t.text;
}

// A value placed by the form table is read by the converter at the place the form draws
// its box for: first character at the box's column and line, last one inside its width.
TEST(CommunicationForm, ValuesLandInTheirBoxes) {
  const std::string setUp = formSetUp();
  for (const FormBox& box : kCommunicationBoxes) {
    SCOPED_TRACE(std::string(box.caption));
    const std::string tooLong(static_cast<std::size_t>(box.width) + 3, '8');
    const auto pages = outside::readPcl(setUp + formValue(box.field, tooLong) + "\r\n\x0C");
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].runs.size(), 1u);
    const outside::TextRun& run = pages[0].runs[0];
    EXPECT_EQ(run.text, std::string(static_cast<std::size_t>(box.width), '8'));
    EXPECT_NEAR(run.x, kFormLeftOffset + box.column * kFormColumnWidth, 0.01);
    EXPECT_NEAR(run.baseline, (box.line + 0.75) * kFormLineHeight, 0.01);
    EXPECT_LE(run.x + box.width * run.advance, kFormPageWidth);
  }
}

}  // namespace
}  // namespace vellano::printout
