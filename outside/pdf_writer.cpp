// PDF through libqpdf: one page object per placed page, Courier at each run's pitch.
#include "outside/pdf_writer.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>

#include "platform/cp437.h"

namespace vellano::outside {
namespace {

// Courier's glyphs are 600/1000 of the font size wide; a pitch of p needs 120/p points.
constexpr double kCourierWidth = 0.6;

std::string fixed(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.2f", std::isfinite(value) ? value : 0.0);
  return text;
}

void appendString(std::string& out, const std::string& cp437) {
  out += '(';
  for (unsigned char c : cp437) {
    const auto b = static_cast<unsigned char>(winAnsi(c));
    if (b == '(' || b == ')' || b == '\\') {
      out += '\\';
      out += static_cast<char>(b);
    } else if (b < 0x20 || b > 0x7E) {
      char octal[8];
      std::snprintf(octal, sizeof octal, "\\%03o", b);
      out += octal;
    } else {
      out += static_cast<char>(b);
    }
  }
  out += ')';
}

}  // namespace

char winAnsi(unsigned char cp437) {
  const char32_t u = platform::cp437ToUnicode(cp437);
  if (u >= 0x20 && u <= 0x7E) return static_cast<char>(u);
  if (u >= 0xA0 && u <= 0xFF) return static_cast<char>(u);
  switch (u) {
    case U'─': case U'━': return '-';
    case U'═': return '=';
    case U'│': case U'┃': case U'║': return '|';
    default: break;
  }
  if (u >= 0x2500 && u <= 0x257F) return '+';
  if (u >= 0x2580 && u <= 0x259F) return '#';
  return '?';
}

std::string pageContent(const PclPage& page) {
  std::string out = "BT\n";
  double size = -1;
  double spacing = 0;
  for (const TextRun& run : page.runs) {
    const double runSize = 120.0 / run.pitch;
    if (runSize != size) {
      size = runSize;
      out += "/F1 " + fixed(size) + " Tf\n";
    }
    const double runSpacing = run.advance - size * kCourierWidth;
    if (std::fabs(runSpacing - spacing) > 0.001) {
      spacing = runSpacing;
      out += fixed(spacing) + " Tc\n";
    }
    out += "1 0 0 1 " + fixed(run.x) + " " + fixed(page.height() - run.baseline) + " Tm ";
    appendString(out, run.text);
    out += " Tj\n";
  }
  out += "ET\n";
  return out;
}

std::string renderPdf(const std::vector<PclPage>& pages) {
  QPDF pdf;
  pdf.emptyPDF();
  QPDFObjectHandle font = pdf.makeIndirectObject(QPDFObjectHandle::parse(
      "<< /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding /WinAnsiEncoding >>"));
  QPDFObjectHandle fonts = QPDFObjectHandle::newDictionary();
  fonts.replaceKey("/F1", font);
  QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
  resources.replaceKey("/Font", fonts);
  resources.replaceKey("/ProcSet", QPDFObjectHandle::parse("[/PDF /Text]"));
  resources = pdf.makeIndirectObject(resources);

  QPDFPageDocumentHelper document(pdf);
  for (const PclPage& page : pages) {
    QPDFObjectHandle dict = QPDFObjectHandle::newDictionary();
    dict.replaceKey("/Type", QPDFObjectHandle::newName("/Page"));
    dict.replaceKey("/MediaBox", QPDFObjectHandle::parse("[0 0 " + fixed(page.width()) + " " +
                                                         fixed(page.height()) + "]"));
    dict.replaceKey("/Resources", resources);
    dict.replaceKey("/Contents", QPDFObjectHandle::newStream(&pdf, pageContent(page)));
    document.addPage(QPDFPageObjectHelper(pdf.makeIndirectObject(dict)), false);
  }
  QPDFWriter writer(pdf);
  writer.setOutputMemory();
  writer.setStreamDataMode(qpdf_s_compress);
  writer.write();
  std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
  return std::string(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
}

void writePdf(const std::vector<PclPage>& pages, const std::string& path) {
  const std::string bytes = renderPdf(pages);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("impossibile scrivere " + path);
}

}  // namespace vellano::outside
