// Writes the placed pages as a PDF with the standard Courier font, one page at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "outside/pcl_reader.h"

namespace vellano::outside {

// Each page goes to the stream as it is added and only the places of the objects are kept,
// so a job of any length takes little memory: a whole-document PDF library holds every page
// until the end. The content streams are Flate-compressed.
class PdfStreamWriter {
 public:
  // Writes the header and the shared font resources.
  explicit PdfStreamWriter(std::ostream& out);
  ~PdfStreamWriter();
  PdfStreamWriter(const PdfStreamWriter&) = delete;
  PdfStreamWriter& operator=(const PdfStreamWriter&) = delete;

  void addPage(const PclPage& page);
  // The page tree, the catalogue, the cross-reference table and the trailer.
  void finish();

  std::size_t pageCount() const { return pages_; }

 private:
  void beginObject(std::size_t number);
  void write(std::string_view text);

  class Deflater;

  std::ostream& out_;
  std::unique_ptr<Deflater> deflater_;
  std::uint64_t position_ = 0;
  std::vector<std::uint64_t> offsets_;  // by object number; 0 is the free entry
  std::size_t pages_ = 0;
};

// The PDF file of `pages`, in memory.
std::string renderPdf(const std::vector<PclPage>& pages);

}  // namespace vellano::outside
