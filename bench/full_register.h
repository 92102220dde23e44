// A full sales register for the benchmarks: 9,999 registrations over 999 customers, in a
// folder of its own that is removed afterwards.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench_folder.h"
#include "records/catalogue.h"
#include "records/context.h"
#include "records/customer_files.h"
#include "records/registration_files.h"

namespace vellano::bench {

using vellano::records::Catalogue;
using vellano::records::Context;
using vellano::records::RegisterKind;
using vellano::records::Registration;

constexpr int kRegistrations = 9999;
constexpr int kCustomers = 999;

// A sales register of 9,999 registrations over 999 customers, two VAT lines each.
class FullRegister {
  vellano::bench::BenchFolder folder_;  // first: everything else works inside it
 public:
  FullRegister() {
    context_.yearSuffix = "11";
    Catalogue catalogue(context_);
    vellano::records::openCounterpartyFiles(catalogue, vellano::records::CounterpartyKind::Customer);
    char text[40];
    for (long code = 1; code <= kCustomers; ++code) {
      vellano::records::Counterparty who;
      std::snprintf(text, sizeof text, "CLIENTE %04ld SRL", code);
      who.name = text;
      vellano::records::writeCounterparty(catalogue, vellano::records::CounterpartyKind::Customer, code, who, {});
    }
    vellano::records::writeCount(catalogue, vellano::records::CounterpartyKind::Customer, kCustomers);
    vellano::records::RegisterHeader header = vellano::records::openRegister(catalogue, RegisterKind::Sales);
    for (int n = 1; n <= kRegistrations; ++n) {
      Registration r;
      r.date = "150511";
      r.documentDate = "140511";
      std::snprintf(text, sizeof text, "%d", n);
      r.documentNumber = text;
      r.counterparty = std::to_string(1 + n % kCustomers);
      r.protocolNumber = text;
      r.section = "1";
      r.lines[0].rateText = "20";
      r.lines[0].taxableText = std::to_string(100 + n) + ".5";
      r.lines[1].rateText = "I10";
      r.lines[1].taxableText = "33.33";
      vellano::records::writeRegistration(catalogue, n, r);
    }
    header.count = kRegistrations;
    vellano::records::writeHeader(catalogue, header);
  }
  Context& context() { return context_; }

 private:
  Context context_;
};

}  // namespace vellano::bench
