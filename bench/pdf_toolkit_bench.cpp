// The toolkit behind PDFTK.EXE on files: one printed page laid on a form, and the join of 50
// page files into one document, as a communication of 50 companies would make.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "outside/pcl_reader.h"
#include "outside/pdf_toolkit.h"
#include "outside/pdf_writer.h"

namespace {

namespace fs = std::filesystem;

// A folder of its own, removed at the end.
class Folder {
 public:
  Folder() {
    std::string pattern = (fs::temp_directory_path() / "vellano-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
    path_ = pattern;
  }
  ~Folder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

void writePdf(const std::string& path, const std::string& text) {
  std::string pcl;
  for (int line = 0; line < 60; ++line) pcl += text + " riga " + std::to_string(line) + "\r\n";
  std::ofstream(path, std::ios::binary) << vellano::outside::renderPdf(vellano::outside::readPcl(pcl + "\x0C"));
}

void BM_PageOnBackground(benchmark::State& state) {
  Folder folder;
  writePdf(folder.file("LASER.PDF"), "CONTRIBUENTE RSSMRA70A01H501U");
  writePdf(folder.file("FORM.PDF"), "MODULO");
  vellano::outside::ToolkitJob job{vellano::outside::ToolkitJob::Kind::Background,
                                   {folder.file("LASER.PDF")}, folder.file("FORM.PDF"), folder.file("LAS1.PDF")};
  for (auto _ : state) vellano::outside::runToolkitJob(job);
}
BENCHMARK(BM_PageOnBackground)->Unit(benchmark::kMillisecond);

void BM_Join50Pages(benchmark::State& state) {
  Folder folder;
  vellano::outside::ToolkitJob job;
  for (int n = 1; n <= 50; ++n) {
    const std::string name = folder.file("LAS" + std::to_string(n) + ".PDF");
    writePdf(name, "AZIENDA " + std::to_string(n));
    job.inputs.push_back(name);
  }
  job.output = folder.file("LASER.PDF");
  for (auto _ : state) vellano::outside::runToolkitJob(job);
}
BENCHMARK(BM_Join50Pages)->Unit(benchmark::kMillisecond);

}  // namespace
