// The counters of INDEX.DAT.
#include "records/counters.h"

namespace vellano::records {

int readCounter(Catalogue& catalogue, long record) {
  openChannel(catalogue, channel::kCounters).read(record);
  float count = 0;
  L_22(catalogue, count);
  // The screens show counts in four places; anything else is damage and reads as its bound.
  if (!(count > 0)) return 0;
  return count > 9999 ? 9999 : static_cast<int>(count);
}

void writeCounter(Catalogue& catalogue, long record, int count) {
  Channel& channel = openChannel(catalogue, channel::kCounters);
  W_22(catalogue, static_cast<float>(count));
  channel.write(record);
}

}  // namespace vellano::records
