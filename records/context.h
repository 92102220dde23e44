// The context values of one run: where the data lives, which company and year, who started
// us. Settled at start-up (startup_context.h) and passed to every screen that needs them.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace vellano::records {

// TTY.DAT, the installation settings (one byte per record).
struct InstallSettings {
  char colourScheme = 'C';      // byte 1: "C" or "M"
  char drive = 'C';             // byte 8: "A"-"E", anything else reads as "C"
  char extensionSource = ' ';   // byte 9: "P", "F", "M", "X" take bytes 10-12
  std::string extension;        // bytes 10-12 as stored (NULs as blanks)
  char byte13 = ' ';            // set at installation, kept for the screens that read them
  char byte14 = ' ';
  std::string folder;           // bytes 15-34, NULs and trailing blanks removed
  char byte35 = ' ';
};

// DATA.DAT record 1, written by the host launcher; every field kept as stored.
struct HostSettings {
  static constexpr std::size_t kFields = 7;
  std::array<std::string, kFields> field;  // field[0] is field 1

  // Field 3 "S": leave through AVVIOW with the terminal number instead of AVVIOP.
  bool exitThroughAvvioW() const { return field[2] == "S"; }
  // Field 5 "R": networked terminal, hand-over files in "XTERM\".
  bool networked() const { return field[4] == "R"; }
  // Field 7: read by the function-key bar.
  const std::string& functionKeyBarFlag() const { return field[6]; }
};

// QMENU.DAT, the hand-over record: 15 fields and a reserved last byte, all kept byte for
// byte (NULs included) so that writing it back changes only what we set.
struct HandOver {
  static constexpr std::size_t kFields = 15;
  static constexpr std::size_t kCompanyNumber = 1;   // field 2
  static constexpr std::size_t kCode = 4;            // field 5, 4 characters
  static constexpr std::size_t kHostModeCode = 6;    // field 7
  static constexpr std::size_t kRequest = 8;         // field 9, direct-start request
  static constexpr std::size_t kMessage = 10;        // field 11, 50 characters
  std::array<std::string, kFields> field;  // field[0] is field 1
  std::string reserved;                    // byte 111
};

// The company variables, loaded from either company-registry record or the company list.
// Fields 5-8 are kept as stored; their meaning belongs to the host product.
struct Company {
  std::string name;
  std::string address;
  std::string town;
  std::string vatNumber;
  std::string field5;
  std::string field6;
  std::string field7;
  std::string field8;
  std::string fiscalCode;
};

struct Context {
  // Host.
  int hostMode = 6;              // 1-7, see hostModeLabel()
  std::string version;           // version text of the running program
  std::string dataPrefix = "C:"; // "C:", "", "A:" or a folder ending in "\"
  std::string handOverFolder;    // "XTERM\", "C:\ALB\" or empty
  std::string hostFolder;        // "C:\ALB\", "C:\BOR\", "C:\CIR\" or empty
  std::string hostSwitch;        // " /P", " /F", " /M" or empty
  std::string terminalNumber;    // second command-line argument, verbatim
  long handOverRecord = 1;       // QMENU.DAT record of this terminal

  // Company and year.
  std::string companyExtension = "DAT";
  int companyNumber = 1;
  std::string customerExtension = "DAT";
  std::string workingDate;       // ddmmyy as stored
  std::string dateFileRest;      // the 11 characters after the date in DATA.<ext>
  std::string yearSuffix;        // yy
  Company company;               // company.name feeds the title
  float companyCount = 0;        // INDAZ<yy>.DAT, mode 6

  // Settings files.
  InstallSettings install;
  HostSettings hostSettings;
  HandOver handOver;             // as written back at start-up (request cleared)
  std::string directStartRequest;  // the request found at start-up, for the caller to serve
  char sharedCustomerArchive = 'N';  // PARAM.DAT byte 1
  char fullVatTables = 'N';          // PARAM.DAT byte 2

  // Counters read at start-up.
  float customerCount = 0;
  float supplierCount = 0;
  float causalCount = 0;

  // Error-box flags.
  int probeFlag = 0;             // 1 before a probing operation; -1 after an absorbed error
  bool folderRefused = false;    // the user refused to create a missing folder
  std::string currentFolder;     // folder of the current operation, for the folder question

  const std::string& ttyFolder() const { return install.folder; }
};

// The host-mode table: title label and the program started at exit.
struct HostModeInfo {
  int mode;
  std::string_view label;
  std::string_view launcher;  // empty: none; mode 6 chooses between AVVIOW and AVVIOP
};

// Modes outside 1-7 give an entry with empty label and launcher.
const HostModeInfo& hostModeInfo(int mode);
std::string_view hostModeLabel(int mode);

// The command line started when the program is left in this host mode; empty for none.
std::string launcherCommand(const Context& context);

// A folder as a name prefix: a lone drive letter gets ":", a longer folder its closing "\"
// (so that names are never glued to the folder's last word); empty stays empty.
std::string folderPrefix(std::string_view folder);

// "DAT", "DIS" or three digits with a value above 0.
bool isCompanyExtension(std::string_view extension);

// Numeric value of a company extension: 1 for "DAT".
int companyNumberOf(std::string_view extension);

// Year suffix of a working date: its last two characters, a non-digit reading as "0".
std::string yearSuffixOf(std::string_view workingDate);

}  // namespace vellano::records
