// The pieces the telematic files share: records, the safe write, the intermediary fields, the
// name of the copy, the two questions and the copy.
#include "telematic/transmission.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/commands.h"
#include "platform/dos_path.h"
#include "platform/error.h"
#include "records/dates.h"
#include "records/text.h"
#include "records/write_faults.h"
#include "screen/glyphs.h"
#include "screen/kit.h"

namespace vellano::telematic {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kProceed = "PROCEDO [S/N]: ";
constexpr std::string_view kCopyQuestion = " Procedo con la copia [Si/No/H (c:\\albtel)]: ";
constexpr std::string_view kFileTitle = " CREAZIONE DEL FILE ........ ";
constexpr std::string_view kAutomaticNote = "(F9 nome file automatico)";
constexpr int kCopyCol = 3;
constexpr std::size_t kNameWidth = 8;
constexpr Place kNamePlace{35, 24};
constexpr Place kNotePlace{36, 8};
constexpr int kFileTop = 35, kFileLeft = 2, kFileBottom = 41, kFileRight = 50;

[[noreturn]] void fail(int err, const char* routine, const fs::path& path) {
  throw RuntimeError(err > 0 ? errorNumberFromErrno(err) : error::kDeviceIo, routine, path.string());
}

void put(platform::ScreenBuffer& screen, Place at, std::string_view text, std::uint8_t attr) {
  screen.putText(at.row, at.col, text, attr);
}

// A value shown in its input area: the text, then dots for the free places.
std::string inArea(std::string_view value, std::size_t width) {
  const std::string cut = records::left(records::trimRight(value), width);
  return cut + screen::dots(width - cut.size());
}

// One text field of a sequence: Enter keeps what was typed, the value is shown again after.
screen::Go editText(screen::Session& session, Place at, std::size_t width, std::string& value,
                    const Colours& colours, bool (*accept)(std::string_view)) {
  const screen::FieldSpec field =
      screen::textField(at.row, at.col, static_cast<int>(width)).withKeys({screen::kExitUp}).inCapitals();
  session.editor.setColours(colours.editing, colours.text);
  const screen::FieldResult r = session.editor.edit(field, records::left(value, width));
  if (r.exitCode == screen::kExitEnter) {
    const std::string typed = records::trimRight(r.text);
    if (accept && !accept(typed)) {
      session.console.beep();
      return screen::Go::again();
    }
    value = typed;
  }
  put(session.console.screen(), at, inArea(value, width), colours.text);
  return screen::goFor(r.exitCode);
}

bool validDate(std::string_view ddmmyy) {
  if (ddmmyy.empty()) return true;
  if (ddmmyy.size() != 6) return false;
  for (char c : ddmmyy)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return records::dateValid(ddmmyy, 0, true);
}

// Where the copy lands: the diskette, or the telematic client's folder.
std::string copyTarget(char answer, std::string_view copyName) {
  return (answer == 'S' ? std::string("A:") : std::string("C:\\ALBTEL\\")) + std::string(copyName);
}

bool copied(std::string_view outputName, const std::string& target) {
  std::error_code ec;
  const fs::path source = platform::hostPath(outputName);
  const fs::path copy = platform::hostPath(target);
  if (!fs::is_regular_file(copy, ec) || fs::equivalent(source, copy, ec)) return false;
  std::error_code sourceError;
  std::error_code copyError;
  const auto sourceSize = fs::file_size(source, sourceError);
  const auto copySize = fs::file_size(copy, copyError);
  return !sourceError && !copyError && sourceSize == copySize;
}

}  // namespace

// ---- Records ----

FixedRecord::FixedRecord(std::size_t length) : bytes_(length, ' ') {
  if (length >= 3) {
    bytes_[length - 3] = 'A';
    bytes_[length - 2] = '\r';
    bytes_[length - 1] = '\n';
  }
}

FixedRecord& FixedRecord::text(std::size_t position, std::size_t width, std::string_view value) {
  bytes_.replace(position - 1, width, records::fitLeft(value, width));
  return *this;
}

