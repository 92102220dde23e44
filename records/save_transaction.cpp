// The folder lock, the journal and the save transaction.
#include "records/save_transaction.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <mutex>
#include <system_error>
#include <utility>

#include "records/write_faults.h"
#include "platform/dos_path.h"
#include "platform/error.h"
#include "platform/file_io.h"

namespace vellano::records {

namespace fs = std::filesystem;
namespace files = platform::files;

namespace {

constexpr std::string_view kMagic = "VELLANO-JNL 1\n";

[[noreturn]] void fail(int err, const char* where, const fs::path& path) {
  throw RuntimeError(errorNumberFromErrno(err), where, path.string());
}

void step(faults::Step kind, const char* where, const fs::path& path) {
  if (const int err = faults::before(kind, path)) fail(err, where, path);
}

// ---- CRC-32 (IEEE), so a torn journal is told from a complete one ----

std::uint32_t crc32(std::string_view bytes) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1U) ? 0xEDB88320U ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  std::uint32_t c = 0xFFFFFFFFU;
  for (char ch : bytes) c = table[(c ^ static_cast<unsigned char>(ch)) & 0xFFU] ^ (c >> 8);
  return c ^ 0xFFFFFFFFU;
}

// ---- Plain file steps, each behind the fault seam ----

class Descriptor {
 public:
  Descriptor(const fs::path& path, unsigned flags, const char* where) : path_(path) {
    fd_ = files::openFile(path, flags);
    if (fd_ < 0) fail(errno, where, path);
  }
  ~Descriptor() {
    if (fd_ >= 0) files::closeFile(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  void writeAt(long long offset, std::string_view bytes, const char* where) {
    step(faults::Step::Write, where, path_);
    std::size_t done = 0;
    while (done < bytes.size()) {
      const long long put = files::writeAt(fd_, bytes.data() + done, bytes.size() - done,
                                           offset + static_cast<long long>(done));
      if (put < 0) fail(errno, where, path_);
      if (put == 0) fail(ENOSPC, where, path_);
      done += static_cast<std::size_t>(put);
    }
  }
  // The bytes and the length reach the disk; times are not worth a wait.
  void sync() {
    step(faults::Step::Sync, "sync", path_);
    if (files::syncData(fd_) != 0) fail(errno, "sync", path_);
  }
  void truncate(long long length, const char* where) {
    if (files::truncateFile(fd_, length) != 0) fail(errno, where, path_);
  }

 private:
  fs::path path_;
  int fd_ = -1;
};

void syncFolder(const fs::path& folder) {
  step(faults::Step::Sync, "sync", folder);
  if (files::syncFolder(folder) != 0) fail(errno, "sync", folder);
}

void removeFile(const fs::path& path, const char* where) {
  step(faults::Step::Remove, where, path);
  if (files::removeFile(path) != 0 && errno != ENOENT) fail(errno, where, path);
}

void emptyJournal(const fs::path& journal) {
  step(faults::Step::Remove, "journal", journal);
  if (files::truncatePath(journal, 0) != 0) fail(errno, "journal", journal);
}

fs::path resolve(const fs::path& folder, const std::string& name) {
  const fs::path p(name);
  return p.is_absolute() ? p : folder / p;
}

// Removals first, then every image, each file synced once its images are in.
void applyEntries(const fs::path& folder, const std::vector<JournalEntry>& entries,
                  const std::function<void()>& removeFiles) {
  if (removeFiles) removeFiles();
  std::map<std::string, std::vector<const JournalEntry*>> writes;
  for (const JournalEntry& e : entries) {
    if (e.kind == JournalEntry::Kind::Remove) {
      removeFile(resolve(folder, e.file), "remove");
    } else {
      writes[e.file].push_back(&e);
    }
  }
  for (const auto& [name, images] : writes) {
    Descriptor file(resolve(folder, name), files::kRead | files::kWrite | files::kCreate, "write");
    for (const JournalEntry* e : images)
      file.writeAt(static_cast<long long>(static_cast<std::size_t>(e->record - 1) * e->length), e->bytes, "write");
    file.sync();
  }
}

std::optional<std::string> readWhole(const fs::path& path) {
  const int fd = files::openFile(path, files::kRead);
  if (fd < 0) {
    if (errno == ENOENT) return std::nullopt;
    fail(errno, "journal", path);
  }
  std::string bytes;
  std::array<char, 65536> chunk{};
  for (;;) {
    const long long got = files::readAt(fd, chunk.data(), chunk.size(), static_cast<long long>(bytes.size()));
    if (got < 0) {
      const int err = errno;
      files::closeFile(fd);
      fail(err, "journal", path);
    }
    if (got == 0) break;
    bytes.append(chunk.data(), static_cast<std::size_t>(got));
  }
  files::closeFile(fd);
  return bytes;
}

// ---- The process's locks, one descriptor per folder ----

struct HeldLock {
  int fd = -1;
  int count = 0;
};

std::mutex& lockMutex() {
  static std::mutex m;
  return m;
}

std::map<std::string, HeldLock>& heldLocks() {
  static std::map<std::string, HeldLock> held;
  return held;
}

// ---- Decoding helpers ----

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  bool literal(std::string_view text) {
    if (bytes_.substr(at_, text.size()) != text) return false;
    at_ += text.size();
    return true;
  }
  // A decimal number followed by `end`.
  bool number(unsigned long long& value, char end) {
    const char* first = bytes_.data() + at_;
    const char* last = bytes_.data() + bytes_.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr == first || ptr == last || *ptr != end) return false;
    at_ = static_cast<std::size_t>(ptr - bytes_.data()) + 1;
    return true;
  }
  bool take(std::size_t n, std::string& out) {
    if (bytes_.size() - at_ < n) return false;
    out.assign(bytes_.substr(at_, n));
    at_ += n;
    return true;
  }
  std::size_t at() const { return at_; }
  bool done() const { return at_ == bytes_.size(); }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

}  // namespace

