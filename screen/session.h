// What every screen of a program works with: the console, the files and context, the field
// editor, the function-key panel and the error box.
#pragma once

#include "records/catalogue.h"
#include "records/context.h"
#include "screen/field_editor.h"
#include "screen/function_keys.h"
#include "platform/console.h"

namespace vellano::screen {

class ErrorBox;

struct Session {
  platform::Console& console;
  records::Catalogue& catalogue;
  FieldEditor& editor;
  FunctionKeyPanel& panel;
  ErrorBox& errorBox;

  records::Context& context() { return catalogue.context(); }
};

}  // namespace vellano::screen
