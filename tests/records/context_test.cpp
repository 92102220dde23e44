// Host-mode table and the small rules on context values.
#include "records/context.h"

#include <gtest/gtest.h>

#include <string>

namespace vellano::records {
namespace {

TEST(HostModeTable, LabelsAndLaunchersPerMode) {
  struct Case {
    int mode;
    const char* label;
    std::string dataSettingsField3;
    const char* command;
  };
  const Case cases[] = {
      {1, "Alba", "", ""},
      {2, "Borea", "", "CMD /C START AVVIOW.EXE"},
      {3, "Cirro", "", "CMD /C START AVVIOV.EXE"},
      {4, "", "", "CMD /C START AVVIOS.EXE"},
      {5, "Dune", "", "CMD /C START MENU.EXE"},
      {6, "Egeo", "S", "CMD /C START AVVIOW.EXE 12"},
      {6, "Egeo", " ", "AVVIOP.EXE 12"},
      {6, "Egeo", std::string(1, '\0'), "AVVIOP.EXE 12"},
      {7, "Fiordo", "", "CMD /C START AVVIOW.EXE"},
      {0, "", "S", ""},
      {8, "", "S", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    Context context;
    context.hostMode = c.mode;
    context.terminalNumber = "12";
    context.hostSettings.field[2] = c.dataSettingsField3;
    EXPECT_EQ(hostModeLabel(c.mode), c.label);
    EXPECT_EQ(launcherCommand(context), c.command);
  }
}

TEST(CompanyExtension, AcceptedForms) {
  struct Case {
    const char* extension;
    bool accepted;
    int number;
  };
  const Case cases[] = {
      {"DAT", true, 1},  {"DIS", true, 0},   {"001", true, 1},  {"042", true, 42},
      {"999", true, 999}, {"000", false, 0}, {"12 ", false, 12}, {" 12", false, 12},
      {"dat", false, 0}, {"AB1", false, 0},  {"", false, 0},     {"0001", false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.extension);
    EXPECT_EQ(isCompanyExtension(c.extension), c.accepted);
    EXPECT_EQ(companyNumberOf(c.extension), c.number);
  }
}

TEST(CompanyExtension, NulInsideIsRefused) {
  EXPECT_FALSE(isCompanyExtension(std::string("0\0" "1", 3)));
}

TEST(YearSuffix, LastTwoCharactersNonDigitsAsZero) {
  struct Case {
    std::string date;
    const char* suffix;
  };
  const Case cases[] = {
      {"311210", "10"}, {"010199", "99"}, {"      ", "00"}, {std::string(6, '\0'), "00"},
      {"3112 1", "01"}, {"7", "07"},      {"", "00"},       {"31121A", "10"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.date);
    EXPECT_EQ(yearSuffixOf(c.date), c.suffix);
  }
}

TEST(FolderPrefix, DriveLettersAndFolders) {
  struct Case {
    const char* folder;
    const char* prefix;
  };
  const Case cases[] = {
      {"", ""},           {"D", "D:"},         {"D:", "D:"},
      {"D:\\DITTE\\", "D:\\DITTE\\"}, {"D:\\DITTE", "D:\\DITTE\\"}, {"DATI", "DATI\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    EXPECT_EQ(folderPrefix(c.folder), c.prefix);
  }
}

}  // namespace
}  // namespace vellano::records
