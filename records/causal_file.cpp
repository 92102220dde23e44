// CAUCON.DAT through its table.
#include "records/causal_file.h"

#include "records/numbers.h"
#include "records/text.h"

namespace vellano::records {

static_assert(tiles(causal_layout::kTable, causal_layout::kLength));

void L_6(const Catalogue& catalogue, Causal& causal) {
  load(catalogue.channel(channel::kCausals).buffer(), causal_layout::kTable, causal);
}

void W_6(Catalogue& catalogue, const Causal& causal) {
  store(catalogue.channel(channel::kCausals).buffer(), causal_layout::kTable, causal, "W_6");
}

Causal readCausal(Catalogue& catalogue, int n) {
  openChannel(catalogue, channel::kCausals).read(n);
  Causal causal;
  L_6(catalogue, causal);
  return causal;
}

void writeCausal(Catalogue& catalogue, int n, const Causal& causal) {
  Channel& causals = openChannel(catalogue, channel::kCausals);
  W_6(catalogue, causal);
  causals.write(n);
}

std::vector<std::string> causalListEntries(Catalogue& catalogue, int count) {
  std::vector<std::string> entries;
  for (int n = 1; n <= count; ++n)
    entries.push_back(printUsing("###", n) + " " + fitLeft(readCausal(catalogue, n).description, 30));
  return entries;
}

}  // namespace vellano::records
