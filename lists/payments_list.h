// The payments list printed after a VAT register: the payments of the register's file whose
// date lies in the register's period, one line each, with the counterparty's name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "records/registration_files.h"
#include "lists/report_names.h"
#include "printout/print_channel.h"

namespace vellano::lists {

struct PaymentsListRequest {
  bool sales = true;            // PAGVEN: customers, cash/bank accounts and suppliers
  std::string_view title;       // "  VENDITE" / " ACQUISTI"
  std::string period;           // periodText() of the register
  std::string companyLine;
  std::string fromDate;         // ddmmyy, both included
  std::string toDate;
};

inline constexpr int kPaymentLinesPerPage = 55;

// Prints the list of `payments` (records 1..n of the payment file) on the channel.
void printPaymentsList(printout::PrintChannel& channel, ReportNames& names, const PaymentsListRequest& request,
                       const std::vector<records::Payment>& payments);

}  // namespace vellano::lists
