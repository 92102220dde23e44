// Arbitrary bytes as a registration, a register header and a payment: a damaged record must
// read as something, both unpacking paths must agree, and what is read must read back the same
// after it is written.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "records/layout.h"
#include "records/record_file.h"
#include "records/registration_files.h"

namespace records = vellano::records;

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

bool sameTexts(const records::Registration& a, const records::Registration& b) {
  if (a.date != b.date || a.counterparty != b.counterparty || a.documentNumber != b.documentNumber ||
      a.documentDate != b.documentDate || a.protocolLetter != b.protocolLetter ||
      a.protocolNumber != b.protocolNumber || a.quantity != b.quantity || a.note != b.note || a.section != b.section)
    return false;
  for (std::size_t k = 0; k < a.lines.size(); ++k) {
    const records::VatLine& x = a.lines[k];
    const records::VatLine& y = b.lines[k];
    if (x.rateText != y.rateText || x.taxableText != y.taxableText || x.causalText != y.causalText ||
        x.subAccountText != y.subAccountText || x.vatCodeText != y.vatCodeText)
      return false;
    if (x.vat != y.vat || x.taxable != y.taxable || x.rate != y.rate) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  // A registration: the record copy and the view of a block (a short one included) agree.
  const records::Registration fromRecord = records::unpackRegistration(records::Record(bytes));
  records::Registration fromView;
  fromView.note = "left from the registration read before";
  records::unpackRegistration(std::string_view(bytes), fromView);
  check(sameTexts(fromRecord, fromView));
  const records::Totals totals = fromRecord.totals();
  check(std::isfinite(totals.taxable) && std::isfinite(totals.vat) && std::isfinite(totals.total));
  check(fromRecord.sectionNumber() >= 0 && fromRecord.sectionNumber() <= 5);

  records::Record written(std::string(records::registration_layout::kLength, 'x'));
  records::packRegistration(fromRecord, written);
  check(written.bytes().size() == records::registration_layout::kLength);
  check(sameTexts(records::unpackRegistration(written), fromRecord));

  // A register header: counts inside their fields, and the same counts after a rewrite.
  const records::RegisterHeader header = records::unpackHeader(records::Record(bytes));
  check(header.count >= 0 && header.count <= records::kMaxCounter);
  check(header.payments >= 0 && header.payments <= records::kMaxCounter);
  records::Record headerRecord(std::string(records::header_layout::kLength, '\0'));
  records::packHeader(header, headerRecord);
  const records::RegisterHeader back = records::unpackHeader(headerRecord);
  check(back.count == header.count && back.payments == header.payments && back.lastPage == header.lastPage &&
        back.protocol == header.protocol);

  // A payment through its table.
  records::Payment payment;
  records::load(records::Record(bytes), records::payment_layout::kTable, payment);
  check(payment.description.size() <= 70);
  return 0;
}