FixedRecord& FixedRecord::number(std::size_t position, std::size_t width, long long value, const char* routine) {
  const std::string digits = std::to_string(value);
  if (digits.size() > width) throw RuntimeError(error::kOverflow, routine, digits);
  bytes_.replace(position - 1, width, records::fitRight(digits, width));
  return *this;
}

long long integerPart(double value) {
  const double whole = std::trunc(value);
  // Beyond what a long long holds no field could show it either.
  if (!(std::fabs(whole) < 9.2e18)) throw RuntimeError(error::kOverflow, "integerPart");
  return static_cast<long long>(whole);
}

std::string longDate(std::string_view ddmmyy, std::string_view century) {
  if (records::isBlank(ddmmyy)) return std::string(8, ' ');
  const std::string date = records::fitLeft(records::nulAsBlank(ddmmyy), 6);
  return date.substr(0, 4) + std::string(century) + date.substr(4, 2);
}

void writeOutputFile(std::string_view dosName, std::string_view bytes, const char* routine) {
  const fs::path target = platform::hostPath(dosName);
  const fs::path temporary = platform::hostPath(std::string(dosName) + ".TMP");
  auto discard = [&] {
    std::error_code ignored;
    fs::remove(temporary, ignored);
  };
  if (const int fault = records::faults::before(records::faults::Step::Write, temporary)) fail(fault, routine, temporary);
  {
    errno = 0;
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (out) out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (out) out.close();
    if (!out) {
      const int err = errno;
      discard();
      fail(err, routine, temporary);
    }
  }
  if (const int fault = records::faults::before(records::faults::Step::Rename, target)) {
    discard();
    fail(fault, routine, target);
  }
  std::error_code ec;
  fs::rename(temporary, target, ec);
  if (ec) {
    discard();
    fail(ec.value(), routine, target);
  }
}

// ---- Screen pieces ----

Colours colours(const records::Context& context) {
  const screen::ScreenColours c = screen::screenColours(context);
  return {c.text, c.editing};
}

void showIntermediary(platform::ScreenBuffer& screen, const IntermediaryPlaces& places,
                      const records::Intermediary& values, const Colours& colours) {
  put(screen, places.fiscalCode, inArea(values.fiscalCode, 16), colours.text);
  put(screen, places.registrationNumber, inArea(values.registrationNumber, 5), colours.text);
  put(screen, places.commitmentDate, inArea(values.commitmentDate, 6), colours.text);
}

std::vector<screen::SequenceStep> intermediarySteps(screen::Session& session, const IntermediaryPlaces& places,
                                                    records::Intermediary& values, const Colours& colours) {
  return {
      [&session, places, &values, colours] {
        return editText(session, places.fiscalCode, 16, values.fiscalCode, colours, nullptr);
      },
      [&session, places, &values, colours] {
        return editText(session, places.registrationNumber, 5, values.registrationNumber, colours, nullptr);
      },
      [&session, places, &values, colours] {
        return editText(session, places.commitmentDate, 6, values.commitmentDate, colours, validDate);
      },
  };
}

std::string automaticFileName(std::string_view companyExtension, std::string_view surname) {
  std::string name;
  for (char c : records::trim(companyExtension) + records::left(records::trim(surname), 5))
    if (c != ' ') name += c;
  return records::upper(name);
}

