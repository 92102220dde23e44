// The write-fault seam.
#include "records/write_faults.h"

#include <utility>

namespace vellano::records::faults {
namespace {

Hook& installed() {
  static Hook hook;
  return hook;
}

}  // namespace

void setHook(Hook hook) { installed() = std::move(hook); }

int before(Step step, const std::filesystem::path& path) {
  const Hook& hook = installed();
  return hook ? hook(step, path) : 0;
}

}  // namespace vellano::records::faults
