// The command lines of the PDF steps, the FDF bytes, and the status line that says when a
// step left no PDF. A failed step never replaces a good file: the toolkit writes its output
// only when complete, and the accumulated document is copied over only from a finished join.
#include "printout/pdf_forms.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/builtin_commands.h"
#include "platform/commands.h"
#include "platform/cp437.h"
#include "platform/dos_path.h"
#include "platform/error.h"
#include "platform/programs.h"
#include "printout/communication_form.h"
#include "records/text.h"

namespace vellano::printout {
namespace {

namespace fs = std::filesystem;

constexpr auto kStatusWindow =
    screen::windowAt(1, 1, 3, 50).framed(1).coloured(kPdfStatusAttr, kPdfStatusAttr, kPdfStatusAttr);
constexpr int kStatusRow = 2;
constexpr int kStatusCol = 2;
constexpr int kStatusWidth = 48;
// The toolkit is built with the programs; missing, the installation is incomplete.
constexpr std::string_view kNoToolkit = "Manca pdftk-qpdf: ";

std::string comspec() {
  const char* value = std::getenv("COMSPEC");
  return value != nullptr ? value : "";
}

bool exists(std::string_view dosName) { return !platform::expandDosPattern(dosName).empty(); }

bool succeeded(const platform::CommandResult& r) { return r.started && r.exitCode == 0; }

void writeBatch() {
  const std::string path = platform::hostPath("STAP.BAT").string();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << "@ECHO OFF\r\n" << "PCL2PDF32.EXE LASER LASER.PDF -S\r\n";
  out.close();
  if (!out) throw RuntimeError(error::kPathFileAccess, "PTKST", path);
}

// A byte of a PDF text string: the code page 437 letter in PDFDocEncoding, which agrees
// with Latin-1 from 0xA0 on; anything without a place there becomes "?".
char pdfDocByte(unsigned char cp437) {
  if (cp437 < 0x80) return static_cast<char>(cp437);
  const char32_t u = platform::cp437ToUnicode(cp437);
  return u >= 0xA0 && u <= 0xFF ? static_cast<char>(u) : '?';
}

std::string pdfText(std::string_view text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '(' || c == ')' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      // A line end inside a value would end the field's line.
      char octal[8];
      std::snprintf(octal, sizeof octal, "\\%03o", c);
      out += octal;
    } else {
      out += pdfDocByte(c);
    }
  }
  return out;
}

}  // namespace

void L_95(const records::Catalogue& catalogue, PdfReaderSettings& settings) {
  records::load(catalogue.channel(records::channel::kPdfReader).buffer(), pdf_reader_layout::kTable, settings);
}

void W_95(records::Catalogue& catalogue, const PdfReaderSettings& settings) {
  records::store(catalogue.channel(records::channel::kPdfReader).buffer(), pdf_reader_layout::kTable, settings,
                 "W_95");
}

std::string fdfField(std::string_view name, std::string_view value) {
  return "<< /T (" + pdfText(name) + ") /V (" + pdfText(value) + ") >>";
}

std::string fdfHeader() {
  return "%FDF-1.2%\xE2\xE3\xCF\xD3\r\n"
         "1 0 obj\r\n"
         "<<\r\n"
         "  /FDF\r\n"
         "  << /Fields [\r\n";
}

std::string fdfTrailer(std::string_view formFile) {
  return "  ]\r\n"
         "  /F (" + std::string(formFile) +
         ")/ID [ <1f0b6b55f345db39e8246247138fe562><5001c4f9811ca5aab02778394d359d72> ] >>\r\n"
         ">>\r\n"
         "endobj\r\n"
         "trailer\r\n"
         "<</Root 1 0 R>>\r\n"
         "%%EOF\r\n";
}

bool installCommunicationForm() {
  const fs::path target = platform::hostPath(kCommunicationBackground);
  std::error_code ec;
  if (fs::exists(target, ec)) return true;
  const fs::path source = platform::ownFolder() / std::string(kCommunicationFormFile);
  if (!fs::exists(source, ec)) return false;
  fs::create_directories(target.parent_path(), ec);
  return fs::copy_file(source, target, ec) && !ec;
}

void PdfForms::show(screen::Session& session, const std::string& text) {
  if (!statusWindow_) statusWindow_ = std::make_unique<screen::Window>(session.console.screen(), kStatusWindow);
  statusText_ = text.substr(0, kStatusWidth);
  platform::ScreenBuffer& screen = session.console.screen();
  screen.putText(kStatusRow, kStatusCol, std::string(kStatusWidth, ' '), kPdfStatusAttr);
  screen.putText(kStatusRow, kStatusCol, statusText_, kPdfStatusAttr);
}

void PdfForms::failure(screen::Session& session, const std::string& text) {
  show(session, text);
  session.console.beep();
}

