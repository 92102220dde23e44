// pcl2pdf: the converter started as "PCL2PDF32.EXE <pcl file> <pdf file> -S". Switches
// ("-S" silent and the like) change nothing here; the converter never asks anything.
// Exit status: 0 converted, 1 the file could not be read or written, 2 wrong usage.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "outside/pcl_reader.h"
#include "outside/pdf_writer.h"

namespace {

namespace fs = std::filesystem;

// No print of ours comes near this; a file that does is damaged or no print (a file of form
// feeds alone), and its PDF would fill the disk.
constexpr std::size_t kMaxPages = 1'000'000;

struct TooManyPages {};

int fail(const std::string& message) {
  std::fprintf(stderr, "pcl2pdf: %s\n", message.c_str());
  return 1;
}

// Reads the whole PCL file into `bytes`; 0, or the exit status with the message printed.
int readInput(const std::string& name, std::string& bytes) {
  std::error_code ec;
  if (fs::is_directory(name, ec)) return fail("è una cartella, non un file di stampa: " + name);
  std::ifstream in(name, std::ios::binary);
  if (!in) return fail("file non trovato: " + name);
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) return fail("errore di lettura: " + name);
  return 0;
}

// Pages are written as the interpreter ends them; a failed conversion leaves no PDF behind.
int convert(const std::string& bytes, const std::string& output) {
  std::ofstream out(output, std::ios::binary | std::ios::trunc);
  if (!out) return fail("impossibile scrivere " + output);
  try {
    vellano::outside::PdfStreamWriter writer(out);
    vellano::outside::readPcl(bytes, [&](vellano::outside::PclPage&& page) {
      if (writer.pageCount() == kMaxPages) throw TooManyPages{};
      writer.addPage(page);
    });
    writer.finish();
    out.close();
    if (!out) throw std::runtime_error("impossibile scrivere " + output);
    return 0;
  } catch (const TooManyPages&) {
    out.close();
    std::error_code ec;
    fs::remove(output, ec);
    return fail("più di " + std::to_string(kMaxPages) + " pagine: il file non sembra una stampa");
  } catch (const std::exception& e) {
    out.close();
    std::error_code ec;
    fs::remove(output, ec);
    return fail(e.what());
  }
}

}  // namespace

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
  try {
    std::string bytes;
    if (const int status = readInput(files[0], bytes); status != 0) return status;
    return convert(bytes, files[1]);
  } catch (const std::exception& e) {
    return fail(e.what());
  }
}
