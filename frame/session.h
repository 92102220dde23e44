// What every screen of a program works with: the console, the files and context, the field
// editor, the function-key panel and the error box.
#pragma once

#include "frame/catalogue.h"
#include "frame/context.h"
#include "frame/field_editor.h"
#include "frame/function_keys.h"
#include "platform/console.h"

namespace vellano::frame {

class ErrorBox;

struct Session {
  platform::Console& console;
  Catalogue& catalogue;
  FieldEditor& editor;
  FunctionKeyPanel& panel;
  ErrorBox& errorBox;

  Context& context() { return catalogue.context(); }
};

}  // namespace vellano::frame
