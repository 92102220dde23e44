// The annual VAT communication IVA2011: the form of one company (sections I-III), its values
// from the year's liquidation, the records "A", "B" and "Z" of 1900 bytes, the printed form,
// and the screen "INVIO TELEMATICO IVA" that drives them over a range of companies.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "printout/print_output.h"
#include "records/catalogue.h"
#include "records/context.h"
#include "records/intermediary_file.h"
#include "registers/liquidation.h"
#include "screen/session.h"

namespace vellano::telematic {

inline constexpr std::size_t kCommunicationRecordLength = 1900;
inline constexpr std::string_view kSupplyCode = "IVC10";
inline constexpr std::string_view kSoftwareProducer = "ZZZTTT70A01H999Q";

// One company's communication as the form shows it. Amounts are held rounded to 2 decimals.
struct CommunicationForm {
  // Section I, from the company registry; kind, surname, first name and activity code are
  // typed for the run.
  std::string fiscalCode;
  std::string name;
  bool company = false;  // else a natural person
  std::string surname;
  std::string firstName;
  std::string taxYear;  // "20" + year suffix
  std::string vatNumber;
  std::string activityCode;
  bool separateAccounts = false;
  bool vatGroup = false;
  bool exceptionalEvents = false;
  std::string declaringCompany;  // fiscal code of the declaring company
  std::string declarant;         // declarant's fiscal code
  std::string declarantRole;
  // Sections II and III: total, non-taxable, exempt, intra-community.
  std::array<double, 4> active{};
  std::array<double, 4> passive{};
  double chargeable = 0;  // CD4
  double deducted = 0;    // CD5
  double due = 0;         // CD6
  double credit = 0;      // CD6
  double annualBalance = 0;  // decides whether CD6 is due or a credit

  // CD6 from CD4 and CD5 as they stand on the form.
  void settleBalance();
  // Both operation totals 0: the company has nothing to communicate.
  bool empty() const { return active[0] == 0 && passive[0] == 0; }
};

// Section I from the registry's values; a registry holding a company name marks a company.
CommunicationForm formOf(const records::Company& company, std::string_view yearSuffix);

// Sections II-III from the whole year's liquidation: CD1 the taxable sales and takings, CD2
// the taxable purchases, CD4 the sales and takings VAT, CD5 the purchases VAT (the
// agricultural deductible under that regime); the "of which" amounts start at 0.
void fillTotals(CommunicationForm& form, const registers::Liquidation& year);

// An amount in whole euros: rounded to 0 decimals, halves to even, then the integer part.
long long wholeEuros(double amount);

std::string headerRecord(const records::Intermediary& intermediary);
std::string companyRecord(const CommunicationForm& form, const records::Intermediary& intermediary);
std::string trailerRecord(int companies);

// The file as it grows: "A" before the first company, one "B" each, "Z" with the count.
class CommunicationFile {
 public:
  explicit CommunicationFile(records::Intermediary intermediary) : intermediary_(std::move(intermediary)) {}
  void add(const CommunicationForm& form);
  int companies() const { return companies_; }
  // The whole file, the trailer included.
  std::string finish() const;

 private:
  records::Intermediary intermediary_;
  std::string bytes_;
  int companies_ = 0;
};

// The print text of the form: the PCL set-up, then every value that is not blank at its
// place, each followed by CR LF.
std::string formPrint(const CommunicationForm& form, const records::Intermediary& intermediary);
// F8: the form printed into LASER, laid on the form background and shown as LASER.PDF.
void printCommunication(screen::Session& session, printout::PrintOutput& output, const CommunicationForm& form,
                        const records::Intermediary& intermediary);

// The menu item "invio Telematico iva".
void runVatCommunication(screen::Session& session, printout::PrintOutput& output);

}  // namespace vellano::telematic
