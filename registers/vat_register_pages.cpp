// The pages of the VAT register: header, registration blocks, page breaks, totals, summary
// placement, hatching and the end of print. Every printed line counts in the line counter.
#include <cmath>

#include "records/numbers.h"
#include "records/text.h"
#include "lists/register_heading.h"
#include "registers/vat_register_print.h"

namespace vellano::registers {
namespace {

constexpr std::string_view kAmountMask = "#,###,###.##";
constexpr std::string_view kRule =
    "+----------+-----------------+--------+----------+----------------------------+-----+------------+------------+------------+";
constexpr std::string_view kColumns1 =
    "|   DATA   | Protocollo      | Numero |   DATA   | Ragione Sociale            |Aliq.| Imponibile |  Imposta   |   TOTALE   |";
constexpr std::string_view kColumns2 =
    "|Registraz.| Reg Sez Num     |Document|Documento |                            | IVA |            |            |            |";
constexpr std::string_view kClosingRule =
    "+-----------------------------------------------------------------------------+-----+------------+------------+------------+";
constexpr std::string_view kEmptyColumns = "|     |            |            |            |";
constexpr std::string_view kSummaryColumns1 =
    "R E G I M E   I V A   N O R M A L E                 I N D E T R A I B I L E                  ESENTE /  NON SOGGETTO /  FUORI CAMPO";
constexpr std::string_view kSummaryColumns2 =
    "aliq     imponibile         imposta              aliq    imponibile     imposta              art descrizione               importo";
constexpr std::string_view kSummaryColumns3 =
    "----     ----------         -------              ----    ----------     -------              --- ------------------------- -------";

std::string amount(double value) { return records::printUsing(kAmountMask, value); }

long codeOf(std::string_view text) {
  const double v = records::val(text);
  return std::isfinite(v) && std::fabs(v) < 1e9 ? static_cast<long>(std::trunc(v)) : 0;
}

}  // namespace

void RegisterPrinter::line(std::string_view text) {
  channel_.printLine(text);
  ++lines_;
}

std::string RegisterPrinter::registerTitle() const {
  return "REGISTRO IVA" + std::string(page_.title) + "  -  Sezionale " + page_.section + "                 Pag. " +
         records::printUsing("####", pageNumber_) + " / 20" + page_.yearSuffix;
}

void RegisterPrinter::setUp() {
  if (page_.laser) {
    for (std::string_view command : {"(s3T", "(s0S", "(s0P", "(s18H"}) channel_.escape(command);
    channel_.printLine();
  } else {
    channel_.control('\x0F');
  }
}

void RegisterPrinter::pageHeader() {
  ++pageNumber_;
  if (!firstPage_) {
    channel_.printLine();
    channel_.printLine();
  }
  firstPage_ = false;
  channel_.print(page_.period);
  channel_.tab(55);
  channel_.printLine(registerTitle());
  channel_.printLine(page_.companyLine);
  channel_.printLine(kRule);
  channel_.printLine(kColumns1);
  channel_.printLine(kColumns2);
  channel_.printLine(kRule);
  lines_ = 5;
}

void RegisterPrinter::headLine(const records::Registration& r) {
  const long code = r.counterpartyCode();
  std::string name;
  if (code >= 1 && code <= 8999) name = names_.customer(code);
  else if (code > 9000) name = names_.supplier(code - 9000);
  line("|" + lists::longDate(r.date) + "  " + records::fitLeft(r.protocolLetter, 1) + "   " +
       records::fitLeft(r.section, 1) + "   " + records::fitLeft(r.protocolNumber, 7) + "     " +
       records::fitLeft(r.documentNumber, 5) + " " + lists::longDate(r.documentDate) + " " +
       records::printUsing("####", static_cast<double>(code)) + " " + records::fitLeft(name, 23) +
       std::string(kEmptyColumns));
}

void RegisterPrinter::vatLine(const records::VatLine& v) {
  const long causal = codeOf(v.causalText);
  const long sub = codeOf(v.subAccountText);
  // A line without causal or sub-account prints blanks for the missing description.
  const std::string causalText = causal != 0 ? names_.causal(causal) : std::string();
  const std::string subText = causal != 0 && sub != 0 ? names_.subAccount(causal, sub) : std::string();
  line("|Causale: " + records::printUsing("###", static_cast<double>(causal)) + " " +
       records::fitLeft(causalText, 30) + " - " + records::printUsing("##", static_cast<double>(sub)) + " " +
       records::fitLeft(subText, 28) + "| " + records::fitLeft(v.rateText, 3) + " |" + amount(v.taxable) + "|" +
       amount(v.vat) + "|" + amount(v.total) + "|");
  taxable_ += v.taxable;
  vat_ += v.vat;
  total_ += v.total;
  summary_.add(v);
}

void RegisterPrinter::block(const records::Registration& r) {
  headLine(r);
  for (const records::VatLine& v : r.lines)
    if (v.taxable != 0) vatLine(v);
  line(kClosingRule);
}

void RegisterPrinter::totalsLine() {
  channel_.tab(86);
  channel_.print(amount(taxable_));
  channel_.tab(99);
  channel_.print(amount(vat_));
  channel_.tab(112);
  channel_.print(amount(total_));
  line({});
}

void RegisterPrinter::closePage() {
  for (int n = 1; n <= kPageHatchLines; ++n) {
    channel_.tab(n);
    channel_.printLine(kHatch);
  }
  channel_.formFeed();
  lines_ = 0;
}

void RegisterPrinter::body(const std::vector<Selected>& selected) {
  for (std::size_t i = 0; i < selected.size(); ++i) {
    if (lines_ == 0) pageHeader();
    block(*selected[i].registration);
    // Pages break between whole blocks only, so a page may run a few lines past its 100.
    if (lines_ > kPageLines) {
      if (i + 1 == selected.size()) {
        totalsLine();
        totalsAtBreak_ = true;
      }
      closePage();
    }
  }
  if (!totalsAtBreak_ && !selected.empty()) totalsLine();
}

void RegisterPrinter::summary() {
  if (lines_ > kPageLines || totalsAtBreak_) {
    if (lines_ > 0) closePage();
    channel_.printLine();
    channel_.printLine();
    ++pageNumber_;
    channel_.tab(55);
    channel_.printLine(registerTitle());
    lines_ = 3;
  } else {
    for (int n = 0; n < 4; ++n) line({});
  }
  channel_.print(page_.period);
  channel_.tab(55);
  line("RIEPILOGO IVA " + std::string(page_.title));
  line(page_.companyName);
  line(std::string(130, '-'));
  line(kSummaryColumns1);
  line(kSummaryColumns2);
  line(kSummaryColumns3);
  lines_ += summary_.print(channel_);
}

void RegisterPrinter::hatchToEnd() {
  for (int column = 1; lines_ <= kPageLines; ++column) {
    channel_.tab(column);
    line(kHatch);
  }
}

void RegisterPrinter::endOfPrint() {
  if (page_.laser) {
    for (std::string_view command : {"(s3T", "(s0S", "(s0P", "(s10H"}) channel_.escape(command);
    channel_.printLine();
  } else {
    channel_.control('\x12');
  }
  channel_.formFeed();
}

}  // namespace vellano::registers
