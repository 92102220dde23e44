// The header check of register saves.
#include "records/register_guard.h"

#include <initializer_list>
#include <string>

#include "records/numbers.h"
#include "records/text.h"
#include "platform/dos_path.h"
#include "platform/error.h"

namespace vellano::records {
namespace {

bool blank(const std::string& bytes) {
  for (char c : bytes)
    if (c != ' ' && c != '\0') return false;
  return true;
}

// The channel on the file its stem names now.
Channel& onCurrentFile(Catalogue& catalogue, int number) {
  Channel& ch = catalogue.channel(number);
  if (!ch.isOpen() || ch.dosName() != catalogue.dosName(number)) return catalogue.open(number);
  return ch;
}

}  // namespace

long lastUsedRecord(Channel& channel) {
  for (long n = channel.recordCount(); n >= 1; --n) {
    channel.read(n);
    if (!blank(channel.buffer().bytes())) return n;
  }
  return 0;
}

RegisterHeader headerForSave(Catalogue& catalogue, RegisterKind kind) {
  const RegisterInfo& info = registerInfo(kind);
  setRegisterStems(catalogue, info.stems);
  Channel& headerFile = onCurrentFile(catalogue, channel::kRegisterHeader);
  Channel& registrations = onCurrentFile(catalogue, channel::kRegistrations);
  Channel& payments = onCurrentFile(catalogue, channel::kPayments);
  const long lastRegistration = lastUsedRecord(registrations);
  const long lastPayment = lastUsedRecord(payments);
  headerFile.read(1);
  RegisterHeader header;
  L_3(catalogue, header);
  if (header.count < lastRegistration || header.payments < lastPayment) {
    // The first line names the file for the error box, the others say why and what to do.
    std::string detail = platform::hostPath(headerFile.dosName()).string();
    detail += "\nRegistro " + trim(info.title) + ": la testata non";
    detail += "\ncorrisponde al file. Nulla e' salvato.";
    detail += "\nVerificare con vellano-check --repair";
    throw RuntimeError(error::kPathFileAccess, "salva", detail);
  }
  return header;
}

long placeRegistration(const RegisterHeader& opened, const RegisterHeader& now, long current,
                       Registration& registration) {
  if (current <= opened.count) return current;
  const long placed = static_cast<long>(now.count) + 1;
  if (placed > kMaxRegistrations) throw RuntimeError(error::kBadRecordNumber, "salva " + std::to_string(placed));
  const int s = registration.sectionNumber();
  if (s >= 1) {
    const auto index = static_cast<std::size_t>(s - 1);
    const bool proposed = val(registration.protocolNumber) == opened.protocol[index] + 1;
    if (proposed && now.protocol[index] < kMaxCounter)
      registration.protocolNumber = std::to_string(now.protocol[index] + 1);
  }
  return placed;
}

long placePayment(const RegisterHeader& opened, const RegisterHeader& now, long current) {
  if (current <= opened.payments) return current;
  const long placed = static_cast<long>(now.payments) + 1;
  if (placed > kMaxCounter) throw RuntimeError(error::kBadRecordNumber, "salva " + std::to_string(placed));
  return placed;
}

Registration registrationOnFile(Catalogue& catalogue, const RegisterHeader& header, long n) {
  return n <= header.count ? readRegistration(catalogue, n) : Registration{};
}

Payment paymentOnFile(Catalogue& catalogue, const RegisterHeader& header, long n) {
  Payment payment;
  if (n > header.payments) return payment;
  catalogue.channel(channel::kPayments).read(n);
  L_12(catalogue, payment);
  return payment;
}

}  // namespace vellano::records
