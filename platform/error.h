// A run-time error carries its BASIC error number to the error box, from any depth.
#pragma once

#include <stdexcept>
#include <string>

namespace vellano {

namespace error {
inline constexpr int kIllegalFunctionCall = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kBadFileName = 52;
inline constexpr int kFileNotFound = 53;
inline constexpr int kBadFileMode = 54;
inline constexpr int kDeviceIo = 57;
inline constexpr int kDiskFull = 61;
inline constexpr int kBadRecordNumber = 63;
inline constexpr int kBadFileName64 = 64;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kPathFileAccess = 75;
inline constexpr int kPathNotFound = 76;
}  // namespace error

class RuntimeError : public std::runtime_error {
 public:
  // `where` names the failing place (routine or step) for the error box.
  RuntimeError(int number, std::string where, std::string detail = {})
      : std::runtime_error(detail.empty() ? where : where + ": " + detail),
        number_(number), where_(std::move(where)), detail_(std::move(detail)) {}
  int number() const { return number_; }
  const std::string& where() const { return where_; }
  // For error 76: the folder that does not exist (host path).
  const std::string& detail() const { return detail_; }

 private:
  int number_;
  std::string where_;
  std::string detail_;
};

// Maps an errno value of a failed file operation to the BASIC error number.
int errorNumberFromErrno(int err);

}  // namespace vellano
