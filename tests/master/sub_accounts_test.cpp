// Sub-accounts: where each lives in SOTCON.DAT, the free-slot rule, the lists, and the
// sub-account line of the causal screen run for real.
#include "master/sub_accounts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "causals_support.h"
#include "records/text.h"
#include "support/work_folder.h"
#include "master/causals.h"
#include "screen/kit.h"
#include "records/tax_return_codes.h"
#include "support/headless_run.h"

namespace vellano::master {
namespace {

using master::testing::columns;
using master::testing::recordOf;
using master::testing::ScriptedSession;

std::string subAccountRecordBytes(std::string_view description, std::string_view code, char rest = ' ') {
  return records::fitLeft(description, 35) + records::fitLeft(code, 20) + std::string(445, rest);
}

class SubAccountRun : public vellano::testing::WorkFolder {
 protected:
  // Causal 1 "Vendite" E/N, count 1, and the given sub-accounts of causal 1 from slot 1.
  void causalWith(const std::vector<std::pair<std::string, std::string>>& slots) {
    writeFile("CAUCON.DAT", records::fitLeft("Vendite", 30) + "EN" + std::string(468, ' '));
    writeFile("INDEX.DAT", " 1   ");
    std::string file;
    for (const auto& [description, code] : slots) file += subAccountRecordBytes(description, code);
    writeFile("SOTCON.DAT", file);
  }
  vellano::testing::HeadlessRun run(const std::string& script) {
    return vellano::testing::runHeadless("VELLA10W", {}, std::filesystem::current_path(), script);
  }
};

TEST(SubAccountRecord, CausalTimesHundredPlusSlot) {
  struct Case {
    int causal, n;
    long record;
  };
  for (const Case& c : {Case{1, 1, 1}, Case{1, 100, 100}, Case{3, 1, 201}, Case{2, 50, 150}, Case{10, 100, 1000}})
    EXPECT_EQ(records::subAccountRecord(c.causal, c.n), c.record) << c.causal << "/" << c.n;
}

TEST_F(SubAccountRun, FirstFreeSlotIsTheFirstWithABlankCode) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> slots;
    int expected;
  };
  const std::vector<std::pair<std::string, std::string>> full(100, {"x", "K100"});
  const Case cases[] = {
      {{}, 1},
      {{{"Cassa", "K306"}}, 2},
      {{{"Cassa", "K306"}, {"Solo descrizione", ""}}, 2},
      {{{"", "K100"}, {"", "  "}}, 2},
      {full, 0},
  };
  for (const Case& c : cases) {
    causalWith(c.slots);
    records::Context context;
    records::Catalogue catalogue(context);
    records::SubAccounts accounts;
    accounts.load(catalogue, 1);
    EXPECT_EQ(accounts.firstFree(), c.expected) << c.slots.size();
  }
}

