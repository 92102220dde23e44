// The master-data screens set the keys of every field they type, but the settings screens,
// the print prompt and the error box type with whatever keys the editor holds. So a master
// screen leaves the editor's keys as it found them (the customer screen: as the program
// starts with them).
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "causals_support.h"
#include "master/cash_banks.h"
#include "master/causals.h"
#include "master/customers.h"
#include "master/vat_table.h"
#include "support/work_folder.h"

namespace vellano::master {
namespace {

using master::testing::ScriptedSession;

class EditorKeys : public vellano::testing::WorkFolder {};

TEST_F(EditorKeys, MasterScreensLeaveTheEditorKeysAsTheProgramNeedsThem) {
  const std::string outside = "11111111111";  // what the calling screen had set
  struct Case {
    const char* name;
    std::function<void(screen::Session&)> screen;
    const char* script;  // through fields with other keys, then out
    std::string mask;
    int pageMode;
  };
  const Case cases[] = {
      {"cash and banks", [](screen::Session& s) { pickCashBank(s, CashBankOptions{}); },
       "<ENTER> \"Cassa\" <ENTER> <ESC> <ESC>", outside, 2},
      {"causals", [](screen::Session& s) { pickCausal(s); }, "<ENTER> \"Vendite\" <ESC> <PGDN> <ESC>", outside, 2},
      {"causals through the sub-accounts", [](screen::Session& s) { pickCausal(s); },
       "<ENTER> \"Vendite\" <ENTER> \"E\" <ENTER> \"N\" <ENTER> \"3\" <ENTER> <ESC> <ESC> <ESC>", outside, 2},
      {"VAT table", [](screen::Session& s) { runVatTableEditor(s); }, "\"IVA\" <ENTER> \"22\" <ESC>", outside, 2},
      {"customers", [](screen::Session& s) { runCustomerScreen(s, ""); }, "<ENTER> \"ROSSI\" <ESC> <ESC>",
       std::string(screen::kDefaultKeyMask), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedSession s(c.script);
    s.context.yearSuffix = "11";
    s.editor.setKeyMask(outside);
    s.editor.setPageKeyMode(2);
    c.screen(s.session);
    EXPECT_EQ(s.backend().pending(), 0u);
    EXPECT_EQ(s.editor.keyMask(), c.mask);
    EXPECT_EQ(s.editor.pageKeyMode(), c.pageMode);
    s.catalogue.closeAll();
  }
}

}  // namespace
}  // namespace vellano::master
