// Bulk reads of the customer or supplier file and of the yearly balance file for a report's
// pass over every code: one read per file, records unpacked through their one layout. What
// they return lives as long as the report run that asked for it.
#pragma once

#include <string>
#include <vector>

#include "records/catalogue.h"
#include "records/customer_files.h"

namespace vellano::lists {

// What the lists print of a customer or supplier.
struct ListedParty {
  std::string name;       // Ragione sociale, first line, without trailing blanks
  std::string vatNumber;  // Partita IVA
  std::string fiscalCode;
};

// Codes 1..count of the master file of `kind` (channel kCustomers or kSuppliers, already
// open); element k is code k + 1. A code never written gives blank texts.
std::vector<ListedParty> readListedParties(const records::Catalogue& catalogue, records::CounterpartyKind kind,
                                           int count);

// Balance records 1..count of channel kBalances (already open with its stem).
std::vector<records::BalanceTotals> readBalances(const records::Catalogue& catalogue, int count);

}  // namespace vellano::lists
