// Start and end of print: dialog or prompt, channel 99, PCL set-up and reset, follow-ups.
#include "printout/print_output.h"

#include <cstdlib>
#include <fstream>

#include "screen/field_editor.h"
#include "records/numbers.h"
#include "records/text.h"
#include "platform/commands.h"
#include "platform/dos_path.h"
#include "platform/error.h"

namespace vellano::printout {
namespace {

constexpr char kCondensedOn = '\x0F';
constexpr char kCondensedOff = '\x12';

// The option character at `index`, "" when the string is shorter.
std::string option(std::string_view options, std::size_t index) {
  return index < options.size() ? std::string(1, options[index]) : std::string();
}

// Flags 1 and 4 are on unless switched off with "0"; portrait when no orientation is set.
OrbwSettings initialFlags(std::string_view options) {
  OrbwSettings s;
  s.laser = option(options, 0) == "0" ? "0" : "1";
  s.pdf = option(options, 1);
  s.view = option(options, 2);
  s.windows = option(options, 3) == "0" ? "0" : "1";
  s.landscape = option(options, 4);
  s.portrait = option(options, 5);
  if (s.landscape != "1" && s.portrait != "1") s.portrait = "1";
  s.confirm = "N";
  return s;
}

std::string comspec() {
  const char* value = std::getenv("COMSPEC");
  return value != nullptr ? value : "";
}

void writeBatch(const std::string& fileName) {
  const std::string path = platform::hostPath("STAP.BAT").string();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << "@ECHO OFF\r\n" << "PCL2PDF32.EXE " << fileName << " LASER.PDF -S\r\n";
  out.close();
  if (!out) throw RuntimeError(error::kPathFileAccess, "ORBWWS", path);
}

}  // namespace

void PrintOutput::ORBWW(screen::Session& session, const PrintRequest& request) {
  records::Catalogue& catalogue = session.catalogue;
  pitch_ = request.pitch;
  fileName_ = request.fileName.empty() ? "LASER" : request.fileName;

  catalogue.close(records::channel::kPrintSettings);
  records::Channel& orbw = catalogue.open(records::channel::kPrintSettings);
  W_98(catalogue, OrbwSettings{"", "", "", "", "", "", ""});
  orbw.write(kOrbwRecord);

  W_98(catalogue, initialFlags(request.options));
  orbw.write(kOrbwRecord);
  catalogue.close(records::channel::kPrintSettings);
  platform::runCommand("ORBW.EXE", session.console);
  catalogue.open(records::channel::kPrintSettings).read(kOrbwRecord);
  L_98(catalogue, settings_);
  catalogue.close(records::channel::kPrintSettings);

  // Only an explicit "S" goes on: a dialog that died half-way leaves no confirmation.
  confirm_ = settings_.confirm == "S" ? "S" : "N";
  if (confirm_ == "N") {
    destination_.clear();
    secondAction_.clear();
    return;
  }

  destination_ = "S";
  secondAction_.clear();
  const bool laserSet = settings_.laser == "1";
  const bool pdfSet = settings_.pdf == "1";
  if (laserSet) destination_ = "L";
  if (settings_.view == "1") destination_ = "V";
  if (pdfSet && !laserSet) destination_ = "F";
  if (pdfSet && laserSet) secondAction_ = "F";
  if (settings_.windows == "1" && !pdfSet) secondAction_ = "W";

  verticalMotion_ = records::val(pitch_) > 13 ? "l4" : "l8";
  openChannel(session);

  if (laserSet) {
    if (records::val(pitch_) == 0) pitch_ = "10";
    if (settings_.portrait == "1") orientation_ = "0";
    if (settings_.landscape == "1") orientation_ = "1";
    sendSetUp();
  } else if (condensed()) {
    channel_.control(kCondensedOn);
  }
}

void PrintOutput::openChannel(screen::Session& session) {
  channel_.close();
  if (destination_ == "S") {
    fileName_ = "LPT1:";
  } else {
    platform::runCommand("CMD /C DEL " + fileName_, session.console);
  }
  channel_.open(fileName_);
}

void PrintOutput::sendSetUp() {
  channel_.escape("E");
  channel_.escape("&l" + orientation_ + "O");
  channel_.escape("&l26A");
  channel_.escape("&a0P");
  channel_.escape("&l0E");
  channel_.escape("&a0L");
  channel_.escape("&k12H");
  channel_.escape("&" + verticalMotion_ + "C");
  channel_.escape("*t300R");
  channel_.escape("&l0L");
  channel_.printLine();
  channel_.escape("(s3T");
  channel_.escape("(s0S");
  channel_.escape("(s0P");
  channel_.escape("(s" + pitch_ + "H");
  channel_.printLine();
}

bool PrintOutput::condensed() const { return destination_ != "F" && records::val(pitch_) > 10; }

void PrintOutput::ORBWWS(screen::Session& session) {
  if (fileName_.empty()) fileName_ = "LASER";
  if (channel_.isOpen()) {
    if (laser()) {
      for (std::string_view command : {"E", "&l0O", "&l26A", "&a0P", "&l0E", "&a0L", "&k12H", "&l8C",
                                       "*t300R", "&l0L", "(s3T", "(s0S", "(s0P", "(s10H"}) {
        channel_.escape(command);
      }
    } else if (condensed()) {
      channel_.control(kCondensedOff);
    }
  }
  channel_.close();
  // A cancelled start of print opened nothing and hands nothing on.
  if (destination_.empty()) return;

  platform::Console& console = session.console;
  if (destination_ == "F" || secondAction_ == "F") {
    writeBatch(fileName_);
    platform::runCommand(comspec() + " /C STAP.BAT", console);
    platform::runCommand(comspec() + " /C START LASER.PDF", console);
  } else if (destination_ == "W" || secondAction_ == "W") {
    platform::runCommand("CMD /C PRFILE32.EXE /q " + fileName_, console);
    if (destination_ == "V") platform::runCommand("CMD /C LIST " + fileName_, console);
  } else if (destination_ != "S") {
    platform::runCommand("CMD /C LIST " + fileName_, console);
  }
}

void PrintOutput::LASON(std::string_view pageSetup, std::string_view pitch) {
  if (pageSetup == "X") {
    for (std::string_view command : {"E", "&l26A", "&a0P", "&l0E", "&a0L", "&k12H", "&l4C", "*t300R", "&l0L"}) {
      channel_.escape(command);
    }
    channel_.printLine();
  }
  channel_.escape("(s3T");
  channel_.escape("(s0S");
  channel_.escape("(s0P");
  channel_.escape("(s" + std::string(pitch) + "H");
  channel_.printLine();
}

void PrintOutput::LASOFF(std::string_view pageSetup) {
  if (pageSetup == "X") {
    for (std::string_view command : {"E", "&l26A", "&a0P", "&l0E", "&a0L", "&k12H", "&l8C", "*t300R", "&l0L"}) {
      channel_.escape(command);
    }
    channel_.printLine();
  }
  channel_.escape("(s3T");
  channel_.escape("(s0S");
  channel_.escape("(s0P");
  channel_.escape("(s10H");
  channel_.printLine();
}

int PrintOutput::ORBW(screen::Session& session, const PrintRequest& request, int row, int col,
                      std::uint8_t attr) {
  platform::Console& console = session.console;
  screen::FieldEditor& editor = session.editor;
  pitch_ = request.pitch;
  fileName_ = request.fileName.empty() ? "LASER" : request.fileName;
  std::string answer = "F";
  while (true) {
    console.screen().putText(row, col, std::string(kPrintPrompt), attr);
    console.setCursor(row, col + static_cast<int>(kPrintPrompt.size()));
    screen::FieldResult r = editor.edit(-2, answer);
    if (r.exitCode == screen::kExitEsc) {
      destination_.clear();
      secondAction_.clear();
      return screen::kExitEsc;
    }
    answer = records::upper(r.text);
    if (r.exitCode == screen::kExitUp) {
      console.screen().putText(row, col + 32, records::fitLeft(answer, 2), attr);
    }
    const std::string padded = records::fitLeft(answer, 2);
    const std::string first = padded.substr(0, 1);
    const std::string last = padded.substr(1, 1);
    if (first == "N") {
      destination_.clear();
      secondAction_.clear();
      return screen::kExitEsc;
    }
    const bool firstOk = first == "S" || first == "V" || first == "L" || first == "W" || first == "F";
    const bool lastOk = last == " " || last == "W" || last == "F";
    if (!firstOk || !lastOk) {
      console.beep();
      continue;
    }
    destination_ = first;
    secondAction_ = last == " " ? "" : last;
    confirm_ = "S";
    settings_ = OrbwSettings{};
    break;
  }
  channel_.close();
  if (destination_ == "S") {
    fileName_ = "LPT1:";
  } else {
    platform::runCommand("CMD /C DEL " + fileName_, console);
  }
  channel_.open(fileName_);
  return screen::kExitEnter;
}

void PrintOutput::ORBWS(screen::Session& session) {
  channel_.close();
  if (destination_.empty()) return;
  platform::Console& console = session.console;
  if (destination_ == "F" || secondAction_ == "F") {
    platform::runCommand("CMD /C PCL2PD~1.EXE " + fileName_ + " LASER.PDF -S", console);
    platform::runCommand("CMD /C START LASER.PDF", console);
  } else if (destination_ == "W" || secondAction_ == "W") {
    platform::runCommand("CMD /C PRFILE32.EXE /q " + fileName_, console);
    if (destination_ == "V") platform::runCommand("CMD /C LIST " + fileName_, console);
  } else if (destination_ != "S") {
    platform::runCommand("CMD /C LIST " + fileName_, console);
  }
}

}  // namespace vellano::printout
