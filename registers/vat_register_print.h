// The VAT register on the print channel: which registrations, in which order, and the pages
// they fill (page header, one block per registration, page breaks, register totals), the VAT
// summary, the hatching of a definitive print and the end of print.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "records/catalogue.h"
#include "records/registration_files.h"
#include "lists/report_names.h"
#include "printout/print_channel.h"
#include "registers/vat_summary.h"

namespace vellano::registers {

// The answers of the question window.
struct RegisterAnswers {
  int month = 0;             // 0: the date range
  std::string fromDate;      // ddmmyy
  std::string toDate;
  bool payments = false;     // "STAMPA PAGAMENTI"
  bool compressed = true;    // asked, but the register is always printed condensed
  std::string section;       // sezionale filter; empty: every sezionale
  bool definitive = false;
};

inline constexpr int kPageLines = 100;
inline constexpr int kPageHatchLines = 15;
inline constexpr std::string_view kHatch =
    "\\         \\         \\         \\         \\         \\         \\         \\         \\";

// ---- Selection and order ----

struct Selected {
  long record = 0;  // registration record number
  const records::Registration* registration = nullptr;
};

// The protocol number a registration sorts by: the number of its field, or when that is 0 the
// number found from the field's third character on.
double sortProtocol(const records::Registration& registration);
// The order key: date as yymmdd (+ 2,000,000 below year 50) in standard text form, then the
// protocol and the record number through "####".
std::string sortKey(const records::Registration& registration, long record);

// The registrations the answers choose from `all` (record k + 1 at index k), in key order.
// `workingYear` is the two-digit year of the working date.
std::vector<Selected> selectRegistrations(const std::vector<records::Registration>& all, const RegisterAnswers& answers,
                                          int workingYear);

// ---- Pages ----

struct RegisterPage {
  std::string_view title;   // "  VENDITE" / " ACQUISTI"
  std::string yearSuffix;   // yy
  std::string period;       // periodText()
  std::string companyLine;
  std::string companyName;
  std::string section;      // as answered
  bool laser = true;
};

class RegisterPrinter {
 public:
  RegisterPrinter(printout::PrintChannel& channel, lists::ReportNames& names, RegisterPage page, int lastPage)
      : channel_(channel), names_(names), page_(std::move(page)), pageNumber_(lastPage) {}

  // The pitch of the register: 18 characters per inch on a laser, condensed print otherwise.
  void setUp();
  // Every block, with the page breaks and the register totals.
  void body(const std::vector<Selected>& selected);
  // "RIEPILOGO IVA", on a page of its own when the last page is full.
  void summary();
  // A definitive print hatches the rest of its last page.
  void hatchToEnd();
  // Back to 10 characters per inch (or condensed print off); the last form feed.
  void endOfPrint();

  int pageNumber() const { return pageNumber_; }
  int lineCount() const { return lines_; }

 private:
  void pageHeader();
  void block(const records::Registration& registration);
  void headLine(const records::Registration& registration);
  void vatLine(const records::VatLine& line);
  void totalsLine();
  void closePage();
  void line(std::string_view text);
  std::string registerTitle() const;

  printout::PrintChannel& channel_;
  lists::ReportNames& names_;
  RegisterPage page_;
  int pageNumber_;
  int lines_ = 0;
  bool firstPage_ = true;
  bool totalsAtBreak_ = false;
  double taxable_ = 0, vat_ = 0, total_ = 0;
  VatSummary summary_;
};

// ---- The whole print ----

// Prints the register of the open register channels for `answers` on `channel`: nothing but
// the set-up when no registration is chosen (returns false), else the pages, the summary,
// the hatching of a definitive print, the payments list when asked and the end of print.
// A definitive print then stores its last page and marks its months, in one save, only once
// the whole print has reached the file.
bool printRegister(records::Catalogue& catalogue, printout::PrintChannel& channel, bool laser,
                   records::RegisterKind kind, std::string_view marksStem, const RegisterAnswers& answers);

}  // namespace vellano::registers
