// The channel catalogue: every data file has a fixed channel number, a name pattern and a
// record length, and is reached through its channel's record buffer. Channel numbers, names
// and lengths are fixed here and nowhere else; each owner adds the L_/W_ of its channels in
// its own files (L_: buffer to variables, W_: variables to buffer).
#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "records/context.h"
#include "records/layout.h"
#include "records/record_file.h"

namespace vellano::records {

// The channels by what they hold; each number is the file's fixed channel.
namespace channel {
enum Number : int {
  kCustomers = 1,         // CLIFOR: customers
  kCustomerCount = 2,     // INDICECL: customer count
  kRegisterHeader = 3,    // INDVEN/INDACQ: register header
  kRegistrations = 4,     // VENDIT/ACQUIS: registrations
  kVatControl = 5,        // CDIVA: VAT control records
  kCausals = 6,           // CAUCON: causals
  kSuppliers = 7,         // ESTC: suppliers
  kBalances = 8,          // PSALCL/PSALFO: balances
  kSupplierCount = 9,     // INDICEST: supplier count
  kInstallation = 10,     // TTY.DAT: installation settings
  kWorkingDate = 11,      // the working date (DATA / DATATERM)
  kPayments = 12,         // PAGVEN/PAGACQ: payments
  kVatPaid = 13,          // IVVER: VAT paid
  kCompany = 14,          // DIKTA: the company registry
  kCashBanks = 15,        // CASBAN: cash and bank accounts
  kVatCodes = 16,         // TABIVA: VAT codes
  kRegisterPrint = 17,    // SDEFVE/SDEFAC: register print marks
  kParameters = 18,       // PARAM.DAT: company parameters
  kAutomaticNumbers = 20,  // COMATIC
  kCounters = 22,         // INDEX.DAT: master-file counters
  kSubAccounts = 26,      // SOTCON: sub-accounts
  kTakings = 27,          // CORRIS: takings
  kVatReturnFile = 30,    // IVA2011: the annual VAT file
  kCustomerListFile = 40,  // ELENCOCF: the customer/supplier list file
  kHostSettings = 49,     // DATA.DAT: host settings
  kIntermediary = 59,     // TEL: intermediary data
  kOtherSuppliers = 71,   // ESTCNO: suppliers of the other archive
  kHandOver = 90,         // QMENU.DAT: the hand-over record
  kCompanyCount = 91,     // INDAZ: company count
  kCompanies = 92,        // AZIEN: the company list
  kPdfReader = 95,        // LETTPDF.DAT: the PDF program that prints a filled form
  kPrintSettings = 98,    // ORBW.DAT: print settings
};
}  // namespace channel

// Every channel of the catalogue.
inline constexpr std::array<int, 32> kChannels{
    channel::kCustomers,      channel::kCustomerCount,   channel::kRegisterHeader, channel::kRegistrations,
    channel::kVatControl,     channel::kCausals,         channel::kSuppliers,      channel::kBalances,
    channel::kSupplierCount,  channel::kInstallation,    channel::kWorkingDate,    channel::kPayments,
    channel::kVatPaid,        channel::kCompany,         channel::kCashBanks,      channel::kVatCodes,
    channel::kRegisterPrint,  channel::kParameters,      channel::kAutomaticNumbers, channel::kCounters,
    channel::kSubAccounts,    channel::kTakings,         channel::kVatReturnFile,  channel::kCustomerListFile,
    channel::kHostSettings,   channel::kIntermediary,    channel::kOtherSuppliers, channel::kHandOver,
    channel::kCompanyCount,   channel::kCompanies,       channel::kPdfReader,      channel::kPrintSettings};

class Catalogue;
class PendingWrites;

// One open file and the buffer of its current record. While a save is open on the catalogue,
// writes become record images of the save, and reads see them.
class Channel {
 public:
  Channel(int number, std::size_t recordLength);

  int number() const { return number_; }
  bool isOpen() const { return file_.has_value(); }
  // DOS name the channel was opened under (empty when closed).
  const std::string& dosName() const { return dosName_; }
  std::size_t recordLength() const { return buffer_.bytes().size(); }

