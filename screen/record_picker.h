// The record picker of the data-entry screens: the number typed in a code field chooses the
// record to show. ESC leaves, F9 lists the records to choose from, PgUp/PgDn step from the
// record on show, 0 or a blank is a new record, a number from 1 to count + 1 is that record,
// anything else beeps.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "screen/field_editor.h"
#include "screen/session.h"

namespace vellano::screen {

struct RecordPicker {
  FieldSpec field;       // where the number is typed and the keys that may end it
  int count = 0;         // records on file
  int current = 0;       // the record on show, 0 when none is
  int highest = 0;       // the highest number that may be typed; 0: count + 1
  std::string initial;   // the text the field starts with
  // F9: the list to choose from (entry k is record k + 1); without one F9 goes to onKey. An
  // empty archive (count 0) beeps unless listWhenEmpty.
  std::function<std::vector<std::string>()> list;
  std::string_view listTitle;
  bool listWhenEmpty = false;
  // PgUp/PgDn show the record before/after the one on show, within 1..count.
  bool pageKeys = false;
  // What 0 or a blank chooses; without it count + 1. A result of 0 asks again.
  std::function<int()> newRecord;
  // Any other key that ended the field: a record to show, 0 to leave the picker with that
  // key, nothing to ask again.
  std::function<std::optional<int>(int exitCode)> onKey;
};

struct Pick {
  int record = 0;            // 0: the user left the picker
  int exitCode = kExitEsc;   // the key that ended it
};

Pick pickRecord(Session& session, const RecordPicker& picker);

}  // namespace vellano::screen
