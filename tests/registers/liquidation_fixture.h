// A small year of one company for the liquidation tests: a few sales and purchases over the
// four quarters (one annulled, one exempt line, one non-deductible line, lines on VAT codes),
// two days of takings, the opening position and interest in CDIVA, VAT paid in IVVER.
#pragma once

#include <string>
#include <vector>

#include "records/catalogue.h"
#include "records/context.h"
#include "records/registration_files.h"
#include "records/vat_code_file.h"

namespace vellano::registers::liquidation_testing {

inline constexpr const char* kFixtureDate = "150611";

struct LiquidationLine {
  std::string rate;
  std::string taxable;
  std::string vatCode;
};

inline records::Registration registration(const std::string& date, const std::vector<LiquidationLine>& lines) {
  records::Registration r;
  r.date = date;
  r.counterparty = "1";
  r.section = "1";
  for (std::size_t k = 0; k < lines.size() && k < records::kLines; ++k) {
    records::VatLine& line = r.lines[k];
    line.rateText = lines[k].rate;
    line.taxableText = lines[k].taxable;
    line.vatCodeText = lines[k].vatCode;
    records::computeLine(line);
  }
  return r;
}

inline void writeRegister(records::Catalogue& catalogue, records::RegisterKind kind,
                          const std::vector<records::Registration>& list) {
  records::openRegister(catalogue, kind);
  for (std::size_t i = 0; i < list.size(); ++i)
    records::writeRegistration(catalogue, static_cast<long>(i + 1), list[i]);
  records::RegisterHeader header;
  header.count = static_cast<int>(list.size());
  records::writeHeader(catalogue, header);
}

inline void writeVatCode(records::Catalogue& catalogue, int position, const std::string& code,
                         const std::string& rate, const std::string& compensation) {
  records::VatCode v;
  v.code = code;
  v.rateText = rate;
  v.compensationText = compensation;
  records::writeVatCode(catalogue, position, v);
}

// Gross takings of one day at 4 % (block 0), 10 % (1) or 20 % (2).
inline void writeTakings(records::Catalogue& catalogue, int month, int block, int day, const std::string& gross) {
  records::Channel& channel = catalogue.open(records::channel::kTakings);
  channel.read(month);
  records::Takings t;
  records::L_27(catalogue, t);
  t.day[static_cast<std::size_t>(block)][static_cast<std::size_t>(day - 1)] = gross;
  records::W_27(catalogue, t);
  channel.write(month);
}

inline void writeControl(records::Catalogue& catalogue, const std::string& kind, const std::string& amount,
                         const std::string& interest) {
  records::Channel& channel = catalogue.open(records::channel::kVatControl);
  records::ControlRecord c{kind, amount, "", interest};
  records::W_5(catalogue, c);
  channel.write(1);
}

// The year 2011 of the fixture company, written into the catalogue's folder.
inline void writeFixtureYear(records::Catalogue& catalogue) {
  using records::RegisterKind;
  writeVatCode(catalogue, 2, "R10", "10", "");
  writeVatCode(catalogue, 3, "ND20", "I20", "");
  writeRegister(catalogue, RegisterKind::Sales,
                {registration("200111", {{"4", "250", ""}}),
                 registration("100411", {{"20", "1000", ""}}),
                 registration("150511", {{"10", "500", ""}, {"E15", "300", ""}}),
                 registration("~20611", {{"20", "200", ""}}),
                 registration("100711", {{"20", "700", ""}})});
  writeRegister(catalogue, RegisterKind::Purchases,
                {registration("050411", {{"20", "400", ""}}),
                 registration("120511", {{"I20", "100", ""}}),
                 registration("200611", {{"10", "300", "2"}, {"I20", "150", "3"}}),
                 registration("031011", {{"20", "2500.5", ""}})});
  writeTakings(catalogue, 6, 0, 5, "104");
  writeTakings(catalogue, 6, 1, 6, "55");
  writeControl(catalogue, "C", "150", "1");
  records::Channel& paid = catalogue.open(records::channel::kVatPaid);
  records::VatPaid p;
  p.month[3] = "120";
  records::W_13(catalogue, p);
  paid.write(1);
  catalogue.closeAll();
}

}  // namespace vellano::registers::liquidation_testing
