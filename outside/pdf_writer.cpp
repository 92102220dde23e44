// The PDF file, object by object: the font and its resources first, then two objects per page
// (content stream, page), and at the end the page tree, the catalogue and the cross-reference
// table of every object's place.
#include "outside/pdf_writer.h"

#include <zlib.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "outside/pdf_content.h"

namespace vellano::outside {
namespace {

constexpr std::size_t kCatalogue = 1;
constexpr std::size_t kPageTree = 2;
constexpr std::size_t kFont = 3;
constexpr std::size_t kResources = 4;
constexpr std::size_t kFirstPageObject = 5;

std::size_t contentObject(std::size_t page) { return kFirstPageObject + 2 * page; }
std::size_t pageObject(std::size_t page) { return kFirstPageObject + 2 * page + 1; }

std::string number(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

std::string reference(std::size_t object) { return std::to_string(object) + " 0 R"; }

}  // namespace

// One zlib stream for the whole file, reset for each page: setting one up per page costs
// more than compressing a page.
class PdfStreamWriter::Deflater {
 public:
  Deflater() {
    if (deflateInit(&stream_, Z_DEFAULT_COMPRESSION) != Z_OK) throw std::runtime_error("zlib non disponibile");
  }
  ~Deflater() { deflateEnd(&stream_); }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;

  std::string deflated(const std::string& text) {
    deflateReset(&stream_);
    std::string out(deflateBound(&stream_, static_cast<uLong>(text.size())), '\0');
    stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream_.avail_in = static_cast<uInt>(text.size());
    stream_.next_out = reinterpret_cast<Bytef*>(out.data());
    stream_.avail_out = static_cast<uInt>(out.size());
    if (deflate(&stream_, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("errore di compressione");
    out.resize(stream_.total_out);
    return out;
  }

 private:
  z_stream stream_{};
};

PdfStreamWriter::PdfStreamWriter(std::ostream& out)
    : out_(out), deflater_(std::make_unique<Deflater>()), offsets_(kFirstPageObject, 0) {
  // The second line marks the file as binary for programs that guess.
  write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
  beginObject(kFont);
  write("<< /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding /WinAnsiEncoding >>\nendobj\n");
  beginObject(kResources);
  write("<< /Font << /F1 " + reference(kFont) + " >> /ProcSet [ /PDF /Text ] >>\nendobj\n");
}

PdfStreamWriter::~PdfStreamWriter() = default;

void PdfStreamWriter::beginObject(std::size_t object) {
  if (offsets_.size() <= object) offsets_.resize(object + 1, 0);
  offsets_[object] = position_;
  write(std::to_string(object) + " 0 obj\n");
}

void PdfStreamWriter::write(std::string_view text) {
  out_.write(text.data(), static_cast<std::streamsize>(text.size()));
  position_ += text.size();
}

void PdfStreamWriter::addPage(const PclPage& page) {
  const std::size_t n = pages_++;
  const std::string content = deflater_->deflated(pageContent(page));
  beginObject(contentObject(n));
  write("<< /Filter /FlateDecode /Length " + std::to_string(content.size()) + " >>\nstream\n");
  write(content);
  write("\nendstream\nendobj\n");
  beginObject(pageObject(n));
  write("<< /Type /Page /Parent " + reference(kPageTree) + " /MediaBox [ 0 0 " + number(page.width()) + " " +
        number(page.height()) + " ] /Resources " + reference(kResources) + " /Contents " +
        reference(contentObject(n)) + " >>\nendobj\n");
}

void PdfStreamWriter::finish() {
  beginObject(kPageTree);
  write("<< /Type /Pages /Count " + std::to_string(pages_) + " /Kids [");
  std::string kids;
  for (std::size_t n = 0; n < pages_; ++n) {
    kids += (n % 10 == 0 ? "\n" : " ") + reference(pageObject(n));
    if (kids.size() > 4096) {
      write(kids);
      kids.clear();
    }
  }
  write(kids + "\n] >>\nendobj\n");
  beginObject(kCatalogue);
  write("<< /Type /Catalog /Pages " + reference(kPageTree) + " >>\nendobj\n");

  const std::uint64_t table = position_;
  write("xref\n0 " + std::to_string(offsets_.size()) + "\n0000000000 65535 f \n");
  char entry[32];
  for (std::size_t object = 1; object < offsets_.size(); ++object) {
    std::snprintf(entry, sizeof entry, "%010llu 00000 n \n", static_cast<unsigned long long>(offsets_[object]));
    write(entry);
  }
  write("trailer\n<< /Size " + std::to_string(offsets_.size()) + " /Root " + reference(kCatalogue) +
        " >>\nstartxref\n" + std::to_string(table) + "\n%%EOF\n");
  out_.flush();
  if (!out_) throw std::runtime_error("errore di scrittura del PDF");
}

std::string renderPdf(const std::vector<PclPage>& pages) {
  std::ostringstream out;
  PdfStreamWriter writer(out);
  for (const PclPage& page : pages) writer.addPage(page);
  writer.finish();
  return out.str();
}

}  // namespace vellano::outside