// ---- Names ----

fs::path dataFolder(const Context& context) {
  const fs::path journal = platform::hostPath(context.dataPrefix + std::string(kJournalName));
  return journal.has_parent_path() ? journal.parent_path() : fs::path(".");
}

std::string fileKey(const fs::path& path) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  return (ec ? path : absolute).lexically_normal().string();
}

// ---- The lock ----

FolderLock::FolderLock(const fs::path& folder) : key_(fileKey(folder / std::string(kLockName))) {
  std::lock_guard<std::mutex> guard(lockMutex());
  auto& held = heldLocks();
  if (auto it = held.find(key_); it != held.end()) {
    ++it->second.count;
    return;
  }
  const int fd = files::openFile(key_, files::kRead | files::kWrite | files::kCreate);
  if (fd < 0) fail(errno, "lock", key_);
  if (files::lockWhole(fd) != 0) {
    const int err = errno;
    files::closeFile(fd);
    fail(err, "lock", key_);
  }
  held[key_] = HeldLock{fd, 1};
}

FolderLock::~FolderLock() {
  std::lock_guard<std::mutex> guard(lockMutex());
  auto& held = heldLocks();
  const auto it = held.find(key_);
  if (it == held.end() || --it->second.count > 0) return;
  files::unlockWhole(it->second.fd);
  files::closeFile(it->second.fd);
  held.erase(it);
}

// ---- The journal ----

std::string encodeJournal(const std::vector<JournalEntry>& entries) {
  std::string out(kMagic);
  for (const JournalEntry& e : entries) {
    if (e.kind == JournalEntry::Kind::Remove) {
      out += "R " + std::to_string(e.file.size()) + "\n" + e.file + "\n";
    } else {
      out += "W " + std::to_string(e.length) + " " + std::to_string(e.record) + " " +
             std::to_string(e.file.size()) + " " + std::to_string(e.bytes.size()) + "\n" + e.file + e.bytes +
             "\n";
    }
  }
  out += "END " + std::to_string(entries.size()) + " " + std::to_string(crc32(out)) + "\n";
  return out;
}

std::optional<std::vector<JournalEntry>> decodeJournal(std::string_view bytes) {
  Reader in(bytes);
  if (!in.literal(kMagic)) return std::nullopt;
  std::vector<JournalEntry> entries;
  for (;;) {
    const std::size_t start = in.at();
    if (in.literal("END ")) {
      unsigned long long count = 0, crc = 0;
      if (!in.number(count, ' ') || !in.number(crc, '\n') || !in.done()) return std::nullopt;
      if (count != entries.size() || crc != crc32(bytes.substr(0, start))) return std::nullopt;
      return entries;
    }
    JournalEntry e;
    unsigned long long nameSize = 0;
    if (in.literal("R ")) {
      e.kind = JournalEntry::Kind::Remove;
      if (!in.number(nameSize, '\n') || !in.take(nameSize, e.file) || !in.literal("\n")) return std::nullopt;
    } else if (in.literal("W ")) {
      unsigned long long length = 0, record = 0, size = 0;
      if (!in.number(length, ' ') || !in.number(record, ' ') || !in.number(nameSize, ' ') ||
          !in.number(size, '\n') || !in.take(nameSize, e.file) || !in.take(size, e.bytes) || !in.literal("\n"))
        return std::nullopt;
      if (length == 0 || record == 0 || size != length || record > 0x7FFFFFFFULL) return std::nullopt;
      e.length = static_cast<std::size_t>(length);
      e.record = static_cast<long>(record);
    } else {
      return std::nullopt;
    }
    if (e.file.empty()) return std::nullopt;
    entries.push_back(std::move(e));
  }
}

