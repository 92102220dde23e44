// What the files for the tax authority have in common: their fixed-length records, writing
// one so that a failure leaves nothing under its name, the intermediary values on screen,
// the window with the name of the copy, the "PROCEDO" question and the copy to the diskette
// or to the folder of the telematic client.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/intermediary_file.h"
#include "screen/field_editor.h"
#include "screen/field_sequence.h"
#include "screen/session.h"
#include "screen/window.h"

namespace vellano::telematic {

// ---- Records ----

// One record of a telematic file: blanks, "A" in the third last byte, CR LF. Positions are
// 1-based, as the record tables count them.
class FixedRecord {
 public:
  explicit FixedRecord(std::size_t length);

  // `value` left-aligned, blank-padded and cut to `width`.
  FixedRecord& text(std::size_t position, std::size_t width, std::string_view value);
  // A whole number right-aligned with blanks; one that does not fit is error 6 in `routine`.
  FixedRecord& number(std::size_t position, std::size_t width, long long value, const char* routine);

  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// The integer part of an amount (towards zero).
long long integerPart(double value);
// ddmmyy as ddmm + `century` + yy; a blank date stays blank (8 blanks).
std::string longDate(std::string_view ddmmyy, std::string_view century = "20");

// Writes the whole file under a temporary name beside `dosName`, then renames it to
// `dosName`. On failure the temporary file is removed and a RuntimeError with the error
// number goes up to the error box: nothing is left under `dosName`.
void writeOutputFile(std::string_view dosName, std::string_view bytes, const char* routine);

// ---- Screen pieces ----

// Colours of the telematic screens (the data-entry scheme of the installation).
struct Colours {
  std::uint8_t text;
  std::uint8_t editing;
};
Colours colours(const records::Context& context);

// Where the three intermediary values are shown and typed.
struct Place {
  int row;
  int col;
};
struct IntermediaryPlaces {
  Place fiscalCode;          // 16 characters
  Place registrationNumber;  // 5 characters: what the files carry
  Place commitmentDate;      // ddmmyy, a valid date or blank
};
void showIntermediary(platform::ScreenBuffer& screen, const IntermediaryPlaces& places,
                      const records::Intermediary& values, const Colours& colours);
// The three fields as steps of a field sequence (Enter on, Up back, ESC out); the values
// change for this run only. A date that is not valid beeps and is asked again.
std::vector<screen::SequenceStep> intermediarySteps(screen::Session& session, const IntermediaryPlaces& places,
                                                    records::Intermediary& values, const Colours& colours);

// The name of the copy: company extension + the first 5 characters of the surname, without
// blanks (F9 in the name field).
std::string automaticFileName(std::string_view companyExtension, std::string_view surname);
// 1-8 letters, digits, "_" or "-": nothing that could name another folder or drive.
bool validFileName(std::string_view name);

// The window " CREAZIONE DEL FILE ........ " at (35,2)-(41,50) with the name of the copy at
// 35,24 and "(F9 nome file automatico)" at 36,8. It closes when it goes out of scope.
class FileNameWindow {
 public:
  FileNameWindow(screen::Session& session, std::string name, const Colours& colours);

  const std::string& name() const { return name_; }
  // F2 at the question: the name typed (8 characters, capitals); F9 puts `automaticName`;
  // ESC keeps the old one; a name that is not valid beeps.
  void edit(std::string_view automaticName);

 private:
  void show();

  screen::Session& session_;
  Colours colours_;
  screen::Window window_;
  std::string name_;
};

inline constexpr int kQuestionRow = 39;

// "PROCEDO [S/N]: " at (kQuestionRow, col), default "N". The answer: proceed, leave (N or
// ESC), or one of the function keys in `keys`, which the caller serves before asking again.
struct ProceedAnswer {
  enum class Kind { Proceed, Leave, Key } kind = Kind::Leave;
  int key = 0;  // exit code of the function key
};
ProceedAnswer askProceed(screen::Session& session, int col, screen::KeyMask keys, const Colours& colours);

// " Procedo con la copia [Si/No/H (c:\albtel)]: " at kQuestionRow, column 3, default "H";
// only S, N and H are taken (ESC is N). "S" copies `outputName` to the diskette, "H" to the
// folder of the telematic client, both under `copyName`. A copy that is not found afterwards
// is told on the next row and waits for a key. Returns the command run, empty for none.
std::string offerCopy(screen::Session& session, std::string_view outputName, std::string_view copyName,
                      const Colours& colours);
// The copy command of an answer "S" or "H".
std::string copyCommand(char answer, std::string_view outputName, std::string_view copyName);

}  // namespace vellano::telematic