bool validFileName(std::string_view name) {
  if (name.empty() || name.size() > kNameWidth) return false;
  for (char c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-') return false;
  return true;
}

FileNameWindow::FileNameWindow(screen::Session& session, std::string name, const Colours& colours)
    : session_(session), colours_(colours),
      window_(session.console.screen(),
              screen::screenWindow(session.context(), kFileTop, kFileLeft, kFileBottom, kFileRight, 1), kFileTitle),
      name_(std::move(name)) {
  show();
}

void FileNameWindow::show() {
  platform::ScreenBuffer& screen = session_.console.screen();
  put(screen, kNamePlace, records::fitLeft(name_, kNameWidth), colours_.text);
  put(screen, kNotePlace, kAutomaticNote, colours_.text);
}

void FileNameWindow::edit(std::string_view automaticName) {
  const screen::FieldSpec field =
      screen::textField(kNamePlace.row, kNamePlace.col, static_cast<int>(kNameWidth))
          .withKeys({screen::kExitF9})
          .inCapitals();
  std::string initial = name_;
  for (;;) {
    session_.editor.setColours(colours_.editing, colours_.text);
    const screen::FieldResult r = session_.editor.edit(field, initial);
    if (r.exitCode == screen::kExitF9) {
      initial = std::string(automaticName);
      continue;
    }
    if (r.exitCode == screen::kExitEsc) break;
    if (r.exitCode != screen::kExitEnter) continue;
    const std::string typed = records::trim(r.text);
    if (!validFileName(typed)) {
      session_.console.beep();
      initial = typed;
      continue;
    }
    name_ = typed;
    break;
  }
  show();
}

ProceedAnswer askProceed(screen::Session& session, int col, screen::KeyMask keys, const Colours& colours) {
  platform::ScreenBuffer& screen = session.console.screen();
  const int answerCol = col + static_cast<int>(kProceed.size());
  const screen::FieldSpec field = screen::textField(kQuestionRow, answerCol, 1).withKeys(keys).inCapitals();
  for (;;) {
    screen.putText(kQuestionRow, col, kProceed, colours.text);
    session.editor.setColours(colours.editing, colours.text);
    const screen::FieldResult r = session.editor.edit(field, "N");
    if (r.exitCode == screen::kExitEsc) return {ProceedAnswer::Kind::Leave, r.exitCode};
    if (r.exitCode != screen::kExitEnter) {
      if (keys.allows(r.exitCode)) return {ProceedAnswer::Kind::Key, r.exitCode};
      continue;
    }
    const std::string answer = records::trim(r.text);
    if (answer == "S") return {ProceedAnswer::Kind::Proceed, 0};
    if (answer == "N") return {ProceedAnswer::Kind::Leave, 0};
    session.console.beep();
  }
}

std::string copyCommand(char answer, std::string_view outputName, std::string_view copyName) {
  return "CMD /C COPY " + std::string(outputName) + " " + copyTarget(answer, copyName);
}

std::string offerCopy(screen::Session& session, std::string_view outputName, std::string_view copyName,
                      const Colours& colours) {
  platform::ScreenBuffer& screen = session.console.screen();
  const int answerCol = kCopyCol + static_cast<int>(kCopyQuestion.size());
  const screen::FieldSpec field = screen::textField(kQuestionRow, answerCol, 1).inCapitals();
  const int width = kFileRight - kCopyCol;  // the inside of the file window from the question on
  screen.fill(kQuestionRow, kCopyCol, width, ' ', colours.text);
  screen.putText(kQuestionRow, kCopyCol, kCopyQuestion, colours.text);
  char answer = 'N';
  for (;;) {
    session.editor.setColours(colours.editing, colours.text);
    const screen::FieldResult r = session.editor.edit(field, "H");
    if (r.exitCode == screen::kExitEsc) return {};
    if (r.exitCode != screen::kExitEnter) continue;
    const std::string typed = records::trim(r.text);
    if (typed == "S" || typed == "N" || typed == "H") {
      answer = typed[0];
      break;
    }
    session.console.beep();
  }
  if (answer == 'N') return {};
  if (answer == 'H') {
    // The client's folder may not be there yet on a new installation.
    std::error_code ignored;
    fs::create_directories(platform::hostPath("C:\\ALBTEL\\"), ignored);
  }
  const std::string command = copyCommand(answer, outputName, copyName);
  platform::runCommand(command, session.console);
  if (!copied(outputName, copyTarget(answer, copyName))) {
    screen.putText(kQuestionRow + 1, kCopyCol, "Copia non riuscita: premere un tasto", colours.text);
    session.console.readKey();
  }
  return command;
}

}  // namespace vellano::telematic
