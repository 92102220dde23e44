// Writes the placed pages as a PDF with the standard Courier font.
#pragma once

#include <string>
#include <vector>

#include "outside/pcl_reader.h"

namespace vellano::outside {

// The content stream of one page (text operators only), for tests and the writer.
std::string pageContent(const PclPage& page);

// The PDF file of `pages`, in memory.
std::string renderPdf(const std::vector<PclPage>& pages);

// Writes `pages` to `path`; throws std::exception when the file cannot be written.
void writePdf(const std::vector<PclPage>& pages, const std::string& path);

// Code page 437 byte to the byte of the font's WinAnsi encoding; line drawing becomes
// "-", "=", "|" and "+", shading "#", anything without a likeness "?".
char winAnsi(unsigned char cp437);

}  // namespace vellano::outside
