// Start-up resolution of the context values, one named step each.
#include "records/startup_context.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

#include "records/dates.h"
#include "records/folder_check.h"
#include "records/numbers.h"
#include "records/save_transaction.h"
#include "records/text.h"
#include "platform/dos_path.h"
#include "platform/error.h"

namespace vellano::records {

namespace {

constexpr long kTtyBytes = 35;
constexpr double kMaxRecord = 2147483647.0;

// Runs one file step; with a folder prompt a missing folder is served and start-up goes on
// with the next step, as the error box does for any screen.
template <typename Step>
void fileStep(Catalogue& catalogue, const StartupOptions& options, Step&& step) {
  if (options.folders == nullptr) {
    step();
    return;
  }
  guarded(catalogue.context(), *options.folders, std::forward<Step>(step));
}

bool isDriveLetter(char c) { return c >= 'A' && c <= 'E'; }

bool takesExtensionFromTty(char source) {
  return source == 'P' || source == 'F' || source == 'M' || source == 'X';
}

// The hand-over record of a networked terminal is its terminal number.
long recordNumberOf(std::string_view terminal) {
  const double value = std::nearbyint(val(terminal));
  if (!(value >= 1)) return 1;
  if (value > kMaxRecord)
    throw RuntimeError(error::kBadRecordNumber, "recordNumberOf " + std::string(terminal));
  return static_cast<long>(value);
}

std::string threeDigits(int number) {
  char text[16];
  std::snprintf(text, sizeof text, "%03d", number);
  return text;
}

// Step 3: TTY.DAT.
void readInstallSettings(Catalogue& catalogue) {
  Context& c = catalogue.context();
  Channel& tty = catalogue.open(channel::kInstallation);
  std::string bytes(static_cast<std::size_t>(kTtyBytes), '\0');
  for (long n = 1; n <= kTtyBytes; ++n) {
    tty.read(n);
    L_10(catalogue, bytes[static_cast<std::size_t>(n - 1)]);
  }

  InstallSettings s;
  s.colourScheme = bytes[0];
  if (s.colourScheme != 'C' && s.colourScheme != 'M') {
    s.colourScheme = 'C';
    W_10(catalogue, 'C');
    tty.write(1);
  }
  s.drive = isDriveLetter(bytes[7]) ? bytes[7] : 'C';
  s.extensionSource = bytes[8];
  s.extension = nulAsBlank(bytes.substr(9, 3));
  s.byte13 = bytes[12];
  s.byte14 = bytes[13];
  std::string folder;
  for (char b : bytes.substr(14, 20))
    if (b != '\0') folder += b;
  s.folder = trimRight(folder);
  s.byte35 = bytes[34];

  c.install = s;
  c.dataPrefix = std::string(1, s.drive);
  c.companyExtension = "DAT";
  if (takesExtensionFromTty(s.extensionSource) && isCompanyExtension(s.extension))
    c.companyExtension = s.extension;
  c.companyNumber = companyNumberOf(c.companyExtension);
}

// The two programs start each other with "NAME" + host switch + " " + terminal number, so
// without a switch the terminal number arrives as the only argument: a first argument that
// is no switch (does not start with "/") and has nothing after it is the terminal number.
struct CommandLine {
  std::string hostSwitch;
  std::string terminalNumber;
};

CommandLine readCommandLine(std::span<const std::string> args) {
  if (args.size() == 1 && !args[0].starts_with('/')) return {"", args[0]};
  return {args.empty() ? std::string() : args[0], args.size() > 1 ? args[1] : std::string()};
}

// Step 4: the host switch. Returns whether one of the three switches was given.
bool applyHostSwitch(Catalogue& catalogue, std::string_view switchArgument,
                     const StartupOptions& options) {
  Context& c = catalogue.context();
  // The command line reaches us in capitals on the host's system; accept "/p" as "/P".
  const std::string hostSwitch = upper(switchArgument);
  c.handOverFolder.clear();
  c.handOverRecord = 1;
  if (hostSwitch == "/P") {
    c.hostFolder = "C:\\ALB\\";
    c.hostSwitch = " /P";
    fileStep(catalogue, options, [&] {
      catalogue.open(channel::kHostSettings).read(1);
      L_49(catalogue, c.hostSettings);
    });
    if (c.hostSettings.networked()) {
      c.handOverFolder = "XTERM\\";
      c.handOverRecord = recordNumberOf(c.terminalNumber);
    } else {
      c.handOverFolder = "C:\\ALB\\";
    }
    return true;
  }
  if (hostSwitch == "/F") {
    c.hostFolder = "C:\\BOR\\";
    c.hostSwitch = " /F";
    c.hostMode = 7;
    return true;
  }
  if (hostSwitch == "/M") {
    c.hostFolder = "C:\\CIR\\";
    c.hostSwitch = " /M";
    c.hostMode = 2;
    return true;
  }
  return false;
}

// Step 5 with a switch: the hand-over record, its request served once.
void readHandOver(Catalogue& catalogue) {
  Context& c = catalogue.context();
  Channel& qmenu = catalogue.open(channel::kHandOver);
  qmenu.read(c.handOverRecord);
  HandOver handOver;
  L_90(catalogue, handOver);

  const double code = val(handOver.field[HandOver::kHostModeCode]);
  if (code >= 1 && code <= 7 && code == std::floor(code)) c.hostMode = static_cast<int>(code);

  c.directStartRequest = nulAsBlank(handOver.field[HandOver::kRequest]);
  handOver.field[HandOver::kRequest] = "  ";
  W_90(catalogue, handOver);
  qmenu.write(c.handOverRecord);
  c.handOver = handOver;

  if (c.hostMode == 6) {
    const double number = val(handOver.field[HandOver::kCompanyNumber]);
    c.companyNumber = number >= 1 ? static_cast<int>(number) : 1;
    c.companyExtension = threeDigits(c.companyNumber);
  }
}

// Step 6: the data prefix by host mode.
void settleDataPrefix(Context& c) {
  switch (c.hostMode) {
    case 7: c.dataPrefix = folderPrefix(c.ttyFolder()); break;
    case 2: c.dataPrefix = c.companyExtension == "DIS" ? "A:" : ""; break;
    case 5: c.dataPrefix += ":"; break;
    case 6: c.dataPrefix.clear(); break;
    default: break;
  }
  if (c.dataPrefix.size() == 1) c.dataPrefix += ":";
}

// Step 9: the company name, from the registry or, in mode 6, from the year's company list.
void readCompany(Catalogue& catalogue, bool restart) {
  Context& c = catalogue.context();
  if (c.hostMode == 6) {
    catalogue.open(channel::kCompanyCount).read(1);
    L_91(catalogue, c.companyCount);
    catalogue.open(channel::kCompanies).read(c.companyNumber);
    L_92(catalogue, c.company);
    return;
  }
  const int mode = c.hostMode;
  const bool fromRegistry =
      mode == 1 || mode == 2 || (restart ? mode == 5 : mode == 7);
  if (!fromRegistry) return;
  catalogue.open(channel::kCompany).read(1);
  L_14(catalogue, c.company);
}

float counterOf(Channel& channel) {
  channel.read(1);
  return static_cast<float>(channel.buffer().number(Field{0, channel.recordLength()}));
}

}  // namespace

void readWorkingDate(Catalogue& catalogue) {
  Context& c = catalogue.context();
  catalogue.open(channel::kWorkingDate).read(1);
  L_11(catalogue, c);
  c.yearSuffix = yearSuffixOf(c.workingDate);
}

bool workingDateValid(const Context& context) {
  const std::string& date = context.workingDate;
  if (date.size() != 6) return false;
  for (char ch : date)
    if (ch < '0' || ch > '9') return false;
  return dateValid(date, 0, true);
}

bool workingDateDamaged(const Catalogue& catalogue) {
  if (workingDateValid(catalogue.context())) return false;
  std::error_code ec;
  const auto size = std::filesystem::file_size(platform::hostPath(catalogue.dosName(channel::kWorkingDate)), ec);
  return !ec && size > 0;
}

namespace {

// Step 8: PARAM.DAT decides whether customers and suppliers are shared by all companies.
void readParameters(Catalogue& catalogue) {
  Context& c = catalogue.context();
  catalogue.open(channel::kParameters).read(1);
  L_18(catalogue, c);
  c.customerExtension = c.sharedCustomerArchive == 'S' ? std::string("DAT") : c.companyExtension;
}

// Step 10: the counters, and the customer and supplier files opened.
void readCounters(Catalogue& catalogue) {
  Context& c = catalogue.context();
  c.customerCount = counterOf(catalogue.open(channel::kCustomerCount));
  c.supplierCount = counterOf(catalogue.open(channel::kSupplierCount));
  catalogue.open(channel::kCounters).read(1);
  L_22(catalogue, c.causalCount);
  catalogue.open(channel::kCustomers);
  catalogue.open(channel::kSuppliers);
}

}  // namespace

void reopenContext(Catalogue& catalogue) {
  readParameters(catalogue);
  readCounters(catalogue);
}

void resolveContext(Catalogue& catalogue, std::span<const std::string> args,
                    const StartupOptions& options) {
  Context& c = catalogue.context();
  if (!options.restart) {
    const CommandLine commandLine = readCommandLine(args);
    c.terminalNumber = commandLine.terminalNumber;
    c.dataPrefix = "C:";
    c.version = options.version;
    c.hostMode = 6;
    c.hostFolder.clear();
    c.hostSwitch.clear();
    c.directStartRequest.clear();
    c.hostSettings = HostSettings{};
    c.handOver = HandOver{};
    fileStep(catalogue, options, [&] { readInstallSettings(catalogue); });
    if (applyHostSwitch(catalogue, commandLine.hostSwitch, options)) {
      fileStep(catalogue, options, [&] { readHandOver(catalogue); });
    } else {
      c.hostMode = 1;
      c.companyExtension = "DAT";
      c.companyNumber = 1;
    }
    settleDataPrefix(c);
  }
  // A save cut off by a crash is completed before anything is read.
  fileStep(catalogue, options, [&] { recoverFolder(dataFolder(c)); });
  fileStep(catalogue, options, [&] { readWorkingDate(catalogue); });
  fileStep(catalogue, options, [&] { readParameters(catalogue); });
  fileStep(catalogue, options, [&] { readCompany(catalogue, options.restart); });
  fileStep(catalogue, options, [&] { readCounters(catalogue); });
}

void changeWorkingDate(Catalogue& catalogue, std::string_view date) {
  Context& c = catalogue.context();
  Channel& dateFile = catalogue.open(channel::kWorkingDate);
  dateFile.read(1);
  L_11(catalogue, c);
  c.workingDate = fitLeft(date, 6);
  W_11(catalogue, c);
  dateFile.write(1);
  readWorkingDate(catalogue);
  catalogue.reopenYearFiles();
}

void storeHandOverRequest(Catalogue& catalogue, std::string_view request) {
  Context& c = catalogue.context();
  Channel& qmenu = catalogue.open(channel::kHandOver);
  qmenu.read(c.handOverRecord);
  HandOver handOver;
  L_90(catalogue, handOver);
  handOver.field[HandOver::kRequest] = fitLeft(request, 2);
  W_90(catalogue, handOver);
  qmenu.write(c.handOverRecord);
  c.handOver = handOver;
}

}  // namespace vellano::records
