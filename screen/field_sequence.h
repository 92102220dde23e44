// A screen's fields typed one after the other. Each step edits its field and says where to go
// next: on, back, the same field again, to a given field, done early, or out without saving.
//
//   const SequenceEnd end = runSequence({
//       [&] { return goFor(editDescription()); },
//       [&] { return goFor(editAmount(kDebitRow, work.debit)); },
//   });
//   if (end == SequenceEnd::Completed) save(work);
#pragma once

#include <functional>
#include <initializer_list>
#include <vector>

namespace vellano::screen {

class Go {
 public:
  enum class Kind { Next, Back, Again, To, Finish, Abandon };
  static constexpr Go next() { return Go(Kind::Next); }
  static constexpr Go back() { return Go(Kind::Back); }
  static constexpr Go again() { return Go(Kind::Again); }
  static constexpr Go to(int step) { return Go(Kind::To, step); }
  static constexpr Go finish() { return Go(Kind::Finish); }    // the sequence is complete now
  static constexpr Go abandon() { return Go(Kind::Abandon); }  // out, nothing saved
  constexpr Kind kind() const { return kind_; }
  constexpr int step() const { return step_; }
  friend constexpr bool operator==(Go, Go) = default;

 private:
  constexpr explicit Go(Kind kind, int step = 0) : kind_(kind), step_(step) {}
  Kind kind_;
  int step_;
};

// The usual meaning of a field's exit code: Enter on, Up back, ESC out, any other key again.
Go goFor(int exitCode);

enum class SequenceEnd { Completed, Abandoned, BackFromFirst };

// What Up on the first field does: stay there, or end the sequence.
enum class BackFromFirst { Stays, Ends };

using SequenceStep = std::function<Go()>;

// Runs the steps from `first` until Next goes past the last one or a step finishes it
// (Completed), a step abandons it (Abandoned), or Back leaves the first one (BackFromFirst,
// when asked for).
SequenceEnd runSequence(const std::vector<SequenceStep>& steps, int first = 0,
                        BackFromFirst backFromFirst = BackFromFirst::Stays);

}  // namespace vellano::screen
