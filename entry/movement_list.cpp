// The movement list of a cash/bank account: selection over both payment files, the lines on
// screen a page at a time, the print file and the editor started on it.
#include "entry/movement_list.h"

#include <cmath>
#include <optional>

#include "records/dates.h"
#include "records/numbers.h"
#include "records/text.h"
#include "screen/window.h"
#include "records/cash_bank_file.h"
#include "screen/kit.h"
#include "platform/commands.h"
#include "printout/print_channel.h"

namespace vellano::entry {
namespace {

constexpr int kFirstRow = 2;
constexpr int kLastRow = 24;  // 23 lines a page inside the frame
constexpr int kPromptRow = 25;
constexpr std::size_t kScreenWidth = 78;
constexpr std::string_view kPrintFile = "LASER";
constexpr std::string_view kEditorCommand = "CMD /C NOTEPAD2.EXE LASER";
constexpr const char* kAmountMask = "##,###,###.##";

std::string movementLine(const Movement& m) {
  return records::printUsing("####", m.number) + "  " + records::dateText(m.date) + " " +
         records::printUsing(kAmountMask, m.amount) + " " + m.description;
}

std::string totalLine(records::RegisterKind kind, double total) {
  return "Totale" + std::string(records::registerInfo(kind).title) + records::printUsing(kAmountMask, total);
}

// What channels 3 and 12 were before the list borrowed them.
struct BorrowedChannel {
  int number;
  std::string stem;
  bool open;
};

BorrowedChannel remember(records::Catalogue& catalogue, int channel) {
  return {channel, catalogue.stem(channel), catalogue.channel(channel).isOpen()};
}

void giveBack(records::Catalogue& catalogue, const BorrowedChannel& b) {
  catalogue.close(b.number);
  catalogue.setStem(b.number, b.stem);
  if (b.open) catalogue.open(b.number);
}

// The lines on screen, a page of 23 at a time; ESC at the page prompt ends the list.
class MovementScreen {
 public:
  MovementScreen(screen::Session& session, std::uint8_t attr) : session_(session), attr_(attr) {}

  // False once the user has ended the list.
  bool show(std::string_view line) {
    if (row_ > kLastRow) {
      if (waitKey("ESC Fine") == platform::Key::Esc) return false;
      clear();
    }
    put(row_++, 2, records::fitLeft(records::left(line, kScreenWidth), kScreenWidth));
    return true;
  }

  void end() { waitKey("Fine Archivio"); }

 private:
  platform::Key waitKey(std::string_view prompt) {
    put(kPromptRow, 1, prompt);
    for (;;) {
      const platform::KeyEvent key = session_.console.readKey();
      if (key.kind == platform::KeyEvent::Kind::Mouse) continue;
      return key.kind == platform::KeyEvent::Kind::Extended ? key.key : platform::Key::None;
    }
  }
  void clear() {
    for (int row = kFirstRow; row <= kLastRow; ++row) put(row, 2, std::string(kScreenWidth, ' '));
    row_ = kFirstRow;
  }
  void put(int row, int col, std::string_view text) { session_.console.screen().putText(row, col, text, attr_); }

  screen::Session& session_;
  std::uint8_t attr_;
  int row_ = kFirstRow;
};

}  // namespace

std::vector<Movement> selectMovements(records::Catalogue& catalogue, records::RegisterKind kind, int account) {
  const records::RegisterStems& stems = records::registerInfo(kind).stems;
  catalogue.setStem(records::channel::kRegisterHeader, std::string(stems.index));
  catalogue.setStem(records::channel::kPayments, std::string(stems.payments));
  catalogue.open(records::channel::kRegisterHeader).read(1);
  records::RegisterHeader header;
  records::L_3(catalogue, header);
  records::Channel& payments = catalogue.open(records::channel::kPayments);
  std::vector<Movement> selected;
  for (int n = 1; n <= header.payments; ++n) {
    payments.read(n);
    records::Payment p;
    records::L_12(catalogue, p);
    const double k = records::val(p.cashBank);
    if (account < 1 || k != account) continue;
    selected.push_back({n, p.date, records::val(p.amount), p.description});
  }
  return selected;
}

void runMovementList(screen::Session& session, int account) {
  records::Catalogue& catalogue = session.catalogue;
  const BorrowedChannel index = remember(catalogue, records::channel::kRegisterHeader);
  const BorrowedChannel payments = remember(catalogue, records::channel::kPayments);
  const screen::ScreenColours colours = screen::screenColours(session.context());
  const std::string name = account >= 1 ? records::readCashBank(catalogue, account).description : std::string();
  const std::string heading = "Movimenti" + records::printUsing("####", account) + " " + name;
  {
    screen::Window window(session.console.screen(), screen::screenWindow(session.context(), 1, 1, 25, 80, 2), heading);
    printout::PrintChannel print;
    print.open(kPrintFile);
    print.printLine(heading);
    MovementScreen screen(session, colours.text);
    bool going = true;
    for (records::RegisterKind kind : {records::RegisterKind::Sales, records::RegisterKind::Purchases}) {
      if (!going) break;
      print.printLine();
      print.printLine("Pagamenti" + std::string(records::registerInfo(kind).title));
      print.printLine("Num.  Data           Importo Descrizione");
      double total = 0;
      for (const Movement& m : selectMovements(catalogue, kind, account)) {
        const std::string line = movementLine(m);
        if (!(going = screen.show(line))) break;
        print.printLine(line);
        total += m.amount;
      }
      if (!going) break;
      print.printLine(totalLine(kind, total));
      going = screen.show(totalLine(kind, total));
    }
    if (going) screen.end();
    print.close();
    platform::runCommand(kEditorCommand, session.console);
  }
  giveBack(catalogue, index);
  giveBack(catalogue, payments);
}

}  // namespace vellano::entry
