// The folder question for error 76 and the probe flag.
#include "records/folder_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "records/record_file.h"
#include "support/work_folder.h"

namespace vellano::records {
namespace {

// Answers the folder question with a fixed text and remembers what was shown.
class ScriptedPrompt : public FolderPrompt {
 public:
  explicit ScriptedPrompt(std::string answer) : answer_(std::move(answer)) {}
  std::string ask(std::string_view message, std::string_view question) override {
    shown.emplace_back(std::string(message) + "|" + std::string(question));
    return answer_;
  }
  void tell(std::string_view message, std::string_view note) override {
    told.emplace_back(std::string(message) + "|" + std::string(note));
  }
  std::vector<std::string> told;
  std::vector<std::string> shown;

 private:
  std::string answer_;
};

class FolderCheck : public testing::WorkFolder {};

TEST_F(FolderCheck, AnswerDecidesCreationOrRefusal) {
  struct Case {
    const char* answer;
    bool created;
  };
  const Case cases[] = {{"S", true}, {"s", true}, {"S ", true}, {"N", false},
                        {"", false}, {"X", false}, {"SI", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    std::filesystem::remove_all("NUOVA");
    Context context;
    ScriptedPrompt prompt(c.answer);
    bool after = false;
    const Outcome outcome = guarded(context, prompt, [&] {
      RecordFile file(std::filesystem::path("NUOVA") / "CLIFOR.DAT", 500);
      after = true;  // never reached: the failed step is not repeated
    });
    EXPECT_EQ(outcome, Outcome::folderAsked);
    EXPECT_FALSE(after);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0],
              "La Cartella NUOVA non esiste.|            Vuoi crearla [S/N]: ");
    EXPECT_EQ(std::filesystem::is_directory("NUOVA"), c.created);
    EXPECT_EQ(context.folderRefused, !c.created);
    EXPECT_EQ(context.currentFolder, "NUOVA");
  }
}

// A name with control characters comes from damaged settings: it is shown and the error goes
// on, never offered for creation. Letters of the console code page above 127 are a name like any other.
TEST_F(FolderCheck, ControlCharactersAreRefusedWithoutTheQuestion) {
  struct Case {
    std::string folder;
    std::string told;  // empty: asked and created
  };
  const Case cases[] = {
      {std::string("NU\x01VA"), "La Cartella NU?VA non esiste."},
      {std::string("A\tB\x1F"), "La Cartella A?B? non esiste."},
      {std::string("CANC\x7F"), "La Cartella CANC? non esiste."},
      {std::string("CONTABILIT\xB7"), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.told);
    Context context;
    ScriptedPrompt prompt("S");
    auto open = [&] { RecordFile file(std::filesystem::path(c.folder) / "CLIFOR.DAT", 500); };
    if (c.told.empty()) {
      EXPECT_EQ(guarded(context, prompt, open), Outcome::folderAsked);
      EXPECT_TRUE(prompt.told.empty());
      ASSERT_EQ(prompt.shown.size(), 1u);
      EXPECT_TRUE(std::filesystem::is_directory(c.folder));
      EXPECT_FALSE(context.folderRefused);
    } else {
      // Not absorbed: the error goes on to the error box, which ends the program.
      EXPECT_THROW(guarded(context, prompt, open), RuntimeError);
      EXPECT_TRUE(prompt.shown.empty());
      ASSERT_EQ(prompt.told.size(), 1u);
      EXPECT_EQ(prompt.told[0], c.told + "|Nome non valido: caratteri di controllo");
      EXPECT_FALSE(std::filesystem::exists(c.folder));
      EXPECT_TRUE(context.folderRefused);
    }
  }
  EXPECT_FALSE(hasControlCharacters("CONTABILIT\xB7 2011"));
  EXPECT_TRUE(hasControlCharacters(std::string("A\0B", 3)));
}

TEST_F(FolderCheck, NestedMissingFoldersAreAllCreated) {
  Context context;
  ScriptedPrompt prompt("S");
  guarded(context, prompt, [] { RecordFile file("A1/B2/X.DAT", 5); });
  EXPECT_TRUE(std::filesystem::is_directory("A1/B2"));
  // The screen repeats the step itself once the folder is there.
  const Outcome again = guarded(context, prompt, [] { RecordFile file("A1/B2/X.DAT", 5); });
  EXPECT_EQ(again, Outcome::done);
  EXPECT_TRUE(std::filesystem::exists("A1/B2/X.DAT"));
}

TEST_F(FolderCheck, FolderFromContextWhenTheErrorNamesNone) {
  Context context;
  context.currentFolder = "C:\\COPIE\\";
  ScriptedPrompt prompt("S");
  guarded(context, prompt, [] { throw RuntimeError(error::kPathNotFound, "copy"); });
  ASSERT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0].substr(0, prompt.shown[0].find('|')),
            "La Cartella C:\\COPIE\\ non esiste.");
  EXPECT_TRUE(std::filesystem::is_directory("COPIE"));
  EXPECT_FALSE(context.folderRefused);
}

TEST_F(FolderCheck, FolderThatCannotBeMadeCountsAsRefused) {
  WorkFolder::writeFile("PLAIN", "a file, not a folder");
  Context context;
  ScriptedPrompt prompt("S");
  guarded(context, prompt, [] { throw RuntimeError(error::kPathNotFound, "open", "PLAIN/SUB"); });
  EXPECT_TRUE(context.folderRefused);
}

TEST(ProbeFlag, ErrorsAbsorbedOrPassedOn) {
  struct Case {
    int probeFlag;
    int error;
    bool absorbed;
    Outcome outcome;
    int flagAfter;
    bool asked;
  };
  const Case cases[] = {
      {1, error::kPathNotFound, true, Outcome::probed, -1, false},
      {1, error::kOverflow, true, Outcome::probed, -1, false},
      {1, error::kFileNotFound, false, Outcome::done, 1, false},
      {0, error::kOverflow, false, Outcome::done, 0, false},
      {0, error::kPathNotFound, true, Outcome::folderAsked, 0, true},
      {-1, error::kPathNotFound, true, Outcome::folderAsked, -1, true},
      {-1, error::kOverflow, false, Outcome::done, -1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.probeFlag) + " " + std::to_string(c.error));
    Context context;
    context.probeFlag = c.probeFlag;
    ScriptedPrompt prompt("N");
    const RuntimeError error(c.error, "step", c.error == error::kPathNotFound ? "GONE" : "");
    if (c.absorbed) {
      EXPECT_EQ(guarded(context, prompt, [&] { throw error; }), c.outcome);
    } else {
      try {
        guarded(context, prompt, [&] { throw error; });
        ADD_FAILURE() << "error not passed on";
      } catch (const RuntimeError& passed) {
        EXPECT_EQ(passed.number(), c.error);
      }
    }
    EXPECT_EQ(context.probeFlag, c.flagAfter);
    EXPECT_EQ(prompt.shown.size(), c.asked ? 1u : 0u);
    EXPECT_EQ(context.folderRefused, c.asked);
  }
}

TEST(ProbeFlag, CompletedOperationLeavesFlagsAlone) {
  Context context;
  context.probeFlag = 1;
  ScriptedPrompt prompt("S");
  int runs = 0;
  EXPECT_EQ(guarded(context, prompt, [&] { ++runs; }), Outcome::done);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(context.probeFlag, 1);
  EXPECT_FALSE(context.folderRefused);
}

}  // namespace
}  // namespace vellano::records
