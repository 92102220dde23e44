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

// Record layouts of the files this catalogue loads itself.
constexpr std::size_t kDateWidths[] = {6, 11};
constexpr auto kDateFile = fieldsFromWidths(kDateWidths);
constexpr std::size_t kRegistryShortWidths[] = {40, 30, 30, 11, 20, 25, 25, 30, 16};
constexpr auto kRegistryShort = fieldsFromWidths(kRegistryShortWidths);
constexpr std::size_t kRegistryLongWidths[] = {40, 20, 20, 11, 20, 25, 25, 28, 2, 16,
                                               5,  40, 40, 15, 30, 30, 30, 60, 11, 60,
                                               5,  30, 6,  16, 1,  30, 1,  2};
constexpr auto kRegistryLong = fieldsFromWidths(kRegistryLongWidths);
constexpr std::size_t kParamWidths[] = {1, 1};
constexpr auto kParams = fieldsFromWidths(kParamWidths);
constexpr Field kCounter{0, 5};  // INDEX.DAT and INDAZ: one counter per record
constexpr std::size_t kHostSettingsWidths[] = {6, 3, 1, 5, 1, 1, 1};
constexpr auto kHostSettings = fieldsFromWidths(kHostSettingsWidths);
constexpr std::size_t kHandOverWidths[] = {1, 3, 2, 3, 4, 20, 2, 6, 2, 5, 50, 3, 5, 2, 2, 1};
constexpr auto kHandOverRecord = fieldsFromWidths(kHandOverWidths);  // last: reserved byte

constexpr std::size_t kDateShortLength = 6;
constexpr std::size_t kDateLongLength = 17;
constexpr std::size_t kRegistryShortLength = 227;
constexpr std::size_t kRegistryLongLength = 619;
constexpr std::size_t kHandOverLength = 111;
constexpr std::size_t kCompanyListLength = 1000;

constexpr std::size_t layoutEnd(const auto& layout) {
  return layout.back().offset + layout.back().width;
}
static_assert(layoutEnd(kDateFile) == kDateLongLength);
static_assert(layoutEnd(kRegistryShort) == kRegistryShortLength);
static_assert(layoutEnd(kRegistryLong) == kRegistryLongLength);
static_assert(layoutEnd(kHostSettings) == 18);
static_assert(layoutEnd(kHandOverRecord) == kHandOverLength);
static_assert(kHostSettings.size() == HostSettings::kFields);
static_assert(kHandOverRecord.size() == HandOver::kFields + 1);

// Channels whose name carries the year suffix.
constexpr std::array<int, 10> kYearChannels{3, 4, 5, 8, 12, 13, 27, 59, 91, 92};

bool isStemChannel(int channel) {
  return channel == 3 || channel == 4 || channel == 8 || channel == 12 || channel == 17;
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
    case 1: return {p + "CLIFOR." + cs, 500};
    case 2: return {p + "INDICECL." + cs, 4};
    case 3: return {p + stem + y + "." + e, 90};
    case 4: return {p + stem + y + "." + e, 200};
    case 5: return {p + "CDIVA" + y + "." + e, 21};
    case 6: return {p + "CAUCON.DAT", 500};
    case 7: return {p + "ESTC." + cs, 200};
    case 8: return {p + stem + y + "." + e, 30};
    case 9: return {p + "INDICEST." + cs, 4};
    case 10: return {"TTY.DAT", 1};
    case 11:
      if (c.hostMode == 6) return {c.handOverFolder + "DATATERM.DAT", kDateShortLength};
      return {p + "DATA." + e, kDateLongLength};
    case 12: return {p + stem + y + "." + e, 95};
    case 13: return {p + "IVVER" + y + "." + e, 120};
    case 14:
      if (c.hostMode == 2) return {p + "DIKTA." + e, kRegistryShortLength};
      return {folderPrefix(c.ttyFolder()) + "DIKTA." + e, kRegistryLongLength};
    case 15: return {p + "CASBAN.DAT", 50};
    case 16: return {p + "TABIVA.DAT", 200};
    case 17: return {p + stem + "." + e, 100};
    case 18: return {p + "PARAM.DAT", 2};
    case 20: return {p + "COMATIC." + e, 36};
    case 22: return {p + "INDEX.DAT", 5};
    case 26: return {p + "SOTCON.DAT", 500};
    case 27: return {p + "CORRIS" + y + "." + e, 5000};
    case 30: return {"IVA2011", 1900};
    case 40: return {"ELENCOCF", 1800};
    case 49: return {"DATA.DAT", 18};
    case 59: return {"TEL" + y + ".DAT", 255};
    case 71: return {p + "ESTCNO." + e, 200};
    case 90: return {c.handOverFolder + "QMENU.DAT", kHandOverLength};
    case 91: return {"INDAZ" + y + ".DAT", 5};
    case 92: return {"AZIEN" + y + ".DAT", kCompanyListLength};
    case 98: return {"ORBW.DAT", 7};
    default: badChannel(channel);
  }
}

// The raw bytes of a field, NULs included: carried fields go back exactly as read.
std::string rawField(const Record& record, Field f) {
  const std::string& bytes = record.bytes();
  if (f.offset >= bytes.size()) return std::string(f.width, '\0');
  std::string value = bytes.substr(f.offset, f.width);
  value.resize(f.width, '\0');
  return value;
}

char byteField(const Record& record, Field f) {
  const std::string text = record.text(f);
  return text.empty() ? ' ' : text[0];
}

