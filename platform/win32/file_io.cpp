// The file calls on Windows: C runtime descriptors in binary mode, positional transfers and
// locks on their Win32 handles.
#include "platform/file_io.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>

#include "platform/win32/win_errors.h"

namespace vellano::platform::files {

namespace {

HANDLE handleOf(int fd) { return reinterpret_cast<HANDLE>(_get_osfhandle(fd)); }

OVERLAPPED at(long long offset) {
  OVERLAPPED o{};
  o.Offset = static_cast<DWORD>(static_cast<unsigned long long>(offset) & 0xFFFFFFFFULL);
  o.OffsetHigh = static_cast<DWORD>(static_cast<unsigned long long>(offset) >> 32);
  return o;
}

// One transfer moves at most this much; callers loop over short counts anyway.
DWORD chunk(std::size_t size) { return static_cast<DWORD>(std::min<std::size_t>(size, 1U << 30)); }

}  // namespace

int openFile(const std::filesystem::path& path, unsigned flags) {
  int mode = (flags & kRead) && (flags & kWrite) ? _O_RDWR : (flags & kWrite) ? _O_WRONLY : _O_RDONLY;
  if (flags & kCreate) mode |= _O_CREAT;
  if (flags & kAppend) mode |= _O_APPEND;
  return _wopen(path.c_str(), mode | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

int closeFile(int fd) { return _close(fd); }

long long readAt(int fd, void* buffer, std::size_t size, long long offset) {
  const HANDLE h = handleOf(fd);
  if (h == INVALID_HANDLE_VALUE) return -1;
  OVERLAPPED o = at(offset);
  DWORD got = 0;
  if (!ReadFile(h, buffer, chunk(size), &got, &o)) {
    if (GetLastError() == ERROR_HANDLE_EOF) return 0;
    return win32::failed();
  }
  return got;
}

long long writeAt(int fd, const void* bytes, std::size_t size, long long offset) {
  const HANDLE h = handleOf(fd);
  if (h == INVALID_HANDLE_VALUE) return -1;
  OVERLAPPED o = at(offset);
  DWORD put = 0;
  if (!WriteFile(h, bytes, chunk(size), &put, &o)) return win32::failed();
  return put;
}

long long writeNext(int fd, const void* bytes, std::size_t size) {
  return _write(fd, bytes, static_cast<unsigned>(chunk(size)));
}

long long fileSize(int fd) {
  LARGE_INTEGER size{};
  const HANDLE h = handleOf(fd);
  if (h == INVALID_HANDLE_VALUE) return -1;
  if (!GetFileSizeEx(h, &size)) return win32::failed();
  return size.QuadPart;
}

int truncateFile(int fd, long long length) {
  const errno_t err = _chsize_s(fd, length);
  if (err == 0) return 0;
  errno = err;
  return -1;
}

int truncatePath(const std::filesystem::path& path, long long length) {
  const int fd = openFile(path, kWrite);
  if (fd < 0) return -1;
  const int result = truncateFile(fd, length);
  const int err = errno;
  _close(fd);
  errno = err;
  return result;
}

int syncData(int fd) {
  const HANDLE h = handleOf(fd);
  if (h == INVALID_HANDLE_VALUE) return -1;
  return FlushFileBuffers(h) ? 0 : win32::failed();
}

// NTFS journals its own names: a file made just now survives a power cut without this.
int syncFolder(const std::filesystem::path& /*folder*/) { return 0; }

int removeFile(const std::filesystem::path& path) {
  return DeleteFileW(path.c_str()) ? 0 : win32::failed();
}

int lockWhole(int fd) {
  const HANDLE h = handleOf(fd);
  if (h == INVALID_HANDLE_VALUE) return -1;
  OVERLAPPED o = at(0);
  return LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &o) ? 0 : win32::failed();
}

int unlockWhole(int fd) {
  const HANDLE h = handleOf(fd);
  if (h == INVALID_HANDLE_VALUE) return -1;
  OVERLAPPED o = at(0);
  return UnlockFileEx(h, 0, MAXDWORD, MAXDWORD, &o) ? 0 : win32::failed();
}

int namesOpenFile(int fd, const std::filesystem::path& path) {
  const HANDLE h = handleOf(fd);
  if (h == INVALID_HANDLE_VALUE) return -1;
  BY_HANDLE_FILE_INFORMATION open{};
  if (!GetFileInformationByHandle(h, &open)) return win32::failed();
  const HANDLE named = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (named == INVALID_HANDLE_VALUE) return 0;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool ok = GetFileInformationByHandle(named, &info) != 0;
  CloseHandle(named);
  if (!ok) return 0;
  return info.dwVolumeSerialNumber == open.dwVolumeSerialNumber && info.nFileIndexHigh == open.nFileIndexHigh &&
                 info.nFileIndexLow == open.nFileIndexLow
             ? 1
             : 0;
}

}  // namespace vellano::platform::files
