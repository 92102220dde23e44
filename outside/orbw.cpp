// orbw: the print-settings dialog. Reads record 1 of ORBW.DAT, lets the user set laser,
// pdf, view, Windows printing and the orientation, and writes the record back with "S" in
// the confirm field to go on or "N" to cancel.
#include <array>
#include <string>

#include "screen/field_editor.h"
#include "records/record_file.h"
#include "records/text.h"
#include "screen/window.h"
#include "platform/console.h"
#include "platform/dos_path.h"
#include "platform/error.h"
#include "printout/orbw_settings.h"

namespace {

using vellano::screen::FieldEditor;
using vellano::printout::OrbwSettings;

constexpr std::uint8_t kTextAttr = 0x70;     // black on light grey
constexpr std::uint8_t kEditAttr = 0x1F;     // white on blue
constexpr int kTop = 15;
constexpr int kLeft = 35;
constexpr int kAnswerColumn = kLeft + 38;  // one blank after the question

struct Question {
  std::string_view text;
  std::string_view letters;  // the two answers: the first means "set"
};

// Laser, pdf, view, Windows, orientation, confirmation.
constexpr std::array<Question, 6> kQuestions{{
    {"File di stampa laser (PCL)   [S/N]:", "SN"},
    {"Conversione in PDF           [S/N]:", "SN"},
    {"Visualizza il file           [S/N]:", "SN"},
    {"Stampa tramite Windows       [S/N]:", "SN"},
    {"Pagina Orizzontale/Verticale [O/V]:", "OV"},
    {"Confermi la stampa           [S/N]:", "SN"},
}};

bool isSet(const std::string& flag) { return flag == "1"; }

class Dialog {
 public:
  explicit Dialog(vellano::platform::Console& console) : console_(console), editor_(console) {
    editor_.setColours(kEditAttr, kTextAttr);
  }

  // Fills `answers` from the record's flags, asks, and returns true when confirmed.
  bool run(const OrbwSettings& in, OrbwSettings& out) {
    std::array<char, 6> answers{};
    answers[0] = isSet(in.laser) ? 'S' : 'N';
    answers[1] = isSet(in.pdf) ? 'S' : 'N';
    answers[2] = isSet(in.view) ? 'S' : 'N';
    answers[3] = isSet(in.windows) ? 'S' : 'N';
    answers[4] = isSet(in.landscape) ? 'O' : 'V';
    answers[5] = 'S';

    vellano::screen::WindowDescriptor d;
    d.top = kTop;
    d.left = kLeft;
    d.bottom = kTop + 2 * static_cast<int>(kQuestions.size()) + 2;
    d.right = kLeft + 41;
    d.borderStyle = 1;
    d.titlePosition = 2;
    d.shadowPosition = 2;
    d.interiorAttr = kTextAttr;
    d.borderAttr = kTextAttr;
    d.titleAttr = 0x74;
    vellano::screen::Window window(console_.screen(), d, "IMPOSTAZIONI DI STAMPA");
    for (std::size_t i = 0; i < kQuestions.size(); ++i) {
      console_.screen().putText(rowOf(i), kLeft + 2, kQuestions[i].text, kTextAttr);
      console_.screen().put(rowOf(i), kAnswerColumn, static_cast<std::uint8_t>(answers[i]), kTextAttr);
    }

    std::size_t i = 0;
    while (i < kQuestions.size()) {
      console_.setCursor(rowOf(i), kAnswerColumn);
      editor_.setCapitals(true);
      const vellano::screen::FieldResult r = editor_.edit(-1, std::string(1, answers[i]));
      if (r.exitCode == vellano::screen::kExitEsc) return false;
      if (r.exitCode == vellano::screen::kExitUp) {
        if (i > 0) --i;
        continue;
      }
      if (r.exitCode != vellano::screen::kExitEnter) continue;
      const std::string typed = vellano::records::upper(vellano::records::trim(r.text));
      if (typed.size() != 1 || kQuestions[i].letters.find(typed[0]) == std::string_view::npos) {
        console_.beep();
        continue;
      }
      answers[i] = typed[0];
      ++i;
    }
    out.laser = answers[0] == 'S' ? "1" : "0";
    out.pdf = answers[1] == 'S' ? "1" : "0";
    out.view = answers[2] == 'S' ? "1" : "0";
    out.windows = answers[3] == 'S' ? "1" : "0";
    out.landscape = answers[4] == 'O' ? "1" : "0";
    out.portrait = answers[4] == 'O' ? "0" : "1";
    return answers[5] == 'S';
  }

 private:
  static int rowOf(std::size_t question) { return kTop + 2 + 2 * static_cast<int>(question); }

  vellano::platform::Console& console_;
  FieldEditor editor_;
};

}  // namespace

int main() {
  namespace printout = vellano::printout;
  try {
    vellano::records::RecordFile file(vellano::platform::hostPath("ORBW.DAT"), printout::kOrbwRecordLength);
    const OrbwSettings in = printout::orbwFromRecord(vellano::records::Record(file.read(printout::kOrbwRecord)));
    OrbwSettings out = in;
    {
      vellano::platform::Console console(vellano::platform::makeBackend());
      out.confirm = Dialog(console).run(in, out) ? "S" : "N";
    }
    vellano::records::Record record(file.read(printout::kOrbwRecord));
    printout::orbwToRecord(out, record);
    file.write(printout::kOrbwRecord, record.bytes());
    return 0;
  } catch (const vellano::RuntimeError& e) {
    std::fprintf(stderr, "orbw: %s\n", e.what());
    return 1;
  }
}
