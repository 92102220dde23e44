// The record picker.
#include "screen/record_picker.h"

#include "records/numbers.h"
#include "screen/list_select.h"

namespace vellano::screen {

Pick pickRecord(Session& session, const RecordPicker& p) {
  for (;;) {
    const FieldResult r = session.editor.edit(p.field, p.initial);
    switch (r.exitCode) {
      case kExitEsc: return {0, kExitEsc};
      case kExitEnter: {
        const double v = records::val(r.text);
        if (v == 0) {
          const int n = p.newRecord ? p.newRecord() : p.count + 1;
          if (n > 0) return {n, kExitEnter};
          continue;
        }
        const long n = records::wholeNumberIn(v, 1, p.highest > 0 ? p.highest : p.count + 1);
        if (n > 0) return {static_cast<int>(n), kExitEnter};
        session.console.beep();
        continue;
      }
      case kExitF9:
        if (!p.list) break;
        if (p.count < 1 && !p.listWhenEmpty) {
          session.console.beep();
        } else {
          const int from = p.current >= 1 && p.current <= p.count ? p.current : 1;
          const int chosen = selectFromList(session.console, p.list(), from, searchListWindow(), p.listTitle,
                                            kSearchHighlight);
          if (chosen >= 1) return {chosen, kExitF9};
        }
        continue;
      case kExitPageUp:
        if (!p.pageKeys) break;
        if (p.current > 1) return {p.current - 1, kExitPageUp};
        continue;
      case kExitPageDown:
        if (!p.pageKeys) break;
        if (p.current < p.count) return {p.current + 1, kExitPageDown};
        continue;
      default: break;
    }
    if (p.onKey) {
      if (const std::optional<int> n = p.onKey(r.exitCode)) return {*n, r.exitCode};
    }
  }
}

}  // namespace vellano::screen
