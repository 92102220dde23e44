// PDF through libqpdf: one page object per placed page, sharing the Courier resources.
#include "outside/pdf_writer.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>

#include "outside/pdf_content.h"

namespace vellano::outside {
namespace {

std::string number(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

}  // namespace

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
    dict.replaceKey("/MediaBox", QPDFObjectHandle::parse("[0 0 " + number(page.width()) + " " +
                                                         number(page.height()) + "]"));
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
