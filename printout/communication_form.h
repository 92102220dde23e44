// The blank form the annual VAT communication is printed on: where each value goes on the
// page, in print lines and columns, and the boxes and captions drawn around those places.
// The form PDF is drawn from this one table, and the print places its values by the same
// table, so the two cannot drift apart.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vellano::printout {

// The print grid of the form: 10 characters per inch, 6 lines per inch, top margin 0,
// lines and columns counted from 0 as the PCL cursor commands count them.
inline constexpr double kFormColumnWidth = 7.2;   // points
inline constexpr double kFormLineHeight = 12.0;   // points
// Where column 0 starts on A4 paper (the printer's logical page offset, 71 dots at 300 dpi).
inline constexpr double kFormLeftOffset = 71 * 72.0 / 300;
inline constexpr double kFormPageWidth = 595.276;
inline constexpr double kFormPageHeight = 841.890;

enum class FormField {
  TaxYear,
  FiscalCode,
  VatNumber,
  CompanyName,
  Surname,
  FirstName,
  ActivityCode,
  SeparateAccounts,
  VatGroup,
  ExceptionalEvents,
  DeclarantFiscalCode,
  DeclarantRole,
  DeclaringCompany,
  ActiveTotal,
  ActiveNonTaxable,
  ActiveExempt,
  ActiveIntraCommunity,
  PassiveTotal,
  PassiveNonTaxable,
  PassiveExempt,
  PassiveIntraCommunity,
  VatChargeable,
  VatDeducted,
  VatDue,
  VatCredit,
  IntermediaryFiscalCode,
  IntermediaryNumber,
  CommitmentDate,
};

// One value's place: line and column of its first character and the characters it may take,
// with the caption printed over its box.
struct FormBox {
  FormField field;
  int line;
  int column;
  int width;
  std::string_view caption;
};

// Room for an amount in the program's mask "#,###,###.##".
inline constexpr int kAmountWidth = 12;

inline constexpr std::array kCommunicationBoxes{
    FormBox{FormField::TaxYear, 4, 70, 4, "Periodo d'imposta"},
    FormBox{FormField::FiscalCode, 9, 2, 16, "Codice fiscale"},
    FormBox{FormField::VatNumber, 9, 22, 11, "Partita IVA"},
    FormBox{FormField::CompanyName, 11, 2, 60, "Denominazione o ragione sociale"},
    FormBox{FormField::Surname, 13, 2, 24, "Cognome"},
    FormBox{FormField::FirstName, 13, 30, 20, "Nome"},
    FormBox{FormField::ActivityCode, 15, 2, 6, "Codice attività"},
    FormBox{FormField::SeparateAccounts, 15, 14, 1, "Contabilità separate"},
    FormBox{FormField::VatGroup, 15, 32, 1, "Società aderente a un gruppo IVA"},
    FormBox{FormField::ExceptionalEvents, 15, 56, 1, "Eventi eccezionali"},
    FormBox{FormField::DeclarantFiscalCode, 19, 2, 16, "Codice fiscale del dichiarante"},
    FormBox{FormField::DeclarantRole, 19, 22, 2, "Codice carica"},
    FormBox{FormField::DeclaringCompany, 19, 30, 11, "Codice fiscale della società dichiarante"},
    FormBox{FormField::ActiveTotal, 26, 8, kAmountWidth, "Totale operazioni attive"},
    FormBox{FormField::ActiveNonTaxable, 26, 24, kAmountWidth, "di cui non imponibili"},
    FormBox{FormField::ActiveExempt, 26, 40, kAmountWidth, "di cui esenti"},
    FormBox{FormField::ActiveIntraCommunity, 26, 56, kAmountWidth, "di cui cessioni intracomunitarie"},
    FormBox{FormField::PassiveTotal, 30, 8, kAmountWidth, "Totale operazioni passive"},
    FormBox{FormField::PassiveNonTaxable, 30, 24, kAmountWidth, "di cui non imponibili"},
    FormBox{FormField::PassiveExempt, 30, 40, kAmountWidth, "di cui esenti"},
    FormBox{FormField::PassiveIntraCommunity, 30, 56, kAmountWidth, "di cui acquisti intracomunitari"},
    FormBox{FormField::VatChargeable, 35, 8, kAmountWidth, "IVA esigibile"},
    FormBox{FormField::VatDeducted, 38, 8, kAmountWidth, "IVA detratta"},
    FormBox{FormField::VatDue, 41, 8, kAmountWidth, "IVA dovuta"},
    FormBox{FormField::VatCredit, 41, 40, kAmountWidth, "IVA a credito"},
    FormBox{FormField::IntermediaryFiscalCode, 47, 2, 16, "Codice fiscale dell'intermediario"},
    FormBox{FormField::IntermediaryNumber, 47, 22, 5, "N. iscrizione albo C.A.F."},
    FormBox{FormField::CommitmentDate, 47, 32, 8, "Data dell'impegno"},
};

// Printed, not boxed: the form's title, the section bands and the row codes.
enum class FormTextKind { Title, Band, Code };
struct FormText {
  FormTextKind kind;
  int line;
  int column;
  std::string_view text;
};

inline constexpr std::array kCommunicationTexts{
    FormText{FormTextKind::Title, 2, 2, "COMUNICAZIONE ANNUALE DATI IVA"},
    FormText{FormTextKind::Band, 6, 0, "Sezione I - DATI GENERALI - CONTRIBUENTE"},
    FormText{FormTextKind::Band, 17, 0, "DICHIARANTE (se diverso dal contribuente)"},
    FormText{FormTextKind::Band, 22, 0, "Sezione II - DATI RELATIVI ALLE OPERAZIONI EFFETTUATE"},
    FormText{FormTextKind::Code, 26, 2, "CD1"},
    FormText{FormTextKind::Code, 30, 2, "CD2"},
    FormText{FormTextKind::Band, 33, 0, "Sezione III - DETERMINAZIONE DELL'IVA DOVUTA O A CREDITO"},
    FormText{FormTextKind::Code, 35, 2, "CD4"},
    FormText{FormTextKind::Code, 38, 2, "CD5"},
    FormText{FormTextKind::Code, 41, 2, "CD6"},
    FormText{FormTextKind::Band, 44, 0, "IMPEGNO ALLA PRESENTAZIONE TELEMATICA"},
    FormText{FormTextKind::Band, 50, 0, "FIRMA DELLA COMUNICAZIONE"},
};

// The form's place in the data folder, as the print names it, and its file beside the programs.
inline constexpr std::string_view kCommunicationBackground = "PDF\\COMDIVA.PDF";
inline constexpr std::string_view kCommunicationFormFile = "COMDIVA.PDF";

const FormBox& formBox(FormField field);

// The PCL set-up the grid assumes: portrait A4, top and left margins 0, 10 characters and 6
// lines per inch, Courier. The start of print with pitch "10" sends the same.
std::string formSetUp();

// The print text that puts `value` in its box: the PCL cursor to the box's line and column
// (ESC "&a" line "R", ESC "&a" column "C"), then the value cut to the box's width.
std::string formValue(FormField field, std::string_view value);

}  // namespace vellano::printout
