// One register print from the answers to the end of print, and what a definitive print
// leaves on disk: the last page in the register header and the marks of its months.
#include <algorithm>

#include "records/dates.h"
#include "records/numbers.h"
#include "records/print_marks.h"
#include "records/save_transaction.h"
#include "records/text.h"
#include "lists/payments_list.h"
#include "lists/register_heading.h"
#include "registers/vat_register_print.h"

namespace vellano::registers {
namespace {

records::RegisterHeader readHeader(records::Catalogue& catalogue) {
  records::openChannel(catalogue, records::channel::kRegisterHeader).read(1);
  records::RegisterHeader header;
  records::L_3(catalogue, header);
  return header;
}

int monthOf(std::string_view ddmmyy) { return static_cast<int>(records::dateKey(ddmmyy) / 100 % 100); }

// The header and the marks change together or not at all, and the header's counts are read
// again inside the save: another terminal may have added registrations since the print began.
void storeDefinitive(records::Catalogue& catalogue, std::string_view marksStem, int lastPage,
                     const RegisterAnswers& answers) {
  records::SaveTransaction save(catalogue);
  records::RegisterHeader header = readHeader(catalogue);
  header.lastPage = lastPage;
  records::writeHeader(catalogue, header);
  records::MonthMarks marks = records::readMonthMarks(catalogue, marksStem);
  const int first = answers.month != 0 ? answers.month : monthOf(answers.fromDate);
  const int last = answers.month != 0 ? answers.month : monthOf(answers.toDate);
  for (int m = std::max(first, 1); m <= std::min(last, 12); ++m) marks.month[static_cast<std::size_t>(m - 1)] = 'X';
  records::writeMonthMarks(catalogue, marksStem, marks);
  save.commit();
}

}  // namespace

bool printRegister(records::Catalogue& catalogue, printout::PrintChannel& channel, bool laser,
                   records::RegisterKind kind, std::string_view marksStem, const RegisterAnswers& answers) {
  const records::Context& context = catalogue.context();
  const records::RegisterInfo& info = records::registerInfo(kind);
  const records::RegisterHeader header = readHeader(catalogue);
  const std::vector<records::Registration> all = records::readRegistrations(catalogue, header.count);
  const int workingYear = static_cast<int>(records::val(context.yearSuffix));
  const std::vector<Selected> selected = selectRegistrations(all, answers, workingYear);

  lists::ReportNames names(catalogue);
  RegisterPage page{info.title,
                    context.yearSuffix,
                    lists::periodText(answers.month, answers.fromDate, answers.toDate, context.yearSuffix),
                    lists::companyLine(context),
                    lists::companyName(context),
                    answers.section,
                    laser};
  RegisterPrinter printer(channel, names, std::move(page), header.lastPage);
  printer.setUp();
  if (selected.empty()) return false;

  printer.body(selected);
  printer.summary();
  if (answers.definitive) printer.hatchToEnd();
  if (answers.payments) {
    channel.formFeed();
    lists::PaymentsListRequest request{kind == records::RegisterKind::Sales,
                                       info.title,
                                       lists::periodText(answers.month, answers.fromDate, answers.toDate,
                                                         context.yearSuffix),
                                       lists::companyLine(context),
                                       answers.fromDate,
                                       answers.toDate};
    lists::printPaymentsList(channel, names, request, records::readPayments(catalogue, header.payments));
  }
  printer.endOfPrint();
  if (answers.definitive) {
    channel.flush();
    storeDefinitive(catalogue, marksStem, printer.pageNumber(), answers);
  }
  return true;
}

}  // namespace vellano::registers
