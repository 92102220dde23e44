// Printed pages laid on a PDF form, page files joined, documents accumulated, and the FDF
// file that fills a fillable PDF. The work is done by the converter and the PDF toolkit,
// started through the command interpreter with the command lines below.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/commands.h"
#include "printout/print_channel.h"
#include "records/catalogue.h"
#include "records/layout.h"
#include "screen/session.h"
#include "screen/window.h"

namespace vellano::printout {

// What the caller sets before PTKST.
struct FormPage {
  std::string background;  // the form PDF, e.g. "PDF\COMDIVA.PDF"
  std::string pageText;    // suffix of the page file: "1" gives LAS1.PDF
  int pageNumber = 0;      // shown on the status line
  int overlayMode = 0;     // 999: the form lies over the printed text
};

inline constexpr int kFormOverText = 999;

// Open modes of FDF_FIN.
inline constexpr int kOpenFdf = 0;   // with the program the system gives FDF files
inline constexpr int kPrintFdf = 1;  // printed without being shown, by the PDF program

// LETTPDF.DAT, channel 95, record 1: the full path of the PDF program that prints a filled
// form when given " /p /h " and the FDF file.
inline constexpr long kPdfReaderRecord = 1;
inline constexpr std::size_t kPdfReaderLength = 128;
struct PdfReaderSettings {
  std::string program;
};
namespace pdf_reader_layout {
inline constexpr std::array kTable{records::padded<PdfReaderSettings>({0, 128}, &PdfReaderSettings::program)};
}
void L_95(const records::Catalogue& catalogue, PdfReaderSettings& settings);
void W_95(records::Catalogue& catalogue, const PdfReaderSettings& settings);

// Black on yellow, the colours of the status line.
inline constexpr std::uint8_t kPdfStatusAttr = 0xE0;

class PdfForms {
 public:
  PdfForms() = default;
  PdfForms(const PdfForms&) = delete;
  PdfForms& operator=(const PdfForms&) = delete;

  // Converts the closed print file "LASER" and lays it on the background: LAS + page + ".PDF".
  void PTKST(screen::Session& session, const FormPage& page);
  // Joins LAS1.PDF ... LAS<pages>.PDF into LASER.PDF, then PTKCOM.
  void PTKUN(screen::Session& session, int pages, int documentCount);
  // Joins every PDF whose name starts with `prefix` into LASER.PDF, then PTKCOM.
  void PTKUN_MU(screen::Session& session, std::string_view prefix, int documentCount);
  // Adds LASER.PDF to LPLUS1.PDF; count 1 starts the document again, 0 or less does nothing.
  void PTKCOM(screen::Session& session, int documentCount);

  // LASER.FDF as print channel 99 with its header; the caller then writes one field a line.
  void FDF_INI(screen::Session& session, PrintChannel& channel);
  // The trailer naming `formFile`, then the form opened (kOpenFdf) or printed (kPrintFdf).
  void FDF_FIN(screen::Session& session, PrintChannel& channel, std::string_view formFile, int openMode);

  // What the status line shows now ("" before anything was shown).
  const std::string& statusText() const { return statusText_; }

 private:
  void show(screen::Session& session, const std::string& text);
  void failure(screen::Session& session, const std::string& text);
  // The join of `inputs` into LASER.PDF failed: says which file was missing.
  void reportJoin(screen::Session& session, const platform::CommandResult& result, std::string_view inputs);

  std::unique_ptr<screen::Window> statusWindow_;
  std::string statusText_;
};

// One field of the FDF: "<< /T (name) /V (value) >>", with "(", ")" and "\" escaped and
// code page 437 letters in the PDF's own encoding.
std::string fdfField(std::string_view name, std::string_view value);

// The FDF header and trailer lines, each ending in CR LF.
std::string fdfHeader();
std::string fdfTrailer(std::string_view formFile);

// Puts the communication form into the data folder's "PDF\" when it is not there yet, from
// the copy beside the programs. False when neither is there.
bool installCommunicationForm();

}  // namespace vellano::printout
