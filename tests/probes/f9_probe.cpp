// The registration search list run alone, for counting what one list costs in system calls:
//   f9_probe make DIR      writes a sales register of 9,999 registrations over 999 customers
//   f9_probe list DIR N    opens the register and builds and shows the list N times
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "entry/registration_lists.h"
#include "platform/headless.h"
#include "records/catalogue.h"
#include "records/context.h"
#include "records/customer_files.h"
#include "records/registration_files.h"
#include "screen/list_select.h"

namespace {

using namespace vellano;

constexpr int kRegistrations = 9999;
constexpr int kCustomers = 999;

void make() {
  records::Context context;
  context.yearSuffix = "11";
  records::Catalogue catalogue(context);
  records::openCounterpartyFiles(catalogue, records::CounterpartyKind::Customer);
  char text[40];
  for (long code = 1; code <= kCustomers; ++code) {
    records::Counterparty who;
    std::snprintf(text, sizeof text, "CLIENTE %04ld SRL", code);
    who.name = text;
    records::writeCounterparty(catalogue, records::CounterpartyKind::Customer, code, who, {});
  }
  records::writeCount(catalogue, records::CounterpartyKind::Customer, kCustomers);
  records::RegisterHeader header = records::openRegister(catalogue, records::RegisterKind::Sales);
  for (int n = 1; n <= kRegistrations; ++n) {
    records::Registration r;
    r.date = "150511";
    r.documentDate = "140511";
    r.documentNumber = std::to_string(n);
    r.counterparty = std::to_string(1 + n % kCustomers);
    r.protocolNumber = r.documentNumber;
    r.section = "1";
    r.lines[0].rateText = "20";
    r.lines[0].taxableText = std::to_string(100 + n) + ".5";
    records::writeRegistration(catalogue, n, r);
  }
  header.count = kRegistrations;
  records::writeHeader(catalogue, header);
}

int list(int times) {
  records::Context context;
  context.yearSuffix = "11";
  records::Catalogue catalogue(context);
  const records::RegisterHeader header = records::openRegister(catalogue, records::RegisterKind::Sales);
  platform::Console console(platform::scriptedBackend(""));
  std::size_t lines = 0;
  for (int i = 0; i < times; ++i) {
    const std::vector<std::string> entries = entry::registrationListEntries(catalogue, header.count);
    screen::ListSelection shown(console, entries, header.count, screen::searchListWindow(),
                                entry::registrationListHeading(), screen::kSearchHighlight);
    lines += entries.size();
  }
  std::printf("%zu lines\n", lines);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: f9_probe make DIR | list DIR N\n");
    return 2;
  }
  const std::string mode = argv[1];
  std::filesystem::create_directories(argv[2]);
  std::filesystem::current_path(argv[2]);
  if (mode == "make") {
    make();
    return 0;
  }
  if (mode == "list" && argc == 4) return list(std::atoi(argv[3]));
  std::fprintf(stderr, "usage: f9_probe make DIR | list DIR N\n");
  return 2;
}
