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
  kPrintSettings = 98,    // ORBW.DAT: print settings
};
}  // namespace channel

// Every channel of the catalogue.
inline constexpr std::array<int, 31> kChannels{1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11,
                                               12, 13, 14, 15, 16, 17, 18, 20, 22, 26, 27,
                                               30, 40, 49, 59, 71, 90, 91, 92, 98};

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