template <std::size_t N>
void loadCompany(const Record& record, const std::array<Field, N>& layout, Company& company,
                 std::size_t fiscalCodeField) {
  company.name = record.trimmed(layout[0]);
  company.address = record.trimmed(layout[1]);
  company.town = record.trimmed(layout[2]);
  company.vatNumber = record.trimmed(layout[3]);
  company.field5 = record.trimmed(layout[4]);
  company.field6 = record.trimmed(layout[5]);
  company.field7 = record.trimmed(layout[6]);
  company.field8 = record.trimmed(layout[7]);
  company.fiscalCode = record.trimmed(layout[fiscalCodeField]);
}

template <std::size_t N>
void storeCompany(Record& record, const std::array<Field, N>& layout, const Company& company,
                  std::size_t fiscalCodeField) {
  record.set(layout[0], company.name);
  record.set(layout[1], company.address);
  record.set(layout[2], company.town);
  record.set(layout[3], company.vatNumber);
  record.set(layout[4], company.field5);
  record.set(layout[5], company.field6);
  record.set(layout[6], company.field7);
  record.set(layout[7], company.field8);
  record.set(layout[fiscalCodeField], company.fiscalCode);
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
  byte = catalogue.channel(10).buffer().bytes()[0];
}

void W_10(Catalogue& catalogue, char byte) {
  catalogue.channel(10).buffer().bytes()[0] = byte;
}

void L_11(const Catalogue& catalogue, Context& context) {
  const Record& record = catalogue.channel(11).buffer();
  context.workingDate = record.text(kDateFile[0]);
  if (record.bytes().size() >= kDateLongLength) context.dateFileRest = rawField(record, kDateFile[1]);
}

void W_11(Catalogue& catalogue, const Context& context) {
  Record& record = catalogue.channel(11).buffer();
  record.set(kDateFile[0], context.workingDate);
  if (record.bytes().size() >= kDateLongLength) record.set(kDateFile[1], context.dateFileRest);
}

void L_14(const Catalogue& catalogue, Company& company) {
  const Record& record = catalogue.channel(14).buffer();
  if (record.bytes().size() >= kRegistryLongLength)
    loadCompany(record, kRegistryLong, company, 9);
  else
    loadCompany(record, kRegistryShort, company, 8);
}

void W_14(Catalogue& catalogue, const Company& company) {
  Record& record = catalogue.channel(14).buffer();
  if (record.bytes().size() >= kRegistryLongLength)
    storeCompany(record, kRegistryLong, company, 9);
  else
    storeCompany(record, kRegistryShort, company, 8);
}

void L_18(const Catalogue& catalogue, Context& context) {
  const Record& record = catalogue.channel(18).buffer();
  context.sharedCustomerArchive = byteField(record, kParams[0]);
  context.fullVatTables = byteField(record, kParams[1]);
}

void W_18(Catalogue& catalogue, const Context& context) {
  Record& record = catalogue.channel(18).buffer();
  record.set(kParams[0], std::string(1, context.sharedCustomerArchive));
  record.set(kParams[1], std::string(1, context.fullVatTables));
}

void L_22(const Catalogue& catalogue, float& counter) {
  counter = static_cast<float>(catalogue.channel(22).buffer().number(kCounter));
}

void W_22(Catalogue& catalogue, float counter) {
  catalogue.channel(22).buffer().set(kCounter, strSingle(counter));
}

void L_49(const Catalogue& catalogue, HostSettings& settings) {
  const Record& record = catalogue.channel(49).buffer();
  for (std::size_t i = 0; i < HostSettings::kFields; ++i)
    settings.field[i] = rawField(record, kHostSettings[i]);
}

void W_49(Catalogue& catalogue, const HostSettings& settings) {
  Record& record = catalogue.channel(49).buffer();
  for (std::size_t i = 0; i < HostSettings::kFields; ++i)
    record.set(kHostSettings[i], settings.field[i]);
}

void L_90(const Catalogue& catalogue, HandOver& handOver) {
  const Record& record = catalogue.channel(90).buffer();
  for (std::size_t i = 0; i < HandOver::kFields; ++i)
    handOver.field[i] = rawField(record, kHandOverRecord[i]);
  handOver.reserved = rawField(record, kHandOverRecord[HandOver::kFields]);
}

void W_90(Catalogue& catalogue, const HandOver& handOver) {
  Record& record = catalogue.channel(90).buffer();
  for (std::size_t i = 0; i < HandOver::kFields; ++i)
    record.set(kHandOverRecord[i], handOver.field[i]);
  record.set(kHandOverRecord[HandOver::kFields],
             handOver.reserved.empty() ? std::string(" ") : handOver.reserved);
}

void L_91(const Catalogue& catalogue, float& companies) {
  companies = static_cast<float>(catalogue.channel(91).buffer().number(kCounter));
}

void W_91(Catalogue& catalogue, float companies) {
  catalogue.channel(91).buffer().set(kCounter, strSingle(companies));
}

void L_92(const Catalogue& catalogue, Company& company) {
  loadCompany(catalogue.channel(92).buffer(), kRegistryShort, company, 8);
}

void W_92(Catalogue& catalogue, const Company& company) {
  storeCompany(catalogue.channel(92).buffer(), kRegistryShort, company, 8);
}

Channel& openChannel(Catalogue& catalogue, int channel) {
  Channel& c = catalogue.channel(channel);
  return c.isOpen() ? c : catalogue.open(channel);
}

}  // namespace vellano::records
