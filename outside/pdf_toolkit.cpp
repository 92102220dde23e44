// Background and join through libqpdf. Every input is read whole before anything is written;
// the result goes to a temporary file in the output's folder and is renamed into place.
#include "outside/pdf_toolkit.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <memory>

#include "platform/builtin_commands.h"
#include "platform/dos_path.h"

namespace vellano::outside {
namespace fs = std::filesystem;

namespace {

// qpdf takes UTF-8 file names on Windows and the bytes as they are elsewhere, which is what
// the path's UTF-8 form gives on each.
std::string qpdfName(const fs::path& file) {
  const std::u8string name = file.u8string();
  return std::string(name.begin(), name.end());
}

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// One opened input: the document and its pages. Pages copied into another document keep
// reading their streams from here until that one is written.
struct Input {
  std::unique_ptr<QPDF> pdf;
  std::vector<QPDFPageObjectHelper> pages;
};

Input openInput(const fs::path& file) {
  Input in;
  in.pdf = std::make_unique<QPDF>();
  in.pdf->setSuppressWarnings(true);
  try {
    in.pdf->processFile(qpdfName(file).c_str());
    in.pages = QPDFPageDocumentHelper(*in.pdf).getAllPages();
  } catch (const std::exception&) {
    throw ToolkitError("PDF danneggiato o non leggibile: " + file.string());
  }
  if (in.pages.empty()) throw ToolkitError("il PDF non ha pagine: " + file.string());
  return in;
}

fs::path findOne(const std::string& name) {
  const auto found = platform::expandDosPattern(name);
  if (found.empty()) throw ToolkitError("file non trovato: " + name);
  return found.front();
}

// Writes `pdf` to a temporary file beside `output`, then renames it over `output`.
void writeInPlace(QPDF& pdf, const std::string& output) {
  const fs::path target = platform::hostPath(output);
  std::error_code ec;
  if (fs::is_directory(target, ec)) throw ToolkitError("è una cartella, non un file: " + output);
  fs::path temporary = target.parent_path() / (".pdftk-" + std::to_string(::getpid()) + "-");
  temporary += target.filename();
  try {
    QPDFWriter writer(pdf, qpdfName(temporary).c_str());
    writer.setDeterministicID(true);
    writer.write();
  } catch (const std::exception&) {
    fs::remove(temporary, ec);
    throw ToolkitError("impossibile scrivere " + output);
  }
  fs::rename(temporary, target, ec);
  if (ec) {
    fs::remove(temporary, ec);
    throw ToolkitError("impossibile scrivere " + output);
  }
}

// Every page of `job.inputs` with the first page of the background drawn under it.
void background(const ToolkitJob& job) {
  const auto inputs = expandInputs(job.inputs);
  if (inputs.size() != 1) throw ToolkitError("BACKGROUND vuole un solo file di partenza");
  Input base = openInput(inputs.front());
  Input under = openInput(findOne(job.background));

  QPDF& pdf = *base.pdf;
  QPDFObjectHandle form = pdf.copyForeignObject(under.pages.front().getFormXObjectForPage());
  for (QPDFPageObjectHelper& page : base.pages) {
    // Pages often share one resource dictionary: each gets its own copy to add to.
    QPDFObjectHandle resources = page.getAttribute("/Resources", false);
    resources = resources.isDictionary() ? resources.shallowCopy() : QPDFObjectHandle::newDictionary();
    page.getObjectHandle().replaceKey("/Resources", resources);
    QPDFObjectHandle xobjects = resources.getKey("/XObject");
    resources.replaceKey("/XObject",
                         xobjects.isDictionary() ? xobjects.shallowCopy() : QPDFObjectHandle::newDictionary());
    int suffix = 1;
    const std::string name = resources.getUniqueResourceName("/Fx", suffix);
    resources.getKey("/XObject").replaceKey(name, form);
    const auto box = page.getTrimBox().getArrayAsRectangle();
    // Drawn first, so the page's own marks lie over it.
    const std::string content = page.placeFormXObject(form, name, box, true, true, true);
    page.addPageContents(QPDFObjectHandle::newStream(&pdf, content), true);
  }
  writeInPlace(pdf, job.output);
}

void join(const ToolkitJob& job) {
  const auto files = expandInputs(job.inputs);
  if (files.empty()) throw ToolkitError("nessun file PDF da unire");
  std::vector<Input> inputs;
  for (const fs::path& file : files) inputs.push_back(openInput(file));

  QPDF out;
  out.emptyPDF();
  QPDFPageDocumentHelper pages(out);
  for (Input& in : inputs) {
    for (QPDFPageObjectHelper& page : in.pages) pages.addPage(page, false);
  }
  writeInPlace(out, job.output);
}

}  // namespace

ToolkitJob parseToolkitArgs(const std::vector<std::string>& words) {
  ToolkitJob job;
  bool sawOperation = false;
  std::size_t i = 0;
  for (; i < words.size(); ++i) {
    const std::string word = upper(words[i]);
    if (word == "BACKGROUND" || word == "CAT" || word == "OUTPUT") break;
    job.inputs.push_back(words[i]);
  }
  for (; i < words.size(); ++i) {
    const std::string word = upper(words[i]);
    if (word == "BACKGROUND" && !sawOperation && i + 1 < words.size()) {
      job.kind = ToolkitJob::Kind::Background;
      job.background = words[++i];
      sawOperation = true;
    } else if (word == "CAT" && !sawOperation) {
      job.kind = ToolkitJob::Kind::Join;
      sawOperation = true;
    } else if (word == "OUTPUT" && job.output.empty() && i + 1 < words.size()) {
      job.output = words[++i];
    } else if (word == "DONT_ASK" || word == "VERBOSE") {
      // pdftk's switches about questions and chatter: this one never asks or chatters.
    } else {
      throw ToolkitError("parola non riconosciuta: " + words[i]);
    }
  }
  if (job.output.empty()) throw ToolkitError("manca OUTPUT e il file da scrivere");
  return job;
}

std::vector<fs::path> expandInputs(const std::vector<std::string>& inputs) {
  std::vector<fs::path> files;
  for (const std::string& name : inputs) {
    if (platform::hasWildcard(name)) {
      const auto found = platform::expandDosPattern(name);
      files.insert(files.end(), found.begin(), found.end());
    } else {
      files.push_back(findOne(name));
    }
  }
  return files;
}

void runToolkitJob(const ToolkitJob& job) {
  if (job.kind == ToolkitJob::Kind::Background) {
    background(job);
  } else {
    join(job);
  }
}

}  // namespace vellano::outside
