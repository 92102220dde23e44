// The PDF toolkit started as PDFTK.EXE, on qpdf: a page laid on a background and page files
// joined, with the command words the print module builds ("A BACKGROUND B OUTPUT C",
// "X Y ... CAT OUTPUT Z").
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace vellano::outside {

// A toolkit run that cannot be done; the message names the file and the reason.
class ToolkitError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ToolkitJob {
  enum class Kind { Background, Join };
  Kind kind = Kind::Join;
  std::vector<std::string> inputs;  // as given; wildcards are expanded when the job runs
  std::string background;
  std::string output;
};

// Reads the command words after the program name. Key words are taken without case.
// Throws ToolkitError for words the toolkit does not know or a missing OUTPUT.
ToolkitJob parseToolkitArgs(const std::vector<std::string>& words);

// The input files in order: a wildcard name expands to the files it matches, sorted by
// name as a DOS listing gives them; a missing plain name is an error.
std::vector<std::filesystem::path> expandInputs(const std::vector<std::string>& inputs);

// Does the job. The output is written beside its final place and renamed over it only when
// complete, so a failure leaves no half-written file (and an older output untouched).
void runToolkitJob(const ToolkitJob& job);

}  // namespace vellano::outside
