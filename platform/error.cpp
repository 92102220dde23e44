// errno of a failed file operation -> BASIC error number shown by the error box.
#include "platform/error.h"

#include <cerrno>

namespace vellano {

// ENOENT means a missing file here; a missing folder cannot be told from errno alone, so the
// opener checks the folder itself and raises 76 with its name.
int errorNumberFromErrno(int err) {
  switch (err) {
    case ENOENT:
      return error::kFileNotFound;
    case ENOTDIR:
      return error::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:  // a read-only disk refuses like a protected file
      return error::kPermissionDenied;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:  // out of quota is out of space for the user (Windows has no quota errno)
#endif
      return error::kDiskFull;
    case EIO:
      return error::kDeviceIo;
    case ENAMETOOLONG:
      return error::kBadFileName64;
    default:
      return error::kPathFileAccess;
  }
}

}  // namespace vellano