void PdfForms::PTKST(screen::Session& session, const FormPage& page) {
  show(session, "Pagina  " + std::to_string(page.pageNumber));
  writeBatch();
  // A conversion that fails must not leave the previous print's PDF to be laid on the form.
  std::error_code ec;
  fs::remove(platform::hostPath("LASER.PDF"), ec);
  platform::Console& console = session.console;
  platform::runCommand(comspec() + " /C STAP.BAT", console);
  const std::string output = "LAS" + page.pageText + ".PDF";
  platform::runCommand("CMD /C DEL " + output, console);
  const std::string line = page.overlayMode == kFormOverText
                               ? "CMD /C PDFTK.EXE " + page.background + " BACKGROUND LASER.PDF OUTPUT " + output
                               : "CMD /C PDFTK.EXE LASER.PDF BACKGROUND " + page.background + " OUTPUT " + output;
  const platform::CommandResult result = platform::runCommand(line, console);
  if (succeeded(result)) return;
  if (!result.started) {
    failure(session, std::string(kNoToolkit) + output + " non creato");
  } else if (!exists(page.background)) {
    failure(session, "Manca " + page.background + ": " + output + " non creato");
  } else if (!exists("LASER.PDF")) {
    failure(session, "Conversione non riuscita: " + output + " non creato");
  } else {
    failure(session, "PDF danneggiato: " + output + " non creato");
  }
}

void PdfForms::reportJoin(screen::Session& session, const platform::CommandResult& result,
                          std::string_view inputs) {
  if (succeeded(result)) return;
  if (!result.started) {
    failure(session, std::string(kNoToolkit) + "LASER.PDF non creato");
    return;
  }
  if (inputs.empty()) {
    failure(session, "Nessuna pagina da unire: LASER.PDF non creato");
    return;
  }
  for (const std::string& word : platform::splitCommandLine(inputs)) {
    if (!exists(word)) {
      failure(session, "Manca " + word + ": LASER.PDF non creato");
      return;
    }
  }
  failure(session, "PDF danneggiato: LASER.PDF non creato");
}

void PdfForms::PTKUN(screen::Session& session, int pages, int documentCount) {
  platform::Console& console = session.console;
  platform::runCommand("CMD /C DEL LASER.PDF", console);
  std::string list;
  for (int n = 1; n <= pages; ++n) list += " LAS" + std::to_string(n) + ".PDF";
  reportJoin(session, platform::runCommand("CMD /C PDFTK.EXE" + list + " CAT OUTPUT LASER.PDF", console), list);
  PTKCOM(session, documentCount);
}

void PdfForms::PTKUN_MU(screen::Session& session, std::string_view prefix, int documentCount) {
  platform::Console& console = session.console;
  platform::runCommand("CMD /C DEL LASER.PDF", console);
  const std::string pattern = records::trim(prefix) + "*.PDF";
  reportJoin(session, platform::runCommand("CMD /C PDFTK.EXE " + pattern + " CAT OUTPUT LASER.PDF", console),
             pattern);
  PTKCOM(session, documentCount);
}

void PdfForms::PTKCOM(screen::Session& session, int documentCount) {
  platform::Console& console = session.console;
  if (documentCount <= 0) return;
  if (documentCount == 1) {
    // COPY leaves LPLUS1.PDF alone when LASER.PDF is missing.
    if (!succeeded(platform::runCommand("CMD /C COPY LASER.PDF LPLUS1.PDF", console))) {
      failure(session, "Manca LASER.PDF: LPLUS1.PDF non ricominciato");
    }
    return;
  }
  const bool joined =
      succeeded(platform::runCommand("CMD /C PDFTK.EXE LPLUS1.PDF LASER.PDF CAT OUTPUT LPLUS.PDF", console));
  if (!joined) {
    // An LPLUS.PDF left by an earlier run must not take the place of the document.
    failure(session, "Documento non aggiunto: LPLUS1.PDF resta com'era");
  } else if (!succeeded(platform::runCommand("CMD /C COPY LPLUS.PDF LPLUS1.PDF", console))) {
    // A copy broken off (a full disk) leaves the whole document only in LPLUS.PDF.
    failure(session, "Copia non riuscita: il documento resta in LPLUS.PDF");
    return;
  }
  platform::runCommand("CMD /C DEL LPLUS.PDF", console);
}

void PdfForms::FDF_INI(screen::Session& session, PrintChannel& channel) {
  channel.close();
  platform::runCommand("CMD /C DEL LASER.FDF", session.console);
  channel.open("LASER.FDF", 0);
  channel.print(fdfHeader());
}

void PdfForms::FDF_FIN(screen::Session& session, PrintChannel& channel, std::string_view formFile, int openMode) {
  channel.print(fdfTrailer(formFile));
  channel.close();
  if (openMode == kOpenFdf) {
    platform::runCommand("CMD /C START LASER.FDF", session.console);
  } else if (openMode == kPrintFdf) {
    records::Catalogue& catalogue = session.catalogue;
    catalogue.open(records::channel::kPdfReader).read(kPdfReaderRecord);
    PdfReaderSettings reader;
    L_95(catalogue, reader);
    catalogue.close(records::channel::kPdfReader);
    const std::string program = records::trim(reader.program);
    if (program.empty()) {
      failure(session, "Programma PDF non indicato in LETTPDF.DAT");
      return;
    }
    platform::runCommand(program + " /p /h LASER.FDF", session.console);
  }
}

}  // namespace vellano::printout
