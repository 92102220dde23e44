// Gathering and printing of the VAT summary.
#include "registers/vat_summary.h"

#include <algorithm>
#include <cmath>

#include "records/numbers.h"
#include "records/text.h"

namespace vellano::registers {
namespace {

constexpr std::string_view kAmountMask = "#,###,###.##";
const std::string kDashes(130, '-');

// A rate or article as an array index, rounded as BASIC does; -1 when it is no index.
int indexOf(double value) {
  if (!std::isfinite(value)) return -1;
  const double r = std::nearbyint(value);
  return r >= 1 && r <= kSummaryIndexes ? static_cast<int>(r) : -1;
}

std::string twoDigits(int n) { return n < 10 ? "0" + std::to_string(n) : std::to_string(n); }

void printEntry(printout::PrintChannel& channel, const VatSummary::Entry& e) {
  using Kind = VatSummary::Entry::Kind;
  switch (e.kind) {
    case Kind::Normal:
      channel.tab(2);
      channel.print(records::printUsing("##", e.index));
      channel.tab(8);
      channel.print(records::printUsing(kAmountMask, e.taxable));
      channel.tab(24);
      channel.print(records::printUsing(kAmountMask, e.vat));
      return;
    case Kind::NonDeductible:
      channel.tab(50);
      channel.print("I" + twoDigits(e.index));
      channel.tab(56);
      channel.print(records::printUsing(kAmountMask, e.taxable));
      channel.tab(68);
      channel.print(records::printUsing(kAmountMask, e.vat));
      return;
    case Kind::OutOfScope:
      channel.tab(94);
      channel.print("FC");
      channel.tab(98);
      channel.print("Fuori Campo IVA");
      break;
    case Kind::Exempt:
      channel.tab(94);
      channel.print("E" + twoDigits(e.index));
      channel.tab(98);
      channel.print("Esente Art." + records::str(e.index));
      break;
    case Kind::NotSubject:
      channel.tab(94);
      channel.print("N" + twoDigits(e.index));
      channel.tab(98);
      channel.print("No Sog Art." + records::str(e.index));
      break;
  }
  channel.tab(119);
  channel.print(records::printUsing(kAmountMask, e.taxable));
}

}  // namespace

void VatSummary::add(const records::VatLine& line) {
  const std::string text = records::trimLeft(line.rateText);
  const char letter = text.empty() ? ' ' : text[0];
  const double article = letter == 'E' || letter == 'N' ? records::val(std::string_view(text).substr(1)) : 0;
  int i = -1;
  switch (letter) {
    case 'I':
      if ((i = indexOf(line.rate)) > 0) {
        nonDeductibleTaxable_[static_cast<std::size_t>(i)] += line.taxable;
        nonDeductibleVat_[static_cast<std::size_t>(i)] += line.vat;
      }
      return;
    case 'E':
      if ((i = indexOf(article)) > 0) exempt_[static_cast<std::size_t>(i)] += line.taxable;
      return;
    case 'N':
      if ((i = indexOf(article)) > 0) notSubject_[static_cast<std::size_t>(i)] += line.taxable;
      return;
    case 'F':
      outOfScope_ += line.taxable;
      return;
    default:
      if ((i = indexOf(line.rate)) > 0) {
        normalTaxable_[static_cast<std::size_t>(i)] += line.taxable;
        normalVat_[static_cast<std::size_t>(i)] += line.vat;
      }
      return;
  }
}

std::vector<VatSummary::Entry> VatSummary::normal() const {
  std::vector<Entry> out;
  for (int i = 1; i <= kSummaryIndexes; ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (normalTaxable_[k] != 0) out.push_back({Entry::Kind::Normal, i, normalTaxable_[k], normalVat_[k]});
  }
  return out;
}

std::vector<VatSummary::Entry> VatSummary::nonDeductible() const {
  std::vector<Entry> out;
  for (int i = 1; i <= kSummaryIndexes; ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (nonDeductibleTaxable_[k] != 0)
      out.push_back({Entry::Kind::NonDeductible, i, nonDeductibleTaxable_[k], nonDeductibleVat_[k]});
  }
  return out;
}

std::vector<VatSummary::Entry> VatSummary::others() const {
  std::vector<Entry> out;
  if (outOfScope_ != 0) out.push_back({Entry::Kind::OutOfScope, 0, outOfScope_, 0});
  for (int i = 1; i <= kSummaryIndexes; ++i)
    if (exempt_[static_cast<std::size_t>(i)] != 0)
      out.push_back({Entry::Kind::Exempt, i, exempt_[static_cast<std::size_t>(i)], 0});
  for (int i = 1; i <= kSummaryIndexes; ++i)
    if (notSubject_[static_cast<std::size_t>(i)] != 0)
      out.push_back({Entry::Kind::NotSubject, i, notSubject_[static_cast<std::size_t>(i)], 0});
  return out;
}

int VatSummary::print(printout::PrintChannel& channel) const {
  const std::vector<Entry> blocks[3] = {normal(), nonDeductible(), others()};
  const std::size_t rows = std::max({blocks[0].size(), blocks[1].size(), blocks[2].size()});
  int lines = 0;
  for (std::size_t row = 0; row < rows; ++row) {
    for (const std::vector<Entry>& block : blocks)
      if (row < block.size()) printEntry(channel, block[row]);
    channel.printLine();
    ++lines;
  }

  double totals[5] = {};
  for (int i = 1; i <= kSummaryIndexes; ++i) {
    const auto k = static_cast<std::size_t>(i);
    totals[0] += normalTaxable_[k];
    totals[1] += normalVat_[k];
    totals[2] += nonDeductibleTaxable_[k];
    totals[3] += nonDeductibleVat_[k];
    totals[4] += exempt_[k] + notSubject_[k];
  }
  totals[4] += outOfScope_;
  channel.printLine(kDashes);
  const int columns[5] = {8, 24, 56, 68, 119};
  for (int t = 0; t < 5; ++t) {
    channel.tab(columns[t]);
    channel.print(records::printUsing(kAmountMask, totals[t]));
  }
  channel.printLine();
  channel.printLine("Ultima pagina.");
  return lines + 3;
}

}  // namespace vellano::registers
