// The VAT code table TABIVA.DAT: 40 fixed positions shared by every company, and its editor.
#pragma once

#include <string>

#include "records/catalogue.h"
#include "records/record_file.h"
#include "records/vat_code_file.h"
#include "screen/session.h"

namespace vellano::master {

// The table's records live in records/vat_code_file.h; the editor here names them unqualified.

// Where position n is edited on screen: row and column base.
struct VatCell {
  int row;
  int base;
};
VatCell vatCell(int position);

// The main-menu entry "Tabelle IVA": the 40-position editor, or, with "Tabelle IVA complete"
// set to "S", the reference document IVAT.TXT in the external editor.
void runVatTable(screen::Session& session);

// The editor itself; returns on ESC.
void runVatTableEditor(screen::Session& session);

// The command that shows the reference document.
inline constexpr std::string_view kVatDocumentCommand = "CMD /C NOTEPAD2.EXE IVAT.TXT";
inline constexpr std::string_view kVatDocument = "IVAT.TXT";

}  // namespace vellano::master
