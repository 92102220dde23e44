// The export file for the TRIBUTEK tax-return package: the balance totals condensed by
// tax-return code into "BIL-" + fiscal code + ".TXT", shown in the editor, then copied into
// the package's import folder.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "records/context.h"
#include "records/tax_return_codes.h"
#include "screen/session.h"
#include "lists/causal_balance.h"

namespace vellano::lists {

// [0]: amounts whose code is not in the catalogue; [i]: catalogue entry i (1-233).
using CodeTotals = std::array<double, records::kTaxReturnCodeCount + 1>;

// Every sub-account 1-100 of every causal with a positive amount, added under the catalogue
// entry its code (first 7 characters) names.
CodeTotals codeTotals(const CausalTotals& totals, AccountNames& names);

// The file's lines, each ended by CR LF: "senza codice;" first with its total as it stands,
// then the catalogue codes with positive totals as whole numbers (ties to even).
std::string exportText(const CodeTotals& totals);

// "BIL-" + fiscal code (the VAT number when it is blank), blanks removed, + ".TXT"; empty
// when the company has neither, or when they hold what no file name may.
std::string exportFileName(const records::Company& company);

// "C:\TRIBUTEK\FISCALI\EXTIMPORT\20" + the next year in two digits + "\".
std::string proposedFolder(std::string_view yearSuffix);

// Writes the file, opens it in the editor, then offers the copy.
void exportForTaxReturn(screen::Session& session, const CausalTotals& totals, AccountNames& names);

}  // namespace vellano::lists
