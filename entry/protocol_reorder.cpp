// The protocol reordering: the window, its four answers and the two numbering orders.
#include "entry/protocol_reorder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "frame/cp437_text.h"
#include "frame/numbers.h"
#include "frame/text.h"
#include "frame/window.h"
#include "master/causals_fields.h"

namespace vellano::entry {
namespace {

constexpr const char* kCountMask = "####";
constexpr int kInputCol = 18;
constexpr int kProgressRow = 12;
constexpr int kAnswerRow = 15;
constexpr int kAnswerCol = 20;

// Renumbers one record in place: a date that reads as 0 (annulled or blank) loses its
// protocol, any other takes the next number.
void renumberOne(frame::Catalogue& catalogue, RegisterKind kind, long record, long& counter) {
  Registration r = readRegistration(catalogue, record);
  if (frame::val(r.date) == 0) {
    r.protocolLetter.clear();
    r.protocolNumber.clear();
  } else {
    ++counter;
    r.protocolLetter = std::string(registerInfo(kind).letter);
    r.protocolNumber = std::to_string(counter);
  }
  writeRegistration(catalogue, record, r);
}

double protocolValue(std::string_view text) {
  const double v = frame::val(text);
  return v != 0 ? v : frame::val(frame::mid(text, 3));
}

}  // namespace

std::string reorderKey(const Registration& registration, long record) {
  const std::string d = frame::fitLeft(registration.date, 6);
  return d.substr(4, 2) + d.substr(2, 2) + d.substr(0, 2) +
         frame::printUsing(kCountMask, protocolValue(registration.protocolNumber)) +
         frame::printUsing(kCountMask, static_cast<double>(record));
}

void renumberProtocols(frame::Catalogue& catalogue, RegisterKind kind, const ReorderRange& range, ReorderMode mode,
                       const std::function<void(long record)>& progress) {
  long counter = range.start - 1;
  if (mode == ReorderMode::Records) {
    for (long r = range.first; r <= range.last; ++r) {
      if (progress) progress(r);
      renumberOne(catalogue, kind, r, counter);
    }
    return;
  }
  std::vector<std::pair<std::string, long>> keys;
  for (long r = range.first; r <= range.last; ++r) {
    const Registration reg = readRegistration(catalogue, r);
    if (reg.annulled()) continue;
    keys.emplace_back(reorderKey(reg, r), r);
  }
  std::sort(keys.begin(), keys.end());
  for (const auto& [key, r] : keys) {
    if (progress) progress(r);
    renumberOne(catalogue, kind, r, counter);
  }
}

bool reorderProtocols(frame::Session& session, RegisterKind kind, long count) {
  master::EditorSettings keep(session.editor);
  const frame::Context& context = session.context();
  const master::ScreenColours colours = master::screenColours(context);
  platform::ScreenBuffer& screen = session.console.screen();
  frame::Window window(screen, master::screenWindow(context, 6, 2, 17, 46, 1), "RIORDINO PROTOCOLLO");
  auto put = [&](int row, int col, std::string_view text) { screen.putText(row, col, text, colours.text); };
  put(7, 3, "Dal Codice   :");
  put(8, 3, " al Codice   :");
  put(10, 3, frame::cp437(" N° Iniziale :"));
  put(kAnswerRow, 3, "Procedo [S/N/D]: . (D=ordinato per data)");
  session.panel.show(screen, master::legend("", "", "", "", "", "", "", "", ""));

  auto edit = [&](int row, int col, int length, std::string_view initial, bool capitals) {
    session.editor.setColours(colours.editing, colours.text);
    return master::editField(session, {row, col, length, master::kMaskUp, 0, capitals}, initial);
  };
  std::array<long, 3> values{0, 0, 0};  // F, T, S
  constexpr std::array<int, 3> kRows{7, 8, 10};
  int step = 0;
  ReorderMode mode = ReorderMode::Records;
  while (step < 4) {
    if (step < 3) {
      const int row = kRows[static_cast<std::size_t>(step)];
      long& value = values[static_cast<std::size_t>(step)];
      const frame::FieldResult r = edit(row, kInputCol, 4, value > 0 ? std::to_string(value) : "", false);
      if (r.exitCode == frame::kExitEsc) return false;
      if (r.exitCode == frame::kExitUp) {
        if (step > 0) --step;
        continue;
      }
      if (r.exitCode != frame::kExitEnter) continue;
      const double v = frame::val(r.text);
      long n = v == std::floor(v) && v >= 0 && v <= 9999 ? static_cast<long>(v) : -1;
      if (step == 0 && n == 0) n = 1;
      if (step == 1 && n == 0) n = count;
      const bool ok = step == 0   ? n >= 1 && n <= count
                      : step == 1 ? n >= values[0] && n <= count
                                  : n > 0;
      if (!ok) {
        session.console.beep();
        continue;
      }
      value = n;
      put(row, kInputCol, frame::printUsing(kCountMask, static_cast<double>(n)));
      ++step;
      continue;
    }
    const frame::FieldResult r = edit(kAnswerRow, kAnswerCol, -1, "", true);
    if (r.exitCode == frame::kExitEsc) return false;
    if (r.exitCode == frame::kExitUp) {
      step = 2;
      continue;
    }
    if (r.exitCode != frame::kExitEnter) continue;
    const std::string answer = frame::trim(r.text);
    if (answer == "N") return false;
    if (answer == "S" || answer == "D") {
      mode = answer == "S" ? ReorderMode::Records : ReorderMode::Dates;
      ++step;
      continue;
    }
    session.console.beep();
  }

  const RegisterInfo& info = registerInfo(kind);
  frame::Catalogue& catalogue = session.catalogue;
  if (!catalogue.channel(4).isOpen() || catalogue.stem(4) != info.stems.registrations) {
    catalogue.setStem(4, std::string(info.stems.registrations));
    catalogue.O_4();
  }
  renumberProtocols(catalogue, kind, {values[0], values[1], values[2]}, mode, [&](long record) {
    put(kProgressRow, 3, "Elaboro il codice: " + frame::printUsing(kCountMask, static_cast<double>(record)));
  });
  return true;
}

}  // namespace vellano::entry
