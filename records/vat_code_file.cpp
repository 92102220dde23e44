// TABIVA.DAT through its table.
#include "records/vat_code_file.h"

#include "records/text.h"

namespace vellano::records {

static_assert(tiles(vat_layout::kTable, vat_layout::kLength));

bool VatCode::blank() const {
  return isBlank(code) && isBlank(rateText) && isBlank(ventilationText) && isBlank(compensationText) &&
         isBlank(note);
}

void L_16(const Catalogue& catalogue, VatCode& vat) {
  load(catalogue.channel(channel::kVatCodes).buffer(), vat_layout::kTable, vat);
}

void W_16(Catalogue& catalogue, const VatCode& vat) {
  store(catalogue.channel(channel::kVatCodes).buffer(), vat_layout::kTable, vat, "W_16");
}

VatCode readVatCode(Catalogue& catalogue, int position) {
  openChannel(catalogue, channel::kVatCodes).read(position);
  VatCode vat;
  L_16(catalogue, vat);
  return vat;
}

void writeVatCode(Catalogue& catalogue, int position, const VatCode& vat) {
  Channel& codes = openChannel(catalogue, channel::kVatCodes);
  W_16(catalogue, vat);
  codes.write(position);
}

}  // namespace vellano::records