  // Record n into the buffer / the buffer into record n. A closed channel is error 52.
  void read(long record);
  void write(long record);
  long recordCount() const;
  // Records first..first+count-1 in one read (the open save's images included), back to back;
  // the buffer is left alone. For passes over a whole file.
  std::string readBlock(long first, long count) const;

  Record& buffer() { return buffer_; }
  const Record& buffer() const { return buffer_; }

 private:
  friend class Catalogue;
  void open(std::string dosName, std::size_t recordLength);
  void close();
  RecordFile& file();

  PendingWrites* pending() const;

  int number_;
  std::string dosName_;
  std::optional<RecordFile> file_;
  Record buffer_;
  const Catalogue* catalogue_ = nullptr;
  std::string fileKey_;  // the file's absolute path, naming its images in a save
};

class Catalogue {
 public:
  // The catalogue reads the context at every Open, so names follow its current values.
  explicit Catalogue(Context& context);
  ~Catalogue();
  Catalogue(const Catalogue&) = delete;
  Catalogue& operator=(const Catalogue&) = delete;

  Context& context() { return *context_; }
  const Context& context() const { return *context_; }

  // Stems of channels 3, 4, 8, 12 and 17; other channels are refused with error 52.
  void setStem(int channel, std::string stem);
  const std::string& stem(int channel) const;

  // DOS name and record length the channel opens with under the current context values.
  // An unknown channel is error 52, a stem channel without a stem error 64.
  std::string dosName(int channel) const;
  std::size_t recordLength(int channel) const;

  // Open: close the channel, then open its file (created when missing) through hostPath.
  Channel& open(int channel);
  // The channel, open or not (unknown numbers are error 52).
  Channel& channel(int channel);
  const Channel& channel(int channel) const;
  void close(int channel);
  void closeAll();
  // Reopens the open channels whose name holds the year suffix (after a date change).
  void reopenYearFiles();

 private:
  friend class Channel;
  friend class SaveTransaction;

