// The F24 row handed over in QMENU.DAT and the page MODUVX draws with it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vellano::outside {

// "C-6032-00002011-  1234.56-     0.00": kind, tax code, rrmmaaaa, debit, credit.
struct F24Form {
  char kind = 'C';        // "C" paper, "T" electronic
  std::string code;       // codice tributo
  std::string period;     // rrmmaaaa
  long long debitCents = 0;
  long long creditCents = 0;

  std::string instalment() const { return period.substr(0, 4); }  // rateazione / mese
  std::string year() const { return period.substr(4, 4); }
};

// The row of a hand-over text (trailing blanks allowed); none, with `problem` saying why,
// when the text is not such a row.
std::optional<F24Form> parseF24(std::string_view text, std::string& problem);

// An amount as the form shows it: "1.234,56".
std::string formAmount(long long cents);

// The page content stream: fonts /F1 (Helvetica) and /F2 (Helvetica-Bold), A4 portrait.
std::string f24PageContent(const F24Form& form);

}  // namespace vellano::outside
