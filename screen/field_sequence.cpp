// The field-sequence runner.
#include "screen/field_sequence.h"

#include "screen/field_editor.h"

namespace vellano::screen {

Go goFor(int exitCode) {
  switch (exitCode) {
    case kExitEnter: return Go::next();
    case kExitUp: return Go::back();
    case kExitEsc: return Go::abandon();
    default: return Go::again();
  }
}

SequenceEnd runSequence(const std::vector<SequenceStep>& steps, int first, BackFromFirst backFromFirst) {
  const int last = static_cast<int>(steps.size()) - 1;
  int k = first;
  while (k >= 0 && k <= last) {
    const Go go = steps[static_cast<std::size_t>(k)]();
    switch (go.kind()) {
      case Go::Kind::Next: ++k; break;
      case Go::Kind::Back:
        if (k > 0) --k;
        else if (backFromFirst == BackFromFirst::Ends) return SequenceEnd::BackFromFirst;
        break;
      case Go::Kind::Again: break;
      case Go::Kind::To: k = go.step() < 0 ? 0 : go.step(); break;
      case Go::Kind::Finish: return SequenceEnd::Completed;
      case Go::Kind::Abandon: return SequenceEnd::Abandoned;
    }
  }
  return SequenceEnd::Completed;
}

}  // namespace vellano::screen
