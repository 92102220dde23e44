// The error box: every run-time error of a screen ends here. A missing folder is offered for
// creation and the work goes on; any other error is shown, a key is awaited, and the program
// leaves through its exit path.
#pragma once

#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "records/context.h"
#include "screen/field_editor.h"
#include "records/folder_check.h"
#include "platform/console.h"
#include "platform/error.h"

namespace vellano::screen {

// The message shown for an error number ("" for numbers without one).
std::string_view errorText(int number);

// The file a file error concerns (the first line of its detail, without folders), "" when
// the error names none; and the lines of explanation that may follow it.
std::string errorFileName(const RuntimeError& error);
std::vector<std::string> errorExplanation(const RuntimeError& error);

// The error number and place of any exception reaching the box: run-time errors keep theirs,
// memory exhaustion is 7, anything else an internal error (51).
RuntimeError asRuntimeError(const std::exception& e);

class ErrorBox : public records::FolderPrompt {
 public:
  ErrorBox(platform::Console& console, records::Context& context, FieldEditor& editor)
      : console_(console), context_(context), editor_(editor) {}

  // An error the probe flag or the folder question absorbs: true, and the work goes on.
  bool absorb(const RuntimeError& error);
  // Shows the box of an error that ends the program and waits for a key.
  void showFatal(const RuntimeError& error);

  // The folder question (error 76).
  std::string ask(std::string_view message, std::string_view question) override;
  // A folder that is not offered for creation: the message, the note, a key.
  void tell(std::string_view message, std::string_view note) override;

 private:
  void drawBox(const RuntimeError& error);
  // The folder box with `message` on row 17 and `second` on row 19.
  void drawFolderBox(std::string_view message, std::string_view second);

  platform::Console& console_;
  records::Context& context_;
  FieldEditor& editor_;
};

}  // namespace vellano::screen