  Context* context_;
  std::map<int, Channel> channels_;
  std::map<int, std::string> stems_;
  std::unique_ptr<PendingWrites> pending_;  // the open save's images, if any
};

// The channel, opened first when it is not open yet.
Channel& openChannel(Catalogue& catalogue, int channel);

// Record layouts of the context files, each read and written through its table.
namespace context_layout {
inline constexpr Cell kInstallationByte{{0, 1}, Kind::kByte};  // TTY.DAT: one byte per record

// The working date: DATA.<ext> (17 bytes) keeps 11 characters after the date, DATATERM (6) not.
inline constexpr std::size_t kDateShortLength = 6;
inline constexpr std::size_t kDateLongLength = 17;
inline constexpr std::array kDateShort{padded<Context>({0, 6}, &Context::workingDate)};
inline constexpr std::array kDateLong{padded<Context>({0, 6}, &Context::workingDate),
                                      raw<Context>({6, 11}, &Context::dateFileRest)};

// The company registry, DIKTA: the 227-byte record (host mode 2) and the 619-byte one hold the
// same variables at different places; fields without a variable stay as read.
inline constexpr std::size_t kRegistryShortLength = 227;
inline constexpr std::size_t kRegistryLongLength = 619;
inline constexpr std::size_t kRegistryShortWidths[] = {40, 30, 30, 11, 20, 25, 25, 30, 16};
inline constexpr auto kRegistryShortFields = fieldsFromWidths(kRegistryShortWidths);
inline constexpr std::size_t kRegistryLongWidths[] = {40, 20, 20, 11, 20, 25, 25, 28, 2, 16,
                                                      5,  40, 40, 15, 30, 30, 30, 60, 11, 60,
                                                      5,  30, 6,  16, 1,  30, 1,  2};
inline constexpr auto kRegistryLongFields = fieldsFromWidths(kRegistryLongWidths);
template <class Fields>
constexpr std::array<Column<Company>, 9> companyColumns(const Fields& f, std::size_t fiscalCode) {
  return {trimmed<Company>(f[0], &Company::name),      trimmed<Company>(f[1], &Company::address),
          trimmed<Company>(f[2], &Company::town),      trimmed<Company>(f[3], &Company::vatNumber),
          trimmed<Company>(f[4], &Company::field5),    trimmed<Company>(f[5], &Company::field6),
          trimmed<Company>(f[6], &Company::field7),    trimmed<Company>(f[7], &Company::field8),
          trimmed<Company>(f[fiscalCode], &Company::fiscalCode)};
}
inline constexpr auto kRegistryShort = companyColumns(kRegistryShortFields, 8);
inline constexpr auto kRegistryLong = withRow(
    withRow(companyColumns(kRegistryLongFields, 9), kept<Company>(kRegistryLongFields[8])),
    kept<Company>({kRegistryLongFields[10].offset, kRegistryLongLength - kRegistryLongFields[10].offset}));

// The company list, AZIEN: the short registry fields, then the rest of the record as read.
inline constexpr std::size_t kCompanyListLength = 1000;
inline constexpr auto kCompanyList =
    withRow(kRegistryShort, kept<Company>({kRegistryShortLength, kCompanyListLength - kRegistryShortLength}));

// PARAM.DAT: two one-letter parameters.
inline constexpr std::size_t kParametersLength = 2;
inline constexpr std::array kParameters{letter<Context>({0, 1}, &Context::sharedCustomerArchive),
                                        letter<Context>({1, 1}, &Context::fullVatTables)};

// INDEX.DAT and INDAZ: one counter per record, single-precision standard text form.
inline constexpr Cell kCounter{{0, 5}, Kind::kSingle};

// DATA.DAT: seven fields kept as stored.
inline constexpr std::size_t kHostSettingsLength = 18;
inline constexpr std::size_t kHostSettingsWidths[] = {6, 3, 1, 5, 1, 1, 1};
inline constexpr auto kHostSettings = fieldsFromWidths(kHostSettingsWidths);

// QMENU.DAT: fifteen fields kept as stored, then a reserved byte.
inline constexpr std::size_t kHandOverLength = 111;
inline constexpr std::size_t kHandOverWidths[] = {1, 3, 2, 3, 4, 20, 2, 6, 2, 5, 50, 3, 5, 2, 2, 1};
inline constexpr auto kHandOverRecord = fieldsFromWidths(kHandOverWidths);
inline constexpr std::span<const Field> kHandOverFields{kHandOverRecord.data(), HandOver::kFields};
inline constexpr Cell kHandOverReserved{kHandOverRecord[HandOver::kFields], Kind::kRaw};
}  // namespace context_layout

// Channel 10, TTY.DAT: one byte per record.
void L_10(const Catalogue& catalogue, char& byte);
void W_10(Catalogue& catalogue, char byte);

// Channel 11, the working date: date (and the rest of DATA.<ext>) into the context.
void L_11(const Catalogue& catalogue, Context& context);
void W_11(Catalogue& catalogue, const Context& context);

// Channel 14, the company registry: 227- or 619-byte record, the same company variables.
// Fields without a variable stay in the buffer as read.
void L_14(const Catalogue& catalogue, Company& company);
void W_14(Catalogue& catalogue, const Company& company);

// Channel 18, PARAM.DAT.
void L_18(const Catalogue& catalogue, Context& context);
void W_18(Catalogue& catalogue, const Context& context);

// Channel 22, INDEX.DAT: one counter per record, standard text form.
void L_22(const Catalogue& catalogue, float& counter);
void W_22(Catalogue& catalogue, float counter);

// Channel 49, DATA.DAT.
void L_49(const Catalogue& catalogue, HostSettings& settings);
void W_49(Catalogue& catalogue, const HostSettings& settings);

// Channel 90, QMENU.DAT: every byte of the record.
void L_90(const Catalogue& catalogue, HandOver& handOver);
void W_90(Catalogue& catalogue, const HandOver& handOver);

// Channel 91, INDAZ<yy>.DAT: number of companies.
void L_91(const Catalogue& catalogue, float& companies);
void W_91(Catalogue& catalogue, float companies);

// Channel 92, AZIEN<yy>.DAT: a company of the list; it starts with the fields of the
// 227-byte registry record, the rest stays in the buffer as read.
void L_92(const Catalogue& catalogue, Company& company);
void W_92(Catalogue& catalogue, const Company& company);

}  // namespace vellano::records