// The journal file stays once made and is emptied after each save: rewriting a file in place
// needs no directory update, so a save waits for one sync for the journal and one per file it
// changes. Emptying it needs no sync of its own: a journal found again after a power cut
// holds what its files already hold, and the next save syncs its own journal over it before it
// changes any file.
void commitJournal(const fs::path& folder, const std::vector<JournalEntry>& entries,
                   const std::function<void()>& removeFiles) {
  const fs::path journal = folder / std::string(kJournalName);
  std::error_code ec;
  const bool existed = fs::exists(journal, ec);
  {
    Descriptor out(journal, files::kWrite | files::kCreate, "journal");
    try {
      const std::string bytes = encodeJournal(entries);
      out.writeAt(0, bytes, "journal");
      out.truncate(static_cast<long long>(bytes.size()), "journal");
      out.sync();
      // A journal file just made must still be found after a power cut.
      if (!existed) syncFolder(folder);
    } catch (...) {
      // Nothing has been applied: the save simply did not happen.
      if (files::truncatePath(journal, 0) != 0) {
        // What is left is incomplete and is dropped by the next save.
      }
      throw;
    }
  }
  // From here on a cut-off save is completed by the next one that finds the journal.
  applyEntries(folder, entries, removeFiles);
  emptyJournal(journal);
}

bool rollForward(const fs::path& folder) {
  const fs::path journal = folder / std::string(kJournalName);
  const std::optional<std::string> bytes = readWhole(journal);
  if (!bytes || bytes->empty()) return false;
  const std::optional<std::vector<JournalEntry>> entries = decodeJournal(*bytes);
  if (entries) applyEntries(folder, *entries, {});
  emptyJournal(journal);
  return entries.has_value();
}

bool recoverFolder(const fs::path& folder) {
  if (!journalPending(folder)) return false;
  FolderLock lock(folder);
  return rollForward(folder);
}

bool journalPending(const fs::path& folder) {
  std::error_code ec;
  const auto size = fs::file_size(folder / std::string(kJournalName), ec);
  return !ec && size > 0;
}

// ---- Pending images ----

const std::string* PendingWrites::find(const std::string& file, std::size_t length, long record) const {
  const auto it = images_.find({file, length, record});
  return it == images_.end() ? nullptr : &it->second;
}

void PendingWrites::put(const std::string& file, std::size_t length, long record, std::string bytes) {
  images_[{file, length, record}] = std::move(bytes);
}

void PendingWrites::remove(const std::string& file) {
  for (auto it = images_.begin(); it != images_.end();)
    it = std::get<0>(it->first) == file ? images_.erase(it) : std::next(it);
  removed_.insert(file);
}

long PendingWrites::lastRecord(const std::string& file, std::size_t length) const {
  long last = 0;
  for (const auto& [key, bytes] : images_)
    if (std::get<0>(key) == file && std::get<1>(key) == length && std::get<2>(key) > last) last = std::get<2>(key);
  return last;
}

std::vector<JournalEntry> PendingWrites::entries(const fs::path& folder) const {
  fs::path base(fileKey(folder));
  if (!base.has_filename()) base = base.parent_path();  // "/data/." normalises to "/data/"
  auto name = [&](const std::string& file) {
    const fs::path p(file);
    return p.parent_path() == base ? p.filename().string() : file;
  };
  std::vector<JournalEntry> out;
  for (const std::string& file : removed_) out.push_back({JournalEntry::Kind::Remove, name(file), 0, 0, {}});
  for (const auto& [key, bytes] : images_)
    out.push_back({JournalEntry::Kind::Write, name(std::get<0>(key)), std::get<1>(key), std::get<2>(key), bytes});
  return out;
}

// ---- The transaction ----

SaveTransaction::SaveTransaction(Catalogue& catalogue) : catalogue_(catalogue) {
  if (catalogue_.pending_) return;
  folder_ = dataFolder(catalogue_.context());
  lock_.emplace(folder_);
  rollForward(folder_);
  catalogue_.pending_ = std::make_unique<PendingWrites>();
  outermost_ = true;
}

SaveTransaction::~SaveTransaction() {
  if (outermost_) catalogue_.pending_.reset();
}

void SaveTransaction::removeFile(const fs::path& path) {
  if (catalogue_.pending_) catalogue_.pending_->remove(fileKey(path));
}

void SaveTransaction::commit(const std::function<void()>& removeFiles) {
  if (!outermost_) return;
  // The images leave the catalogue first: whatever happens now, reads go to the files.
  const std::unique_ptr<PendingWrites> pending = std::move(catalogue_.pending_);
  outermost_ = false;
  if (!pending->empty()) commitJournal(folder_, pending->entries(folder_), removeFiles);
  lock_.reset();
}

}  // namespace vellano::records
