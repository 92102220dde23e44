// Fixed-length record files over positional reads and writes, and field access on a record
// buffer.
#include "records/record_file.h"

#include <algorithm>
#include <cerrno>
#include <limits>
#include <system_error>

#include "records/numbers.h"
#include "records/text.h"
#include "records/write_faults.h"
#include "platform/error.h"
#include "platform/file_io.h"

namespace vellano::records {

namespace {

bool isFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  return std::filesystem::is_directory(folder, ec);
}

[[noreturn]] void throwErrno(int err, const char* where, const std::filesystem::path& path) {
  throw RuntimeError(errorNumberFromErrno(err), where, path.string());
}

// Byte offset of a record, or throws 63 for a number that names no record.
long long recordOffset(long record, std::size_t length, const char* where,
                       const std::filesystem::path& path) {
  const auto maxOffset = static_cast<unsigned long long>(std::numeric_limits<long long>::max());
  const auto index = record > 0 ? static_cast<unsigned long long>(record - 1) : 0ULL;
  if (record <= 0 || index > (maxOffset - length) / length) {
    throw RuntimeError(error::kBadRecordNumber, std::string(where) + " " + std::to_string(record),
                       path.string());
  }
  return static_cast<long long>(index * length);
}

}  // namespace

RecordFile::RecordFile(std::filesystem::path path, std::size_t recordLength)
    : path_(std::move(path)), length_(recordLength) {
  if (length_ == 0) throw RuntimeError(error::kIllegalFunctionCall, "open", path_.string());
  fd_ = platform::files::openFile(path_, platform::files::kRead | platform::files::kWrite | platform::files::kCreate);
  if (fd_ >= 0) return;
  const int err = errno;
  if (err == ENOENT || err == ENOTDIR) {
    // The file would have been created, so it is the folder that is missing.
    std::filesystem::path folder = path_.parent_path();
    if (folder.empty()) folder = ".";
    if (!isFolder(folder)) throw RuntimeError(error::kPathNotFound, "open", folder.string());
  }
  throwErrno(err, "open", path_);
}

RecordFile::~RecordFile() {
  if (fd_ >= 0) platform::files::closeFile(fd_);
}

RecordFile::RecordFile(RecordFile&& other) noexcept
    : path_(std::move(other.path_)), length_(other.length_), fd_(other.fd_) {
  other.fd_ = -1;
}

RecordFile& RecordFile::operator=(RecordFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) platform::files::closeFile(fd_);
    path_ = std::move(other.path_);
    length_ = other.length_;
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

std::string RecordFile::read(long record) const {
  const long long offset = recordOffset(record, length_, "read", path_);
  std::string bytes(length_, '\0');
  std::size_t done = 0;
  while (done < length_) {
    const long long got = platform::files::readAt(fd_, bytes.data() + done, length_ - done,
                                                  offset + static_cast<long long>(done));
    if (got < 0) throwErrno(errno, "read", path_);
    if (got == 0) break;  // end of file: the rest stays NUL
    done += static_cast<std::size_t>(got);
  }
  return bytes;
}

std::string RecordFile::readBlock(long first, long count) const {
  if (count <= 0) return {};
  const long long offset = recordOffset(first, length_, "read", path_);
  const std::size_t size = static_cast<std::size_t>(count) * length_;
  std::string bytes(size, '\0');
  std::size_t done = 0;
  while (done < size) {
    const long long got =
        platform::files::readAt(fd_, bytes.data() + done, size - done, offset + static_cast<long long>(done));
    if (got < 0) throwErrno(errno, "read", path_);
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return bytes;
}

void RecordFile::write(long record, std::string_view bytes) {
  const long long offset = recordOffset(record, length_, "write", path_);
  checkLinked();
  if (const int fault = faults::before(faults::Step::Write, path_)) throwErrno(fault, "write", path_);
  std::string buffer(bytes.substr(0, length_));
  buffer.resize(length_, '\0');
  std::size_t done = 0;
  while (done < length_) {
    const long long put = platform::files::writeAt(fd_, buffer.data() + done, length_ - done,
                                                   offset + static_cast<long long>(done));
    if (put < 0) throwErrno(errno, "write", path_);
    if (put == 0) throwErrno(ENOSPC, "write", path_);
    done += static_cast<std::size_t>(put);
  }
}

long RecordFile::recordCount() const {
  const long long size = platform::files::fileSize(fd_);
  if (size < 0) throwErrno(errno, "recordCount", path_);
  return static_cast<long>(static_cast<std::size_t>(size) / length_);
}

long long RecordFile::offsetOf(long record, const char* where) const {
  return static_cast<long long>(recordOffset(record, length_, where, path_));
}

void RecordFile::checkLinked() const {
  const int named = platform::files::namesOpenFile(fd_, path_);
  if (named < 0) throwErrno(errno, "write", path_);
  if (named == 0) throw RuntimeError(error::kFileNotFound, "write", path_.string());
}

namespace {

// The bytes of a field that exist in the buffer; a layout longer than the buffer reads short.
std::string_view fieldBytes(const std::string& bytes, Field f) {
  if (f.offset >= bytes.size()) return {};
  return std::string_view(bytes).substr(f.offset, std::min(f.width, bytes.size() - f.offset));
}

}  // namespace

std::string Record::text(Field f) const {
  std::string out = nulAsBlank(fieldBytes(bytes_, f));
  out.resize(f.width, ' ');
  return out;
}

std::string Record::trimmed(Field f) const {
  return trimRight(nulAsBlank(fieldBytes(bytes_, f)));
}

double Record::number(Field f) const { return val(fieldBytes(bytes_, f)); }

void Record::set(Field f, std::string_view value) {
  if (f.offset >= bytes_.size()) return;
  const std::size_t room = std::min(f.width, bytes_.size() - f.offset);
  bytes_.replace(f.offset, room, fitLeft(value, room));
}

}  // namespace vellano::records
