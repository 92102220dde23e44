// The protocol reordering: the window, its four answers and the two numbering orders.
#include "entry/protocol_reorder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "records/cp437_text.h"
#include "records/numbers.h"
#include "records/save_transaction.h"
#include "records/text.h"
#include "screen/window.h"
#include "screen/kit.h"

namespace vellano::entry {
namespace {

constexpr const char* kCountMask = "####";
constexpr int kInputCol = 18;
constexpr int kProgressRow = 12;
constexpr int kAnswerRow = 15;
constexpr int kAnswerCol = 20;

// Renumbers one record in place: a date that reads as 0 (annulled or blank) loses its
// protocol, any other takes the next number.
void renumberOne(records::Catalogue& catalogue, records::RegisterKind kind, long record, long& counter) {
  records::Registration r = records::readRegistration(catalogue, record);
  if (records::val(r.date) == 0) {
    r.protocolLetter.clear();
    r.protocolNumber.clear();
  } else {
    ++counter;
    r.protocolLetter = std::string(records::registerInfo(kind).letter);
    r.protocolNumber = std::to_string(counter);
  }
  records::writeRegistration(catalogue, record, r);
}

double protocolValue(std::string_view text) {
  const double v = records::val(text);
  return v != 0 ? v : records::val(records::mid(text, 3));
}

}  // namespace

std::string reorderKey(const records::Registration& registration, long record) {
  const std::string d = records::fitLeft(registration.date, 6);
  return d.substr(4, 2) + d.substr(2, 2) + d.substr(0, 2) +
         records::printUsing(kCountMask, protocolValue(registration.protocolNumber)) +
         records::printUsing(kCountMask, static_cast<double>(record));
}

void renumberProtocols(records::Catalogue& catalogue, records::RegisterKind kind, const ReorderRange& range, ReorderMode mode,
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
    const records::Registration reg = records::readRegistration(catalogue, r);
    if (reg.annulled()) continue;
    keys.emplace_back(reorderKey(reg, r), r);
  }
  std::sort(keys.begin(), keys.end());
  for (const auto& [key, r] : keys) {
    if (progress) progress(r);
    renumberOne(catalogue, kind, r, counter);
  }
}

bool reorderProtocols(screen::Session& session, records::RegisterKind kind, long count) {
  screen::EditorSettings keep(session.editor);
  const records::Context& context = session.context();
  const screen::ScreenColours colours = screen::screenColours(context);
  platform::ScreenBuffer& screen = session.console.screen();
  screen::Window window(screen, screen::screenWindow(context, 6, 2, 17, 46, 1), "RIORDINO PROTOCOLLO");
  auto put = [&](int row, int col, std::string_view text) { screen.putText(row, col, text, colours.text); };
  put(7, 3, "Dal Codice   :");
  put(8, 3, " al Codice   :");
  put(10, 3, records::cp437(" N° Iniziale :"));
  put(kAnswerRow, 3, "Procedo [S/N/D]: . (D=ordinato per data)");
  session.panel.show(screen, screen::legend("", "", "", "", "", "", "", "", ""));

  auto edit = [&](int row, int col, int length, std::string_view initial, bool capitals) {
    session.editor.setColours(colours.editing, colours.text);
    return screen::editField(session, {row, col, length, screen::kMaskUp, 0, capitals}, initial);
  };
  std::array<long, 3> values{0, 0, 0};  // F, T, S
  constexpr std::array<int, 3> kRows{7, 8, 10};
  int step = 0;
  ReorderMode mode = ReorderMode::Records;
  while (step < 4) {
    if (step < 3) {
      const int row = kRows[static_cast<std::size_t>(step)];
      long& value = values[static_cast<std::size_t>(step)];
      const screen::FieldResult r = edit(row, kInputCol, 4, value > 0 ? std::to_string(value) : "", false);
      if (r.exitCode == screen::kExitEsc) return false;
      if (r.exitCode == screen::kExitUp) {
        if (step > 0) --step;
        continue;
      }
      if (r.exitCode != screen::kExitEnter) continue;
      const double v = records::val(r.text);
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
      put(row, kInputCol, records::printUsing(kCountMask, static_cast<double>(n)));
      ++step;
      continue;
    }
    const screen::FieldResult r = edit(kAnswerRow, kAnswerCol, -1, "", true);
    if (r.exitCode == screen::kExitEsc) return false;
    if (r.exitCode == screen::kExitUp) {
      step = 2;
      continue;
    }
    if (r.exitCode != screen::kExitEnter) continue;
    const std::string answer = records::trim(r.text);
    if (answer == "N") return false;
    if (answer == "S" || answer == "D") {
      mode = answer == "S" ? ReorderMode::Records : ReorderMode::Dates;
      ++step;
      continue;
    }
    session.console.beep();
  }

  const records::RegisterInfo& info = records::registerInfo(kind);
  records::Catalogue& catalogue = session.catalogue;
  if (!catalogue.channel(4).isOpen() || catalogue.stem(4) != info.stems.registrations) {
    catalogue.setStem(4, std::string(info.stems.registrations));
    catalogue.open(records::channel::kRegistrations);
  }
  // One save for the whole range, so no other terminal's save falls in between.
  records::SaveTransaction transaction(catalogue);
  renumberProtocols(catalogue, kind, {values[0], values[1], values[2]}, mode, [&](long record) {
    put(kProgressRow, 3, "Elaboro il codice: " + records::printUsing(kCountMask, static_cast<double>(record)));
  });
  transaction.commit();
  return true;
}

}  // namespace vellano::entry
