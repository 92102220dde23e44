// IVA2011: the values of one company's form and its records "A", "B" and "Z".
#include "telematic/vat_communication.h"

#include <algorithm>

#include "records/numbers.h"
#include "records/text.h"
#include "telematic/transmission.h"

namespace vellano::telematic {
namespace {

constexpr const char* kRoutine = "IVA2011";
constexpr std::size_t kAmountWidth = 11;
constexpr std::string_view kNoAmount = " 0";  // blank and zero, the rest of the field blank

std::string flag(bool ticked) { return ticked ? "1" : "0"; }

void amounts(FixedRecord& r, std::size_t position, const std::array<double, 4>& values) {
  for (double v : values) {
    r.number(position, kAmountWidth, wholeEuros(v), kRoutine);
    position += kAmountWidth;
  }
}

}  // namespace

void CommunicationForm::settleBalance() {
  if (annualBalance >= 0) {
    due = records::round2(chargeable - deducted);
    credit = 0;
  } else {
    due = 0;
    credit = records::round2(deducted - chargeable);
  }
}

CommunicationForm formOf(const records::Company& company, std::string_view yearSuffix) {
  CommunicationForm form;
  form.fiscalCode = records::trim(company.fiscalCode);
  form.name = records::trim(company.name);
  form.company = !form.name.empty();
  form.taxYear = "20" + records::fitRight(records::trim(yearSuffix), 2);
  form.vatNumber = records::trim(company.vatNumber);
  return form;
}

void fillTotals(CommunicationForm& form, const registers::Liquidation& year) {
  form.active = {records::round2(year.salesTaxable + year.takingsTaxable), 0, 0, 0};
  form.passive = {records::round2(year.purchasesTaxable), 0, 0, 0};
  form.chargeable = records::round2(year.salesVat + year.takingsVat);
  form.deducted = records::round2(year.agricultural ? year.agriculturalDeductible : year.purchasesVat);
  form.annualBalance = year.balance;
  form.settleBalance();
}

long long wholeEuros(double amount) { return integerPart(records::roundTo(amount, 0)); }

std::string headerRecord(const records::Intermediary& intermediary) {
  FixedRecord r(kCommunicationRecordLength);
  r.text(1, 1, "A")
      .text(16, 5, kSupplyCode)
      .text(21, 2, intermediary.supplierType)
      .text(23, 16, intermediary.fiscalCode)
      .text(522, 4, "0000")
      .text(526, 4, "0000");
  return r.bytes();
}

std::string companyRecord(const CommunicationForm& form, const records::Intermediary& intermediary) {
  FixedRecord r(kCommunicationRecordLength);
  r.text(1, 1, "B").text(2, 16, form.fiscalCode).text(74, 16, kSoftwareProducer).text(90, 1, "1");
  if (form.company) {
    r.text(91, 60, form.name);
  } else {
    r.text(151, 24, form.surname).text(175, 20, form.firstName);
  }
  r.text(195, 4, form.taxYear)
      .text(199, 11, form.vatNumber)
      .text(210, 6, form.activityCode)
      .text(216, 1, flag(form.separateAccounts))
      .text(217, 1, flag(form.vatGroup))
      .text(218, 1, flag(form.exceptionalEvents))
      .text(219, 16, form.declarant);
  if (records::isBlank(form.declarant)) {
    r.text(235, 2, "00").text(237, 11, "00000000000");
  } else {
    r.text(235, 2, form.declarantRole).text(237, 11, form.declaringCompany);
  }
  amounts(r, 248, form.active);
  r.text(292, kAmountWidth, kNoAmount);
  amounts(r, 303, form.passive);
  for (std::size_t position = 347; position <= 391; position += kAmountWidth) r.text(position, kAmountWidth, kNoAmount);
  amounts(r, 402, {form.chargeable, form.deducted, form.due, form.credit});
  r.text(446, 1, "1")
      .text(447, 16, intermediary.fiscalCode)
      .text(463, 5, records::left(intermediary.registrationNumber, 5))
      .text(468, 1, "1")
      .text(469, 1, "0")
      .text(470, 8, longDate(intermediary.commitmentDate))
      .text(478, 1, "1");
  return r.bytes();
}

std::string trailerRecord(int companies) {
  const std::string count = std::to_string(companies);
  FixedRecord r(kCommunicationRecordLength);
  r.text(1, 1, "Z").text(16, 9, std::string(9 - std::min<std::size_t>(count.size(), 9), '0') + count);
  return r.bytes();
}

void CommunicationFile::add(const CommunicationForm& form) {
  if (companies_ == 0) bytes_ = headerRecord(intermediary_);
  bytes_ += companyRecord(form, intermediary_);
  ++companies_;
}

std::string CommunicationFile::finish() const { return bytes_ + trailerRecord(companies_); }

}  // namespace vellano::telematic
