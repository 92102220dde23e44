// The ORBW.DAT record, declared once.
#include "printout/orbw_settings.h"

#include <array>

namespace vellano::printout {
namespace {

constexpr auto kFields = records::fieldsFromWidths({1, 1, 1, 1, 1, 1, 1});

// A field never written holds NUL, which reads as blank like any other unset flag.
std::string flag(const records::Record& record, std::size_t index) {
  return record.text(kFields[index]);
}

}  // namespace

OrbwSettings orbwFromRecord(const records::Record& record) {
  OrbwSettings s;
  s.laser = flag(record, 0);
  s.pdf = flag(record, 1);
  s.view = flag(record, 2);
  s.windows = flag(record, 3);
  s.landscape = flag(record, 4);
  s.portrait = flag(record, 5);
  s.confirm = flag(record, 6);
  return s;
}

void orbwToRecord(const OrbwSettings& settings, records::Record& record) {
  if (record.bytes().size() < kOrbwRecordLength) record.bytes().resize(kOrbwRecordLength, '\0');
  const std::array<const std::string*, 7> values = {&settings.laser,     &settings.pdf,
                                                    &settings.view,      &settings.windows,
                                                    &settings.landscape, &settings.portrait,
                                                    &settings.confirm};
  for (std::size_t i = 0; i < values.size(); ++i) record.set(kFields[i], *values[i]);
}

void L_98(const records::Catalogue& catalogue, OrbwSettings& settings) {
  settings = orbwFromRecord(catalogue.channel(98).buffer());
}

void W_98(records::Catalogue& catalogue, const OrbwSettings& settings) {
  orbwToRecord(settings, catalogue.channel(98).buffer());
}

}  // namespace vellano::printout
