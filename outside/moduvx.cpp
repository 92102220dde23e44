// moduvx: the F24 form program started as "MODUVX.EXE". It reads the VAT row the print
// program left in field 11 of record 1 of QMENU.DAT and draws a one-page A4 F24 of its own
// with that row in the "SEZIONE ERARIO", as F24.PDF in the current folder (beside LASER.PDF).
// It has no screen and asks nothing. Exit status: 0 written, 1 no usable row, 2 not written.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include "outside/f24_form.h"
#include "records/catalogue.h"
#include "platform/dos_path.h"

namespace {

namespace fs = std::filesystem;
using vellano::outside::F24Form;

int fail(const std::string& message, int status) {
  std::fprintf(stderr, "MODUVX: %s\n", message.c_str());
  return status;
}

// The hand-over record the print program has just written: the folders it may live in are
// those of the host modes (none, "C:\ALB\", "XTERM\"); the newest one is this run's.
std::optional<fs::path> handOverFile() {
  std::optional<fs::path> newest;
  fs::file_time_type newestTime{};
  for (const char* dosName : {"QMENU.DAT", "C:\\ALB\\QMENU.DAT", "XTERM\\QMENU.DAT"}) {
    const fs::path path = vellano::platform::hostPath(dosName);
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) continue;
    const fs::file_time_type time = fs::last_write_time(path, ec);
    if (ec) continue;
    if (!newest || time > newestTime) {
      newest = path;
      newestTime = time;
    }
  }
  return newest;
}

// Field 11 of record 1, as stored.
std::optional<std::string> handOverText(const fs::path& file) {
  namespace layout = vellano::records::context_layout;
  std::ifstream in(file, std::ios::binary);
  std::string record(layout::kHandOverLength, '\0');
  in.read(record.data(), static_cast<std::streamsize>(record.size()));
  if (in.gcount() <= 0) return std::nullopt;
  const auto field = layout::kHandOverFields[vellano::records::HandOver::kMessage];
  return record.substr(field.offset, field.width);
}

void write(const F24Form& form, const fs::path& target) {
  QPDF pdf;
  pdf.emptyPDF();
  QPDFObjectHandle fonts = QPDFObjectHandle::newDictionary();
  fonts.replaceKey("/F1", pdf.makeIndirectObject(QPDFObjectHandle::parse(
                              "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>")));
  fonts.replaceKey("/F2", pdf.makeIndirectObject(QPDFObjectHandle::parse(
                              "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding >>")));
  fonts.replaceKey("/F3", pdf.makeIndirectObject(QPDFObjectHandle::parse(
                              "<< /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding /WinAnsiEncoding >>")));
  QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
  resources.replaceKey("/Font", fonts);
  QPDFObjectHandle page = pdf.makeIndirectObject(QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 595 842] >>"));
  page.replaceKey("/Resources", resources);
  page.replaceKey("/Contents", pdf.newStream(vellano::outside::f24PageContent(form)));
  QPDFPageDocumentHelper(pdf).addPage(page, false);

  // Written beside the target first: a failed write leaves no half file under its name.
  fs::path partial = target;
  partial += ".tmp";
  // qpdf takes UTF-8 file names on Windows and the bytes as they are elsewhere.
  const std::u8string name = partial.u8string();
  QPDFWriter writer(pdf, std::string(name.begin(), name.end()).c_str());
  writer.setDeterministicID(true);
  writer.write();
  fs::rename(partial, target);
}

}  // namespace

int main() {
  const std::optional<fs::path> file = handOverFile();
  if (!file) return fail("QMENU.DAT non trovato: nessun dato F24 da stampare", 1);
  const std::optional<std::string> text = handOverText(*file);
  if (!text) return fail("QMENU.DAT vuoto: nessun dato F24 da stampare", 1);
  std::string problem;
  const std::optional<F24Form> form = vellano::outside::parseF24(*text, problem);
  if (!form) return fail("riga F24 non valida (" + problem + "): \"" + *text + "\"; nessun modello creato", 1);
  try {
    write(*form, fs::path("F24.PDF"));
  } catch (const std::exception& e) {
    std::error_code ec;
    fs::remove("F24.PDF.tmp", ec);
    return fail(std::string("impossibile scrivere F24.PDF: ") + e.what(), 2);
  }
  return 0;
}
