// Writes the placed pages as a PDF with the standard Courier font, through libqpdf.
#pragma once

#include <string>
#include <vector>

#include "outside/pcl_reader.h"

namespace vellano::outside {

// The PDF file of `pages`, in memory.
std::string renderPdf(const std::vector<PclPage>& pages);

// Writes `pages` to `path`; throws std::exception when the file cannot be written.
void writePdf(const std::vector<PclPage>& pages, const std::string& path);

}  // namespace vellano::outside
