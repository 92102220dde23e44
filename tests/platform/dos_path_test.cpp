#include "platform/dos_path.h"

#include <gtest/gtest.h>

#include "tests/platform/env_guard.h"

namespace vellano::platform {
namespace {

using testing::EnvGuard;

class DosPathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"VELLANO_DRIVE_A", "VELLANO_DRIVE_B", "VELLANO_DRIVE_C", "VELLANO_LPT1"}) {
      env_.set(name, nullptr);
    }
  }
  EnvGuard env_;
};

struct PathCase {
  const char* dos;
  const char* host;
};

TEST_F(DosPathTest, DefaultMapping) {
  const PathCase cases[] = {
      {"C:CLIFOR.DAT", "CLIFOR.DAT"},
      {"c:clifor.dat", "clifor.dat"},  // spelling kept, drive letter without case
      {"C:\\ALB\\QMENU.DAT", "ALB/QMENU.DAT"},
      {"C:\\TRIBUTEK\\FISCALI\\EXTIMPORT\\2012\\", "TRIBUTEK/FISCALI/EXTIMPORT/2012"},
      {"C:\\\\ALB\\\\X", "ALB/X"},
      {"\\ALBTEL\\IVA2011", "ALBTEL/IVA2011"},  // root of C:, not of the host
      {"XTERM\\QMENU.DAT", "XTERM/QMENU.DAT"},
      {"A:X", "DRIVE-A/X"},
      {"a:x", "DRIVE-A/x"},
      {"A:", "DRIVE-A"},
      {"b:\\SUB\\F.ZIP", "DRIVE-B/SUB/F.ZIP"},
      {"C:", "."},
      {"LASER.PDF", "LASER.PDF"},
      {"Mixed Case.Pdf", "Mixed Case.Pdf"},
      {"LPT1:", "LPT1.PRN"},
      {"lpt1:", "LPT1.PRN"},
      {"LPT1", "LPT1.PRN"},
      {"LPT1.TXT", "LPT1.TXT"},
      {"LPT12", "LPT12"},
      {"/tmp/x/LASER", "/tmp/x/LASER"},
      {"1:X", "1:X"},  // not a drive letter
  };
  for (const auto& c : cases) {
    EXPECT_EQ(hostPath(c.dos).generic_string(), c.host) << c.dos;
  }
}

TEST_F(DosPathTest, DriveAndPrinterOverrides) {
  env_.set("VELLANO_DRIVE_A", "/media/floppy");
  env_.set("VELLANO_DRIVE_C", "/srv/vellano");
  env_.set("VELLANO_DRIVE_B", "");  // empty counts as not set
  env_.set("VELLANO_LPT1", "/dev/usb/lp0");
  const PathCase cases[] = {
      {"A:X", "/media/floppy/X"},
      {"a:\\SUB\\X", "/media/floppy/SUB/X"},
      {"A:", "/media/floppy"},
      {"C:CLIFOR.DAT", "/srv/vellano/CLIFOR.DAT"},
      {"\\ALB\\QMENU.DAT", "/srv/vellano/ALB/QMENU.DAT"},
      {"B:X", "DRIVE-B/X"},
      {"LPT1:", "/dev/usb/lp0"},
      {"LASER", "LASER"},  // plain names stay in the working folder
  };
  for (const auto& c : cases) {
    EXPECT_EQ(hostPath(c.dos).generic_string(), c.host) << c.dos;
  }
}

TEST_F(DosPathTest, DriveFolders) {
  EXPECT_EQ(driveFolder('C').generic_string(), ".");
  EXPECT_EQ(driveFolder('c').generic_string(), ".");
  EXPECT_EQ(driveFolder('a').generic_string(), "DRIVE-A");
  env_.set("VELLANO_DRIVE_A", "floppy");
  EXPECT_EQ(driveFolder('A').generic_string(), "floppy");
}

}  // namespace
}  // namespace vellano::platform
