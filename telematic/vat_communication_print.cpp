// The printed communication: the form's values at their places on the blank form, laid on
// its PDF and shown.
#include <array>
#include <string>
#include <utility>

#include "platform/commands.h"
#include "printout/communication_form.h"
#include "printout/pdf_forms.h"
#include "records/numbers.h"
#include "records/text.h"
#include "telematic/transmission.h"
#include "telematic/vat_communication.h"

namespace vellano::telematic {
namespace {

constexpr const char* kPrintAmount = "#,###,###.##";

std::string tick(bool ticked) { return ticked ? "X" : ""; }

}  // namespace

std::string formPrint(const CommunicationForm& f, const records::Intermediary& intermediary) {
  using printout::FormField;
  using printout::formValue;
  auto amount = [](double v) { return records::printUsing(kPrintAmount, v); };
  std::string out = printout::formSetUp();
  const std::array<std::pair<FormField, std::string>, 28> values{{
      {FormField::TaxYear, f.taxYear},
      {FormField::FiscalCode, f.fiscalCode},
      {FormField::VatNumber, f.vatNumber},
      {FormField::CompanyName, f.company ? f.name : ""},
      {FormField::Surname, f.company ? "" : f.surname},
      {FormField::FirstName, f.company ? "" : f.firstName},
      {FormField::ActivityCode, f.activityCode},
      {FormField::SeparateAccounts, tick(f.separateAccounts)},
      {FormField::VatGroup, tick(f.vatGroup)},
      {FormField::ExceptionalEvents, tick(f.exceptionalEvents)},
      {FormField::DeclarantFiscalCode, f.declarant},
      {FormField::DeclarantRole, f.declarantRole},
      {FormField::DeclaringCompany, f.declaringCompany},
      {FormField::ActiveTotal, amount(f.active[0])},
      {FormField::ActiveNonTaxable, amount(f.active[1])},
      {FormField::ActiveExempt, amount(f.active[2])},
      {FormField::ActiveIntraCommunity, amount(f.active[3])},
      {FormField::PassiveTotal, amount(f.passive[0])},
      {FormField::PassiveNonTaxable, amount(f.passive[1])},
      {FormField::PassiveExempt, amount(f.passive[2])},
      {FormField::PassiveIntraCommunity, amount(f.passive[3])},
      {FormField::VatChargeable, amount(f.chargeable)},
      {FormField::VatDeducted, amount(f.deducted)},
      {FormField::VatDue, amount(f.due)},
      {FormField::VatCredit, amount(f.credit)},
      {FormField::IntermediaryFiscalCode, intermediary.fiscalCode},
      {FormField::IntermediaryNumber, records::left(intermediary.registrationNumber, 5)},
      {FormField::CommitmentDate, records::trim(longDate(intermediary.commitmentDate))},
  }};
  for (const auto& [field, text] : values)
    if (!records::isBlank(text)) out += formValue(field, text) + "\r\n";
  return out;
}

void printCommunication(screen::Session& session, printout::PrintOutput& output, const CommunicationForm& form,
                        const records::Intermediary& intermediary) {
  printout::PrintChannel& channel = output.channel();
  // The form always goes to PDF: no destination to ask.
  channel.open("LASER", 0);
  channel.print(formPrint(form, intermediary));
  channel.formFeed();
  output.closeChannel();
  printout::installCommunicationForm();
  printout::PdfForms forms;
  forms.PTKST(session, {std::string(printout::kCommunicationBackground), "1", 1, 0});
  for (std::string_view command : {"CMD /C COPY LAS1.PDF LASER.PDF", "CMD /C DEL LAS1.PDF", "CMD /C READ LASER.PDF"})
    platform::runCommand(std::string(command), session.console);
}

}  // namespace vellano::telematic
