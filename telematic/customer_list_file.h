// The customer/supplier list file ELENCOCF: a header record "0", one detail record per
// registration of a customer or supplier whose yearly taxable total passes 25,000 euros, and
// a trailer record "9", each 1800 bytes. The records and the passes are plain functions; the
// screen "INVIO TELEMATICO IVA" drives them.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lists/counterparty_pass.h"
#include "records/catalogue.h"
#include "records/intermediary_file.h"
#include "records/registration_files.h"
#include "screen/session.h"

namespace vellano::telematic {

inline constexpr std::size_t kListRecordLength = 1800;
inline constexpr double kListThreshold = 25000;  // a yearly total must pass it, not reach it

// Who the file is about. `kind` is what goes in the sex field: "X" for a company, "M"/"F"
// for a natural person; anything but "X" is a natural person.
struct Taxpayer {
  // From the company registry.
  std::string name;
  std::string town;
  std::string province;
  std::string vatNumber;
  std::string fiscalCode;
  // Typed for the run.
  char kind = ' ';
  std::string surname;
  std::string firstName;
  std::string birthDate;  // ddmmyy
  std::string birthTown;
  std::string birthProvince;

  bool company() const { return kind == 'X'; }
};

// The registry's values, kind "X" when it holds a company name.
Taxpayer taxpayerOf(records::Catalogue& catalogue);

// Header ('0') or trailer ('9'): the same record but for its first byte.
std::string frameRecord(char type, const Taxpayer& taxpayer, const records::Intermediary& intermediary,
                        std::string_view yearSuffix);
// Detail "1": a customer without VAT number, by fiscal code, with the registration total.
std::string fiscalCodeRecord(std::string_view fiscalCode, std::string_view documentDate, double total);
// Detail "2": a counterpart by VAT number; side '1' sale, '2' purchase.
std::string vatNumberRecord(std::string_view vatNumber, std::string_view documentDate,
                            std::string_view documentNumber, double taxable, double vat, char side);

// Slot k (1..count) qualifies when the running taxable total of its registrations passes
// the threshold at some point of the year. Codes are slot + `codeOffset` (9000 for
// suppliers); annulled registrations and codes outside the count are left out. Element 0 is
// unused.
std::vector<bool> qualifyingSlots(std::span<const records::Registration> registrations, int count, long codeOffset);

struct ListFile {
  std::string bytes;                  // every record, header to trailer
  int details = 0;                    // detail records written
  std::vector<std::string> warnings;  // one line per counterparty without identification
};

// The whole file from the year's registrations: sales (customers) first, then purchases
// (suppliers, code - 9000). `parties` are indexed by code - 1.
void addDetails(ListFile& file, std::span<const records::Registration> registrations,
                const std::vector<lists::ListedParty>& parties, bool sales);
ListFile buildListFile(records::Catalogue& catalogue, const Taxpayer& taxpayer,
                       const records::Intermediary& intermediary);

// The menu item: the screen, the question, the file, the notice when nothing qualified and
// the copy.
void runCustomerListFile(screen::Session& session);

}  // namespace vellano::telematic
