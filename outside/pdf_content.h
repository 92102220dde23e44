// What goes on a PDF page for the placed text, without the PDF library.
#pragma once

#include <string>

#include "outside/pcl_reader.h"

namespace vellano::outside {

// The content stream of one page (text operators only), font resource "/F1" = Courier.
std::string pageContent(const PclPage& page);

// Code page 437 byte to the byte of the font's WinAnsi encoding; line drawing becomes
// "-", "=", "|" and "+", shading "#", anything without a likeness "?".
char winAnsi(unsigned char cp437);

}  // namespace vellano::outside
