// The ORBW.DAT record, declared once.
#include "printout/orbw_settings.h"

namespace vellano::printout {

static_assert(records::tiles(orbw_layout::kTable, kOrbwRecordLength));

OrbwSettings orbwFromRecord(const records::Record& record) {
  OrbwSettings s;
  records::load(record, orbw_layout::kTable, s);
  return s;
}

void orbwToRecord(const OrbwSettings& settings, records::Record& record) {
  if (record.bytes().size() < kOrbwRecordLength) record.bytes().resize(kOrbwRecordLength, '\0');
  records::store(record, orbw_layout::kTable, settings, "W_98");
}

void L_98(const records::Catalogue& catalogue, OrbwSettings& settings) {
  settings = orbwFromRecord(catalogue.channel(records::channel::kPrintSettings).buffer());
}

void W_98(records::Catalogue& catalogue, const OrbwSettings& settings) {
  orbwToRecord(settings, catalogue.channel(records::channel::kPrintSettings).buffer());
}

}  // namespace vellano::printout
