// An in-process session on a key script: everything a screen needs (console, catalogue,
// editor, panel, error box) in the test's working folder, host mode 1, data prefix "C:".
#pragma once

#include <string_view>

#include "records/catalogue.h"
#include "records/context.h"
#include "screen/error_box.h"
#include "screen/field_editor.h"
#include "screen/function_keys.h"
#include "screen/session.h"
#include "support/screen_helpers.h"

namespace vellano::testing {

struct ScriptedSession {
  explicit ScriptedSession(std::string_view script)
      : scripted(script), catalogue(context), editor(scripted.console()),
        errorBox(scripted.console(), context, editor),
        session{scripted.console(), catalogue, editor, panel, errorBox} {}

  platform::HeadlessBackend& backend() { return scripted.backend(); }
  const platform::ScreenBuffer& screen() { return scripted.console().screen(); }

  ScriptedConsole scripted;
  records::Context context;
  records::Catalogue catalogue;
  screen::FieldEditor editor;
  screen::FunctionKeyPanel panel;
  screen::ErrorBox errorBox;
  screen::Session session;
};

}  // namespace vellano::testing
