// pdftk-qpdf: the PDF toolkit started as PDFTK.EXE. "A BACKGROUND B OUTPUT C" lays the first
// page of B under every page of A; "X Y ... CAT OUTPUT Z" joins the pages in order.
// Exit status: 0 done, 1 an input missing or damaged or the output not written, 2 wrong usage.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "outside/pdf_toolkit.h"

int main(int argc, char** argv) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  vellano::outside::ToolkitJob job;
  try {
    job = vellano::outside::parseToolkitArgs(words);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "pdftk: %s\nuso: pdftk <PDF> BACKGROUND <PDF> OUTPUT <PDF> | <PDF>... CAT OUTPUT <PDF>\n",
                 e.what());
    return 2;
  }
  try {
    vellano::outside::runToolkitJob(job);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "pdftk: %s\n", e.what());
    return 1;
  }
}
