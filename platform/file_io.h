// Files by descriptor with positional reads and writes, as the record files, the save journal
// and the command log use them: the same calls on POSIX and on Windows. Failures return -1
// with errno set, so callers report them the way the programs number errors.
#pragma once

#include <cstddef>
#include <filesystem>

namespace vellano::platform::files {

enum OpenFlags : unsigned {
  kRead = 1,
  kWrite = 2,
  kCreate = 4,   // made when missing
  kAppend = 8,   // every write goes to the end
};

// Binary, never inherited by child programs.
int openFile(const std::filesystem::path& path, unsigned flags);
int closeFile(int fd);

// Bytes read (0 at the end of the file) or written, at `offset`; -1 on failure.
long long readAt(int fd, void* buffer, std::size_t size, long long offset);
long long writeAt(int fd, const void* bytes, std::size_t size, long long offset);
// Writes at the current position (the end, for kAppend).
long long writeNext(int fd, const void* bytes, std::size_t size);

long long fileSize(int fd);
int truncateFile(int fd, long long length);
int truncatePath(const std::filesystem::path& path, long long length);

// The bytes and the length reach the disk.
int syncData(int fd);
// A name just made in the folder reaches the disk (nothing to do where the file system
// journals its names itself).
int syncFolder(const std::filesystem::path& folder);

// Removes a file; a file already gone fails with ENOENT.
int removeFile(const std::filesystem::path& path);

// An exclusive lock on the whole file, waiting for other processes to let go.
int lockWhole(int fd);
int unlockWhole(int fd);

// 1 when `path` still names the open file, 0 when it was removed or replaced, -1 on failure.
int namesOpenFile(int fd, const std::filesystem::path& path);

}  // namespace vellano::platform::files
