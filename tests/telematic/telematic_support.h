// Fixtures of the telematic tests: a company folder in host mode 1 (working date 15/03/11,
// the 619-byte registry with a province), customers, suppliers, registrations and the
// intermediary data written through the record layers, an in-process session on the key
// script "keys.script", and the records of a file cut apart.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/env_guard.h"
#include "records/catalogue.h"
#include "records/context.h"
#include "records/customer_files.h"
#include "records/intermediary_file.h"
#include "records/registration_files.h"
#include "support/report_session.h"
#include "support/work_folder.h"

namespace vellano::telematic::testing {

struct Party {
  long code;
  std::string name;
  std::string fiscalCode;
  std::string vatNumber;
};

struct Line {
  std::string rate;
  std::string taxable;
};

struct Reg {
  std::string counterparty;  // as stored: customer code, or 9000 + supplier code
  std::string documentNumber;
  std::string documentDate;
  std::vector<Line> lines;
  bool annulled = false;
};

// The records of a file of `length`-byte records.
inline std::vector<std::string> recordsOf(const std::string& bytes, std::size_t length) {
  std::vector<std::string> out;
  for (std::size_t at = 0; at + length <= bytes.size(); at += length) out.push_back(bytes.substr(at, length));
  return out;
}

// `width` bytes of a record from 1-based `position`.
inline std::string at(const std::string& record, std::size_t position, std::size_t width) {
  return record.substr(position - 1, width);
}

// An expected record: blanks, "A" and CR LF at the end, the given texts at their positions.
struct Put {
  std::size_t position;
  std::string text;
};
inline std::string expectedRecord(std::size_t length, const std::vector<Put>& puts) {
  std::string r(length, ' ');
  r.replace(length - 3, 3, "A\r\n");
  for (const Put& p : puts) r.replace(p.position - 1, p.text.size(), p.text);
  return r;
}

class TelematicTest : public vellano::testing::WorkFolder {
 protected:
  void SetUp() override {
    WorkFolder::SetUp();
    vellano::testing::useRunFiles(env_);
    writeFile("DATA.DAT", "150311");
    records::Company company;
    company.name = "FERRAMENTA BORGHI S.N.C.";
    company.address = "VIA GARIBALDI 18";
    company.town = "MILANO";
    company.vatNumber = "01234567897";
    company.fiscalCode = "01234567897";
    vellano::testing::writeCompanyRegistry(company, "MI");
  }

  // Writes the customers (or suppliers) and sets their count.
  void parties(records::CounterpartyKind kind, const std::vector<Party>& list, int count) {
    records::Context context;
    records::Catalogue catalogue(context);
    records::openCounterpartyFiles(catalogue, kind);
    for (const Party& p : list) {
      records::Counterparty who;
      who.name = p.name;
      who.fiscalCode = p.fiscalCode;
      who.vatNumber = p.vatNumber;
      records::writeCounterparty(catalogue, kind, p.code, who, {});
    }
    records::writeCount(catalogue, kind, count);
  }

  // The year's sales or purchase register holding `list`, registered on 14/03/11.
  void registrations(records::RegisterKind kind, const std::vector<Reg>& list) {
    records::Context context;
    context.yearSuffix = "11";
    records::Catalogue catalogue(context);
    records::RegisterHeader header = records::openRegister(catalogue, kind);
    long n = 0;
    for (const Reg& s : list) {
      records::Registration r;
      r.date = s.annulled ? "~40311" : "140311";
      r.counterparty = s.counterparty;
      r.documentNumber = s.documentNumber;
      r.documentDate = s.documentDate;
      r.protocolLetter = "V";
      r.protocolNumber = records::codeText(n + 1);
      r.section = "1";
      for (std::size_t k = 0; k < s.lines.size(); ++k) {
        r.lines[k].rateText = s.lines[k].rate;
        r.lines[k].taxableText = s.lines[k].taxable;
      }
      records::writeRegistration(catalogue, ++n, r);
    }
    header.count = static_cast<int>(n);
    records::writeHeader(catalogue, header);
  }

  void intermediary(const records::Intermediary& values) {
    records::Context context;
    context.yearSuffix = "11";
    records::Catalogue catalogue(context);
    records::Channel& file = catalogue.open(records::channel::kIntermediary);
    file.read(1);
    records::W_59(catalogue, values);
    file.write(1);
  }

  // The session of a print program started in this folder, on `script`.
  std::unique_ptr<vellano::testing::ReportSession> start(const std::string& script) {
    writeFile("keys.script", script);
    std::filesystem::remove("commands.txt");
    vellano::testing::ReportSessionOptions options;
    options.settle = records::StartupOptions{};
    options.settle->version = "TEST";
    return vellano::testing::startReportSession(options);
  }

  platform::testing::EnvGuard env_;
};

// Line `row` (1-50) of a dump.
inline std::string dumpRow(const std::string& dump, int row) {
  std::istringstream lines(dump);
  std::string line;
  for (int i = 0; i <= row && std::getline(lines, line);) ++i;
  return line;
}

}  // namespace vellano::telematic::testing
