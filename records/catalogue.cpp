// The channel table, the Open operation and the loads and writes of the context files.
#include "records/catalogue.h"

#include <utility>

#include "records/numbers.h"
#include "records/save_transaction.h"
#include "records/text.h"
#include "platform/dos_path.h"
#include "platform/error.h"

namespace vellano::records {

namespace {

namespace C = context_layout;

static_assert(tiles(C::kDateShort, C::kDateShortLength));
static_assert(tiles(C::kDateLong, C::kDateLongLength));
static_assert(tiles(C::kRegistryShort, C::kRegistryShortLength));
static_assert(tiles(C::kRegistryLong, C::kRegistryLongLength));
static_assert(tiles(C::kCompanyList, C::kCompanyListLength));
static_assert(tiles(C::kParameters, C::kParametersLength));
static_assert(tiles(C::kHostSettings, C::kHostSettingsLength));
static_assert(tiles(C::kHandOverRecord, C::kHandOverLength));
static_assert(C::kHostSettings.size() == HostSettings::kFields);
static_assert(C::kHandOverRecord.size() == HandOver::kFields + 1);

// Channels whose name carries the year suffix.
constexpr std::array<int, 10> kYearChannels{
    channel::kRegisterHeader, channel::kRegistrations, channel::kVatControl, channel::kBalances,
    channel::kPayments,       channel::kVatPaid,       channel::kTakings,    channel::kIntermediary,
    channel::kCompanyCount,   channel::kCompanies};

bool isStemChannel(int number) {
  return number == channel::kRegisterHeader || number == channel::kRegistrations ||
         number == channel::kBalances || number == channel::kPayments || number == channel::kRegisterPrint;
}

[[noreturn]] void badChannel(int channel) {
  throw RuntimeError(error::kBadFileName, "catalogue", "channel " + std::to_string(channel));
}

// The name pattern and record length of each channel.
struct ChannelFile {
  std::string name;
  std::size_t length = 0;
};

ChannelFile channelFile(int channel, const Context& c, const std::string& stem) {
  const std::string& p = c.dataPrefix;
  const std::string& e = c.companyExtension;
  const std::string& cs = c.customerExtension;
  const std::string& y = c.yearSuffix;
  switch (channel) {
    case channel::kCustomers: return {p + "CLIFOR." + cs, 500};
    case channel::kCustomerCount: return {p + "INDICECL." + cs, 4};
    case channel::kRegisterHeader: return {p + stem + y + "." + e, 90};
    case channel::kRegistrations: return {p + stem + y + "." + e, 200};
    case channel::kVatControl: return {p + "CDIVA" + y + "." + e, 21};
    case channel::kCausals: return {p + "CAUCON.DAT", 500};
    case channel::kSuppliers: return {p + "ESTC." + cs, 200};
    case channel::kBalances: return {p + stem + y + "." + e, 30};
    case channel::kSupplierCount: return {p + "INDICEST." + cs, 4};
    case channel::kInstallation: return {"TTY.DAT", 1};
    case channel::kWorkingDate:
      if (c.hostMode == 6) return {c.handOverFolder + "DATATERM.DAT", C::kDateShortLength};
      return {p + "DATA." + e, C::kDateLongLength};
    case channel::kPayments: return {p + stem + y + "." + e, 95};
    case channel::kVatPaid: return {p + "IVVER" + y + "." + e, 120};
    case channel::kCompany:
      if (c.hostMode == 2) return {p + "DIKTA." + e, C::kRegistryShortLength};
      return {folderPrefix(c.ttyFolder()) + "DIKTA." + e, C::kRegistryLongLength};
    case channel::kCashBanks: return {p + "CASBAN.DAT", 50};
    case channel::kVatCodes: return {p + "TABIVA.DAT", 200};
    case channel::kRegisterPrint: return {p + stem + "." + e, 100};
    case channel::kParameters: return {p + "PARAM.DAT", C::kParametersLength};
    case channel::kAutomaticNumbers: return {p + "COMATIC." + e, 36};
    case channel::kCounters: return {p + "INDEX.DAT", 5};
    case channel::kSubAccounts: return {p + "SOTCON.DAT", 500};
    case channel::kTakings: return {p + "CORRIS" + y + "." + e, 5000};
    case channel::kVatReturnFile: return {"IVA2011", 1900};
    case channel::kCustomerListFile: return {"ELENCOCF", 1800};
    case channel::kHostSettings: return {"DATA.DAT", C::kHostSettingsLength};
    case channel::kIntermediary: return {"TEL" + y + ".DAT", 255};
    case channel::kOtherSuppliers: return {p + "ESTCNO." + e, 200};
    case channel::kHandOver: return {c.handOverFolder + "QMENU.DAT", C::kHandOverLength};
    case channel::kCompanyCount: return {"INDAZ" + y + ".DAT", 5};
    case channel::kCompanies: return {"AZIEN" + y + ".DAT", C::kCompanyListLength};
    case channel::kPdfReader: return {"LETTPDF.DAT", 128};
    case channel::kPrintSettings: return {"ORBW.DAT", 7};
    default: badChannel(channel);
  }
}

}  // namespace

// ---- Channel ----

Channel::Channel(int number, std::size_t recordLength)
    : number_(number), buffer_(recordLength) {}

void Channel::open(std::string dosName, std::size_t recordLength) {
  close();
  RecordFile file(platform::hostPath(dosName), recordLength);
  fileKey_ = fileKey(file.path());
  file_.emplace(std::move(file));
  dosName_ = std::move(dosName);
  buffer_ = Record(recordLength);
}

void Channel::close() {
  file_.reset();
  dosName_.clear();
  fileKey_.clear();
}

PendingWrites* Channel::pending() const { return catalogue_ ? catalogue_->pending_.get() : nullptr; }

RecordFile& Channel::file() {
  if (!file_) badChannel(number_);
  return *file_;
}

void Channel::read(long record) {
  RecordFile& f = file();
  std::string bytes = f.read(record);
  if (const PendingWrites* save = pending()) {
    if (const std::string* image = save->find(fileKey_, f.recordLength(), record)) bytes = *image;
    else if (save->removed(fileKey_)) bytes.assign(f.recordLength(), '\0');
  }
  buffer_ = Record(std::move(bytes));
}

std::string Channel::readBlock(long first, long count) const {
  if (!file_) badChannel(number_);
  std::string bytes = file_->readBlock(first, count);
  if (const PendingWrites* save = pending()) {
    const std::size_t length = file_->recordLength();
    if (save->removed(fileKey_)) bytes.assign(bytes.size(), '\0');
    for (long k = 0; k < count; ++k)
      if (const std::string* image = save->find(fileKey_, length, first + k))
        bytes.replace(static_cast<std::size_t>(k) * length, length, *image);
  }
  return bytes;
}

void Channel::write(long record) {
  RecordFile& f = file();
  PendingWrites* save = pending();
  if (!save) {
    f.write(record, buffer_.bytes());
    return;
  }
  f.offsetOf(record, "write");
  f.checkLinked();
  std::string bytes = buffer_.bytes().substr(0, f.recordLength());
  bytes.resize(f.recordLength(), '\0');
  save->put(fileKey_, f.recordLength(), record, std::move(bytes));
}

long Channel::recordCount() const {
  if (!file_) badChannel(number_);
  const PendingWrites* save = pending();
  if (!save) return file_->recordCount();
  const long onFile = save->removed(fileKey_) ? 0 : file_->recordCount();
  const long pendingLast = save->lastRecord(fileKey_, file_->recordLength());
  return pendingLast > onFile ? pendingLast : onFile;
}

// ---- Catalogue ----

Catalogue::Catalogue(Context& context) : context_(&context) {
  for (int n : kChannels) {
    const std::size_t length = channelFile(n, context, "X").length;
    channels_.emplace(n, Channel(n, length)).first->second.catalogue_ = this;
  }
}

Catalogue::~Catalogue() = default;

void Catalogue::setStem(int channel, std::string stem) {
  if (!isStemChannel(channel)) badChannel(channel);
  stems_[channel] = std::move(stem);
}

const std::string& Catalogue::stem(int channel) const {
  static const std::string kNone;
  const auto it = stems_.find(channel);
  return it == stems_.end() ? kNone : it->second;
}

std::string Catalogue::dosName(int channel) const {
  if (isStemChannel(channel) && stem(channel).empty())
    throw RuntimeError(error::kBadFileName64, "catalogue: no file stem for channel " + std::to_string(channel));
  return channelFile(channel, *context_, stem(channel)).name;
}

std::size_t Catalogue::recordLength(int channel) const {
  return channelFile(channel, *context_, stem(channel)).length;
}

Channel& Catalogue::channel(int number) {
  const auto it = channels_.find(number);
  if (it == channels_.end()) badChannel(number);
  return it->second;
}

const Channel& Catalogue::channel(int number) const {
  const auto it = channels_.find(number);
  if (it == channels_.end()) badChannel(number);
  return it->second;
}

Channel& Catalogue::open(int number) {
  Channel& ch = channel(number);
  ch.close();
  ch.open(dosName(number), recordLength(number));
  return ch;
}

void Catalogue::close(int number) { channel(number).close(); }

void Catalogue::closeAll() {
  for (auto& [number, ch] : channels_) ch.close();
}

void Catalogue::reopenYearFiles() {
  for (int n : kYearChannels)
    if (channel(n).isOpen()) open(n);
}

// ---- Loads and writes of the context files ----

void L_10(const Catalogue& catalogue, char& byte) {
  load(catalogue.channel(channel::kInstallation).buffer(), C::kInstallationByte, byte);
}

void W_10(Catalogue& catalogue, char byte) {
  store(catalogue.channel(channel::kInstallation).buffer(), C::kInstallationByte, byte, "W_10");
}

void L_11(const Catalogue& catalogue, Context& context) {
  const Record& record = catalogue.channel(channel::kWorkingDate).buffer();
  if (record.bytes().size() >= C::kDateLongLength) load(record, C::kDateLong, context);
  else load(record, C::kDateShort, context);
}

void W_11(Catalogue& catalogue, const Context& context) {
  Record& record = catalogue.channel(channel::kWorkingDate).buffer();
  if (record.bytes().size() >= C::kDateLongLength) store(record, C::kDateLong, context, "W_11");
  else store(record, C::kDateShort, context, "W_11");
}

void L_14(const Catalogue& catalogue, Company& company) {
  const Record& record = catalogue.channel(channel::kCompany).buffer();
  if (record.bytes().size() >= C::kRegistryLongLength) load(record, C::kRegistryLong, company);
  else load(record, C::kRegistryShort, company);
}

void W_14(Catalogue& catalogue, const Company& company) {
  Record& record = catalogue.channel(channel::kCompany).buffer();
  if (record.bytes().size() >= C::kRegistryLongLength) store(record, C::kRegistryLong, company, "W_14");
  else store(record, C::kRegistryShort, company, "W_14");
}

void L_18(const Catalogue& catalogue, Context& context) {
  load(catalogue.channel(channel::kParameters).buffer(), C::kParameters, context);
}

void W_18(Catalogue& catalogue, const Context& context) {
  store(catalogue.channel(channel::kParameters).buffer(), C::kParameters, context, "W_18");
}

void L_22(const Catalogue& catalogue, float& counter) {
  load(catalogue.channel(channel::kCounters).buffer(), C::kCounter, counter);
}

void W_22(Catalogue& catalogue, float counter) {
  store(catalogue.channel(channel::kCounters).buffer(), C::kCounter, counter, "W_22");
}

void L_49(const Catalogue& catalogue, HostSettings& settings) {
  loadRun(catalogue.channel(channel::kHostSettings).buffer(), C::kHostSettings, Kind::kRaw, settings.field);
}

void W_49(Catalogue& catalogue, const HostSettings& settings) {
  storeRun(catalogue.channel(channel::kHostSettings).buffer(), C::kHostSettings, Kind::kRaw, settings.field,
           "W_49");
}

void L_90(const Catalogue& catalogue, HandOver& handOver) {
  const Record& record = catalogue.channel(channel::kHandOver).buffer();
  loadRun(record, C::kHandOverFields, Kind::kRaw, handOver.field);
  load(record, C::kHandOverReserved, handOver.reserved);
}

void W_90(Catalogue& catalogue, const HandOver& handOver) {
  Record& record = catalogue.channel(channel::kHandOver).buffer();
  storeRun(record, C::kHandOverFields, Kind::kRaw, handOver.field, "W_90");
  store(record, C::kHandOverReserved, handOver.reserved, "W_90");  // never written: a blank
}

void L_91(const Catalogue& catalogue, float& companies) {
  load(catalogue.channel(channel::kCompanyCount).buffer(), C::kCounter, companies);
}

void W_91(Catalogue& catalogue, float companies) {
  store(catalogue.channel(channel::kCompanyCount).buffer(), C::kCounter, companies, "W_91");
}

void L_92(const Catalogue& catalogue, Company& company) {
  load(catalogue.channel(channel::kCompanies).buffer(), C::kCompanyList, company);
}

void W_92(Catalogue& catalogue, const Company& company) {
  store(catalogue.channel(channel::kCompanies).buffer(), C::kCompanyList, company, "W_92");
}

Channel& openChannel(Catalogue& catalogue, int channel) {
  Channel& c = catalogue.channel(channel);
  return c.isOpen() ? c : catalogue.open(channel);
}

}  // namespace vellano::records
