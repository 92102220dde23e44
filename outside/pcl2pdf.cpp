// pcl2pdf: the converter started as "PCL2PDF32.EXE <pcl file> <pdf file> -S". Switches
// ("-S" silent and the like) change nothing here; the converter never asks anything.
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "outside/pcl_reader.h"
#include "outside/pdf_writer.h"

int main(int argc, char** argv) {
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    // "-S" or the DOS "/S"; a host path may start with "/" too, but is never that short.
    const bool dosSwitch = word.size() >= 2 && word.size() <= 3 && word[0] == '/' &&
                           word.find('/', 1) == std::string::npos;
    if ((word.size() >= 2 && word[0] == '-') || dosSwitch) continue;
    files.push_back(word);
  }
  if (files.size() != 2) {
    std::fprintf(stderr, "uso: pcl2pdf <file PCL> <file PDF> [-S]\n");
    return 2;
  }
  std::ifstream in(files[0], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "pcl2pdf: file non trovato: %s\n", files[0].c_str());
    return 1;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    std::fprintf(stderr, "pcl2pdf: errore di lettura: %s\n", files[0].c_str());
    return 1;
  }
  try {
    vellano::outside::writePdf(vellano::outside::readPcl(bytes), files[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "pcl2pdf: %s\n", e.what());
    return 1;
  }
  return 0;
}
