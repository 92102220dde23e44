// The F24 row of the hand-over text and the page of our own drawing that shows it.
#include "outside/f24_form.h"

#include <cstdlib>

namespace vellano::outside {
namespace {

constexpr std::size_t kLength = 35;  // 1 + 1 + 4 + 1 + 8 + 1 + 9 + 1 + 9

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A "######.##" amount: blanks, digits, ".", two digits. Negative amounts have no place on
// the form.
std::optional<long long> amountCents(std::string_view field) {
  std::size_t i = 0;
  while (i < field.size() && field[i] == ' ') ++i;
  const std::string_view rest = field.substr(i);
  if (rest.size() < 4 || rest[rest.size() - 3] != '.') return std::nullopt;
  long long cents = 0;
  for (std::size_t k = 0; k < rest.size(); ++k) {
    if (k == rest.size() - 3) continue;
    if (!isDigit(rest[k])) return std::nullopt;
    cents = cents * 10 + (rest[k] - '0');
  }
  return cents;
}

// A PDF string literal.
std::string literal(std::string_view text) {
  std::string out = "(";
  for (char c : text) {
    if (c == '(' || c == ')' || c == '\\') out += '\\';
    out += c;
  }
  return out + ")";
}

std::string text(const char* font, int size, int x, int y, std::string_view s) {
  return "BT /" + std::string(font) + " " + std::to_string(size) + " Tf " + std::to_string(x) + " " +
         std::to_string(y) + " Td " + literal(s) + " Tj ET\n";
}

// Courier 10: every character 6 points wide, so amounts line up on their right edge.
std::string rightAligned(int right, int y, std::string_view s) {
  return text("F3", 10, right - 6 * static_cast<int>(s.size()), y, s);
}

std::string line(int x1, int y1, int x2, int y2) {
  return std::to_string(x1) + " " + std::to_string(y1) + " m " + std::to_string(x2) + " " + std::to_string(y2) + " l S\n";
}

}  // namespace

std::optional<F24Form> parseF24(std::string_view raw, std::string& problem) {
  std::string_view t = raw;
  while (!t.empty() && (t.back() == ' ' || t.back() == '\0')) t.remove_suffix(1);
  if (t.size() != kLength) {
    problem = "lunghezza " + std::to_string(t.size()) + " invece di " + std::to_string(kLength);
    return std::nullopt;
  }
  if (t[1] != '-' || t[6] != '-' || t[15] != '-' || t[25] != '-') {
    problem = "separatori '-' mancanti";
    return std::nullopt;
  }
  F24Form form;
  form.kind = t[0];
  if (form.kind != 'C' && form.kind != 'T') {
    problem = "tipo di modello diverso da C e T";
    return std::nullopt;
  }
  form.code = std::string(t.substr(2, 4));
  for (char c : form.code) {
    if (!isDigit(c) && !(c >= 'A' && c <= 'Z')) {
      problem = "codice tributo";
      return std::nullopt;
    }
  }
  form.period = std::string(t.substr(7, 8));
  for (char c : form.period) {
    if (!isDigit(c)) {
      problem = "periodo rrmmaaaa";
      return std::nullopt;
    }
  }
  const std::optional<long long> debit = amountCents(t.substr(16, 9));
  const std::optional<long long> credit = amountCents(t.substr(26, 9));
  if (!debit || !credit) {
    problem = !debit ? "importo a debito" : "importo a credito";
    return std::nullopt;
  }
  form.debitCents = *debit;
  form.creditCents = *credit;
  return form;
}

std::string formAmount(long long cents) {
  const bool negative = cents < 0;
  const long long value = std::llabs(cents);
  std::string whole = std::to_string(value / 100);
  for (int at = static_cast<int>(whole.size()) - 3; at > 0; at -= 3) whole.insert(static_cast<std::size_t>(at), ".");
  const long long rest = value % 100;
  return (negative ? "-" : "") + whole + "," + (rest < 10 ? "0" : "") + std::to_string(rest);
}

std::string f24PageContent(const F24Form& form) {
  std::string s;
  s += text("F2", 14, 40, 790, "MODELLO DI PAGAMENTO UNIFICATO F24");
  s += text("F1", 10, 40, 772,
            form.kind == 'C' ? "Modello richiesto: cartaceo (C)" : "Modello richiesto: telematico (T)");
  s += text("F1", 9, 40, 758, "Versamento dalla liquidazione periodica IVA");
  // The section and its one filled row.
  s += "0.6 w\n40 590 515 140 re S\n";
  s += text("F2", 11, 46, 714, "SEZIONE ERARIO");
  s += text("F1", 8, 46, 696, "codice tributo");
  s += text("F1", 8, 126, 696, "rateazione/regione/");
  s += text("F1", 8, 126, 687, "prov./mese rif.");
  s += text("F1", 8, 246, 696, "anno di riferimento");
  s += text("F1", 8, 346, 696, "importi a debito versati");
  s += text("F1", 8, 451, 696, "importi a credito compensati");
  s += line(40, 680, 555, 680);
  s += line(120, 705, 120, 655);
  s += line(240, 705, 240, 655);
  s += line(340, 705, 340, 630);
  s += line(445, 705, 445, 630);
  s += text("F3", 10, 46, 664, form.code);
  s += text("F3", 10, 126, 664, form.instalment());
  s += text("F3", 10, 246, 664, form.year());
  if (form.debitCents != 0) s += rightAligned(437, 664, formAmount(form.debitCents));
  if (form.creditCents != 0) s += rightAligned(547, 664, formAmount(form.creditCents));
  s += line(40, 655, 555, 655);
  s += text("F2", 9, 246, 638, "TOTALE");
  s += text("F2", 9, 346, 638, "A");
  s += rightAligned(437, 638, formAmount(form.debitCents));
  s += text("F2", 9, 451, 638, "B");
  s += rightAligned(547, 638, formAmount(form.creditCents));
  s += line(340, 630, 555, 630);
  s += text("F2", 9, 346, 605, "SALDO (A-B)");
  s += rightAligned(547, 605, formAmount(form.debitCents - form.creditCents));
  return s;
}

}  // namespace vellano::outside
