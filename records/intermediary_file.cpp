// The intermediary data file and the registry's province field.
#include "records/intermediary_file.h"

#include <filesystem>
#include <system_error>

#include "platform/dos_path.h"

namespace vellano::records {

static_assert(tiles(intermediary_layout::kTable, intermediary_layout::kLength));

void L_59(const Catalogue& catalogue, Intermediary& intermediary) {
  load(catalogue.channel(channel::kIntermediary).buffer(), intermediary_layout::kTable, intermediary);
}

void W_59(Catalogue& catalogue, const Intermediary& intermediary) {
  store(catalogue.channel(channel::kIntermediary).buffer(), intermediary_layout::kTable, intermediary, "W_59");
}

namespace {

bool fileExists(const Catalogue& catalogue, int channel) {
  std::error_code ec;
  return std::filesystem::exists(platform::hostPath(catalogue.dosName(channel)), ec);
}

}  // namespace

Intermediary readIntermediary(Catalogue& catalogue) {
  Intermediary out;
  if (!fileExists(catalogue, channel::kIntermediary)) return out;
  catalogue.open(channel::kIntermediary).read(1);
  L_59(catalogue, out);
  return out;
}

std::string readRegistryProvince(Catalogue& catalogue) {
  if (catalogue.context().hostMode == 6) return {};
  if (catalogue.recordLength(channel::kCompany) < context_layout::kRegistryLongLength) return {};
  if (!fileExists(catalogue, channel::kCompany)) return {};
  Channel& registry = catalogue.open(channel::kCompany);
  registry.read(1);
  return registry.buffer().trimmed(context_layout::kRegistryLongFields[8]);
}

}  // namespace vellano::records