TEST_F(SubAccountRun, SubAccountOneOfCausalThreeIsRecord201AndKeepsItsReservedPart) {
  writeFile("CAUCON.DAT", std::string(1000, ' '));
  writeFile("INDEX.DAT", " 2   ");
  // Slot 1 of causal 3 starts blank; every other byte around it must survive.
  writeFile("SOTCON.DAT", std::string(200 * 500, 'R') + subAccountRecordBytes("", "", 'R'));
  auto r = run("\"u\" \"3\" <ENTER> \"Terzo\" <ENTER> \"p\" <ENTER> \"n\" <ENTER> \"1\" <ENTER> \"Banca\" <ENTER> "
               "\"K306\" <ENTER> <ESC> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(recordOf("SOTCON.DAT", 500, 201), subAccountRecordBytes("Banca", "K306", 'R'));
  EXPECT_EQ(recordOf("SOTCON.DAT", 500, 200), std::string(500, 'R'));
  EXPECT_EQ(recordOf("CAUCON.DAT", 500, 3), records::fitLeft("Terzo", 30) + "PN" + std::string(468, ' '));
  EXPECT_EQ(readFile("INDEX.DAT"), " 3   ");
}

TEST_F(SubAccountRun, ZeroSelectsTheFirstSlotWithABlankCode) {
  causalWith({{"Cassa", "K306"}, {"Solo descrizione", ""}, {"Banca", "K306"}});
  auto r = run("\"u\" \"1\" <ENTER> <ENTER*3> \"0\" <ENTER> <SNAP> <ESC> <ESC> <ESC> <ESC>");
  ASSERT_EQ(r.status, 0);
  ASSERT_GE(r.dumps.size(), 1u);
  EXPECT_EQ(columns(r.row(0, 7), 2, 3), "  2");
  EXPECT_EQ(columns(r.row(0, 7), 6, 16), "Solo descrizione");
}

TEST_F(SubAccountRun, CodeFromTheCatalogueListsOrAsTyped) {
  struct Case {
    const char* keys;
    const char* stored;
  };
  const Case cases[] = {
      // Typed text goes to the list's search: "K199.0" finds K199.01, two rows down is K199.03.
      {"<F9> \"K199.0\" <DOWN> <DOWN> <ENTER>", "K199.03"},
      {"<F9> \"X101\" <DOWN> <ENTER>", "X101.1"},
      {"<F8> \"Altri proventi lordi:\" <ENTER>", "X101.1"},
      {"<F8> \"Proventi da\" <ENTER>", "K199.03"},
      // ESC in the list keeps what was typed; a code outside the catalogue is stored as typed.
      {"\"Z99.9\" <F9> <ESC>", "Z99.9"},
  };
  for (const Case& c : cases) {
    causalWith({});
    auto r = run(std::string("\"u\" \"1\" <ENTER> <ENTER*3> \"5\" <ENTER> \"Affitti\" <ENTER> ") + c.keys +
                 " <SNAP> <ENTER> <ESC> <ESC> <ESC> <ESC>");
    ASSERT_EQ(r.status, 0) << c.keys;
    ASSERT_GE(r.dumps.size(), 1u) << c.keys;
    const int shown = static_cast<int>(std::string_view(c.stored).size());
    EXPECT_EQ(columns(r.row(0, 7), 42, shown), c.stored) << c.keys;
    EXPECT_EQ(recordOf("SOTCON.DAT", 500, 5), subAccountRecordBytes("Affitti", c.stored, '\0')) << c.keys;
  }
}

TEST_F(SubAccountRun, NumberFieldRefusesOutsideOneToHundredAndUpReturnsToVentilation) {
  causalWith({});
  ScriptedSession s("\"1\" <ENTER> <ENTER*3> \"101\" <ENTER> <UP> \"s\" <ENTER> <ESC> <ESC>");
  EXPECT_EQ(pickCausal(s.session), 1);
  EXPECT_EQ(s.backend().beeps(), 1);
  EXPECT_EQ(s.backend().pending(), 0u);
  s.catalogue.closeAll();
  EXPECT_EQ(recordOf("CAUCON.DAT", 500, 1), records::fitLeft("Vendite", 30) + "ES" + std::string(468, ' '));
}

TEST_F(SubAccountRun, SubAccountListShowsBlankFieldsAsDots) {
  causalWith({{"Cassa", "K306"}, {"", ""}, {"-storno", "K100"}});
  records::Context context;
  records::Catalogue catalogue(context);
  records::SubAccounts accounts;
  accounts.load(catalogue, 1);
  const std::vector<std::string> entries = subAccountListEntries(accounts);
  ASSERT_EQ(entries.size(), 100u);
  EXPECT_EQ(entries[0], "  1 " + records::fitLeft("Cassa", 35) + " " + records::fitLeft("K306", 20));
  EXPECT_EQ(entries[1], "  2 " + screen::dots(40) + " " + screen::dots(20));
  EXPECT_EQ(entries[2], "  3 " + screen::dots(40) + " " + records::fitLeft("K100", 20));
  EXPECT_EQ(entries[99], "100 " + screen::dots(40) + " " + screen::dots(20));
}

TEST(CatalogueLists, BothListsHoldEveryEntryInCatalogueOrder) {
  const std::string bar(1, '\xB3');
  const std::vector<std::string> byCode = records::catalogueByCode();
  const std::vector<std::string> byDescription = records::catalogueByDescription();
  ASSERT_EQ(byCode.size(), 233u);
  ASSERT_EQ(byDescription.size(), 233u);
  for (int i = 1; i <= 233; ++i) {
    const std::size_t at = static_cast<std::size_t>(i - 1);
    EXPECT_EQ(byCode[at], records::storedTaxCode(i) + bar + records::storedTaxDescription(i));
    EXPECT_EQ(byDescription[at], records::storedTaxDescription(i) + bar + records::storedTaxCode(i));
  }
  EXPECT_EQ(byCode[32], "K199.03" + bar + records::fitLeft("Proventi da immobili non strumentali", 60));
  EXPECT_EQ(records::catalogueByCodeHeading(), "Codice " + bar + "Descrizione");
  EXPECT_EQ(records::catalogueByDescriptionHeading(), records::fitLeft("Descrizione", 60) + bar + "Codice");
}

}  // namespace
}  // namespace vellano::master
