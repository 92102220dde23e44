// The closing VAT summary of a register ("RIEPILOGO IVA"): the printed VAT lines gathered by
// regime, by rate or article 1-100, and printed as rows of three blocks side by side.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "records/registration_files.h"
#include "printout/print_channel.h"

namespace vellano::registers {

inline constexpr int kSummaryIndexes = 100;

class VatSummary {
 public:
  // One printed VAT line, classified by the first letter of its aliquota text.
  void add(const records::VatLine& line);

  // The lines of the summary from the 130-dash line under the heading's columns to
  // "Ultima pagina."; returns the number of lines printed.
  int print(printout::PrintChannel& channel) const;

  // One entry of a block: its index and what it holds.
  struct Entry {
    enum class Kind { Normal, NonDeductible, OutOfScope, Exempt, NotSubject } kind;
    int index = 0;
    double taxable = 0;  // the amount of the out-of-scope, exempt and not-subject entries
    double vat = 0;
  };
  // The three blocks in their order: normal, non-deductible, then out of scope, exempt and
  // not subject as one list.
  std::vector<Entry> normal() const;
  std::vector<Entry> nonDeductible() const;
  std::vector<Entry> others() const;

 private:
  using ByIndex = std::array<double, kSummaryIndexes + 1>;  // [1..100]
  ByIndex normalTaxable_{}, normalVat_{}, nonDeductibleTaxable_{}, nonDeductibleVat_{};
  ByIndex exempt_{}, notSubject_{};
  double outOfScope_ = 0;
};

}  // namespace vellano::registers
