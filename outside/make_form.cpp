// make_form FILE: draws the blank form of the annual VAT communication (one A4 page: title,
// section bands, a box with its caption for every value, the row codes) from the form table
// the print uses, and writes it to FILE. The build runs it to put COMDIVA.PDF beside the
// programs; the same bytes on every run.
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "printout/communication_form.h"

namespace {

using namespace vellano::printout;

constexpr int kLastColumn = 78;
constexpr double kFrameTop = 1.0;       // lines
constexpr double kFrameBottom = 56.0;
constexpr double kBandGrey = 0.85;

std::string num(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

double columnX(double column) { return kFormLeftOffset + column * kFormColumnWidth; }
// PDF measures from the bottom of the page, the print grid from the top.
double fromTop(double points) { return kFormPageHeight - points; }
double lineTop(double line) { return line * kFormLineHeight; }
double baseline(double line) { return line * kFormLineHeight + 0.75 * kFormLineHeight; }

// A PDF string in the WinAnsi encoding of the standard fonts; the captions are UTF-8 and
// use only Latin-1 letters.
std::string pdfString(std::string_view utf8) {
  std::string out = "(";
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    auto c = static_cast<unsigned char>(utf8[i]);
    if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size()) {
      c = static_cast<unsigned char>(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
    }
    if (c == '(' || c == ')' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c > 0x7E) {
      char octal[8];
      std::snprintf(octal, sizeof octal, "\\%03o", c);
      out += octal;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + ")";
}

void text(std::string& out, std::string_view font, double size, double x, double y, std::string_view s) {
  out += "BT /" + std::string(font) + " " + num(size) + " Tf " + num(x) + " " + num(y) + " Td " + pdfString(s) +
         " Tj ET\n";
}

void rectangle(std::string& out, double left, double top, double right, double bottom, std::string_view paint) {
  out += num(left) + " " + num(fromTop(bottom)) + " " + num(right - left) + " " + num(bottom - top) + " re " +
         std::string(paint) + "\n";
}

// A box one print line high around the value's characters, its caption above it; a one-
// character box (a tick) has its caption on its right.
void drawBox(std::string& out, const FormBox& box) {
  const double left = columnX(box.column) - 2;
  const double right = columnX(box.column + box.width) + 2;
  const double top = lineTop(box.line) - 1;
  const double bottom = lineTop(box.line + 1) + 1;
  rectangle(out, left, top, right, bottom, "S");
  if (box.width == 1) {
    text(out, "F1", 7, right + 3, fromTop(baseline(box.line)), box.caption);
  } else {
    text(out, "F1", 6, left + 0.5, fromTop(top - 2), box.caption);
  }
}

void drawText(std::string& out, const FormText& t) {
  switch (t.kind) {
    case FormTextKind::Title:
      text(out, "F2", 14, columnX(t.column), fromTop(baseline(t.line)), t.text);
      break;
    case FormTextKind::Band:
      out += num(kBandGrey) + " g\n";
      rectangle(out, columnX(0) - 4, lineTop(t.line), columnX(kLastColumn) + 4, lineTop(t.line + 1) + 1, "f");
      out += "0 g\n";
      text(out, "F2", 8, columnX(0), fromTop(baseline(t.line) + 0.5), t.text);
      break;
    case FormTextKind::Code:
      text(out, "F2", 9, columnX(t.column), fromTop(baseline(t.line)), t.text);
      break;
  }
}

std::string formContent() {
  std::string out = "0 G 0 g 0.6 w\n";
  rectangle(out, columnX(0) - 4, lineTop(kFrameTop), columnX(kLastColumn) + 4, lineTop(kFrameBottom), "S");
  for (const FormText& t : kCommunicationTexts) drawText(out, t);
  out += "0.4 w\n";
  for (const FormBox& box : kCommunicationBoxes) drawBox(out, box);
  // The signature has no value printed in it: a box to sign in.
  rectangle(out, columnX(40), lineTop(51.5), columnX(78), lineTop(54.5), "S");
  text(out, "F1", 6, columnX(40) + 0.5, fromTop(lineTop(51.5) - 2), "Firma");
  return out;
}

QPDFObjectHandle font(QPDF& pdf, std::string_view name) {
  return pdf.makeIndirectObject(QPDFObjectHandle::parse("<< /Type /Font /Subtype /Type1 /BaseFont /" +
                                                        std::string(name) + " /Encoding /WinAnsiEncoding >>"));
}

void writeForm(const char* file) {
  QPDF pdf;
  pdf.emptyPDF();
  QPDFObjectHandle fonts = QPDFObjectHandle::newDictionary();
  fonts.replaceKey("/F1", font(pdf, "Helvetica"));
  fonts.replaceKey("/F2", font(pdf, "Helvetica-Bold"));
  QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
  resources.replaceKey("/Font", fonts);
  QPDFObjectHandle page = QPDFObjectHandle::parse("<< /Type /Page /MediaBox [ 0 0 " + num(kFormPageWidth) + " " +
                                                  num(kFormPageHeight) + " ] >>");
  page.replaceKey("/Resources", resources);
  page.replaceKey("/Contents", QPDFObjectHandle::newStream(&pdf, formContent()));
  QPDFPageDocumentHelper(pdf).addPage(QPDFPageObjectHelper(pdf.makeIndirectObject(page)), false);
  QPDFWriter writer(pdf, file);
  writer.setDeterministicID(true);
  writer.write();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "uso: make_form <file PDF>\n");
    return 2;
  }
  try {
    writeForm(argv[1]);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_form: %s\n", e.what());
    return 1;
  }
}
