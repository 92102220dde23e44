// The file calls over POSIX descriptors.
#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vellano::platform::files {

int openFile(const std::filesystem::path& path, unsigned flags) {
  int mode = (flags & kRead) && (flags & kWrite) ? O_RDWR : (flags & kWrite) ? O_WRONLY : O_RDONLY;
  if (flags & kCreate) mode |= O_CREAT;
  if (flags & kAppend) mode |= O_APPEND;
  return ::open(path.c_str(), mode | O_CLOEXEC, 0666);
}

int closeFile(int fd) { return ::close(fd); }

long long readAt(int fd, void* buffer, std::size_t size, long long offset) {
  ssize_t got;
  do {
    got = ::pread(fd, buffer, size, static_cast<off_t>(offset));
  } while (got < 0 && errno == EINTR);
  return got;
}

long long writeAt(int fd, const void* bytes, std::size_t size, long long offset) {
  ssize_t put;
  do {
    put = ::pwrite(fd, bytes, size, static_cast<off_t>(offset));
  } while (put < 0 && errno == EINTR);
  return put;
}

long long writeNext(int fd, const void* bytes, std::size_t size) {
  ssize_t put;
  do {
    put = ::write(fd, bytes, size);
  } while (put < 0 && errno == EINTR);
  return put;
}

long long fileSize(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return -1;
  return static_cast<long long>(st.st_size);
}

int truncateFile(int fd, long long length) { return ::ftruncate(fd, static_cast<off_t>(length)); }

int truncatePath(const std::filesystem::path& path, long long length) {
  return ::truncate(path.c_str(), static_cast<off_t>(length));
}

int syncData(int fd) { return ::fdatasync(fd); }

int syncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return -1;
  const int result = ::fdatasync(fd);
  const int err = errno;
  ::close(fd);
  errno = err;
  return result;
}

int removeFile(const std::filesystem::path& path) { return ::unlink(path.c_str()); }

namespace {

int setLock(int fd, short type, int command) {
  struct flock whole {};
  whole.l_type = type;
  whole.l_whence = SEEK_SET;
  int result;
  do {
    result = ::fcntl(fd, command, &whole);
  } while (result != 0 && errno == EINTR);
  return result;
}

}  // namespace

int lockWhole(int fd) { return setLock(fd, F_WRLCK, F_SETLKW); }
int unlockWhole(int fd) { return setLock(fd, F_UNLCK, F_SETLK); }

int namesOpenFile(int fd, const std::filesystem::path& path) {
  struct stat open {};
  if (::fstat(fd, &open) != 0) return -1;
  struct stat named {};
  if (open.st_nlink == 0 || ::stat(path.c_str(), &named) != 0) return 0;
  return named.st_dev == open.st_dev && named.st_ino == open.st_ino ? 1 : 0;
}

}  // namespace vellano::platform::files
